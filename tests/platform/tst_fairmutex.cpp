// A thread that locks again as soon as it unlocks must not keep a waiting thread out: the waiter
// gets its turn after the hold in progress, as the GUI thread must while the monitor poller runs.

#include "platform/fairmutex.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <thread>

class tst_FairMutex : public QObject
{
    Q_OBJECT
private slots:
    void waiterGetsTheNextTurn();
};

void tst_FairMutex::waiterGetsTheNextTurn()
{
    FairMutex mutex;
    std::atomic<bool> running { true };
    std::atomic<int> holds { 0 };
    int shared = 0;
    std::thread poller([&] {
        while (running) {
            mutex.lock();
            ++shared;
            ++holds;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            mutex.unlock();
        }
    });
    while (holds < 2)
        std::this_thread::yield();
    for (int turn = 0; turn < 5; ++turn) {
        const int before = holds;
        mutex.lock();
        const int during = holds;
        ++shared;
        mutex.unlock();
        // The hold in progress when the lock was asked for, and perhaps the one that had the next
        // ticket already; never a run of them.
        QVERIFY2(during - before <= 2, qPrintable(QStringLiteral("%1 holds went first").arg(during - before)));
    }
    running = false;
    poller.join();
    QCOMPARE(shared, holds.load() + 5);
}

QTEST_GUILESS_MAIN(tst_FairMutex)
#include "tst_fairmutex.moc"
