#pragma once

// The monitor item list files ParameterInforamtion/Combox/<series><model><language ending>: one
// item a line, "code;name;unit", optionally after a firmware range "min-max//".

#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

struct MonitorItems {
    QStringList names;
    QVector<QString> codes; // without the status item
    QVector<QString> units; // " " where a line gives none
};

// The items of the lines (without line ends) that the firmware version takes, at most
// MaxMonitorItems. A line without a name is skipped, so the three lists stay aligned.
MonitorItems parseMonitorItems(const QStringList &lines, const QString &firmwareVersion);

// Whether a range text "min-max" holds the version: min <= v < max.
bool versionInRange(const QString &range, const QString &version);

// g_appDir + "ParameterInforamtion\Combox\" + series, model (unless "0") and language ending.
QString monitorItemFilePath(char series, const QString &modelCode, int language);

// Loads the list of the current series, model, firmware version and language into the shared
// lists and returns the names. A missing model file falls back to model "0" for the rest of the
// run; with no file at all a warning opens on parent and the codes become exactly {"MCR"}.
QStringList loadMonitorItems(QWidget *parent);
