// The main window as the user meets it: menus, tool bar, dock, status bar, error boxes, the delay
// field of the set-up dialog and the close of a run.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "comm/win_qextserialport.h"
#include "modalwatcher.h"
#include "parameter/comparison.h"
#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "pseudoterminal.h"
#include "testdirs.h"
#include "useranswers.h"
#include "shell/about.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/startup.h"

#include <QDockWidget>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <thread>

namespace
{

// One line per action: text, then E/d (enabled or not), then C/c/- (checkable checked, checkable
// unchecked, not checkable), then I when it carries an icon.
QString describe(const QAction *action)
{
    QString flags = action->isEnabled() ? QStringLiteral("E") : QStringLiteral("d");
    flags += action->isCheckable() ? (action->isChecked() ? QStringLiteral("C") : QStringLiteral("c"))
                                   : QStringLiteral("-");
    if (!action->icon().isNull())
        flags += QLatin1Char('I');
    return action->text() + QLatin1Char(' ') + flags;
}

struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    bool onGuiThread;
};

// Reads a message box and presses its OK button.
void readAndConfirm(QWidget *modal, QList<Box> *boxes)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (!box)
        return;
    boxes->append({ box->windowTitle(), box->text(), box->icon(), QThread::currentThread() == qApp->thread() });
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menusHoldTheirActionsInOrder_data();
    void menusHoldTheirActionsInOrder();
    void toolBarHasSixLargeButtons();
    void statusBarShowsCaptionsAndHidesProgress();
    void navigationDockIsFixedOnTheLeft();
    void parameterAreaStartsEmptyAndControlsFollowTheLink();
    void errorFromWorkerThreadShowsOneWarning();
    void errorBoxText_data();
    void errorBoxText();
    void delayFieldAcceptsOnlyWholeMilliseconds_data();
    void delayFieldAcceptsOnlyWholeMilliseconds();
    void cancelledSetupChangesNothing();
    void portListIsNumericallySorted();
    void versionInformationOpensANewAboutBoxEachTime();
    void exitEndsTheRunInTheLog();

private:
    QTemporaryDir m_appDir;
    ListedLine m_line;
    CMainWindow *m_window = nullptr;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    initShellResources();
    // The protocol objects read their command table from the data folder.
    const QString table = QStringLiteral("/ParameterInforamtion/InvType/FNC.txt");
    QVERIFY(QDir().mkpath(m_appDir.path() + QStringLiteral("/ParameterInforamtion/InvType")));
    QVERIFY(QFile::copy(binDir() + table, m_appDir.path() + table));
}

void TestMainWindow::init()
{
    QVERIFY(m_line.open());
    g_appDir = m_appDir.path() + QLatin1Char('/');
    g_commandLineDoc.clear();
    g_language = 0;
    g_timeoutMs = 0;
    QFile::remove(g_appDir + QStringLiteral("Operation_log.txt"));
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    g_mainWindow = nullptr;
    m_line.close();
}

void TestMainWindow::menusHoldTheirActionsInOrder_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("System") << 0 << "&System"
                            << QStringList { "&Monitor d-I", "&Trend d-I", " E-", "&Open... E-", "&Save E-",
                                   "&Save as... E-" };
    QTest::newRow("Parameter list") << 1 << "&Parameter list" << QStringList { "All &Parameters list d-I", "&Quick Setup d-I" };
    QTest::newRow("Communication setup") << 2 << "&Communication setup"
                                         << QStringList { "&Communication Setup Wizard E-" };
    QTest::newRow("Help") << 3 << "&Help" << QStringList { "&Help E-I", "&Version Information E-", "&Update E-" };
    QTest::newRow("Language") << 4 << "Language"
                              << QStringList { "Chinese(simplified) Ec", "Chinese(traditional) Ec", "English EC" };
}

void TestMainWindow::menusHoldTheirActionsInOrder()
{
    QFETCH(int, position);
    QFETCH(QString, title);
    QFETCH(QStringList, actions);
    const QList<QAction *> menus = m_window->menuBar()->actions();
    QCOMPARE(menus.size(), 5);
    QMenu *menu = menus.at(position)->menu();
    QVERIFY(menu);
    QCOMPARE(menu->title(), title);
    QStringList seen;
    for (const QAction *action : menu->actions())
        seen.append(describe(action));
    QCOMPARE(seen, actions);
}

