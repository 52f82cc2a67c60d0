#pragma once

// The list of parameters whose default, read and prepared values differ, in one of three pairings.

#include "ui_compare.h"

#include <QDialog>

class QTableWidget;

class CompareResult : public QDialog, public Ui_Compare {
    Q_OBJECT
public:
    enum Mode { DefaultVsCurrent = 0, DefaultVsSetting = 1, CurrentVsSetting = 2 };

    explicit CompareResult(QWidget *parent = nullptr);
    ~CompareResult() override;

    void compare(int mode);
    void addRow(QString group, QString parameter, QString name, QString defaultValue, QString currentValue,
                QString settingValue, int row);
    void retranslate();
};
