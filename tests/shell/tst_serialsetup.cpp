// Opening the serial link at start and from the set-up dialog, against pseudo-terminals listed in the
// registry stand-in; the line settings are read back from what the port layer reports it applied.

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/win_qextserialport.h"
#include "modalwatcher.h"
#include "pseudoterminal.h"
#include "testdirs.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

QString lastLogLine()
{
    QFile file(g_appDir + QStringLiteral("Operation_log.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<no log>");
    QByteArray bytes = file.readAll();
    if (!bytes.endsWith("\r\n"))
        return QStringLiteral("<no CR LF>");
    bytes.chop(2);
    return QString::fromLatin1(bytes.mid(bytes.lastIndexOf("\r\n") + 1).trimmed());
}

} // namespace

class TestSerialSetup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startOpensThePortWithTheSettings_data();
    void startOpensThePortWithTheSettings();
    void missingPortAtStartFallsBackToCom1();
    void missingPortWithDocumentStaysClosed();
    void reopenUsesTheChosenPort_data();
    void reopenUsesTheChosenPort();

private:
    QString lineSettings(const QString &comName) const;
    QTemporaryDir m_appDir;
    TemporaryRegistry *m_registry = nullptr;
    PseudoTerminal *m_line = nullptr;
    CMainWindow *m_window = nullptr;
    QList<Box> m_boxes;
    ModalWatcher *m_watcher = nullptr;
};

void TestSerialSetup::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    initShellResources();
    g_appDir = m_appDir.path() + QLatin1Char('/');
    // The protocol objects read their command table from the data folder.
    const QString table = QStringLiteral("/ParameterInforamtion/InvType/FNC.txt");
    QVERIFY(QDir().mkpath(m_appDir.path() + QStringLiteral("/ParameterInforamtion/InvType")));
    QVERIFY(QFile::copy(binDir() + table, m_appDir.path() + table));
}

