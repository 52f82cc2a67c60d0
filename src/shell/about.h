#pragma once

// The about box: product name, program version, parameter data version and the maker's address.

#include <QDialog>

#include "ui_aboutdialog.h"

class CAbout : public QDialog, public Ui_AboutDialog
{
    Q_OBJECT
public:
    explicit CAbout(QWidget *parent = nullptr);

    // Shows the version of the installed parameter data from TypeInformation.txt, when there is one.
    void showParameterVersion();
};
