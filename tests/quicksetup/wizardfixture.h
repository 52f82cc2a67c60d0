#pragma once

// What the wizard's tests share: a feature table with the wizard's keys for one series, and a
// program folder whose terminal-function file the test writes.

#include "comm/globals.h"
#include "platform/appstate.h"
#include "testdirs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace wizardtest {

const QStringList kWizardKeys { "quicksetup_P7", "quicksetup_P8", "quicksetup_P126-P130", "quicksetup_P80-P86NotH",
                                "quicksetup_setCurrentIndex", "quicksetup_outVolSpinBox", "quicksetup_H",
                                "quicksetup_GF" };

// A feature table of one column, the series' own, holding the keys named.
inline void setKeys(char series, const QStringList &on)
{
    g_typeInfoTable.clear();
    g_typeInfoTable.append({ QStringLiteral("range:%1").arg(QLatin1Char(series)) });
    for (const QString &key : kWizardKeys)
        g_typeInfoTable.append({ key, on.contains(key) ? QStringLiteral("1-0-99") : QStringLiteral("0-0-99") });
}

// Writes ParameterInforamtion/InvType/inputAndOutput.txt under `folder` (GBK is ASCII here).
inline bool writeTerminalFile(const QString &folder, const QByteArray &text)
{
    QDir().mkpath(folder + QStringLiteral("/ParameterInforamtion/InvType"));
    QFile f(folder + QStringLiteral("/ParameterInforamtion/InvType/inputAndOutput.txt"));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// A data line of n functions named F0, F1, ...
inline QByteArray functionLine(int n)
{
    QByteArrayList fields;
    for (int i = 0; i < n; ++i)
        fields << QByteArray::number(i) + ".F" + QByteArray::number(i);
    return fields.join('-');
}

} // namespace wizardtest
