#include "comm/globals.h"

#include <QtTest>

class tst_Globals : public QObject {
    Q_OBJECT
private slots:
    void unitNamesHoldTwentyFourInOrder();
    void startValues();
};

void tst_Globals::unitNamesHoldTwentyFourInOrder()
{
    QCOMPARE(g_unitNames.size(), 24);
    QCOMPARE(g_unitNames.at(0), QStringLiteral("%"));
    QCOMPARE(g_unitNames.at(2), QStringLiteral("Hz"));
    QCOMPARE(g_unitNames.at(11), QString::fromUtf8("m\u03A9"));
    QCOMPARE(g_unitNames.at(13), QString::fromUtf8("\u00B0"));
    QCOMPARE(g_unitNames.at(15), QStringLiteral("kW"));
    QCOMPARE(g_unitNames.at(22), QStringLiteral("kw"));
    QCOMPARE(g_unitNames.at(23), QString::fromUtf8("\u03A9"));
}

void tst_Globals::startValues()
{
    QCOMPARE(g_transactionSemaphore.available(), 1);
    QCOMPARE(g_zrPage.load(), -1);
    QCOMPARE(g_stationHex[0], '\0');
    QCOMPARE(g_stationHex[1], '\0');
    QCOMPARE(g_seriesLetter.load(), '0');
    QCOMPARE(g_cuModeResult.load(), -1);
    QCOMPARE(g_p186Value, QStringLiteral("1"));
    resetCommunicationDefaults();
    QCOMPARE(g_portName, QStringLiteral("COM1"));
    QCOMPARE(g_baudIndex, 1);
    QCOMPARE(g_crLfIndex, 1);
    QCOMPARE(g_timeoutText, QStringLiteral("10"));
}

QTEST_GUILESS_MAIN(tst_Globals)
#include "tst_globals.moc"
