#include "comm/typeinfo.h"

#include "comm/globals.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"

#include <QRegularExpression>

bool loadTypeInfo()
{
    g_typeInfoTable.clear();
    bool ok = false;
    const QStringList lines = readDataLines(
        localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\typeInfo.txt")), gbkCodec(), &ok);
    for (const QString &line : lines)
        g_typeInfoTable.append(line.split(QStringLiteral("//"), Qt::SkipEmptyParts));
    return ok;
}

bool isFeatureEnabled(const QString &key)
{
    return featureEnabledIn(g_typeInfoTable, key, g_seriesLetter, g_firmwareVersion);
}

bool featureEnabledIn(const QVector<QStringList> &table, const QString &key, char series, const QString &version)
{
    if (series == '0' || table.isEmpty() || table.first().isEmpty())
        return false;
    QString letters = table.first().first();
    letters.remove(QStringLiteral("range:"));
    letters.remove(QLatin1Char(','));
    letters.remove(QLatin1Char(' '));
    const int position = letters.indexOf(QLatin1Char(series));
    if (position < 0)
        return false;
    const int column = position + 1;
    const double v = version.toDouble();
    static const QRegularExpression separators(QStringLiteral("[-,]"));
    for (const QStringList &row : table) {
        if (row.isEmpty() || row.first() != key || column >= row.size())
            continue;
        const QStringList cell = row.at(column).split(separators, Qt::SkipEmptyParts);
        if (cell.size() < 3)
            continue;
        const double from = cell.at(1).toDouble();
        const double to = cell.at(2).toDouble();
        if (from <= v && v < to)
            return cell.at(0) != QLatin1String("0");
    }
    return false;
}