void TestMainWindow::toolBarHasSixLargeButtons()
{
    const QList<QToolBar *> bars = m_window->findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 1);
    QToolBar *bar = bars.first();
    QCOMPARE(bar->windowTitle(), QString());
    QCOMPARE(bar->iconSize(), QSize(41, 40));
    QCOMPARE(m_window->toolBarArea(bar), Qt::TopToolBarArea);

    QStringList seen;
    for (QAction *action : bar->actions()) {
        if (action->isSeparator()) {
            seen.append(QStringLiteral("|"));
            continue;
        }
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(64, 64));
        QCOMPARE(button->minimumSize(), QSize(64, 64));
        QCOMPARE(button->maximumSize(), QSize(64, 64));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= 60, qPrintable(button->text()));
        seen.append(button->text() + (button->isEnabled() ? QStringLiteral(" E") : QStringLiteral(" d")));
    }
    QCOMPARE(seen, QStringList({ "Off-Line E", "Parameter d", "|", "Monitor d", "Trend d", "|", "Help E", "Exit E" }));
    QCOMPARE(m_window->connectButton->text(), QStringLiteral("Off-Line"));
}

void TestMainWindow::statusBarShowsCaptionsAndHidesProgress()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QList<QLabel *> labels;
    for (QObject *child : m_window->statusBar()->children())
        if (auto *label = qobject_cast<QLabel *>(child))
            labels.append(label);
    std::sort(labels.begin(), labels.end(), [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
    QStringList visible;
    for (QLabel *label : labels)
        if (label->isVisible())
            visible.append(label->text());
    QCOMPARE(visible, QStringList({ "Operation mode", "---", "", "Inverter Type", "---" }));
    QCOMPARE(m_window->typeValueLabel->text(), QStringLiteral("---"));
    QCOMPARE(m_window->modeCaptionLabel->frameStyle(), int(QFrame::WinPanel | QFrame::Sunken));

    QCOMPARE(m_window->progressLabel->text(), QStringLiteral("Waiting"));
    QVERIFY(!m_window->progressLabel->isVisible());
    QVERIFY(!m_window->progressBar->isVisible());
    QCOMPARE(m_window->progressBar->minimum(), 0);
    QCOMPARE(m_window->progressBar->maximum(), 100);
    m_window->progressLabel->show();
    m_window->progressBar->show();
    QVERIFY(m_window->progressLabel->x() > m_window->typeValueLabel->x());
    QVERIFY(m_window->progressBar->x() > m_window->progressLabel->x());
}

void TestMainWindow::navigationDockIsFixedOnTheLeft()
{
    QDockWidget *dock = m_window->navigationDock;
    QCOMPARE(dock->windowTitle(), QStringLiteral("Navigation"));
    QCOMPARE(dock->features(), QDockWidget::NoDockWidgetFeatures);
    QCOMPARE(dock->allowedAreas(), Qt::LeftDockWidgetArea);
    QVERIFY(!dock->isFloating());
    QCOMPARE(m_window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    QCOMPARE(dock->widget(), static_cast<QWidget *>(m_window->navigation));
}

void TestMainWindow::parameterAreaStartsEmptyAndControlsFollowTheLink()
{
    auto *splitter = qobject_cast<QSplitter *>(m_window->centralWidget());
    QVERIFY(splitter);
    QCOMPARE(splitter->orientation(), Qt::Vertical);
    QCOMPARE(splitter->handleWidth(), 0);
    QCOMPARE(splitter->count(), 1);
    QCOMPARE(splitter->widget(0), static_cast<QWidget *>(m_window->parameterForm));
    m_window->show();
    QVERIFY(!m_window->parameterForm->isVisible());

    const QList<QObject *> linked { m_window->actAllPar, m_window->actQuickSetup, m_window->actSysMon, m_window->actionTrend,
        m_window->parameterButton, m_window->monitorButton, m_window->trendButton };
    for (bool on : { true, false, true }) {
        m_window->setControlsEnabled(on);
        for (QObject *object : linked)
            QCOMPARE(object->property("enabled").toBool(), on);
        QVERIFY(m_window->actCom->isEnabled());
        QVERIFY(m_window->helpButton->isEnabled());
    }

    // The Parameter button and the menu entry show and hide the table in turn.
    QTest::mouseClick(m_window->parameterButton, Qt::LeftButton);
    QVERIFY(m_window->parameterForm->isVisible());
    m_window->actAllPar->trigger();
    QVERIFY(!m_window->parameterForm->isVisible());
    QTest::mouseClick(m_window->parameterButton, Qt::LeftButton);
    QVERIFY(m_window->parameterForm->isVisible());
}

void TestMainWindow::errorFromWorkerThreadShowsOneWarning()
{
    QList<Box> boxes;
    ModalWatcher watcher([&boxes](QWidget *modal) { readAndConfirm(modal, &boxes); });
    std::thread worker([] { g_mainWindow->reportError(11); });
    worker.join();
    QTRY_COMPARE(boxes.size(), 1);
    QTest::qWait(100);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Warning"));
    QCOMPARE(boxes[0].text, QStringLiteral("Sum Check error!"));
    QCOMPARE(boxes[0].icon, QMessageBox::Warning);
    QVERIFY(boxes[0].onGuiThread);
}

void TestMainWindow::errorBoxText_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("-1 means no particular message") << -1 << "Communication Error!";
    QTest::newRow("link lost") << 8 << "Communication Error!";
    QTest::newRow("Modbus exception 2") << 12 << "Illegal data address!";
    QTest::newRow("maker's code C") << 19 << "Material range error!";
    QTest::newRow("last entry") << 21 << "Waiting";
    QTest::newRow("first entry") << 0 << "Navigation";
    QTest::newRow("one past the table") << 22 << "Communication Error!";
    QTest::newRow("far past the table") << 5000 << "Communication Error!";
    QTest::newRow("below -1") << -7 << "Communication Error!";
}

void TestMainWindow::errorBoxText()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QList<Box> boxes;
    ModalWatcher watcher([&boxes](QWidget *modal) { readAndConfirm(modal, &boxes); });
    m_window->reportError(index);
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Warning"));
    QCOMPARE(boxes[0].text, text);
}