void TestSerialSetup::init()
{
    m_registry = new TemporaryRegistry;
    m_line = new PseudoTerminal;
    QVERIFY(m_line->isValid());
    g_commandLineDoc.clear();
    g_timeoutMs = 0;
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    m_boxes.clear();
    m_watcher = new ModalWatcher([this](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        m_boxes.append({ box->windowTitle(), box->text(), box->icon() });
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
}

void TestSerialSetup::cleanup()
{
    delete m_watcher;
    delete m_window;
    g_mainWindow = nullptr;
    delete g_serialPort;
    g_serialPort = nullptr;
    delete m_line;
    delete m_registry;
}

// Lists the pseudo-terminal as comName and returns the file in which the port layer reports its line.
QString TestSerialSetup::lineSettings(const QString &comName) const
{
    const QString file = m_registry->folder() + QLatin1Char('/') + comName + QStringLiteral(".line");
    m_line->registerAs(comName);
    TemporaryRegistry::addSimulatedLine(comName, file);
    return file;
}

void TestSerialSetup::startOpensThePortWithTheSettings_data()
{
    QTest::addColumn<QString>("registeredAs");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<QList<int>>("indices"); // protocol, baud, data, stop, parity, terminator
    QTest::addColumn<QString>("portOpened");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("logLine");

    QTest::newRow("defaults") << "COM1"
                              << "COM1" << QList<int> { 0, 1, 1, 0, 0, 1 } << "COM1"
                              << "baud=9600 data=8 parity=N stop=1 flow=off"
                              << "Communication setting:0-1-1-0-0-1-10";
    QTest::newRow("Modbus RTU 19200 even") << "COM4"
                                           << "COM4" << QList<int> { 1, 2, 1, 0, 2, 0 } << "COM4"
                                           << "baud=19200 data=8 parity=E stop=1 flow=off"
                                           << "Communication setting:1-2-1-0-2-0-10";
    QTest::newRow("Modbus ASCII 115200 odd two stop bits, name in other case")
        << "COM5"
        << "Com5" << QList<int> { 2, 5, 0, 1, 1, 2 } << "Com5"
        << "baud=115200 data=7 parity=O stop=2 flow=off"
        << "Communication setting:2-5-0-1-1-2-10";
    QTest::newRow("4800 baud") << "COM6"
                               << "COM6" << QList<int> { 0, 0, 1, 0, 0, 0 } << "COM6"
                               << "baud=4800 data=8 parity=N stop=1 flow=off"
                               << "Communication setting:0-0-1-0-0-0-10";
    QTest::newRow("two-digit port gets the device prefix")
        << "COM12"
        << "COM12" << QList<int> { 0, 3, 1, 0, 0, 1 } << "\\\\.\\COM12"
        << "baud=38400 data=8 parity=N stop=1 flow=off"
        << "Communication setting:0-3-1-0-0-1-10";
    QTest::newRow("prefix given once stays once") << "COM13"
                                                  << "\\\\.\\COM13" << QList<int> { 0, 4, 1, 0, 0, 1 } << "\\\\.\\COM13"
                                                  << "baud=57600 data=8 parity=N stop=1 flow=off"
                                                  << "Communication setting:0-4-1-0-0-1-10";
}

void TestSerialSetup::startOpensThePortWithTheSettings()
{
    QFETCH(QString, registeredAs);
    QFETCH(QString, portName);
    QFETCH(QList<int>, indices);
    QFETCH(QString, portOpened);
    QFETCH(QString, line);
    QFETCH(QString, logLine);
    const QString lineFile = lineSettings(registeredAs);

    g_portName = portName;
    g_protocolIndex = indices[0];
    g_baudIndex = indices[1];
    g_dataBitsIndex = indices[2];
    g_stopBitsIndex = indices[3];
    g_parityIndex = indices[4];
    g_crLfIndex = indices[5];
    g_timeoutMs = 5;
    m_window->initSerialPort();

    QVERIFY(g_serialPort->isOpen());
    QCOMPARE(g_serialPort->portName(), portOpened);
    QFile applied(lineFile);
    QVERIFY(applied.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(applied.readAll().trimmed()), line);
    QCOMPARE(g_crLfMode.load(), indices[5]);
    QCOMPARE(g_responseDelayMs.load(), 5);
    QCOMPARE(g_protocolIndex, indices[0]);
    static const char *const classes[] = { "ReadWriteZR", "ReadWriteRTU", "ReadWriteASC" };
    QCOMPARE(g_readWrite->metaObject()->className(), classes[indices[0]]);
    QCOMPARE(g_readWrite->protocolIndex(), indices[0]);
    QCOMPARE(lastLogLine(), logLine);
    QCOMPARE(m_window->comSetup->ProcomboBox->currentIndex(), indices[0]);
    QCOMPARE(m_window->comSetup->BaudcomboBox->currentIndex(), indices[1]);
    QCOMPARE(m_window->comSetup->CheckComboBox->currentIndex(), indices[4]);
    QCOMPARE(m_boxes.size(), 0);
}

void TestSerialSetup::missingPortAtStartFallsBackToCom1()
{
    const QString lineFile = lineSettings(QStringLiteral("COM1"));
    g_portName = QStringLiteral("COM9");
    g_protocolIndex = 2;
    g_baudIndex = 3;
    g_dataBitsIndex = 0;
    g_stopBitsIndex = 1;
    g_parityIndex = 2;
    g_crLfIndex = 2;
    m_window->initSerialPort();

    QVERIFY(g_serialPort->isOpen());
    QCOMPARE(g_serialPort->portName(), QStringLiteral("COM1"));
    QFile applied(lineFile);
    QVERIFY(applied.open(QIODevice::ReadOnly));
    QCOMPARE(
        QString::fromLatin1(applied.readAll().trimmed()), QStringLiteral("baud=9600 data=8 parity=N stop=1 flow=off"));
    // Every setting now describes the line the port runs.
    QCOMPARE(g_portName, QStringLiteral("COM1"));
    QCOMPARE(QList<int>({ g_protocolIndex, g_baudIndex, g_dataBitsIndex, g_stopBitsIndex, g_parityIndex, g_crLfIndex }),
        QList<int>({ 0, 1, 1, 0, 0, 1 }));
    QCOMPARE(g_crLfMode.load(), 1);
    QCOMPARE(g_responseDelayMs.load(), 10);
    QCOMPARE(g_readWrite->metaObject()->className(), "ReadWriteZR");
    QCOMPARE(g_readWrite->protocolIndex(), 0);
    CComSetup *dialog = m_window->comSetup;
    QCOMPARE(QList<int>({ dialog->ProcomboBox->currentIndex(), dialog->BaudcomboBox->currentIndex(),
                 dialog->DatacomboBox->currentIndex(), dialog->StopComboBox->currentIndex(),
                 dialog->CheckComboBox->currentIndex(), dialog->CRComboBox->currentIndex() }),
        QList<int>({ 0, 1, 1, 0, 0, 1 }));
    QCOMPARE(lastLogLine(), QStringLiteral("Communication setting:0-1-1-0-0-1-10"));
    QTest::qWait(50);
    QCOMPARE(m_boxes.size(), 0);
}

void TestSerialSetup::missingPortWithDocumentStaysClosed()
{
    lineSettings(QStringLiteral("COM1"));
    g_commandLineDoc = QStringLiteral("/home/u/site.tv");
    g_portName = QStringLiteral("COM9");
    g_protocolIndex = 1;
    g_baudIndex = 2;
    m_window->initSerialPort();

    QVERIFY(!g_serialPort->isOpen());
    QCOMPARE(g_portName, QStringLiteral("COM9"));
    QCOMPARE(g_protocolIndex, 1);
    QCOMPARE(g_baudIndex, 2);
    QTest::qWait(50);
    QCOMPARE(m_boxes.size(), 0);
}

void TestSerialSetup::reopenUsesTheChosenPort_data()
{
    QTest::addColumn<QString>("registeredAs");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<bool>("opens");
    QTest::newRow("listed port") << "COM3"
                                 << "Com3"
                                 << "Com3" << true;
    QTest::newRow("two-digit listed port") << "COM10"
                                           << "Com10"
                                           << "\\\\.\\Com10" << true;
    QTest::newRow("missing port") << "COM3"
                                  << "Com9"
                                  << "Com9" << false;
    QTest::newRow("missing two-digit port") << "COM3"
                                            << "Com12"
                                            << "\\\\.\\Com12" << false;
    QTest::newRow("empty list") << "COM3"
                                << ""
                                << "" << false;
}

void TestSerialSetup::reopenUsesTheChosenPort()
{
    QFETCH(QString, registeredAs);
    QFETCH(QString, chosen);
    QFETCH(QString, portName);
    QFETCH(bool, opens);
    lineSettings(registeredAs);
    m_window->comSetup->AutoPort->clear();
    if (!chosen.isEmpty())
        m_window->comSetup->AutoPort->addItem(chosen);

    m_window->reopenSerialPort();
    QCOMPARE(g_serialPort->isOpen(), opens);
    QCOMPARE(g_serialPort->portName(), portName);
    if (opens) {
        QCOMPARE(m_boxes.size(), 0);
        return;
    }
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(m_boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(m_boxes[0].text,
        "Can't open serial port" + portName + "\n The Specified serial port does not exist or occupied.");
}

QTEST_MAIN(TestSerialSetup)
#include "tst_serialsetup.moc"
