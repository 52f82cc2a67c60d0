#pragma once

// The registry stand-in: a QSettings INI file at $TAVIRON_REGISTRY, else
// $XDG_CONFIG_HOME/TavironINV/registry.ini (~/.config when XDG_CONFIG_HOME is unset).
// Keys are addressed by their full Windows path ("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM")
// and a value name; an empty value name is the key's default value. Each call reads the file
// afresh, so entries that another process (the simulated drive) adds are seen at once.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace Registry
{

inline const char *const SerialCommKey = "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";
inline const char *const PortsKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\TavironINV\\Ports";
inline const char *const SimulatedLineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\TavironINV\\SimulatedLine";

QString filePath();

QVariant value(const QString &key, const QString &name, const QVariant &defaultValue = QVariant());
bool contains(const QString &key, const QString &name);
// False when the store cannot be written.
bool setValue(const QString &key, const QString &name, const QVariant &value);
void remove(const QString &key, const QString &name);
// Value names of a key, in the store's order; "" stands for the default value.
QStringList valueNames(const QString &key);

// Brings the SERIALCOMM port list up to date with the serial devices present (USB, ACM, AMA,
// and ttyS ports that have hardware behind them) in /dev, or in the folder $TAVIRON_DEVICE_DIR
// names, giving each a COM name that stays the same from run to run, and returns the COM names
// listed, entries added by hand included.
QStringList serialPorts();

// The device path of a port name: "COM3", "com3" and "\\\\.\\COM3" name the same port; a
// name starting with "/" is already a device path. Empty when no such port is known.
QString deviceForPort(const QString &portName);

// The COM name of a device path (the reverse of deviceForPort), empty when none.
QString portForDevice(const QString &devicePath);

} // namespace Registry
