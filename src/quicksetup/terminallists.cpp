#include "quicksetup/terminallists.h"

#include "comm/globals.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"

#include <QCoreApplication>

namespace TerminalLists {

double versionNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : 0.0;
}

// Every text the lists can hold, in the wizard's translation context.
static const char *const BaseOutputs[] = {
    QT_TRANSLATE_NOOP("QuickSetup", "RUN (Inverter running)"),
    QT_TRANSLATE_NOOP("QuickSetup", "SU (Up to frequency)"),
    QT_TRANSLATE_NOOP("QuickSetup", "FU (Output frequency detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "OL (Overload detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "OMD (Zero current detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "ALARM (Alarm detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "PO1 (Section detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "PO2 (Periodical detection)"),
    QT_TRANSLATE_NOOP("QuickSetup", "PO3 (Pause detection)"),
};
static const char *const Bp = QT_TRANSLATE_NOOP("QuickSetup", "BP (Inverter output)");
static const char *const Gp = QT_TRANSLATE_NOOP("QuickSetup", "GP (Commercial power-supply output)");
static const char *const Omd1 = QT_TRANSLATE_NOOP("QuickSetup", "OMD1 (zero current detection 1)");
static const char *const Aux = QT_TRANSLATE_NOOP("QuickSetup", "AUX (Assistant output)");
static const char *const Fan = QT_TRANSLATE_NOOP("QuickSetup", "FAN (Fan abnormal)");
static const char *const Ry = QT_TRANSLATE_NOOP("QuickSetup", "RY (Converter operation to complete)");
static const char *const Maintenance = QT_TRANSLATE_NOOP("QuickSetup", "BP (Maintenance reminder function detection)");
static const char *const Ol2 = QT_TRANSLATE_NOOP("QuickSetup", "OL2 (Over torque alarm output)");
static const char *const Capacitor = QT_TRANSLATE_NOOP("QuickSetup", "Capacitor life anomaly");

QStringList outputFunctions(char series, double firmware)
{
    QList<const char *> texts(std::begin(BaseOutputs), std::end(BaseOutputs));
    // Firmware steps compare with a margin: versions are read as decimal texts such as 0.6.
    auto atLeast = [firmware](double version) { return firmware >= version - 1e-9; };
    switch (series) {
    case 'T':
        texts << Bp << Gp;
        if (atLeast(0.4))
            texts << Omd1;
        break;
    case 'X':
        texts << Bp << Gp;
        if (atLeast(0.6))
            texts << Omd1 << Ry;
        break;
    case 'F':
        texts << Bp << Gp << Aux;
        break;
    case 'G':
        texts << Bp << Gp << Aux;
        if (atLeast(0.3))
            texts << Fan;
        break;
    case 'L':
        texts << Bp << Gp << Fan << Ry;
        break;
    case 'A':
        texts << Bp << Gp << Fan << Ry << Maintenance << Ol2 << Capacitor;
        break;
    default:
        break;
    }
    QStringList items;
    for (const char *text : texts)
        items << QCoreApplication::translate("QuickSetup", text);
    return items;
}

static QStringList fieldsOf(const QString &line)
{
    return line.split(QLatin1Char('-'), Qt::SkipEmptyParts);
}

QStringList dataFields(const QStringList &lines, char series, double firmware)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = fieldsOf(lines.at(i));
        // Fewer fields than a header holds make no header: an empty line, a short data line.
        if (fields.size() != 3)
            continue;
        if (!fields.at(0).contains(QLatin1Char(series)))
            continue;
        if (versionNumber(fields.at(1)) <= firmware + 1e-9 && firmware + 1e-9 < versionNumber(fields.at(2)))
            return i + 1 < lines.size() ? fieldsOf(lines.at(i + 1)) : QStringList();
    }
    return {};
}

QStringList loadDataFields(char series, double firmware)
{
    bool ok = false;
    const QStringList lines = readDataLines(
        localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\inputAndOutput.txt")), gbkCodec(), &ok);
    return ok ? dataFields(lines, series, firmware) : QStringList();
}

QString itemText(const QString &field)
{
    const QStringList pieces = field.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    return pieces.size() >= 2 ? pieces.at(1) : field;
}

} // namespace TerminalLists
