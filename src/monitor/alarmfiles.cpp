#include "monitor/alarmfiles.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace alarmfiles {

namespace {

// A version range "from-to" holds v when from <= v < to; a range without both ends holds none.
bool rangeHolds(const QString &from, const QString &to, double version)
{
    bool fromOk = false, toOk = false;
    const double lo = from.trimmed().toDouble(&fromOk);
    const double hi = to.trimmed().toDouble(&toOk);
    return fromOk && toOk && lo <= version && version < hi;
}

bool isSeries(const QString &field, char series)
{
    return field.size() == 1 && field.at(0) == QLatin1Char(series);
}

// Every record and item becomes requests on the link, and the files can be replaced by an update
// package: a line asking for more than a drive has is malformed, not hours of reads.
constexpr int MaxRecords = 99;
constexpr int MaxItem = 99;
constexpr int MaxRangeItems = 21; // three records of seven

} // namespace

QVector<QStringList> parseAlarmCodes(const QStringList &lines, char series)
{
    QVector<QStringList> table;
    const bool biSeries = series == 'B' || series == 'E' || series == 'X';
    for (const QString &line : lines) {
        QStringList fields = line.split(QLatin1Char('-'), Qt::KeepEmptyParts);
        if (fields.size() < 2)
            continue;
        if (biSeries && fields.at(0) == QLatin1String("112"))
            fields[1] = QStringLiteral("BI");
        table.append({ fields.at(0), fields.at(1) });
    }
    return table;
}

QString alarmTextOf(const QVector<QStringList> &table, int code)
{
    for (const QStringList &entry : table)
        if (entry.value(0).toInt() == code)
            return entry.value(1);
    return QString();
}

QStringList ledNamesFor(const QStringList &lines, char series, double version)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char('-'), Qt::KeepEmptyParts);
        if (fields.size() < 3 || !isSeries(fields.at(0), series) || !rangeHolds(fields.at(1), fields.at(2), version))
            continue;
        if (i + 1 >= lines.size())
            return {};
        return lines.at(i + 1).split(QLatin1Char('-'), Qt::KeepEmptyParts);
    }
    return {};
}

ErrorInfo errorInfoFor(const QStringList &lines, char series, double version)
{
    ErrorInfo info;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
        if (fields.size() < 5 || !isSeries(fields.at(0), series))
            continue;
        const QStringList range = fields.at(1).split(QLatin1Char('-'), Qt::SkipEmptyParts);
        if (range.size() < 2 || !rangeHolds(range.at(0), range.at(1), version))
            continue;
        const int records = fields.at(2).trimmed().toInt();
        if (records < 1 || records > MaxRecords)
            continue;
        info.found = true;
        info.records = records;
        info.detailed = fields.at(3).trimmed().toInt();
        info.ranges = fields.at(4);
        return info;
    }
    return info;
}

DetailRange parseDetailRange(const QString &range)
{
    DetailRange r;
    if (range.contains(QLatin1Char('-'))) {
        const QStringList parts = range.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        r.first = parts.value(0).trimmed().toInt();
        r.last = parts.value(1).trimmed().toInt();
    }
    if (r.first < 1 || r.last < r.first || r.last > MaxItem || r.last - r.first + 1 > MaxRangeItems)
        return DetailRange();
    // A range past item 7 is shifted back by its own length (8-14 gives the kinds 1 to 7, 8-10 the
    // kinds 5 to 7), as files made for the drive expect. That leaves a third record's 15-21 with no
    // kind a line is written for, so a range lying wholly past 7 maps onto the seven items of its
    // own record instead.
    r.offset = r.last > 7 ? r.last - r.first + 1 : 0;
    if (r.first - r.offset > 7)
        r.offset = 7 * ((r.first - 1) / 7);
    r.valid = true;
    return r;
}

double detailScale(int kind, bool tenthHz, double capacity)
{
    switch (kind) {
    case 1:
        return tenthHz ? 0.1 : 0.01;
    case 2:
        return capacity > 160 ? 0.1 : 0.01;
    case 3:
    case 4:
        return 0.01;
    default:
        return kind < 1 ? 0.01 : 1.0;
    }
}

QString detailLine(int kind, const QString &value)
{
    static const char *const labels[7] = {
        QT_TRANSLATE_NOOP("AlarmCode", "         Frequency: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         Current: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         Output Voltage: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         The accumulation rate of temperature: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         P-N Voltage: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         Continuing Operation Time: "),
        QT_TRANSLATE_NOOP("AlarmCode", "         Status Word: "),
    };
    if (kind < 1 || kind > 7)
        return QString();
    QString unit;
    if (kind == 1)
        unit = QStringLiteral("Hz");
    else if (kind == 2)
        unit = QStringLiteral("A");
    else if (kind == 3 || kind == 5)
        unit = QStringLiteral("V");
    else if (kind == 6)
        unit = QCoreApplication::translate("AlarmCode", "min");
    // "?" (the unit unread) is no number: it takes no unit.
    if (value == QLatin1String("?"))
        unit.clear();
    return QCoreApplication::translate("AlarmCode", labels[kind - 1]) + value + unit + QLatin1Char('\n');
}

double capacityOf(const QString &invType)
{
    const QStringList parts = invType.split(QRegularExpression(QStringLiteral("-|/")), Qt::SkipEmptyParts);
    if (parts.size() < 3)
        return 0.0;
    QString capacity = parts.at(2);
    capacity.chop(1);
    return capacity.toDouble();
}

double versionNumber(const QString &version)
{
    return version.trimmed().toDouble();
}

} // namespace alarmfiles
