#pragma once

// The navigation dock: the operation-mode buttons and lamps, the run, stop and frequency
// controls, the station label and the station tree. Selecting a station makes it the one every
// request and data-file lookup uses.

#include "shell/drivecommands.h"
#include "shell/drivemodestate.h"
#include "ui_navform.h"

#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QString>
#include <QVector>
#include <QWidget>
#include <atomic>

class CSetType;
class MonitorModeThread;
class QStandardItem;
class QStandardItemModel;
class QTimer;

// Tree index of the station last selected or edited.
extern QPersistentModelIndex g_currentStationIndex;

namespace StationEntry {

constexpr int Count = 255; // station numbers 0..254

// A station's drive type text and picture name, from the station dialog's type and power texts.
struct TypeText {
    QString type;
    QString picture;
};
TypeText typeText(const QString &typeCombo, const QString &power);

// The number of a word such as "NO.007"; -1 unless it is a decimal from 0 to 254.
int numberOfWord(const QString &word);
// The number in the first blank-separated word containing "NO."; -1 when there is none or it is
// not a usable station number.
int numberInText(const QString &text);

// "NO." (or its translation) + three digits + " " + type text.
QString itemText(const QString &prefix, int number, const QString &type);
// <application folder>images/<picture>.png
QString picturePath(const QString &picture);

// The dialog's type and power texts that give back a station entry's text (empty when the entry
// has too few words).
struct DialogPreset {
    int number = -1;
    QString type;
    QString power;
};
DialogPreset presetOfItem(const QString &itemText);

} // namespace StationEntry

class CNavigation : public QWidget, public Ui_NavForm
{
    Q_OBJECT
public:
    explicit CNavigation(QWidget *parent = nullptr);
    ~CNavigation() override;

    void changeLanguage();

    // Classifies g_invType against InvType.txt: series letter, model name, firmware version,
    // parameter count and group mode of its series.
    void loadInverterTypes();

    // The guard of every drive request a user starts: 0 = the current station may be addressed,
    // -1 = no station is chosen or it has not passed the connection test (the user has been told).
    // A station click still inside the double-click window is taken first.
    int checkConnection();
    // A request found the link given up and went unsent: "Please execute connection test first!".
    void askForConnectionTest();

    // A request of the GUI thread waits out the drive's restart (true), or has done: the mode field
    // says so under the wait cursor, painted at once since no event is taken meanwhile.
    void showRestartWait(bool waiting);

    // Starts following the drive's operation mode (the mode poller and its display).
    void startModeDisplay();
    // The connection test has found the drive: the display starts anew from its polls.
    void connectionTestPassed();
    // A station deleted and entered again by a document keeps its passed test only for the drive
    // type it was tested with.
    void stationEnteredAgain(int number, const QString &type);
    // One poll of mode and status; runs on the poller's thread.
    void pollModeState();
    // Ends the mode poller and waits for its thread (GUI thread).
    // takeOffLine false: the station chosen next is tested, so the monitor keeps running.
    void stopModePolling(bool takeOffLine = true);
    // The link is given up: lamps out, no mode, the display stopped, the shown station untested, Off-Line.
    void showLinkLost();

    // The label naming the current station (the form's PotLabel), under the name the connection
    // guard and the search use for it.
    QLabel *&stationLabel;

    // What is known of the current station's mode; the poller reports its polls here.
    DriveModeState modeState;
    QVector<QString> stationTypes;
    // The model code each station's drive was identified with ("0" for one entered by hand), so
    // that selecting a station loads its own model's files, not those of the station identified last.
    QVector<QString> stationModelCodes;
    int stationTested[StationEntry::Count] = {};
    // The type a deleted station had when it was deleted (its passed test stays).
    QVector<QString> deletedTypes;
    QStandardItem *treeRoot = nullptr;
    QStandardItem *currentItem = nullptr;
    CSetType *stationDialog = nullptr;
    // Last status word of the drive ("STA"), 0 when that poll fails; bits 1 and 2 tell it runs.
    std::atomic<int> statusWord { 0 };
    QString systemSettingText;
    QString settingGuideText;
    QString selectStationText;
    QString numberPrefixText;
    unsigned char clickCount = 0;
    QTimer *clickTimer = nullptr;
    // Follows its item through sorting and becomes invalid when the item goes.
    QPersistentModelIndex lastClickedIndex;
    QStandardItemModel *stationModel = nullptr;
    MonitorModeThread *modeThread = nullptr;
    QTimer *modeDisplayTimer = nullptr;

    // The mode, run, stop and frequency buttons' commands.
    DriveCommands *commands = nullptr;
    // The CU rule at a press; what the dock does not know of the mode it asks the drive first.
    DriveModeState::Go modeRule() { return commands->modeRule(); }
    bool takesRunCommands() const { return commands->takesRunCommands(); }
    // The connection test has found the drive at `number`: a stop it was owed goes out first;
    // false when the drive left it unanswered.
    bool sendOwedStop(int number) { return commands->sendOwedStop(number); }
    // The number of the station the label names; -1 for none.
    int shownStation() const;

private slots:
    void FunClicked(QModelIndex index);
    void CallSetType();
    void ChStation();
    void monitorModeState();
    void addStation();
    void deleteStation();

private:
    void retranslateStrings();
    void createConnections();
    void setModeLamps(QLabel *on);
    void setDirectionLamps(QLabel *on);
    friend class DriveCommands;
    // A station click still inside the double-click window is taken before a command goes out, so
    // the command reaches the station the user chose last.
    void flushStationClick();
    // Takes in a give-up that any thread's exchange met, or a connection test that took the link.
    void followLink();
    // Paints what changed since the last paint; always: the whole, over a text put there meanwhile.
    void paintMode(bool always = false);
    void makeCurrent(QStandardItem *item, bool othersSelectable);
    void reloadParameterForm(bool showAll);
    void noStationLeft();
    int makeFirstStationCurrent(bool consultTested);
    void setStationGlobals(int number);
    void setTypeLabel(const QString &text);
    bool numberRefused(int number, int editedNumber);
    void setStationIcon(QStandardItem *item, const QString &picture);

    unsigned m_paintedVersion = 0;
};
