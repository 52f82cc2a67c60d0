#include "comm/globals.h"
#include "comm/linkreports.h"
#include "comm/readwriteasc.h"
#include "comm/readwritertu.h"
#include "comm/readwritezr.h"
#include "comm/typeinfo.h"
#include "linkrecorder.h"
#include "linkstate.h"
#include "platform/appstate.h"
#include "scripteddrive.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The protocol objects with the core alone: no window exists, and what they have to tell the user
// reaches the recorder the test installs.
class tst_LinkReports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void failuresReachTheRecorder_data();
    void failuresReachTheRecorder();
    void forcedPageSelectionIsMadeAndCleared();
    void missingCommandTableWarnsThroughTheReports();
    void withoutReportsNothingIsShown();

private:
    LinkRecorder m_recorder;
    QTemporaryDir m_appDir;
    TemporaryRegistry m_registry;
    PseudoTerminal m_pty;
    drive::ScriptedDrive m_drive { m_pty };
    std::unique_ptr<Win_QextSerialPort> m_port;
};

using namespace drive;
using Replies = QList<QByteArray>;

namespace {

// The character protocol's page 0 selected and confirmed.
const Replies PageZero = { zrAck("01"), zrData("01", "0000", '0') };

// The drive answers each request with the next reply, at once.
void play(ScriptedDrive &drive, const Replies &replies)
{
    QList<ScriptedDrive::Answer> script;
    for (const QByteArray &reply : replies)
        script.append({ reply, 0 });
    drive.play(script);
}

std::unique_ptr<ReadWrite> protocolObject(int protocol)
{
    std::unique_ptr<ReadWrite> object;
    if (protocol == 0)
        object.reset(new ReadWriteZR());
    else if (protocol == 1)
        object.reset(new ReadWriteRTU());
    else
        object.reset(new ReadWriteASC());
    object->SetProtocol(protocol);
    return object;
}

} // namespace

void tst_LinkReports::initTestCase()
{
    QVERIFY(m_appDir.isValid() && m_pty.isValid());
    g_appDir = m_appDir.path() + QLatin1Char('/');
    QVERIFY(installShippedTables(g_appDir));
    QVERIFY(loadTypeInfo());
    m_pty.registerAs(QStringLiteral("COM7"));
    m_port = openTestPort(QStringLiteral("COM7"), BAUD115200, DATA_8, PAR_NONE, STOP_1);
    QVERIFY(m_port);
    g_serialPort = m_port.get();
    installLinkReports(&m_recorder);
}

void tst_LinkReports::cleanupTestCase()
{
    m_drive.stop();
    installLinkReports(nullptr);
    g_serialPort = nullptr;
    m_port.reset();
}

void tst_LinkReports::init()
{
    m_drive.stop();
    resetStationOne();
    resetCommandFailureCounters();
    m_recorder.clear();
}

void tst_LinkReports::failuresReachTheRecorder_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<bool>("write"); // else a read with unit 1
    QTest::addColumn<int>("parameter");
    QTest::addColumn<Replies>("script");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<int>("offline");
    QTest::addColumn<QStringList>("log");

    using namespace LinkMessage;
    const QStringList noLog;
    QTest::newRow("character_refusal_frame_error")
        << 0 << true << 5 << (PageZero + Replies { zrNak("01", '4') }) << QList<int> { FrameError }
        << 0 << noLog;
    QTest::newRow("character_refusal_code_unlisted")
        << 0 << true << 5 << (PageZero + Replies { zrNak("01", '9') }) << QList<int> { Unlisted }
        << 0 << noLog;
    QTest::newRow("character_page_refused_logged") << 0 << false << 1505 << Replies({ zrNak("01", '3') })
                                                   << QList<int> { ProtocolError } << 0
                                                   << QStringList { "P.1505Write page error!" };
    QTest::newRow("character_never_answered_goes_offline")
        << 0 << false << 5 << Replies() << QList<int> { CommunicationError } << 1
        << QStringList { "P.5Write page error!" };
    QTest::newRow("rtu_write_refused_logged") << 1 << true << 100 << Replies({ crc(QByteArray::fromHex("018603")) })
                                              << QList<int> { IllegalDataValue } << 0
                                              << QStringList { "Write parameter P.100=1 failure!" };
    QTest::newRow("rtu_never_answered_goes_offline") << 1 << true << 100 << Replies()
                                                     << QList<int> { CommunicationError } << 1
                                                     << QStringList { "Write parameter P.100=1 failure!" };
    QTest::newRow("ascii_read_exception_address") << 2 << false << 5 << Replies({ lrc("018302") })
                                                  << QList<int> { IllegalDataAddress } << 0 << noLog;
    QTest::newRow("ascii_read_exception_function") << 2 << false << 5 << Replies({ lrc("018301") })
                                                   << QList<int> { IllegalFunction } << 0 << noLog;
}

