#include "platform/registry.h"
#include "pseudoterminal.h"

#include <QSettings>
#include <QtTest>

class tst_Registry : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void storeLocation();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void entriesOfOtherProgramsAreSeen();
    void portListNamesAddedPseudoTerminal();
    void portNamesResolve_data();
    void portNamesResolve();

private:
    TemporaryRegistry *m_registry = nullptr;
};

void tst_Registry::init()
{
    m_registry = new TemporaryRegistry;
}

void tst_Registry::cleanup()
{
    delete m_registry;
}

void tst_Registry::storeLocation()
{
    QCOMPARE(Registry::filePath(), m_registry->filePath());
    const QByteArray saved = qgetenv("TAVIRON_REGISTRY");
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("TAVIRON_REGISTRY");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg-home");
    QCOMPARE(Registry::filePath(), QStringLiteral("/tmp/cfg-home/TavironINV/registry.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(Registry::filePath(), QDir::homePath() + QStringLiteral("/.config/TavironINV/registry.ini"));
    qputenv("TAVIRON_REGISTRY", saved);
    if (!savedXdg.isEmpty())
        qputenv("XDG_CONFIG_HOME", savedXdg);
}

void tst_Registry::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("settingsKey");

    QTest::newRow("port_device") << QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\TavironINV\\Ports")
                                 << QStringLiteral("COM7") << QVariant(QStringLiteral("/dev/pts/5"))
                                 << QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/Ports/COM7");
    QTest::newRow("default_value") << QStringLiteral("HKEY_CLASSES_ROOT\\.tv") << QString()
                                   << QVariant(QStringLiteral("TavironINV"))
                                   << QStringLiteral("HKEY_CLASSES_ROOT/.tv/@");
    QTest::newRow("command_with_spaces") << QStringLiteral("HKEY_CLASSES_ROOT\\TavironINV\\shell\\open\\command")
                                         << QString() << QVariant(QStringLiteral("/opt/tav/TavironINV %1"))
                                         << QStringLiteral("HKEY_CLASSES_ROOT/TavironINV/shell/open/command/@");
    QTest::newRow("number") << QStringLiteral("HKEY_CURRENT_USER\\Software\\TavironINV") << QStringLiteral("Language")
                            << QVariant(2) << QStringLiteral("HKEY_CURRENT_USER/Software/TavironINV/Language");
    QTest::newRow("non_ascii") << QStringLiteral("HKEY_CURRENT_USER\\Software\\TavironINV") << QStringLiteral("Unit")
                               << QVariant(QString::fromUtf8("m\u03A9"))
                               << QStringLiteral("HKEY_CURRENT_USER/Software/TavironINV/Unit");
}

void tst_Registry::valuesRoundTripThroughTheFile()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(QString, settingsKey);

    QVERIFY(!Registry::contains(key, name));
    QVERIFY(Registry::setValue(key, name, value));
    QVERIFY(QFile::exists(m_registry->filePath()));
    QCOMPARE(Registry::value(key, name).toString(), value.toString());
    QVERIFY(Registry::contains(key, name));
    QCOMPARE(Registry::valueNames(key), QStringList { name });
    // Another program reading the file the plain way sees the same value.
    QSettings plain(m_registry->filePath(), QSettings::IniFormat);
    QCOMPARE(plain.value(settingsKey).toString(), value.toString());

    Registry::remove(key, name);
    QVERIFY(!Registry::contains(key, name));
    QCOMPARE(Registry::value(key, name, QStringLiteral("gone")).toString(), QStringLiteral("gone"));
}

// The simulated drive writes its entries with QSettings of its own, while we run.
void tst_Registry::entriesOfOtherProgramsAreSeen()
{
    QCOMPARE(Registry::deviceForPort(QStringLiteral("COM21")), QString());
    {
        QSettings other(m_registry->filePath(), QSettings::IniFormat);
        other.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/HARDWARE/DEVICEMAP/SERIALCOMM/COM21"), "COM21");
        other.setValue(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/Ports/COM21"), "/dev/pts/77");
    }
    QVERIFY(Registry::serialPorts().contains(QStringLiteral("COM21")));
    QCOMPARE(Registry::deviceForPort(QStringLiteral("COM21")), QStringLiteral("/dev/pts/77"));
    QCOMPARE(Registry::portForDevice(QStringLiteral("/dev/pts/77")), QStringLiteral("COM21"));
    {
        QSettings other(m_registry->filePath(), QSettings::IniFormat);
        other.remove(QStringLiteral("HKEY_LOCAL_MACHINE/HARDWARE/DEVICEMAP/SERIALCOMM/COM21"));
    }
    QVERIFY(!Registry::serialPorts().contains(QStringLiteral("COM21")));
}

void tst_Registry::portListNamesAddedPseudoTerminal()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    // Every test program scans a device folder of its own (common/hostports.cpp): no port of the host shows.
    QCOMPARE(Registry::serialPorts(), QStringList());
    pty.registerAs(QStringLiteral("COM12"));
    const QStringList after = Registry::serialPorts();
    QCOMPARE(after, QStringList { QStringLiteral("COM12") });
    // The list keeps hand-added entries however often it is refreshed.
    QCOMPARE(Registry::serialPorts(), after);
    QCOMPARE(Registry::value(QLatin1String(Registry::SerialCommKey), QStringLiteral("COM12")).toString(),
        QStringLiteral("COM12"));
}

void tst_Registry::portNamesResolve_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::newRow("upper") << QStringLiteral("COM3") << true;
    QTest::newRow("capitalised") << QStringLiteral("Com3") << true;
    QTest::newRow("lower") << QStringLiteral("com3") << true;
    QTest::newRow("device_prefix") << QStringLiteral("\\\\.\\COM3") << true;
    QTest::newRow("other_number") << QStringLiteral("COM33") << false;
    QTest::newRow("unlisted_first_port") << QStringLiteral("COM1") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_Registry::portNamesResolve()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    TemporaryRegistry::addPort(QStringLiteral("COM3"), QStringLiteral("/dev/pts/41"));
    QCOMPARE(Registry::deviceForPort(name), known ? QStringLiteral("/dev/pts/41") : QString());
    QCOMPARE(Registry::deviceForPort(QStringLiteral("/dev/ttyUSB7")), QStringLiteral("/dev/ttyUSB7"));
}

QTEST_GUILESS_MAIN(tst_Registry)
#include "tst_registry.moc"
