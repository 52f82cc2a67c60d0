#include "parameter/relatedunits.h"

#include "parameter/paramglobals.h"

#include <QRegularExpression>
#include <QStringList>

bool parseRelatedUnitLine(const QString &line, RelatedUnitLine &out)
{
    const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
    if (fields.size() < 4)
        return false;
    bool ok = false;
    out.selector = fields.at(0).trimmed().toInt(&ok);
    if (!ok || out.selector < 0 || out.selector >= ParameterRows)
        return false;
    out.resolutions = fields.at(1);
    out.governed = fields.at(2);
    out.fallback = fields.at(3).trimmed();
    return true;
}

namespace {

void setGoverned(const QString &resolutions, const QString &governed, const QString &value, QString *unitTexts)
{
    const QStringList pairs = resolutions.split(QRegularExpression(QStringLiteral("[-;]")), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < pairs.size(); i += 2) {
        if (pairs.at(i) != value)
            continue;
        for (const QString &number : governed.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int k = number.trimmed().toInt(&ok);
            if (ok && k >= 0 && k < ParameterRows)
                unitTexts[k] = pairs.at(i + 1);
        }
        return;
    }
}

} // namespace

void applyRelatedUnitLine(const RelatedUnitLine &line, const QString &value, QString *unitTexts,
                          QVector<QString> &rules)
{
    if (rules.size() < ParameterRows)
        rules.resize(ParameterRows);
    rules[line.selector] = value + QStringLiteral("//") + line.resolutions + QStringLiteral("//") + line.governed;
    setGoverned(line.resolutions, line.governed, value, unitTexts);
}

VariantSelectors variantSelectorsFromType(const QString &invType, const QString &p186Value)
{
    VariantSelectors s;
    const QStringList parts = invType.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return s;
    s.voltageSet = true;
    s.voltage = parts.at(1);
    if (parts.size() < 3)
        return s; // a two-part text names no capacity
    s.capacitySet = true;
    const QString rating = parts.at(2);
    const int slash = rating.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        s.capacity = rating.left(rating.size() - 1);
        return s;
    }
    const QString first = rating.left(slash);
    const QString second = rating.mid(slash + 1);
    const QString a = first.left(first.size() - 1);
    const bool suffixed = second.contains(QLatin1String("KG")) || second.contains(QLatin1String("KF"));
    const QString b = second.left(second.size() - (suffixed ? 2 : 1));
    if (p186Value == QLatin1String("1"))
        s.capacity = a.toDouble() < b.toDouble() ? a : b;
    else
        s.capacity = b.toDouble() > a.toDouble() ? b : a;
    return s;
}

void updateRelatedUnits(const QString &rule, const QString &written, QString *unitTexts)
{
    const QStringList fields = rule.split(QStringLiteral("//"), Qt::SkipEmptyParts);
    if (fields.size() >= 3)
        setGoverned(fields.at(1), fields.at(2), written, unitTexts);
}
