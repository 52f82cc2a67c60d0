#pragma once

// The "System Diagnosis" page; its alarm history, run time and report arrive with their own work.

#include <QWidget>

class HideParameter : public QWidget
{
    Q_OBJECT
public:
    explicit HideParameter(QWidget *parent = nullptr);
    void fillTable();
};
