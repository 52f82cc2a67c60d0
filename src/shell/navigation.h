#pragma once

// The navigation dock: the station label and the station tree. The mode and drive-command
// controls grow here with the dock's own work.

#include <QVector>
#include <QWidget>
#include <atomic>

class CSetType;
class QLabel;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

class CNavigation : public QWidget
{
    Q_OBJECT
public:
    explicit CNavigation(QWidget *parent = nullptr);
    ~CNavigation() override;

    void changeLanguage();

    // The guard of every drive operation a user starts: 0 = the current station may be addressed,
    // -1 = it has not passed a connection test (the user has been told) or no station is chosen.
    int checkConnection();
    // Classifies g_invType against InvType.txt: series letter, model name, firmware version,
    // parameter count and group mode of its series.
    void loadInverterTypes();
    // Starts following the drive's operation mode (the mode poller and its display).
    void startModeDisplay();

    QLabel *PotLabel = nullptr;
    QTreeView *SysSettreeView = nullptr;

    QVector<QString> stationTypes;
    int stationTested[255] = {};
    QStandardItem *treeRoot = nullptr;
    QStandardItem *currentItem = nullptr;
    QStandardItemModel *stationModel = nullptr;
    // Last status word of the drive ("STA"), 0 when that poll fails; bits 1 and 2 tell it runs.
    // The mode poller writes it from its own thread.
    std::atomic<int> statusWord { 0 };
    CSetType *stationDialog = nullptr; // built hidden, without parent, once
    QString systemSettingText;
    QString selectStationText;
    QString numberPrefixText;

private:
    void retranslateStrings();
};
