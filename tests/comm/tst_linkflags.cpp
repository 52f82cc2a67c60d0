#include "comm/globals.h"
#include "comm/linkflags.h"

#include <QtTest>

#include <stdexcept>

class tst_LinkFlags : public QObject {
    Q_OBJECT
private slots:
    void scopeLeavesTheFlag_data();
    void scopeLeavesTheFlag();
    void resetLeavesTheLinkUpAndQuietModesOff();
};

enum Way { EndOfScope, EndCalled, Released, Thrown };
Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(FlagScope::Exit)

void tst_LinkFlags::scopeLeavesTheFlag_data()
{
    QTest::addColumn<FlagScope::Exit>("exit");
    QTest::addColumn<bool>("before");
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("after");

    // A quiet read inside another leaves the outer one quiet; a batch ends on every way out.
    QTest::newRow("restore_unset") << FlagScope::Restore << false << EndOfScope << false;
    QTest::newRow("restore_nested_stays_set") << FlagScope::Restore << true << EndOfScope << true;
    QTest::newRow("restore_after_throw") << FlagScope::Restore << false << Thrown << false;
    QTest::newRow("clear_at_end") << FlagScope::Clear << false << EndOfScope << false;
    QTest::newRow("clear_even_when_set_before") << FlagScope::Clear << true << EndOfScope << false;
    QTest::newRow("clear_early_end") << FlagScope::Clear << false << EndCalled << false;
    QTest::newRow("clear_after_throw") << FlagScope::Clear << false << Thrown << false;
    QTest::newRow("released_stays_set") << FlagScope::Clear << false << Released << true;
}

void tst_LinkFlags::scopeLeavesTheFlag()
{
    QFETCH(FlagScope::Exit, exit);
    QFETCH(bool, before);
    QFETCH(Way, way);
    QFETCH(bool, after);

    std::atomic<bool> flag { before };
    try {
        FlagScope scope(flag, exit);
        QVERIFY(flag);
        if (way == EndCalled) {
            scope.end();
            QCOMPARE(bool(flag), after);
            // Once ended, neither a second end nor the scope's close touches the flag again.
            flag = true;
            scope.end();
            after = true;
        }
        if (way == Released)
            scope.release();
        if (way == Thrown)
            throw std::runtime_error("way out");
    } catch (const std::runtime_error &) {
    }
    QCOMPARE(bool(flag), after);
}

void tst_LinkFlags::resetLeavesTheLinkUpAndQuietModesOff()
{
    for (std::atomic<bool> *flag : { &g_offLine, &g_connectionTest, &g_batchTransfer, &g_quietRead, &g_restartWait,
                                     &g_noValueFlag, &g_signedFlag, &g_replyError })
        *flag = true;
    g_zrPage = 3;
    g_failedParameters = QStringList { "P.5" };
    resetLinkFlags();
    for (std::atomic<bool> *flag : { &g_offLine, &g_connectionTest, &g_batchTransfer, &g_quietRead, &g_restartWait,
                                     &g_noValueFlag, &g_signedFlag, &g_replyError })
        QVERIFY(!*flag);
    QCOMPARE(g_zrPage.load(), -1);
    QVERIFY(g_failedParameters.isEmpty());
}

QTEST_MAIN(tst_LinkFlags)
#include "tst_linkflags.moc"
