#include "comm/commandtable.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_CommandTable : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void kinds_data();
    void kinds();
    void fileLinesWithCrLf();
    void missingFileGivesItsError();
};

namespace {

const QStringList kLines {
    QStringLiteral("1-M-C-R-03-00-00-00-01"),
    QStringLiteral("1-FWD-x-y-06-10-01-00-02"), // the code comes from the first character of fields 1 to 3
    QStringLiteral("1-S-T-O-06-10"),             // too short to send
    QStringLiteral("1-M-0-R-zz-00-00-00-01-55"), // a field that is no number gives 0
    QStringLiteral("1-M-C"),
    QStringLiteral("2-MCR-0300050001"),
    QStringLiteral("2-FRE-0610020000"),
    QStringLiteral("2-STO-0610"),
    QStringLiteral("0-FWD-FA0-02"),
    QStringLiteral("0-FRE-ED0"), // a frequency command without room for its value
    QStringLiteral("0-FRE-ED0-0000"),
    QStringLiteral("x-ABC-0000000000"),
    QStringLiteral(""),
};

} // namespace

void tst_CommandTable::entries_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QList<QByteArray>>("expected");

    QTest::newRow("modbus_rtu_fields") << 1
                                       << QList<QByteArray> { QByteArray::fromHex("01") + "MCR"
                                                                  + QByteArray::fromHex("0300000001"),
                                                              QByteArray::fromHex("01") + "Fxy"
                                                                  + QByteArray::fromHex("0610010002"),
                                                              QByteArray::fromHex("01") + "M0R"
                                                                  + QByteArray::fromHex("000000000155") };
    QTest::newRow("modbus_ascii_characters")
        << 2 << QList<QByteArray> { QByteArray(1, '\2') + "MCR0300050001", QByteArray(1, '\2') + "FRE0610020000" };
    QTest::newRow("character_protocol")
        << 0 << QList<QByteArray> { QByteArray(1, '\0') + "FWDFA002", QByteArray(1, '\0') + "FREED00000" };
}

void tst_CommandTable::entries()
{
    QFETCH(int, protocol);
    QFETCH(QList<QByteArray>, expected);
    QCOMPARE(parseCommandTable(kLines, protocol).toList(), expected);
}

void tst_CommandTable::kinds_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("kind");

    QTest::newRow("mode") << QByteArray("MOD") << int(CommandKind::ModeRead);
    QTest::newRow("status") << QByteArray("STA") << int(CommandKind::WordRead);
    QTest::newRow("alarm_word") << QByteArray("M0N") << int(CommandKind::WordRead);
    QTest::newRow("service_word") << QByteArray("M1N") << int(CommandKind::WordRead);
    QTest::newRow("connection_test") << QByteArray("MCR") << int(CommandKind::MonitorRead);
    QTest::newRow("monitor_item") << QByteArray("MbR") << int(CommandKind::MonitorRead);
    QTest::newRow("monitor_write") << QByteArray("MAW") << int(CommandKind::MonitorWrite);
    QTest::newRow("frequency") << QByteArray("FRE") << int(CommandKind::Plain);
    QTest::newRow("drive_command") << QByteArray("999") << int(CommandKind::Plain);
}

void tst_CommandTable::kinds()
{
    QFETCH(QByteArray, code);
    QFETCH(int, kind);
    QCOMPARE(int(commandKind(code.constData())), kind);
}

void tst_CommandTable::fileLinesWithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FNC.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0-FWD-FA0-02\r\n1-M-C-R-03-00-00-00-01\r\n");
    file.close();
    QStringList lines;
    QString error;
    QVERIFY(readCommandTableLines(path, &lines, &error));
    QCOMPARE(lines, QStringList({ "0-FWD-FA0-02", "1-M-C-R-03-00-00-00-01" }));
    QCOMPARE(parseCommandTable(lines, 0).value(0), QByteArray(1, '\0') + "FWDFA002");
}

void tst_CommandTable::missingFileGivesItsError()
{
    QStringList lines;
    QString error;
    QVERIFY(!readCommandTableLines(QStringLiteral("/nonexistent/FNC.txt"), &lines, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_CommandTable)
#include "tst_commandtable.moc"
