// The communication set-up dialog as the user drives it: its defaults, how the protocol and the
// parity lock and set the other selectors, its texts after a language switch, and stopping a test.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "comm/win_qextserialport.h"
#include "markingtranslator.h"
#include "pseudoterminal.h"
#include "shell/appglobals.h"
#include "testdirs.h"
#include "userinput.h"

#include <QTimer>
#include <QtTest>

namespace {

// The selectors in one line, left to right; a locked one is marked "!".
QString selectors(const CComSetup &d)
{
    QStringList parts;
    for (QComboBox *combo : { d.ProcomboBox, d.BaudcomboBox, d.DatacomboBox, d.CheckComboBox, d.StopComboBox,
                              d.CRComboBox, d.TimeComboBox })
        parts << combo->currentText() + (combo->isEnabled() ? "" : "!");
    return parts.join('|');
}

QStringList g_logged;

void logMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_logged << message;
}

} // namespace

class TestComSetup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaults();
    void selectorsFollowProtocolAndParity_data();
    void selectorsFollowProtocolAndParity();
    void lockedSelectorsRefuseTheUser();
    void languageSwitchRelabelsItems();
    void stoppingATest_data();
    void stoppingATest();
    void portThatDoesNotOpenEndsTheTest();
};

void TestComSetup::init()
{
    g_connectionTest = false;
    g_offLine = false;
}

void TestComSetup::defaults()
{
    // The test slots are wired by hand: building the dialog leaves nothing to connect by name.
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(logMessage);
    CComSetup d;
    qInstallMessageHandler(previous);
    QVERIFY2(g_logged.filter("connectSlotsByName").isEmpty(), qPrintable(g_logged.join('\n')));
    QCOMPARE(d.windowTitle(), QString("Communication setup"));
    // The built size, widened only where a text of the protocol list would be cut.
    QVERIFY2(d.width() >= 540, qPrintable(QString::number(d.width())));
    QCOMPARE(d.height(), 280);
    QVERIFY(!(d.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(d.autoStation->count(), 255);
    QCOMPARE(d.autoStation->itemText(254), QString("254"));
    QCOMPARE(d.autoStation->currentText(), QString("0"));
    QCOMPARE(comboItems(d.ProcomboBox), (QStringList { "Taviron protocol", "Modbus RTU", "Modbus ASCII" }));
    QCOMPARE(comboItems(d.BaudcomboBox), (QStringList { "4800", "9600", "19200", "38400", "57600", "115200" }));
    QCOMPARE(comboItems(d.DatacomboBox), (QStringList { "7", "8" }));
    QCOMPARE(comboItems(d.CheckComboBox), (QStringList { "None", "Odd", "Even" }));
    QCOMPARE(comboItems(d.StopComboBox), (QStringList { "1", "2" }));
    QCOMPARE(comboItems(d.CRComboBox), (QStringList { "None", "CR", "CR+LF" }));
    QCOMPARE(comboItems(d.TimeComboBox), (QStringList { "2", "5", "10" }));
    QCOMPARE(selectors(d), QString("Taviron protocol|9600|8|None|1|CR|10!"));
    QCOMPARE(d.progressBar->minimum(), 0);
    QCOMPARE(d.progressBar->maximum(), 186);
    QCOMPARE(d.progressBar->value(), 0);
    QCOMPARE(d.progressBar->format(), QString("Connection test..."));
    QCOMPARE(d.progressBar->styleSheet(), QString(ProgressStyleGreen));
    QVERIFY(!d.AutoButton->isHidden());
    QVERIFY(d.CancleButton->isHidden());
    QCOMPARE(d.AutoButton->text(), QString("Connection Test"));
    QCOMPARE(d.station, 0);
    QCOMPARE(d.testStep, 0);
}

void TestComSetup::selectorsFollowProtocolAndParity_data()
{
    QTest::addColumn<QStringList>("choices"); // "selector:item text", in the user's order
    QTest::addColumn<QString>("shown");

    QTest::newRow("RTU locks data and terminator")
        << QStringList { "baud:38400", "pro:Modbus RTU" } << "Modbus RTU|9600|8!|Even|1|None!|10";
    QTest::newRow("back to the character protocol unlocks")
        << QStringList { "pro:Modbus RTU", "pro:Taviron protocol" } << "Taviron protocol|9600|8|None|1|CR|10!";
    QTest::newRow("ASCII after parity None gives two stop bits")
        << QStringList { "pro:Modbus ASCII" } << "Modbus ASCII|9600|7!|None|2!|CR+LF!|10!";
    QTest::newRow("ASCII after RTU's Even gives one stop bit")
        << QStringList { "pro:Modbus RTU", "pro:Modbus ASCII" } << "Modbus ASCII|9600|7!|Even|1!|CR+LF!|10!";
    QTest::newRow("ASCII parity None gives two stop bits")
        << QStringList { "pro:Modbus RTU", "pro:Modbus ASCII", "parity:None" } << "Modbus ASCII|9600|7!|None|2!|CR+LF!|10!";
    QTest::newRow("ASCII parity back to Odd")
        << QStringList { "pro:Modbus ASCII", "parity:Odd" } << "Modbus ASCII|9600|7!|Odd|1!|CR+LF!|10!";
    QTest::newRow("RTU with parity None keeps the user's stop bits")
        << QStringList { "pro:Modbus RTU", "parity:None", "stop:2" } << "Modbus RTU|9600|8!|None|2|None!|10";
    QTest::newRow("RTU parity Odd forces one stop bit")
        << QStringList { "pro:Modbus RTU", "parity:None", "stop:2", "parity:Odd" } << "Modbus RTU|9600|8!|Odd|1|None!|10";
    QTest::newRow("RTU delay is the user's")
        << QStringList { "pro:Modbus RTU", "delay:2", "baud:115200" } << "Modbus RTU|115200|8!|Even|1|None!|2";
    QTest::newRow("character protocol leaves the framing free")
        << QStringList { "data:7", "parity:Even", "stop:2", "cr:CR+LF", "baud:4800" } << "Taviron protocol|4800|7|Even|2|CR+LF|10!";
    QTest::newRow("character protocol again resets the framing")
        << QStringList { "data:7", "parity:Even", "stop:2", "cr:None", "pro:Modbus ASCII", "pro:Taviron protocol" }
        << "Taviron protocol|9600|8|None|1|CR|10!";
}

void TestComSetup::selectorsFollowProtocolAndParity()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, shown);

    CComSetup d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QMap<QString, QComboBox *> byName { { "pro", d.ProcomboBox }, { "baud", d.BaudcomboBox },
                                              { "data", d.DatacomboBox }, { "parity", d.CheckComboBox },
                                              { "stop", d.StopComboBox }, { "cr", d.CRComboBox },
                                              { "delay", d.TimeComboBox } };
    for (const QString &choice : choices)
        QVERIFY2(chooseComboText(byName.value(choice.section(':', 0, 0)), choice.section(':', 1)), qPrintable(choice));
    QCOMPARE(selectors(d), shown);
}

