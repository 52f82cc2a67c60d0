#include "monitor/hideparameter.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "monitor/alarmcode.h"
#include "monitor/alarmfiles.h"
#include "monitor/maindialplot.h"
#include "monitor/monitorsave.h"
#include "monitor/monitorthread.h"
#include "monitor/passworddlg.h"
#include "parameter/parameter.h"
#include "platform/filesave.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/savefilename.h"
#include "shell/textfit.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

namespace {

CParameter *parameterForm()
{
    return g_mainWindow ? g_mainWindow->parameterForm : nullptr;
}

AlarmCode *alarmPage()
{
    return g_mainWindow && g_mainWindow->monitorWindow ? g_mainWindow->monitorWindow->alarmPage : nullptr;
}

double readParameter(int number)
{
    CParameter *form = parameterForm();
    return form ? form->readParValue(number) : -1.0;
}

// The dock's guard, which every request a user starts passes first (a running connection test
// included); it tells the user itself.
bool connectionChecked()
{
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    return !navigation || navigation->checkConnection() == 0;
}

bool writeParameter(int number, const QString &value)
{
    CParameter *form = parameterForm();
    return form && form->writeParValue(number, value, QStringLiteral("1"));
}

// The series and versions whose drives carry a RAM the monitor can read.
bool hasRamMonitor(char series, double version)
{
    return (series == 'G' && version >= 0.2) || (series == 'X' && version >= 0.6) || (series == 'T' && version >= 0.3)
        || series == 'L' || series == 'A' || series == 'Y';
}

// Lets events run until the window stands on the screen (a window manager maps it a little after
// show(); at most a second), then paints it there.
void paintOnScreen(QWidget *window)
{
    QElapsedTimer waited;
    waited.start();
    while (!window->windowHandle()->isExposed() && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    window->repaint();
    QCoreApplication::processEvents();
}

// Clears g_quietRead however the read-out ends.
struct QuietReadReset {
    ~QuietReadReset() { g_quietRead = false; }
};

} // namespace

HideParameter::HideParameter(QWidget *parent)
    : QWidget(parent)
{
    historyButton = new QPushButton(tr("Read History Alarm"));
    runTimeButton = new QPushButton(tr("Read Run Time"));
    saveButton = new QPushButton(tr("Save All"));
    connect(historyButton, &QPushButton::clicked, this, &HideParameter::historyAlarm);
    connect(runTimeButton, &QPushButton::clicked, this, &HideParameter::runTime);
    connect(saveButton, &QPushButton::clicked, this, &HideParameter::saveMessage);

    readHideButton = new QPushButton(tr("Read Hide Pr."));
    connect(readHideButton, &QPushButton::clicked, this, &HideParameter::ReadAllValue);
    passwordButton = new QPushButton(tr("Password"));
    connect(passwordButton, &QPushButton::clicked, this, &HideParameter::showPassWorkDlg);
    monitorRamButton = new QPushButton(tr("Monitor Ram"));
    connect(monitorRamButton, &QPushButton::clicked, this, &HideParameter::monitorRam);
    monitorRamButton->hide();
    m_ramButtonAllowed = hasRamMonitor(g_seriesLetter, alarmfiles::versionNumber(g_firmwareVersion));

    m_buttonRow = new QHBoxLayout();
    m_buttonRow->addWidget(historyButton);
    m_buttonRow->addWidget(runTimeButton);
    m_buttonRow->addWidget(saveButton);
    m_buttonRow->addStretch(0);

    auto *separator = new QFrame();
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    historyLabel = new QLabel(tr("History Alarm Code:"));
    historyEdit = new QTextEdit();
    historyEdit->setReadOnly(true);
    historyEdit->setAcceptRichText(false);
    historyEdit->setFixedWidth(420);
    auto *labelRow = new QHBoxLayout();
    labelRow->addWidget(historyLabel);
    labelRow->addStretch(0);
    auto *columnA = new QVBoxLayout();
    columnA->addLayout(labelRow);
    columnA->addWidget(historyEdit);

    runTimeLabel = new QLabel(tr("Accumulative motor operation time:"));
    runTimeEdit = new QLineEdit();
    runTimeEdit->setReadOnly(true);
    auto *columnB = new QVBoxLayout();
    columnB->addWidget(runTimeLabel);
    columnB->addWidget(runTimeEdit);
    columnB->addStretch(0);

    listLabel = new QLabel(tr("Hide Parameter List:"));
    parameterTable = new QTableWidget(TableRows, 4);
    parameterTable->setFixedWidth(318);
    parameterTable->setHorizontalHeaderLabels(
        { tr("NO."), tr("Default value"), tr("Current value"), QString() });
    parameterTable->setColumnHidden(3, true);
    parameterTable->verticalHeader()->hide();
    m_listColumn = new QWidget();
    auto *listLayout = new QVBoxLayout(m_listColumn);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(listLabel);
    listLayout->addWidget(parameterTable);

    m_contentRow = new QHBoxLayout();
    m_contentRow->addLayout(columnA);
    m_contentRow->addSpacing(3);
    m_contentRow->addLayout(columnB);
    m_contentRow->addStretch(0);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_buttonRow);
    layout->addWidget(separator);
    layout->addLayout(m_contentRow);

