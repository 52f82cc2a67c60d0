#include "monitor/monitoritems.h"

#include "comm/globals.h"
#include "monitor/monitorglobals.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <QFile>
#include <QTextCodec>

bool versionInRange(const QString &range, const QString &version)
{
    const QStringList bounds = range.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    if (bounds.size() < 2)
        return false;
    const double v = version.toDouble();
    return bounds.at(0).toDouble() <= v && v < bounds.at(1).toDouble();
}

MonitorItems parseMonitorItems(const QStringList &lines, const QString &firmwareVersion)
{
    MonitorItems out;
    for (QString line : lines) {
        // Fields carry no line end: a CR left on a unit would split the trend export's header.
        while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        if (line.contains(QLatin1String("//"))) {
            const QStringList parts = line.split(QStringLiteral("//"));
            if (!versionInRange(parts.at(0), firmwareVersion))
                continue;
            line = parts.at(1);
        }
        const QStringList fields = line.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (fields.size() < 2)
            continue;
        if (out.codes.size() == MaxMonitorItems)
            break;
        out.codes.append(fields.at(0));
        out.names.append(fields.at(1));
        out.units.append(fields.size() >= 3 ? fields.at(2) : QStringLiteral(" "));
    }
    return out;
}

QString monitorItemFilePath(char series, const QString &modelCode, int language)
{
    static const char *const endings[] = { "_Eng.txt", ".txt", "_Big.txt" };
    QString name = QString(QLatin1Char(series));
    if (modelCode != QLatin1String("0"))
        name += modelCode;
    name += QLatin1String(endings[language >= 0 && language <= 2 ? language : 0]);
    return g_appDir + QStringLiteral("ParameterInforamtion\\Combox\\") + name;
}

MonitorItemsNotifier *monitorItemsNotifier()
{
    static MonitorItemsNotifier notifier;
    return &notifier;
}

bool followItemList(QComboBox *box, const QVector<QString> &oldCodes, const QVector<QString> &newCodes,
    const QStringList &names)
{
    const int old = box->currentIndex();
    const QString code = old >= 0 && old < oldCodes.size() ? oldCodes.at(old) : QString();
    const int now = code.isEmpty() ? -1 : int(newCodes.indexOf(code));
    const bool kept = now >= 0 && now < names.size();
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(kept ? now : -1);
    return kept;
}

namespace {

// Replaces the shared lists; the windows holding indices into them follow.
void publishMonitorItems(const QVector<QString> &codes, const QVector<QString> &units, const QStringList &names)
{
    static QStringList lastNames;
    QVector<QString> oldCodes;
    {
        std::unique_lock<FairMutex> lock(g_monitorListsMutex);
        oldCodes = g_monitorCodes;
    }
    const bool changed = oldCodes != codes || lastNames != names;
    lastNames = names;
    if (changed)
        emit monitorItemsNotifier()->listChanging();
    replaceMonitorLists(codes, units);
    if (changed)
        emit monitorItemsNotifier()->listChanged(oldCodes, codes, names);
}

} // namespace

QStringList loadMonitorItems(QWidget *parent)
{
    for (;;) {
        const QString path = monitorItemFilePath(g_seriesLetter, g_modelCode, g_language);
        QFile file(localPath(path));
        if (file.open(QIODevice::ReadOnly)) {
            file.close();
            const MonitorItems items = parseMonitorItems(readDataLines(localPath(path)), g_firmwareVersion);
            QVector<QString> codes = items.codes;
            codes.append(QStringLiteral("MCR"));
            publishMonitorItems(codes, items.units, items.names);
            return items.names;
        }
        if (g_modelCode != QLatin1String("0")) {
            g_modelCode = QStringLiteral("0");
            continue;
        }
        warnAfterEarlierPresses(parent, QCoreApplication::translate("MainDialPlot", "Warning"),
            QCoreApplication::translate("MainDialPlot", "Cannot read file %1:\n%2.").arg(path, file.errorString()));
        // A failed load leaves the status item alone, however often it fails.
        publishMonitorItems({ QStringLiteral("MCR") }, {}, {});
        return {};
    }
}
