#pragma once

// The parameter help popup and the detail texts that decide which parameters have help.

#include <QItemDelegate>
#include <QVector>
#include <QWidget>

class QIODevice;
class QStandardItemModel;
class QTableView;
class QToolButton;

constexpr int DetailTextCount = 1299; // parameters 0 to 1298; higher numbers never have help

// Detail texts of a help file: "key//text", the key one number or several joined by "-".
QVector<QString> readParameterDetails(QIODevice *device);
// Firmware below which a series has no help at all.
double helpMinimumVersion(char seriesLetter);

class textDelegate : public QItemDelegate {
    Q_OBJECT
public:
    using QItemDelegate::QItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

class ParInformation : public QWidget {
    Q_OBJECT
public:
    explicit ParInformation(QWidget *parent = nullptr);
    ~ParInformation() override;

    void loadParameterDetails();
    void fillTable(int number);
    // Help text of parameter n; empty (no help) for numbers outside the texts.
    QString detailText(int number) const;

    QVector<QString> detailTexts;
    QTableView *SysTableView = nullptr;
    QStandardItemModel *model = nullptr;
    QToolButton *closeButton = nullptr;

public slots:
    void closewindow();
};
