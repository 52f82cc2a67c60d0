#pragma once

// Choosing the parameters that the display mode "Show Selected Parameter" shows.

#include "ui_selectparameter.h"

#include <QDialog>

class QTreeWidgetItem;

class CSelPar : public QDialog, public Ui_SelectParameter {
    Q_OBJECT
public:
    explicit CSelPar(QWidget *parent = nullptr);
    ~CSelPar() override;

    void initTables();
    void BuildGroupTree();

    int mainRowCount = 0;

public slots:
    void onItemClicked(QTreeWidgetItem *item, int column);
    void addPara();
    void deletePara();
    void ok();
    void cancle();

private:
    void propagateCheckState(QTreeWidgetItem *item);
    void updateParentCheckState(QTreeWidgetItem *item);
    void markAncestorsPartial(QTreeWidgetItem *item);
};

// The group a parameter row falls into and its label in the tree; empty id when the row has no group.
struct ParameterGroup {
    QString id;
    QString label;
};
ParameterGroup parameterGroup(const QString &key, bool byNumber);
