#pragma once

// The access code asked before a service function opens. The dialog's object name says what a
// right code unlocks: "Parameter Password" the service page's hidden-parameter table, "RAM
// Password" the RAM monitor's Run.

#include <QDialog>

class QLineEdit;

class PassWordDlg : public QDialog
{
    Q_OBJECT
public:
    static const char *const AccessCode;

    explicit PassWordDlg(QWidget *parent = nullptr);
    ~PassWordDlg() override;

    QLineEdit *passwordEdit;

public slots:
    void accept() override;
};
