#pragma once

// Lines of the related-unit files and the variant selectors of a drive-type text.

#include <QString>
#include <QVector>

struct RelatedUnitLine {
    int selector = -1;
    QString resolutions; // "value-resolution;value-resolution"
    QString governed;    // "n;n;n"
    QString fallback;    // selector value when the drive cannot be read
};

// False for a line with fewer than four fields or a selector outside the table.
bool parseRelatedUnitLine(const QString &line, RelatedUnitLine &out);

// Records the selector's rule and gives the governed parameters the resolution paired with value.
void applyRelatedUnitLine(const RelatedUnitLine &line, const QString &value, QString *unitTexts,
                          QVector<QString> &rules);

// After the selector of `rule` (value "//" value-resolution list "//" governed) was written with
// `written`: the governed parameters take the resolution paired with it. A rule with fewer fields,
// or a value it does not pair, changes nothing.
void updateRelatedUnits(const QString &rule, const QString &written, QString *unitTexts);

struct VariantSelectors {
    bool voltageSet = false;
    bool capacitySet = false;
    QString voltage;  // g_variantSelectorB
    QString capacity; // g_variantSelectorA
};
// From "series-voltage-capacityK"; a dual rating "5.5K/3.7K" picks the smaller when P.186 is "1".
VariantSelectors variantSelectorsFromType(const QString &invType, const QString &p186Value);
