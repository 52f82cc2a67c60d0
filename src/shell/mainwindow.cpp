#include "shell/mainwindow.h"

#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>

CMainWindow::CMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("TavironINV"));
    retranslateStrings();
    connectButton = new QToolButton(this);
    applyConnectionState(false);
    connect(this, &CMainWindow::showErrorInfo, this, &CMainWindow::ErrWarning);
}

CMainWindow::~CMainWindow() = default;

void CMainWindow::retranslateStrings()
{
    messageTable = QStringList {
        tr("Navigation"), tr("key tone"), tr("Pr. restoration"), tr("Error"), tr("Can't open serial port"),
        tr("\n The Specified serial port does not exist or occupied."), tr("Operation mode"), tr("Inverter Type"),
        tr("Communication Error!"), tr("Parity Error!"), tr("Illegal function code!"), tr("Sum Check error!"),
        tr("Illegal data address!"), tr("Communication protocol error!"), tr("Illegal data value!"),
        tr("Frame error!"), tr("Overflow error!"), tr("Abnormal patterns!"), tr("Command code error!"),
        tr("Material range error!"), tr("Warning"), tr("Waiting"),
    };
}

void CMainWindow::reportError(int index)
{
    emit showErrorInfo(index);
}

void CMainWindow::ErrWarning(int index)
{
    // Any index outside the table shows the communication error rather than reading past it.
    QString text = (index >= 0 && index < messageTable.size()) ? messageTable.at(index) : QString();
    if (text.isEmpty())
        text = messageTable.value(8);
    QMessageBox box(QMessageBox::Warning, messageTable.value(20), text, QMessageBox::Ok, this);
    box.setDefaultButton(static_cast<QPushButton *>(nullptr));
    box.exec();
}

void CMainWindow::setConnectionState(bool online)
{
    if (QThread::currentThread() == thread())
        applyConnectionState(online);
    else
        QMetaObject::invokeMethod(this, [this, online] { applyConnectionState(online); }, Qt::QueuedConnection);
}

void CMainWindow::applyConnectionState(bool online)
{
    if (!connectButton)
        return;
    if (online) {
        connectButton->setText(tr("On-Line"));
        connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/connect.png")));
    } else {
        connectButton->setText(tr("Off-Line"));
        connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/unconnect.png")));
    }
}
