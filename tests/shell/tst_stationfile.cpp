// station.txt as written into documents and read back at start and by Open: exact bytes, the
// station taken from the dock's label, and what the readers make of older and damaged files.

#include "shell/stationfile.h"

#include <QtTest>

Q_DECLARE_METATYPE(CommSettings)

namespace
{

// One line per finding, so a failing row shows what was read.
QString describe(const StationFile &file)
{
    QStringList out;
    for (const DocumentStation &station : file.stations)
        out.append(QStringLiteral("station %1 %2").arg(station.number).arg(station.type));
    if (file.hasLanguage)
        out.append(QStringLiteral("language %1").arg(file.language));
    if (file.hasComm) {
        // Applied over settings that no row of the tables holds, so that what a file leaves alone shows.
        CommSettings before;
        before.protocolIndex = 2;
        before.portName = QStringLiteral("COM9");
        before.baudIndex = 5;
        before.dataBitsIndex = 1;
        before.stopBitsIndex = 1;
        before.parityIndex = 2;
        before.crLfIndex = 2;
        before.timeoutText = QStringLiteral("50");
        applyCommSettings(before);
        applyCommSettings(file.comm);
        out.append(QStringLiteral("com ") + commSettingsValue(currentCommSettings()));
    }
    return out.join(QLatin1String(" | "));
}

CommSettings comm(
    int protocol, const QString &port, int baud, int data, int stop, int parity, int crLf, const QString &timeout)
{
    CommSettings c;
    c.protocolIndex = protocol;
    c.portName = port;
    c.baudIndex = baud;
    c.dataBitsIndex = data;
    c.stopBitsIndex = stop;
    c.parityIndex = parity;
    c.crLfIndex = crLf;
    c.timeoutText = timeout;
    return c;
}

} // namespace

class TestStationFile : public QObject
{
    Q_OBJECT
private slots:
    void writtenBytes_data();
    void writtenBytes();
    void stationOfLabel_data();
    void stationOfLabel();
    void reading_data();
    void reading();
};

void TestStationFile::writtenBytes_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("language");
    QTest::addColumn<CommSettings>("settings");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("defaults") << 5 << "VP-220V-0.75K-G" << 0 << CommSettings()
                              << QByteArray("Station:NO.005,VP-220V-0.75K-G\r\nlanguageType:0\r\n"
                                            "COM:0-COM1-1-1-0-0-1-10\r\n");
    QTest::newRow("modbus ascii, traditional chinese")
        << 254 << "VR3-440V-1.5K-L" << 2 << comm(2, "COM12", 5, 0, 1, 2, 2, "250")
        << QByteArray("Station:NO.254,VR3-440V-1.5K-L\r\nlanguageType:2\r\nCOM:2-COM12-5-0-1-2-2-250\r\n");
    QTest::newRow("station 0") << 0 << "A-1" << 1 << CommSettings()
                               << QByteArray("Station:NO.000,A-1\r\nlanguageType:1\r\nCOM:0-COM1-1-1-0-0-1-10\r\n");
    QTest::newRow("no station selected") << -1 << "" << 0 << CommSettings()
                                         << QByteArray("Station:\r\nlanguageType:0\r\nCOM:0-COM1-1-1-0-0-1-10\r\n");
}

void TestStationFile::writtenBytes()
{
    QFETCH(int, number);
    QFETCH(QString, type);
    QFETCH(int, language);
    QFETCH(CommSettings, settings);
    QFETCH(QByteArray, bytes);
    DocumentStation station;
    station.number = number;
    station.type = type;
    QCOMPARE(writeStationFile(station, language, settings), bytes);
}

void TestStationFile::stationOfLabel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("type");

    QTest::newRow("english caption") << "Select station: NO.005 VP-220V-0.75K-G" << 5 << "VP-220V-0.75K-G";
    QTest::newRow("caption glued to the number")
        << QString::fromUtf8("选择站号:NO.012 VR3-440V-1.5K-L") << 12 << "VR3-440V-1.5K-L";
    QTest::newRow("runs of spaces") << "Select   station:  NO.200   X-1-2" << 200 << "X-1-2";
    QTest::newRow("number and type only") << "NO.007 A-2" << 7 << "A-2";
    QTest::newRow("nothing selected") << "Select station: ---" << -1 << "";
    QTest::newRow("number without type") << "Select station: NO.007" << -1 << "";
    QTest::newRow("empty label") << "" << -1 << "";
    QTest::newRow("number out of range") << "Select station: NO.255 A-1" << -1 << "";
}

