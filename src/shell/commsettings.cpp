#include "shell/commsettings.h"

#include "comm/globals.h"

#include <QRegularExpression>
#include <algorithm>

BaudRateType baudRateOfIndex(int baudIndex, BaudRateType unchanged)
{
    static const BaudRateType rates[] = { BAUD4800, BAUD9600, BAUD19200, BAUD38400, BAUD57600, BAUD115200 };
    return (baudIndex >= 0 && baudIndex < 6) ? rates[baudIndex] : unchanged;
}

DataBitsType dataBitsOfIndex(int dataBitsIndex)
{
    return dataBitsIndex == 0 ? DATA_7 : DATA_8;
}

StopBitsType stopBitsOfIndex(int stopBitsIndex)
{
    return stopBitsIndex == 0 ? STOP_1 : STOP_2;
}

ParityType parityOfIndex(int parityIndex)
{
    if (parityIndex == 0)
        return PAR_NONE;
    return parityIndex == 1 ? PAR_ODD : PAR_EVEN;
}

QString withDevicePrefix(const QString &portName)
{
    const QString prefix = QStringLiteral("\\\\.\\");
    return portName.startsWith(prefix) ? portName : prefix + portName;
}

int portNumber(const QString &portName)
{
    bool ok = false;
    const int number = portName.mid(3).toInt(&ok);
    return ok ? number : -1;
}

QStringList dialogPortList(const QStringList &registeredPorts)
{
    QList<int> numbers;
    for (const QString &name : registeredPorts) {
        // An entry that names no numbered port could not be opened from the list anyway.
        const int number = portNumber(name);
        if (number >= 0)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    QStringList list;
    for (int number : numbers)
        list.append(QStringLiteral("Com") + QString::number(number));
    return list;
}

bool parseDelayText(const QString &text, int *milliseconds)
{
    // The delay is slept before every Modbus RTU try: a negative or huge number would hang the link.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const int value = text.toInt();
    if (value > 1000)
        return false;
    *milliseconds = value;
    return true;
}

QString communicationSettingLine()
{
    const QString dash = QStringLiteral("-");
    return QStringLiteral("Communication setting:") + QString::number(g_protocolIndex) + dash
        + QString::number(g_baudIndex) + dash + QString::number(g_dataBitsIndex) + dash
        + QString::number(g_stopBitsIndex) + dash + QString::number(g_parityIndex) + dash + QString::number(g_crLfIndex)
        + dash + g_timeoutText;
}
