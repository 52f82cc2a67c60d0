#include "platform/registry.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace Registry
{

namespace
{

// Ports this program listed from the devices it found, as opposed to entries added by hand;
// only these leave the port list when their device goes away.
const char *const DetectedKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\TavironINV\\Detected";

QString groupOf(const QString &key)
{
    QString group = key;
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group;
}

// The default value of a key gets a name of its own, as in .reg files.
QString storedName(const QString &name)
{
    return name.isEmpty() ? QStringLiteral("@") : name;
}

QString settingsKey(const QString &key, const QString &name)
{
    return groupOf(key) + QLatin1Char('/') + storedName(name);
}

QSettings openStore()
{
    return QSettings(filePath(), QSettings::IniFormat);
}

// Value names compare without regard to case, as on the platform the names come from.
QString findName(QSettings &store, const QString &key, const QString &name)
{
    store.beginGroup(groupOf(key));
    const QStringList names = store.childKeys();
    store.endGroup();
    for (const QString &candidate : names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    return QString();
}

// The tests name a folder of their own, so that no test reaches a port of the host: opening one
// raises its modem lines, and a drive wired to it would hear the test's frames.
QDir deviceFolder()
{
    const QString named = qEnvironmentVariable("TAVIRON_DEVICE_DIR");
    return QDir(named.isEmpty() ? QStringLiteral("/dev") : named);
}

QStringList devicesMatching(const QString &pattern)
{
    const QDir folder = deviceFolder();
    QStringList names = folder.entryList({ pattern }, QDir::System | QDir::Files);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    QStringList paths;
    for (const QString &name : names)
        paths << folder.filePath(name);
    return paths;
}

// Most PCs expose several 8250 ports whether a UART is fitted or not; only those whose
// port type is known have hardware behind them.
bool hasUart(const QString &devicePath)
{
    const QString sysDir = QStringLiteral("/sys/class/tty/") + QFileInfo(devicePath).fileName();
    if (!QFileInfo::exists(sysDir + QStringLiteral("/device")))
        return false;
    QFile typeFile(sysDir + QStringLiteral("/type"));
    if (typeFile.open(QIODevice::ReadOnly))
        return typeFile.readAll().trimmed() != "0";
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    serial_struct info {};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return known;
}

QStringList presentDevices()
{
    QStringList devices;
    for (const QString &device : devicesMatching(QStringLiteral("ttyS*")))
        if (hasUart(device))
            devices << device;
    devices << devicesMatching(QStringLiteral("ttyAMA*")) << devicesMatching(QStringLiteral("ttyACM*"))
            << devicesMatching(QStringLiteral("ttyUSB*"));
    return devices;
}

void setIfDifferent(QSettings &store, const QString &key, const QString &name, const QString &data)
{
    const QString k = settingsKey(key, name);
    if (store.value(k).toString() != data)
        store.setValue(k, data);
}

QString newComName(QSettings &store)
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (findName(store, QLatin1String(PortsKey), name).isEmpty()
            && findName(store, QLatin1String(SerialCommKey), name).isEmpty())
            return name;
    }
}

} // namespace

QString filePath()
{
    const QString explicitPath = qEnvironmentVariable("TAVIRON_REGISTRY");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/TavironINV/registry.ini");
}

QVariant value(const QString &key, const QString &name, const QVariant &defaultValue)
{
    QSettings store = openStore();
    return store.value(settingsKey(key, name), defaultValue);
}

bool contains(const QString &key, const QString &name)
{
    QSettings store = openStore();
    return store.contains(settingsKey(key, name));
}

bool setValue(const QString &key, const QString &name, const QVariant &data)
{
    QSettings store = openStore();
    store.setValue(settingsKey(key, name), data);
    store.sync();
    return store.status() == QSettings::NoError;
}

void remove(const QString &key, const QString &name)
{
    QSettings store = openStore();
    store.remove(settingsKey(key, name));
}

QStringList valueNames(const QString &key)
{
    QSettings store = openStore();
    store.beginGroup(groupOf(key));
    QStringList names = store.childKeys();
    store.endGroup();
    for (QString &name : names)
        if (name == QLatin1String("@"))
            name.clear();
    return names;
}

QStringList serialPorts()
{
    QSettings store = openStore();
    const QString ports = QLatin1String(PortsKey);
    const QString serialComm = QLatin1String(SerialCommKey);
    const QString detected = QLatin1String(DetectedKey);
    const QStringList present = presentDevices();

    for (const QString &device : present) {
        QString name = portForDevice(device);
        if (name.isEmpty()) {
            name = newComName(store);
            setIfDifferent(store, ports, name, device);
        }
        setIfDifferent(store, detected, name, device);
        setIfDifferent(store, serialComm, name, name);
    }

    store.beginGroup(groupOf(detected));
    const QStringList detectedNames = store.childKeys();
    store.endGroup();
    for (const QString &name : detectedNames) {
        if (!present.contains(store.value(settingsKey(detected, name)).toString()))
            store.remove(settingsKey(serialComm, name));
    }
    store.sync();

    store.beginGroup(groupOf(serialComm));
    QStringList listed;
    for (const QString &name : store.childKeys())
        listed << store.value(name).toString();
    store.endGroup();
    return listed;
}

QString deviceForPort(const QString &portName)
{
    QString name = portName.trimmed();
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name = name.mid(4);
    if (name.startsWith(QLatin1Char('/')))
        return name;
    if (name.isEmpty())
        return QString();
    {
        QSettings store = openStore();
        const QString stored = findName(store, QLatin1String(PortsKey), name);
        if (!stored.isEmpty())
            return store.value(settingsKey(QLatin1String(PortsKey), stored)).toString();
    }
    // A device plugged in since the list was last made gets its name now.
    serialPorts();
    QSettings store = openStore();
    const QString stored = findName(store, QLatin1String(PortsKey), name);
    return stored.isEmpty() ? QString() : store.value(settingsKey(QLatin1String(PortsKey), stored)).toString();
}

QString portForDevice(const QString &devicePath)
{
    QSettings store = openStore();
    const QString ports = QLatin1String(PortsKey);
    store.beginGroup(groupOf(ports));
    const QStringList names = store.childKeys();
    QString found;
    for (const QString &name : names) {
        if (store.value(name).toString() == devicePath) {
            found = name;
            break;
        }
    }
    store.endGroup();
    return found;
}

} // namespace Registry