void tst_LinkReports::failuresReachTheRecorder()
{
    QFETCH(int, protocol);
    QFETCH(bool, write);
    QFETCH(int, parameter);
    QFETCH(Replies, script);
    QFETCH(QList<int>, errors);
    QFETCH(int, offline);
    QFETCH(QStringList, log);

    const std::unique_ptr<ReadWrite> rw = protocolObject(protocol);
    QVERIFY(rw->commandTableError().isEmpty());
    play(m_drive, script);
    if (write)
        QVERIFY(!rw->WritePar(parameter, 1));
    else
        QCOMPARE(rw->ReadPar(parameter, 1), -1.0);
    m_drive.stop();

    QCOMPARE(m_recorder.errors(), errors);
    QCOMPARE(m_recorder.offlineNotices(), offline);
    QCOMPARE(m_recorder.log(), log);
    QCOMPARE(bool(g_offLine), offline > 0);
}

void tst_LinkReports::forcedPageSelectionIsMadeAndCleared()
{
    const std::unique_ptr<ReadWrite> rw = protocolObject(0);
    m_recorder.forcePageSelect = true;
    g_zrPage = 0;
    play(m_drive, Replies());
    QCOMPARE(rw->ReadTypeCode(), -1);
    play(m_drive, PageZero + Replies { zrData("01", "0007", '0') });
    QCOMPARE(rw->ReadPar(5, 1), 7.0);
    m_drive.stop();
    // The page was known, yet selected again, and only then is the request cleared.
    const QList<QByteArray> expected { zrRequest("01FF00000"), zrRequest("017F0"), zrRequest("01050") };
    QCOMPARE(m_drive.frames(), expected);
    QVERIFY(!m_recorder.forcePageSelect);
    QVERIFY(m_recorder.errors().isEmpty());
}

void tst_LinkReports::missingCommandTableWarnsThroughTheReports()
{
    const QString table = g_appDir + QStringLiteral("ParameterInforamtion/InvType/FNC.txt");
    QVERIFY(QFile::rename(table, table + ".away"));
    {
        ReadWriteRTU object;
        QVERIFY(m_recorder.warnings().isEmpty());
        object.SetProtocol(1);
        QCOMPARE(m_recorder.warnings().size(), 1);
        QVERIFY(m_recorder.warnings().at(0).startsWith(QStringLiteral("Warning:Cannot read file ") + table));
    }
    QVERIFY(QFile::rename(table + ".away", table));
}

void tst_LinkReports::withoutReportsNothingIsShown()
{
    installLinkReports(nullptr);
    const std::unique_ptr<ReadWrite> rw = protocolObject(1);
    play(m_drive, { crc(QByteArray::fromHex("018603")) });
    const bool written = rw->WritePar(100, 1);
    m_drive.stop();
    installLinkReports(&m_recorder);
    QVERIFY(!written);
    QVERIFY(m_recorder.errors().isEmpty());
    QVERIFY(m_recorder.log().isEmpty());
}

QTEST_MAIN(tst_LinkReports)
#include "tst_linkreports.moc"
