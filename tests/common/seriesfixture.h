#pragma once

// Puts the program-wide drive identity in the state the identification leaves for a shipped series.

#include "comm/globals.h"
#include "comm/typeinfo.h"
#include "parameter/parameter.h"
#include "shell/appglobals.h"
#include "testdirs.h"

#include <QString>
#include <QTest>

struct SeriesSetup {
    char letter;
    QString model;
    QString firmware;
    int count;
    int groupMode;
    QString type;
};

inline SeriesSetup seriesSetup(char letter)
{
    switch (letter) {
    case 'A': return { 'A', "VR3", "0.55", 1300, 1, "VR3-043-3.7K" };
    case 'D': return { 'D', "VM3", "0.52", 1000, 0, "VM3-023-1.5K" };
    default: return { 'S', "VS5", "0.25", 200, 0, "VS5-043-5.5K/7.5K" };
    }
}

inline void applySeries(const SeriesSetup &s, const QString &modelCode = QStringLiteral("0"), int language = 0)
{
    g_appDir = binDir() + QLatin1Char('/');
    if (g_typeInfoTable.isEmpty())
        loadTypeInfo();
    g_seriesLetter = s.letter;
    g_modelName = s.model;
    g_firmwareVersion = s.firmware;
    g_parameterCount = s.count;
    g_groupMode = s.groupMode;
    g_invType = s.type;
    g_modelCode = modelCode;
    g_language = static_cast<unsigned char>(language);
}

// The form shown at its default size with the table of the series applied; false when it did not
// come on screen.
inline bool showLoadedForm(CParameter &form)
{
    form.resize(910, 691);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return false;
    form.loadParameterTable();
    return true;
}
