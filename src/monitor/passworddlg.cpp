#include "monitor/passworddlg.h"

#include "monitor/hideparameter.h"
#include "monitor/maindialplot.h"
#include "monitor/ram.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const char *const PassWordDlg::AccessCode = "quorvek";

PassWordDlg::PassWordDlg(QWidget *parent)
    : QDialog(parent)
{
    auto *label = new QLabel(tr("Password:"));
    passwordEdit = new QLineEdit();
    passwordEdit->setEchoMode(QLineEdit::Password);
    auto *grid = new QGridLayout();
    grid->addWidget(label, 0, 0, 1, 1);
    grid->addWidget(passwordEdit, 0, 1, 1, 3);
    auto *ok = new QPushButton(tr("OK"));
    auto *cancel = new QPushButton(tr("Cancel"));
    auto *buttons = new QHBoxLayout();
    buttons->setSpacing(60);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout();
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addLayout(grid);
    layout->addStretch(20);
    layout->addLayout(buttons);
    setLayout(layout);
    connect(ok, &QPushButton::clicked, this, &PassWordDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &PassWordDlg::reject);
    setWindowTitle(tr("Password"));
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/locked.png")));
    resize(200, 120);
}

PassWordDlg::~PassWordDlg() = default;

void PassWordDlg::accept()
{
    if (passwordEdit->text().toLower() != QLatin1String(AccessCode)) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("Password Error !"));
        return;
    }
    MainDialPlot *window = g_mainWindow ? g_mainWindow->monitorWindow : nullptr;
    if (window && objectName() == QLatin1String("Parameter Password"))
        window->servicePage->fillTable();
    else if (window && objectName() == QLatin1String("RAM Password"))
        window->ramWindow->unlock();
    QDialog::accept();
}
