#pragma once

// The dock's commands to the current drive: the mode, run, stop and frequency buttons, the presses
// that wait for the drive's first mode report, and the stops owed to stations that did not answer
// them. What may go out is the dock's DriveModeState's to say; this class sends it and tells the user.

#include "shell/drivemodestate.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class CNavigation;
class QPushButton;

class DriveCommands : public QObject
{
    Q_OBJECT
public:
    DriveCommands(CNavigation &dock, DriveModeState &state);

    // Whether the drive has the H modes, whose H4 takes run commands as CU does.
    static bool modeH();
    // How long the drive stays deaf after a command that restarts it.
    static int restartWaitMs();

    // The CU rule for another window's command (the form's writes, the alarm history), as the dock's
    // run buttons follow it. Wait: the mode is known only from the first poll, and `retry` runs once
    // it is, in its turn among the presses; AskTest: the user has been asked for the connection test;
    // Refuse: the caller says why.
    DriveModeState::Go modeRule(const QString &name, std::function<void()> retry);
    // Whether the drive takes run commands from the link, as far as the dock knows now.
    bool takesRunCommands() const;
    // A stop the station was owed goes out, with every try of an exchange; false when it is owed still.
    bool sendOwedStop(int number);
    // Exit: nothing waiting for the first poll is sent.
    void dropAllWaiting();
    // A click on another station: what waits was meant for the one current at its press.
    void otherStationClicked();
    // Once a poll has told the mode, what waits goes out or is refused, in the order pressed; when
    // no poll comes in time, it is not sent.
    void settleWaiting();
    // The mode field's text for what the state shows.
    QString modeText(const DriveModeState::Display &shown);
    // Names in the mode field what the state's own events dropped since last asked.
    void tellDropped();

protected:
    // A box or window that opens while REV or FWD is held takes the button's release.
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void SwitchToCU();
    void SwitchToExt();
    void SwitchToJOG();
    void InvRunRev();
    void InvRunFwd();
    void InvSetFre();
    void InvStop();
    void runButtonReleased();

private:
    // What the window keeps of a waiting press beside the state's entry.
    struct Pending {
        QString name;
        std::function<void()> action; // another window's command, asked again in its turn
        double frequency = 0;         // SET: the box's value at the press
    };

    // The guard of the dock's own commands: the station's test, and the link as the dock knows it.
    bool commandMayGo();
    void orderRun(DriveModeState::Command command);
    void sendRun(DriveModeState::Command command, double frequency);
    void startWaiting(unsigned id, Pending pending);
    void settleOne(DriveModeState::Go go, const DriveModeState::Waiting &settled);
    QString names(const std::vector<DriveModeState::Waiting> &waiting) const;
    // Forgets the dropped presses and says which were not sent.
    void tellNotSent(const std::vector<DriveModeState::Waiting> &dropped, bool timedOut = false);
    void releaseRunButton(QPushButton *button);
    void modePressed(DriveModeState::Press press, int result);
    void sendStop(int number);
    void refuseOutsideCu();

    CNavigation &m_dock;
    DriveModeState &m_state;
    QHash<unsigned, Pending> m_pending;
    QElapsedTimer m_waitClock;
    qint64 m_waitLimitMs = 0;
    // A waiting command of another window asked again: it goes by the rule, not behind the queue.
    bool m_settling = false;
};
