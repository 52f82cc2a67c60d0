#pragma once

// The dock's commands to the current drive: the mode, run, stop and frequency buttons, and the stops
// owed to stations that did not answer them. What may go out is the dock's DriveModeState's to say;
// what it does not know of the drive's mode, this class asks the drive at the press.

#include "shell/drivemodestate.h"
#include "shell/serverpresses.h"
#include "shell/serverreleases.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class CNavigation;
class ReadWrite;

class DriveCommands : public QObject
{
    Q_OBJECT
public:
    DriveCommands(CNavigation &dock, DriveModeState &state);

    // Whether the drive has the H modes, whose H4 takes run commands as CU does.
    static bool modeH();
    // In JOG, whether the drive takes run commands from the link: P.79 reads 3.
    static bool p79Is3(ReadWrite *link);

    // The CU rule at a press, for the dock's run buttons and the other windows' commands (the form's
    // writes, the alarm history): a mode the dock does not know is asked of the drive first. AskTest:
    // the user has been asked for the connection test; Refuse: the caller says why.
    DriveModeState::Go modeRule();
    // Whether the drive takes run commands from the link, as far as the dock knows now.
    bool takesRunCommands() const;
    // A stop the station was owed goes out, with every try of an exchange; false when it is owed still.
    bool sendOwedStop(int number);
    // The mode field's text for what the state shows.
    static QString modeText(const DriveModeState::Display &shown);

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
    enum class Order { Fwd, Rev, Set };
    enum class Asked { Known, NoMode, Lost };

    // The guard of the dock's own commands: the station's test, and the link as the dock knows it.
    bool commandMayGo();
    // Every command of the dock goes out here.
    int send(const char *code);
    // One mode request, and in JOG the P.79 that decides it; Lost: the link has told its failure.
    Asked askMode();
    void orderRun(Order order);
    void sendRun(Order order, double frequency);
    void modePressed(DriveModeState::Press press, int result);
    void sendStop(int number);
    // During a connection test or search: on the line the station last passed its test on.
    void sendStopOnStationLine(int number);
    void refuseOutsideCu();
    // A press on STOP as the X server has it: one made while that station's stop was being tried adds
    // no tries; one that a modal window would drop, or an open popup take, acts all the same, as the
    // next request on the line.
    ServerPresses::Verdict stopPressed(unsigned long time);
    // Whether the shown station's stop was tried after a press at that server time.
    bool stopTriedSince(unsigned long time) const;

    CNavigation &m_dock;
    DriveModeState &m_state;
    std::unique_ptr<ServerPresses> m_stopPresses;
    std::unique_ptr<ServerReleases> m_releases;
    // A modal window blocks the dock's window: the toolkit drops presses on it.
    bool m_dockBlocked = false;
    // Per station, the X server's time when its last stop's tries ended.
    std::array<unsigned long, DriveModeState::Stations> m_stopTriedUntil {};
};
