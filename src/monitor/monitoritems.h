#pragma once

// The monitor item list files ParameterInforamtion/Combox/<series><model><language ending>: one
// item a line, "code;name;unit", optionally after a firmware range "min-max//".

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QComboBox;
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
// A load that changes the codes or the names tells monitorItemsNotifier's listeners.
QStringList loadMonitorItems(QWidget *parent);

// The windows that hold item indices listen here (GUI thread): before a load replaces the lists
// they stop what polls them, after it they refill their boxes.
class MonitorItemsNotifier : public QObject
{
    Q_OBJECT
signals:
    void listChanging();
    void listChanged(const QVector<QString> &oldCodes, const QVector<QString> &newCodes, const QStringList &names);
};
MonitorItemsNotifier *monitorItemsNotifier();

// Refills an item box with the new names; it keeps its item where the new list has that code,
// else it shows none. False when it lost its item.
bool followItemList(QComboBox *box, const QVector<QString> &oldCodes, const QVector<QString> &newCodes,
    const QStringList &names);