    const char series = g_seriesLetter;
    if (series == 'E' || series == 'B')
        runTimeButton->setEnabled(false);
    fillTable();
    // Kept hidden on the page until the service layout places them.
    for (QWidget *w : serviceWidgets()) {
        w->setParent(this);
        w->hide();
    }
}

QList<QWidget *> HideParameter::serviceWidgets() const
{
    return { readHideButton, passwordButton, monitorRamButton, m_listColumn };
}

void HideParameter::setServiceMode(bool on)
{
    serviceMode = on;
    if (on) {
        m_buttonRow->insertWidget(0, readHideButton);
        m_buttonRow->insertWidget(1, passwordButton);
        m_buttonRow->insertWidget(m_buttonRow->indexOf(runTimeButton) + 1, monitorRamButton);
        m_contentRow->insertWidget(0, m_listColumn);
        readHideButton->show();
        passwordButton->show();
        m_listColumn->show();
        monitorRamButton->setVisible(m_ramButtonAllowed);
    } else {
        for (QWidget *w : serviceWidgets()) {
            m_buttonRow->removeWidget(w);
            m_contentRow->removeWidget(w);
            w->hide();
        }
    }
}

void HideParameter::fillTable()
{
    if (!serviceMode)
        return;
    CParameter *form = parameterForm();
    const QList<QStringList> list = form ? form->hideParameterList : QList<QStringList>();
    const int rows = qMin(list.size(), int(TableRows));
    parameterTable->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const QStringList &entry = list.at(r);
        auto cell = [](const QString &text, bool editable) {
            auto *item = new QTableWidgetItem(text);
            if (!editable)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        parameterTable->setItem(r, 0, cell(entry.value(0), true));
        parameterTable->setItem(r, 1, cell(entry.value(1), true));
        parameterTable->setItem(r, 2, cell(QString(), false));
        parameterTable->setItem(r, 3, cell(entry.value(2), false));
    }
    lastRow = rows - 1;
}

bool HideParameter::ReadAllValue()
{
    QuietReadReset quietReset;
    g_quietRead = false;
    const int rows = parameterTable->rowCount();
    QProgressDialog progress(QString(), tr("Cancel"), 0, rows, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setWindowTitle(tr("Reading parameters..."));
    fitWindowTitle(&progress);
    progress.setMinimumDuration(0);

    ReadWrite *link = monitorLink();
    const QString p77 = QStringLiteral("%1").arg(link ? link->ReadPar(77, 1.0) : -1.0);
    if (p77 == QLatin1String("-1"))
        return false;
    writeParameter(77, QStringLiteral("9999"));
    for (int r = 0; r < rows; ++r) {
        progress.setValue(r);
        if (progress.wasCanceled())
            break;
        const QTableWidgetItem *name = parameterTable->item(r, 0);
        const int number = name ? name->text().mid(2).toInt() : -1;
        g_quietRead = true;
        const QString value = QStringLiteral("%1").arg(readParameter(number));
        g_quietRead = false;
        if (g_offLine)
            return false;
        if (QTableWidgetItem *cell = parameterTable->item(r, 2))
            cell->setText(value == QLatin1String("-1") ? QString() : value);
    }
    progress.setValue(rows);
    g_quietRead = false;
    return writeParameter(77, p77);
}

void HideParameter::historyAlarm()
{
    // After a lost link the mode is unknown: the user needs the connection test, not the CU rule.
    if (!connectionChecked())
        return;
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    const DriveModeState::Go go = navigation
        ? navigation->modeRule()
        : (g_cuModeResult == 0 ? DriveModeState::Go::Send : DriveModeState::Go::Refuse);
    if (go == DriveModeState::Go::Refuse)
        warnAfterEarlierPresses(this, tr("Warning"), tr("Please change INV operation mode to CU!"));
    if (go != DriveModeState::Go::Send)
        return;
    historyEdit->clear();
    if (g_invType.isEmpty())
        return;
    const QString path = localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\errorInfo.txt"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot read file %1:\n%2.").arg(path, file.errorString()));
        return;
    }
    file.close();
    const alarmfiles::ErrorInfo info
        = alarmfiles::errorInfoFor(readDataLines(path), g_seriesLetter, alarmfiles::versionNumber(g_firmwareVersion));
    AlarmCode *page = alarmPage();
    if (!info.found || !page)
        return;
    const QStringList ranges = info.ranges.contains(QLatin1Char(','))
        ? info.ranges.split(QLatin1Char(','), Qt::SkipEmptyParts)
        : QStringList();
    QString range = info.ranges;

    QProgressDialog progress(QString(), tr("Cancel"), 0, info.records, this, Qt::WindowSystemMenuHint);
    progress.setWindowModality(Qt::WindowModal);
    progress.setWindowTitle(tr("Alarm Information..."));
    fitWindowTitle(&progress);
    // The reads block the GUI thread. A dialog shown by show() alone lets no events run in setValue
    // until its own minimum duration passes, and a window manager frames and exposes it some round
    // trips after show(): it stood blank for seconds. It is painted on the screen before the first read.
    progress.setMinimumDuration(0);
    progress.show();
    progress.setValue(1);
    paintOnScreen(&progress);
    // A link lost part way ends the reading: the records after it stay unasked.
    LinkLossWatch watch;
    for (int n = 1; n <= info.records; ++n) {
        progress.setValue(n);
        const QString title = tr("Alarm ") + QString::number(n);
        const QString text = readAlarmRecord(QString::number(n));
        if (text == QLatin1String("false"))
            break;
        if (text == QLatin1String("GOOD")) {
            appendPlainParagraph(historyEdit, title + QStringLiteral(" > ") + text);
            continue;
        }
        appendPlainParagraph(historyEdit, title + QStringLiteral(" > ") + text);
        if (n <= info.detailed) {
            if (n - 1 < ranges.size())
                range = ranges.at(n - 1);
            const QString detail = page->formatAlarmDetail(range);
            if (detail.isEmpty())
                break;
            appendPlainParagraph(historyEdit, detail);
        }
        if (progress.wasCanceled())
            break;
    }
    progress.setValue(info.records);
    progress.close();
}

