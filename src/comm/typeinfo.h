#pragma once

// The drive-type feature table typeInfo.txt: per series letter and firmware range, whether a
// behaviour applies.

#include <QString>
#include <QStringList>
#include <QVector>

// Loads the file into g_typeInfoTable; false, with the table empty, when it cannot be read.
bool loadTypeInfo();

// Whether `key` holds for the connected drive (g_seriesLetter, g_firmwareVersion).
bool isFeatureEnabled(const QString &key);

// The lookup itself, over any table.
bool featureEnabledIn(const QVector<QStringList> &table, const QString &key, char series, const QString &version);
