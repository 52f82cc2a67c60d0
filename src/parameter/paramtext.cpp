#include "parameter/paramtext.h"

#include "parameter/paramglobals.h"

#include <QRegularExpression>

namespace ParamText {

QString rowLabel(const QString &number)
{
    return (QStringLiteral("P.") + number).rightJustified(6, QLatin1Char(' '));
}

QString modbusText(const QString &number, const QString &label)
{
    if (label.contains(QLatin1String("99X")))
        return QStringLiteral("----");
    return QStringLiteral("%1H").arg(number.toInt(), 4, 16, QLatin1Char('0')).toUpper();
}

int labelNumber(const QString &label)
{
    QString rest = label;
    rest.remove(QLatin1String("P."), Qt::CaseInsensitive);
    rest.remove(QLatin1Char(' '));
    if (rest == QLatin1String("99X"))
        return PseudoRow;
    return rest.toInt();
}

int elementNumber(const QString &elementName, int kindLength)
{
    const QString rest = elementName.mid(kindLength);
    if (rest.contains(QLatin1String("99X")))
        return PseudoRow;
    const int n = rest.toInt();
    return (n >= 0 && n < ParameterRows) ? n : -1;
}

bool voltageCodeMatches(const QString &elementName, const QString &voltageCode)
{
    const int dash = elementName.indexOf(QLatin1Char('-'));
    return dash < 0 || elementName.mid(dash + 1) == voltageCode;
}

Range parseRange(const QString &text)
{
    Range r;
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[,~]")));
    if (parts.size() < 2)
        return r;
    r.valid = true;
    r.min = parts.first();
    r.max = parts.last();
    if (r.min.contains(QLatin1Char('-')))
        r.isSigned = r.min.split(QLatin1Char('-'), Qt::SkipEmptyParts).size() == 1;
    if (r.max.contains(QLatin1String("|99999"))) {
        r.max.remove(QLatin1String("|99999"));
        r.special = true;
    } else if (r.max.contains(QLatin1String("|9999"))) {
        r.max.remove(QLatin1String("|9999"));
        r.special = true;
    } else if (r.max == QLatin1String("99999") || r.max == QLatin1String("9999")) {
        r.max = parts.at(parts.size() - 2);
        r.special = true;
    }
    return r;
}

int unitDecimals(const QString &unit)
{
    if (unit.contains(QLatin1String("--")))
        return 0;
    switch (unit.indexOf(QLatin1Char('1'))) {
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    case 5: return 4;
    default: return 0;
    }
}

bool versionInRange(const QString &from, const QString &to, double version)
{
    return !(from.toDouble() > version || to.toDouble() <= version);
}

static bool splitPrefix(const QString &text, QString &range, QString &value)
{
    const QStringList parts = text.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return false;
    range = parts.at(0);
    value = parts.at(1);
    return true;
}

static bool rangeHolds(const QString &range, double firmware)
{
    const QStringList bounds = range.split(QLatin1Char('-'));
    return bounds.size() == 2 && versionInRange(bounds.at(0), bounds.at(1), firmware);
}

bool takeVersionPrefix(QString &text, double firmware)
{
    if (text.contains(QLatin1Char('\\'))) {
        QString range, value;
        if (!splitPrefix(text, range, value) || !rangeHolds(range, firmware))
            return false;
        text = value;
    }
    if (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    return true;
}

bool takeLocalizedVersionPrefix(QString &text, double firmware)
{
    if (text.contains(QLatin1Char('\\'))) {
        QString range, value;
        if (splitPrefix(text, range, value)) {
            if (!rangeHolds(range, firmware))
                return false;
            text = value;
        } else {
            text = text.split(QLatin1Char('\\'), Qt::SkipEmptyParts).value(0);
        }
    }
    if (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    return true;
}

QString pickVariant(const QString &text, const QString &capacity, const ReferenceLookup &reference)
{
    if (!text.contains(QLatin1Char(':')))
        return text == QLatin1String("---") ? QStringLiteral("--") : text;
    const QStringList parts = text.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return QString();
    const QString key = parts.at(0);
    const QString body = parts.mid(1).join(QLatin1Char(':'));
    static const QRegularExpression pairSeparators(QStringLiteral(",|//"));
    // A chosen value may be a variant of its own, its separators written as "|": a default that
    // depends on the capacity or P.189 and takes the decimals of P.21 or P.187 as well.
    auto chosen = [&](QString value) {
        value.replace(QLatin1Char('|'), QLatin1Char(','));
        if (!value.contains(QLatin1Char(':')))
            return value;
        return pickVariant(value.replace(QLatin1Char(','), QLatin1String("//")), capacity, reference);
    };

    if (key == QLatin1String("V")) {
        if (!body.contains(QLatin1String("//")) && !body.contains(QLatin1Char(',')))
            return QString();
        const QStringList items = body.split(pairSeparators, Qt::SkipEmptyParts);
        const double kw = capacity.toDouble();
        for (int i = 0; i + 1 < items.size(); i += 2) {
            if (items.at(i).toDouble() > kw)
                return chosen(items.at(i + 1));
        }
        return QString();
    }
    if (key.contains(QLatin1Char('P'))) {
        const int m = QString(key).remove(QLatin1Char('P')).toInt();
        if (m < 0 || m >= ParameterRows || !body.contains(QLatin1String("//")))
            return QString();
        const QString ref = reference ? reference(m) : QStringLiteral("0");
        const QStringList items = body.split(pairSeparators, Qt::SkipEmptyParts);
        for (int i = 0; i + 1 < items.size(); i += 2) {
            if (items.at(i) == ref)
                return chosen(items.at(i + 1));
        }
    }
    return QString();
}

QString formatValue(double value)
{
    return QStringLiteral("%1").arg(value);
}

QString stripUnitName(const QString &text, const QStringList &unitNames)
{
    for (const QString &name : unitNames) {
        if (!name.isEmpty() && text.contains(name))
            return QString(text).remove(name);
    }
    return text;
}

} // namespace ParamText
