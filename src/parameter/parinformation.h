#pragma once

// The parameter help popup and the detail texts that decide which parameters have help.

#include "ui_pinf.h"

#include <QItemDelegate>
#include <QPointer>
#include <QVector>
#include <QWidget>

class QIODevice;
class QStandardItemModel;
class QToolButton;

constexpr int DetailTextCount = 1299; // parameters 0 to 1298; higher numbers never have help

// Detail texts of a help file: "key//text", the key one number or several joined by "-".
QVector<QString> readParameterDetails(QIODevice *device);
// Firmware below which a series has no help at all.
double helpMinimumVersion(char seriesLetter);
// Height in pixels of a help line of the given length in characters, by interface language.
int helpRowHeight(int length, int language);
// A help line as drawn in a column of the given width: broken between words, inside a word only
// where that word alone is wider than the column.
QStringList helpLines(const QString &text, const QFont &font, int width);

class textDelegate : public QItemDelegate {
    Q_OBJECT
public:
    using QItemDelegate::QItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

class ParInformation : public QWidget, public Ui_PInf {
    Q_OBJECT
public:
    explicit ParInformation(QWidget *parent = nullptr);
    ~ParInformation() override;

    void loadParameterDetails();
    void fillTable(int number);
    // Help text of parameter n; empty (no help) for numbers outside the texts.
    QString detailText(int number) const;

    QVector<QString> detailTexts;
    QStandardItemModel *model = nullptr;
    // The view deletes its cell widgets with their rows, so the button of the last fill may be gone.
    QPointer<QToolButton> closeButton;

public slots:
    void closewindow();
};