void TestMainWindow::delayFieldAcceptsOnlyWholeMilliseconds_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<int>("delay");
    QTest::addColumn<QString>("delayText");
    QTest::newRow("typed 25") << "25" << true << 25 << "25";
    QTest::newRow("typed minus one keeps no minus") << "-1" << true << 1 << "1";
    QTest::newRow("preset 0") << "0" << false << 0 << "0";
    QTest::newRow("preset 1000") << "1000" << false << 1000 << "1000";
    // A delay that is not taken is named, with the one that stays in force.
    for (const char *refused : { "-1", "1001", "4294967295", "ten", "", "2.5" })
        QTest::newRow(qPrintable(QStringLiteral("preset \"%1\" refused").arg(QLatin1String(refused))))
            << refused << false << 10 << "10";
}

void TestMainWindow::delayFieldAcceptsOnlyWholeMilliseconds()
{
    QFETCH(QString, typed);
    QFETCH(bool, byKeyboard);
    QFETCH(int, delay);
    QFETCH(QString, delayText);
    g_timeoutText = QStringLiteral("10");
    g_timeoutMs = 10;
    g_responseDelayMs = 10;
    CComSetup *dialog = m_window->comSetup;
    QList<Box> boxes;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != dialog)
            return readAndConfirm(modal, &boxes);
        dialog->AutoPort->setCurrentText(QStringLiteral("Com3"));
        dialog->ProcomboBox->setCurrentIndex(1); // the delay field is open only under Modbus RTU
        QVERIFY(dialog->TimeComboBox->isEnabled());
        QLineEdit *edit = dialog->TimeComboBox->lineEdit();
        if (byKeyboard) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, typed);
        } else {
            edit->setText(typed);
        }
        // As the OK of a user: the warning it may raise is answered by this same watcher.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    m_window->actCom->trigger();
    const bool taken = delayText != QLatin1String("10"); // every row that refuses keeps 10
    QCOMPARE(watcher.count(), taken ? 1 : 2);
    QCOMPARE(boxes.size(), taken ? 0 : 1);
    if (!taken)
        QCOMPARE(boxes[0].text,
            QStringLiteral("The delay \"%1\" was not taken: it must be a whole number of milliseconds from 0 to "
                           "1000. The delay stays 10 ms.")
                .arg(typed));
    QVERIFY(g_serialPort->isOpen());
    QCOMPARE(int(g_responseDelayMs), delay);
    QCOMPARE(g_timeoutMs, delay);
    QCOMPARE(g_timeoutText, delayText);
    QCOMPARE(g_protocolIndex, 1);
    QCOMPARE(g_portName, QStringLiteral("Com3"));
}

