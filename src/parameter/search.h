#pragma once

// The find dialog of the parameter table: steps through the cells holding a text, up or down.

#include "ui_searchdialog.h"

#include <QDialog>
#include <QList>

class QButtonGroup;
class QTableWidget;
class QTableWidgetItem;

class CSearch : public QDialog, public Ui_SearchDialog {
    Q_OBJECT
public:
    explicit CSearch(QWidget *parent = nullptr);
    ~CSearch() override;

    void initTexts();

    QString searchTitle;
    QString notFoundText;
    QString lastSearchText;
    QList<QTableWidgetItem *> hitList;
    int hitCount = 0;
    int hitIndex = -1;

private slots:
    void IndexAccept(int PbId);
    void reset(int);

private:
    QTableWidget *table() const;
    Qt::MatchFlags matchFlags() const;
    QList<QTableWidgetItem *> findHits(QTableWidget *t, const QString &text) const;
    bool rowHidden(int position) const;
    void makeCurrent(int position);
    void notFound();

    QButtonGroup *buttons = nullptr;
};