void TestStationFile::stationOfLabel()
{
    QFETCH(QString, label);
    QFETCH(int, number);
    QFETCH(QString, type);
    const DocumentStation station = stationFromLabel(label);
    QCOMPARE(station.number, number);
    QCOMPARE(station.type, type);
}

void TestStationFile::reading_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("found");

    QTest::newRow("written form") << QByteArray(
        "Station:NO.005,VP-220V-0.75K-G\r\nlanguageType:1\r\nCOM:1-COM3-2-1-1-2-0-50\r\n")
                                  << "station 5 VP-220V-0.75K-G | language 1 | com 1-COM3-2-1-1-2-0-50";
    QTest::newRow("bare number, LF line ends") << QByteArray("Station:5,A-1\nlanguageType:2\nCOM:0-COM1-1-1-0-0-1-10")
                                               << "station 5 A-1 | language 2 | com 0-COM1-1-1-0-0-1-10";
    QTest::newRow("keys anywhere in the line")
        << QByteArray(" languageType:1 \r\n  COM:0-COM2-1-1-0-0-1-10\r\n") << "language 1 | com 0-COM2-1-1-0-0-1-10";
    QTest::newRow("unknown language is english") << QByteArray("languageType:7\r\n") << "language 0";
    QTest::newRow("station without type") << QByteArray("Station:5\r\nlanguageType:0\r\n") << "language 0";
    QTest::newRow("station with empty type") << QByteArray("Station:5,\r\n") << "";
    QTest::newRow("station out of range") << QByteArray("Station:NO.300,A-1\r\n") << "";
    QTest::newRow("lower-case prefix") << QByteArray("Station:no.5,A-1\r\n") << "";
    QTest::newRow("highest station, padded") << QByteArray("Station:254,A-1\r\n") << "station 254 A-1";
    QTest::newRow("station not a number") << QByteArray("Station:NO.x,A-1\r\n") << "";
    QTest::newRow("three station fields") << QByteArray("Station:5,A-1,B\r\n") << "";
    QTest::newRow("empty station line") << QByteArray("Station:\r\nlanguageType:0\r\n") << "language 0";
    QTest::newRow("several stations") << QByteArray("Station:NO.005,A-1\r\nStation:NO.003,B-2\r\n")
                                      << "station 5 A-1 | station 3 B-2";
    QTest::newRow("seven communication fields") << QByteArray("COM:0-COM1-1-1-0-0-1\r\n") << "";
    QTest::newRow("fields that are no number")
        << QByteArray("COM:x-COM4-y-1-0-z-1-10\r\n") << "com 0-COM4-0-1-0-0-1-10";
    QTest::newRow("indices outside the selectors keep the settings")
        << QByteArray("COM:3-COM4-6-2-2-3-3-10\r\n") << "com 2-COM4-5-1-1-2-2-10";
    QTest::newRow("baud index 9 keeps the baud rate")
        << QByteArray("COM:0-COM4-9-0-0-0-1-10\r\n") << "com 0-COM4-5-0-0-0-1-10";
    QTest::newRow("empty fields keep their place") << QByteArray("COM:1--2-1-0-0-1-\r\n") << "com 1-COM9-2-1-0-0-1-";
    QTest::newRow("port name holding hyphens")
        << QByteArray("COM:1-/dev/serial/by-id/usb-x-2-1-0-0-1-10\r\n") << "com 1-/dev/serial/by-id/usb-x-2-1-0-0-1-10";
    QTest::newRow("empty file") << QByteArray() << "";
}

void TestStationFile::reading()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, found);
    QCOMPARE(describe(parseStationFile(contents)), found);
}

QTEST_GUILESS_MAIN(TestStationFile)
#include "tst_stationfile.moc"