void TestMainWindow::cancelledSetupChangesNothing()
{
    const int protocol = g_protocolIndex;
    const QString port = g_portName;
    const QString portOpen = g_serialPort->portName();
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != m_window->comSetup)
            return;
        m_window->comSetup->ProcomboBox->setCurrentIndex(2);
        m_window->comSetup->TimeComboBox->setCurrentText(QStringLiteral("5"));
        m_window->comSetup->reject();
    });
    QTest::mouseClick(m_window->connectButton, Qt::LeftButton);
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(g_protocolIndex, protocol);
    QCOMPARE(g_portName, port);
    QCOMPARE(g_timeoutText, QStringLiteral("10"));
    QCOMPARE(g_serialPort->portName(), portOpen);
}

void TestMainWindow::portListIsNumericallySorted()
{
    TemporaryRegistry::addPort(QStringLiteral("COM10"), QStringLiteral("/dev/null-10"));
    TemporaryRegistry::addPort(QStringLiteral("COM2"), QStringLiteral("/dev/null-2"));
    QStringList listed;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != m_window->comSetup)
            return;
        for (int i = 0; i < m_window->comSetup->AutoPort->count(); ++i)
            listed.append(m_window->comSetup->AutoPort->itemText(i));
        m_window->comSetup->reject();
        const QVariant tip = m_window->comSetup->AutoPort->itemData(listed.indexOf("Com10"), Qt::ToolTipRole);
        QCOMPARE(tip, QVariant("/dev/null-10"));
    });
    m_window->actCom->trigger();
    QVERIFY(listed.indexOf(QStringLiteral("Com2")) >= 0);
    QVERIFY(listed.indexOf(QStringLiteral("Com2")) < listed.indexOf(QStringLiteral("Com3")));
    QVERIFY(listed.indexOf(QStringLiteral("Com3")) < listed.indexOf(QStringLiteral("Com10")));
}

void TestMainWindow::versionInformationOpensANewAboutBoxEachTime()
{
    QList<QWidget *> shown;
    ModalWatcher watcher([&shown](QWidget *modal) {
        shown.append(modal);
        QVERIFY(qobject_cast<CAbout *>(modal));
        QVERIFY(!modal->parentWidget());
        static_cast<QDialog *>(modal)->reject();
    });
    m_window->actVer->trigger();
    m_window->actVer->trigger();
    QCOMPARE(watcher.count(), 2);
}

void TestMainWindow::exitEndsTheRunInTheLog()
{
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write("2024.05.06 07:08:09  Open TavironINV\r\n");
    log.close();
    m_window->show();
    // The comparison result and the help window close with the main window.
    CParameter *form = m_window->parameterForm;
    form->compareResult->show();
    form->parInformation->show();
    // A stop owed to the last station asks first; No keeps the windows and the log's 38-byte Open line.
    m_window->navigation->modeState.stopSent(DriveModeState::Stations - 1, false);
    UserAnswers user;
    user.replies = { QMessageBox::No, QMessageBox::Yes };
    QTest::mouseClick(m_window->exitButton, Qt::LeftButton);
    QVERIFY(m_window->isVisible() && form->compareResult->isVisible() && log.size() == 38);
    QTest::mouseClick(m_window->exitButton, Qt::LeftButton);
    const QString asked = "Warning | STOP was not answered: the drive may still run.\nExit anyway?";
    QCOMPARE(user.boxes, QStringList({ asked, asked }));
    QVERIFY(!m_window->isVisible());
    QVERIFY(!form->compareResult->isVisible());
    QVERIFY(!form->parInformation->isVisible());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(),
        "2024.05.06 07:08:09  Open TavironINV\r\n" + g_logTimeStamp.toLatin1() + "  Close TavironINV\r\n"
            + QByteArray(54, '*') + "\r\n");
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