void TestComSetup::lockedSelectorsRefuseTheUser()
{
    CComSetup d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(chooseComboText(d.ProcomboBox, "Modbus ASCII"));
    QVERIFY(!chooseComboText(d.DatacomboBox, "8"));
    QVERIFY(!chooseComboText(d.StopComboBox, "1"));
    QVERIFY(!chooseComboText(d.CRComboBox, "CR"));
    QVERIFY(!chooseComboText(d.TimeComboBox, "2"));
    QCOMPARE(selectors(d), QString("Modbus ASCII|9600|7!|None|2!|CR+LF!|10!"));
}

void TestComSetup::languageSwitchRelabelsItems()
{
    CComSetup d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(chooseComboText(d.ProcomboBox, "Modbus RTU"));
    QVERIFY(chooseComboText(d.CheckComboBox, "Odd"));

    MarkingTranslator marker({ "ComSetDialog", "CComSetup" });
    qApp->installTranslator(&marker);
    d.retranslate();
    qApp->removeTranslator(&marker);

    QCOMPARE(d.windowTitle(), QString("<Communication setup>"));
    QCOMPARE(d.ComSetLabel_2->text(), QString("<Automatic communication setup>"));
    QCOMPARE(d.ProLabel_2->text(), QString("<Station:>"));
    QCOMPARE(d.ProLabel_3->text(), QString("<Serial Port:>"));
    QCOMPARE(d.AutoButton->text(), QString("<Connection Test>"));
    QCOMPARE(comboItems(d.ProcomboBox), (QStringList { "<Taviron protocol>", "Modbus RTU", "Modbus ASCII" }));
    QCOMPARE(comboItems(d.CheckComboBox), (QStringList { "<None>", "<Odd>", "<Even>" }));
    QCOMPARE(d.CRComboBox->itemText(0), QString("<None>"));
    QCOMPARE(selectors(d), QString("Modbus RTU|9600|8!|<Odd>|1|<None>!|10"));
}

void TestComSetup::stoppingATest_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("Cancel closes the port") << true;
    QTest::newRow("closing the window keeps the port open") << false;
}

void TestComSetup::stoppingATest()
{
    QFETCH(bool, cancel);

    // Nobody answers on this line: the search keeps stepping until it is stopped.
    PseudoTerminal far;
    QVERIFY(far.isValid());
    Win_QextSerialPort port(far.devicePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    g_serialPort = &port;
    g_appDir = binDir() + '/';

    CComSetup d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(d.AutoButton, Qt::LeftButton);
    QVERIFY(g_connectionTest);
    QVERIFY(d.autoTimer->isActive());
    QVERIFY(d.AutoButton->isHidden());
    QVERIFY(!d.CancleButton->isHidden());
    QTRY_VERIFY(d.testStep >= 2);

    if (cancel)
        QTest::mouseClick(d.CancleButton, Qt::LeftButton);
    else
        d.close();
    QVERIFY(!d.autoTimer->isActive());
    QVERIFY(!g_connectionTest);
    QVERIFY(g_offLine);
    QCOMPARE(d.testStep, 0);
    QCOMPARE(d.progressBar->value(), 0);
    QCOMPARE(d.progressBar->format(), QString());
    QVERIFY(!d.AutoButton->isHidden());
    QVERIFY(d.CancleButton->isHidden());
    QCOMPARE(port.isOpen(), !cancel);
    QCOMPARE(d.isVisible(), cancel);

    // No further step reaches the line once the test has stopped.
    far.readAll(50);
    QTest::qWait(300);
    QCOMPARE(far.pending(), 0);
    g_serialPort = nullptr;
}

void TestComSetup::portThatDoesNotOpenEndsTheTest()
{
    Win_QextSerialPort port(QStringLiteral("/nonexistent/tty"));
    g_serialPort = &port;
    CComSetup d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(d.AutoButton, Qt::LeftButton);
    QVERIFY(!d.autoTimer->isActive());
    QVERIFY(!g_connectionTest);
    QVERIFY(g_offLine);
    QVERIFY(!d.AutoButton->isHidden());
    QVERIFY(d.CancleButton->isHidden());
    g_serialPort = nullptr;
}

QTEST_MAIN(TestComSetup)
#include "tst_comsetup.moc"