QString HideParameter::readAlarmRecord(const QString &n)
{
    if (!writeParameter(288, n))
        return QStringLiteral("false");
    const int code = QStringLiteral("%1").arg(readParameter(289)).toInt();
    // A record whose code cannot be read ends the history like one that cannot be selected.
    if (code == -1)
        return QStringLiteral("false");
    AlarmCode *page = alarmPage();
    return page ? page->alarmText(code) : QStringLiteral("-1");
}

void HideParameter::runTime()
{
    const char series = g_seriesLetter;
    const bool sc = series == 'S' || series == 'C';
    // Checked once here: each read would otherwise ask for the connection test again.
    if (!connectionChecked())
        return;
    QString minutes = QStringLiteral("%1").arg(readParameter(sc ? 164 : 292));
    if (minutes == QLatin1String("-1"))
        return;
    minutes += tr(" min ");
    QString days = QStringLiteral("%1").arg(readParameter(sc ? 165 : 293));
    if (days == QLatin1String("-1"))
        return;
    days += tr(" day ");
    runTimeEdit->setText(days + minutes);
}

void HideParameter::monitorRam()
{
    if (g_mainWindow && g_mainWindow->monitorWindow)
        g_mainWindow->monitorWindow->toggleRamTab();
}

QString HideParameter::reportText() const
{
    QList<QLabel *> info;
    if (g_mainWindow && g_mainWindow->monitorWindow)
        info = g_mainWindow->monitorWindow->infoLabels();
    auto text = [&info](int i) { return i < info.size() ? info.at(i)->text() : QString(); };
    const QString tab = QStringLiteral("\t"), end = QStringLiteral("\n");
    QString out;
    out += tab + text(0) + text(1) + tab + text(2) + text(3) + end;
    out += tab + text(4) + text(5) + tab + text(6) + text(7) + tab + text(8) + text(9) + end;
    if (serviceMode) {
        out += listLabel->text() + end + tab;
        for (int r = 0; r < parameterTable->rowCount(); ++r) {
            if (r > 0 && r % 4 == 0)
                out += end + tab;
            const QTableWidgetItem *name = parameterTable->item(r, 0);
            const QTableWidgetItem *value = parameterTable->item(r, 2);
            out += (name ? name->text() : QString()) + QStringLiteral(" = ")
                + (value ? value->text() : QString()).leftJustified(8, QLatin1Char(' '));
        }
        out += end;
    }
    out += historyLabel->text() + end;
    out += historyEdit->toPlainText() + end;
    out += runTimeLabel->text() + QStringLiteral("  ") + runTimeEdit->text();
    return out;
}

void HideParameter::saveMessage()
{
    const QString path = askSaveFileName(this, tr("Save Message"), QDir::currentPath(), QStringLiteral("*.txt"), nullptr);
    if (path.isEmpty())
        return;
    QString reason;
    if (!saveFile(path, crLfText(reportText()), &reason))
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot write file %1:\n%2.").arg(path, reason));
}

void HideParameter::showPassWorkDlg()
{
    PassWordDlg dialog(nullptr);
    dialog.setObjectName(QStringLiteral("Parameter Password"));
    execAfterEarlierPresses(&dialog);
}
