#pragma once

// Program-wide state of the parameter table.

#include <QList>
#include <QString>
#include <QVector>

constexpr int ParameterRows = 1600;
constexpr int ParameterColumns = 12;

extern unsigned char g_sortFlag;            // column the table was last sorted by: 0 group, 1 parameter
extern int g_readOnlyFlags[ParameterRows];  // 1 = read-only parameter
extern bool g_driveLookupEnabled;           // cleared by a live read left unanswered, until the next test
extern QString g_relatedUnitText[ParameterRows]; // "---" = scale by the unit, else the resolution text
extern QVector<QString> g_relatedUnitRules; // per selector: value "//" value-resolution list "//" governed
extern QString g_variantSelectorA;          // capacity in kW
extern QString g_variantSelectorB;          // voltage code
extern QString g_p189Value;
extern QString g_resolutionText;
extern QList<int> g_selectedRows;
extern QString g_saveFileName;
