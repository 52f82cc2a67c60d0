#include "parameter/paramglobals.h"

unsigned char g_sortFlag = 0;
int g_readOnlyFlags[ParameterRows] = {};
bool g_driveLookupEnabled = true;
QString g_relatedUnitText[ParameterRows];
QVector<QString> g_relatedUnitRules;
QString g_variantSelectorA;
QString g_variantSelectorB;
QString g_p189Value = QStringLiteral("0");
QString g_resolutionText = QStringLiteral("0");
QList<int> g_selectedRows;
QString g_saveFileName;
