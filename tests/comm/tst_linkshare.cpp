// How the GUI thread and a poller share the link: a change of the link waits for the running
// exchange and keeps the next one out, a replaced protocol object stays usable by a poller that
// still holds it, and a station change is never seen half done. Run under ThreadSanitizer in CI.

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "connection/search.h"
#include "shell/appglobals.h"
#include "testdirs.h"

#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <mutex>
#include <thread>

// Lets a thread run to its end and joins it, also when a check returns early.
struct Joined {
    std::thread &thread;
    std::atomic<bool> &letItEnd;
    ~Joined()
    {
        letItEnd = true;
        if (thread.joinable())
            thread.join();
    }
};

class tst_LinkShare : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void linkChangeFallsBetweenExchanges();
    void pollerKeepsCallingThroughReplacedObjects();
    void stationIsNeverSeenHalfChanged_data();
    void stationIsNeverSeenHalfChanged();

private:
    QTemporaryDir m_appDir;
};

void tst_LinkShare::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    // The shipped command table, and a log of our own for the failure lines of the exchanges below.
    QVERIFY(QFile::link(binDir() + QStringLiteral("/ParameterInforamtion"),
                        m_appDir.path() + QStringLiteral("/ParameterInforamtion")));
    g_appDir = m_appDir.path() + QLatin1Char('/');
}

void tst_LinkShare::init()
{
    // No port: every try finds no reply, so an exchange lasts exactly its ten pauses.
    g_serialPort = nullptr;
    g_quietRead = true;
    g_connectionTest = false;
    g_offLine = false;
}

void tst_LinkShare::cleanup()
{
    g_quietRead = false;
    g_connectionTest = false;
    g_responseDelayMs = 0;
    g_readWrite = nullptr;
}

void tst_LinkShare::linkChangeFallsBetweenExchanges()
{
    // Ten tries with a 30 ms pause each: an exchange holds the link for at least 300 ms.
    g_responseDelayMs = 30;
    ReadWrite *rtu = createProtocolObject(1);
    QElapsedTimer clock;
    clock.start();
    std::atomic<qint64> firstStartedAt { -1 };
    std::atomic<qint64> secondEndedAt { -1 };
    std::atomic<bool> secondMayStart { false };
    std::thread poller([&] {
        firstStartedAt = clock.elapsed();
        rtu->ReadPar(1, 1.0);
        while (!secondMayStart)
            QThread::msleep(1);
        rtu->ReadPar(2, 1.0);
        secondEndedAt = clock.elapsed();
    });
    Joined joined { poller, secondMayStart };
    QTRY_COMPARE_WITH_TIMEOUT(g_transactionSemaphore.available(), 0, 5000);

    qint64 releasedAt = 0;
    {
        LinkChange change;
        // The change came only once the running exchange had made all its tries.
        const qint64 changedAt = clock.elapsed();
        QVERIFY2(changedAt - firstStartedAt >= 300, qPrintable(QString::number(changedAt - firstStartedAt)));
        // An exchange asked for meanwhile waits for the change to end, however long it takes. The
        // change brings the link back, as a connection test that passes does.
        g_offLine = false;
        secondMayStart = true;
        QThread::msleep(100);
        releasedAt = clock.elapsed();
    }
    poller.join();
    QVERIFY2(secondEndedAt >= releasedAt + 250,
             qPrintable(QStringLiteral("%1 < %2 + 250").arg(secondEndedAt.load()).arg(releasedAt)));
    QCOMPARE(g_transactionSemaphore.available(), 1);
    delete rtu;
}

void tst_LinkShare::pollerKeepsCallingThroughReplacedObjects()
{
    // One try per exchange and no off-line handling, as during a search.
    g_connectionTest = true;
    installProtocol(createProtocolObject(0));
    QVERIFY(!g_readWrite->commandTable().isEmpty());
    std::atomic<bool> stop { false };
    std::mutex seenMutex;
    QSet<ReadWrite *> seen;
    int calls = 0;
    std::thread poller([&] {
        while (!stop) {
            ReadWrite *current = g_readWrite;
            current->SendCommand("MOD");
            std::lock_guard<std::mutex> lock(seenMutex);
            seen.insert(current);
            ++calls;
        }
    });
    Joined joined { poller, stop };
    QSet<ReadWrite *> installed;
    for (int i = 0; i < 300; ++i) {
        ReadWrite *object = createProtocolObject(i % 3);
        installProtocol(object);
        installed.insert(object);
        if (i % 30 == 0)
            QThread::msleep(2);
    }
    // Let the poller see the last one too.
    QTRY_VERIFY_WITH_TIMEOUT([&] {
        std::lock_guard<std::mutex> lock(seenMutex);
        return seen.contains(g_readWrite.load());
    }(), 5000);
    stop = true;
    poller.join();

    QVERIFY(calls > 0);
    QVERIFY(seen.size() >= 2);
    // Every object the poller went through works still: none was deleted under it.
    for (ReadWrite *object : seen)
        QCOMPARE(object->SendCommand("XXX"), -1);
}

void tst_LinkShare::stationIsNeverSeenHalfChanged_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("both_digits_change") << 0x0F << 0xF0;
    QTest::newRow("station_1_and_254") << 1 << 254;
}

void tst_LinkShare::stationIsNeverSeenHalfChanged()
{
    QFETCH(int, first);
    QFETCH(int, second);
    auto hexOf = [](int n) { return QByteArray::number(n, 16).toUpper().rightJustified(2, '0'); };
    const QByteArray a = hexOf(first);
    const QByteArray b = hexOf(second);
    setStation(first);
    std::atomic<bool> stop { false };
    std::thread writer([&stop, first, second] {
        for (int i = 0; !stop; ++i)
            setStation(i % 2 ? first : second);
    });
    Joined joined { writer, stop };
    int torn = 0;
    for (int i = 0; i < 200000; ++i) {
        const QByteArray field = g_stationHex.field();
        if (field != a && field != b)
            ++torn;
        const int number = g_station;
        if (number != first && number != second)
            ++torn;
    }
    stop = true;
    writer.join();
    QCOMPARE(torn, 0);
    clearStation();
    QCOMPARE(g_stationHex.field(), QByteArray(2, '\0'));
}

QTEST_MAIN(tst_LinkShare)
#include "tst_linkshare.moc"
