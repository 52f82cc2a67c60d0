#pragma once

// The communication set-up dialog. The main window fills its selectors before each showing and
// takes the settings over when it is accepted.

#include "ui_comsetdialog.h"

#include <QDialog>

class QTimer;

class CComSetup : public QDialog, public Ui_ComSetDialog
{
    Q_OBJECT
public:
    explicit CComSetup(QWidget *parent = nullptr);

    void initTexts();
    void retranslate();

public slots:
    void ProComboxCh(int index);
    void CheckComboxCh();

public:
    QTimer *autoTimer = nullptr;
    int station = 0;
    int testStep = 0;
    QString protocolText;
    QString noneText;
    QString oddText;
    QString evenText;
};
