#pragma once

// Rules of the communication settings that the main window applies: index to port setting,
// port names and the delay field.

#include "comm/qextserialbase.h"

#include <QString>
#include <QStringList>

BaudRateType baudRateOfIndex(int baudIndex, BaudRateType unchanged);
DataBitsType dataBitsOfIndex(int dataBitsIndex);
StopBitsType stopBitsOfIndex(int stopBitsIndex);
ParityType parityOfIndex(int parityIndex);

// Puts the device-namespace prefix "\\.\" in front of a port name unless it is there already.
QString withDevicePrefix(const QString &portName);

// The number after the first three characters of a port name ("Com10" gives 10); -1 when none.
int portNumber(const QString &portName);

// The port list of the set-up dialog: "Com" and the number of each registered port, in numeric order.
QStringList dialogPortList(const QStringList &registeredPorts);

// The delay field taken as a whole number of milliseconds from 0 to 1000; false for anything else.
bool parseDelayText(const QString &text, int *milliseconds);

// "Communication setting:" line of the operation log for the current settings.
QString communicationSettingLine();
