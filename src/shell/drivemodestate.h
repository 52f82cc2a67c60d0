#pragma once

// What the navigation dock knows of the current station's operation mode, and the rules that read
// it: whether a run command may go out, whether letting go of REV or FWD stops the drive, what the
// lamps and the mode label show. It changes only through the events below: the mode poller's
// thread reports polls, the GUI thread everything else.

#include "connection/search.h"

#include <QString>

#include <array>
#include <bitset>
#include <mutex>

class DriveModeState
{
public:
    enum class Mode { Unknown, Cu, Ext, JogByButton, JogByPoll, Other };
    enum class Press { Cu, Ext, Jog };
    // Unknown: the drive is asked at the press (after a test, a change of station, a restart, or a
    // CU or EXT whose answer was lost).
    enum class Run { Allowed, Refused, Unknown, OffLine };
    enum class Lamp { None, Cu, Ext, Jog };
    // What becomes of a press under the CU rule: out now, refused with its message, the test asked
    // for; Unanswered: the drive did not tell its mode, and the link has said so.
    enum class Go { Send, Refuse, AskTest, Unanswered };
    static constexpr int Stations = 255;

    // restartsSeen: the restart count when the state is made; a restart counted before is none to it.
    explicit DriveModeState(unsigned restartsSeen) : m_restartsSeen(restartsSeen) {}

    // One poll's answers: the mode digit (-1 for none of '0' to '8'), the status word, and in JOG
    // whether P.79 read 3 (the drive then takes run commands from the link).
    struct Poll {
        int mode = -1;
        int status = 0;
        bool p79Is3 = false;
    };

    struct Display {
        Lamp lamp = Lamp::None;
        QString label;
        int status = 0; // direction bits
        bool fromPoll = false;
        bool stopOwed = false; // to the current station
        bool stopUnsent = false; // owed, and it could not go out: no line known for the station
        unsigned version = 0;
    };

    // ---- Events ----
    // The station chosen (added, or made current by an edit) has passed its test or not; -1: none.
    void stationChosen(int number, bool tested);
    // The current station is deleted; `next` is the one current now (-1: none left).
    void stationDeleted(int next, bool tested);
    // A station edit refused ("The station number has been used!"): nothing changes.
    void editRefused() {}
    // A connection test has found the drive at `number`, which is current now.
    void passedTest(int number);
    // The link was given up, or a connection test took it.
    void givenUp();
    // A mode command went out; `replied` false when its answer was lost, so the drive may have taken it.
    void modePressSent(Press press, bool replied);
    // A mode command held back behind a give-up: it never went out.
    void modePressHeldBack() {}
    // The `count`th command that restarts the drive went out: its mode is unknown until asked or
    // polled after the restart. Told by whoever sees it first; a count told before changes nothing.
    void restarting(unsigned count);

    // ---- The user's run and stop commands ----
    // A stop to the current station went out (or was held back): unanswered, it is owed to the station.
    void stopSent(int number, bool answered);
    bool stopOwed(int number) const;
    // The station passed its connection test on these line settings: a STOP for it during a later
    // test or search goes out on them.
    void linePassed(int number, const LinkSettings &line);
    // The settings the station last passed its test on; false when it never passed one.
    bool passedLine(int number, LinkSettings *line) const;
    // A stop for the station could not go out, no line being known for it (or no station, -1): owed, and said so.
    void stopNotSent(int number);
    // A box opened over a held REV or FWD and took its release; the mouse's own is still to come.
    void releaseTakenByBox();
    // The mouse's button came up: true when a box had taken a run button's release, whose stop then
    // goes out again, at the release itself.
    bool mouseReleased();
    // FWD or REV went out to the station, its answer or not: the drive may run.
    void runSent(int number);
    // Where a STOP goes: the station shown, or with none shown (its station deleted) the one the
    // dock last ran; -1 for neither.
    int stopTarget(int shown) const;
    // A poll's ticket, taken before it asks; a poll begun before a later event tells nothing of it.
    unsigned pollBegun() const;
    // False when the poll is too old or the station off-line; it is then forgotten.
    bool polled(unsigned ticket, const Poll &poll);
    // The dock asked the drive its mode at a press: known from here as a poll would make it; the
    // direction lamps keep the last poll's status. False as for polled.
    bool modeAnswered(unsigned ticket, int mode, bool p79Is3);

    // ---- Rules ----
    // modeH: the drive has the "readWrite_H" feature (H4 takes run commands, mode 8 reads "H6").
    Run runCommand(bool modeH) const;
    // Off-line only a stop goes out; the mode buttons too wait for a passed test.
    bool onLine() const;
    // A release of REV or FWD sends a stop whenever the drive may be in JOG: a JOG that went out to
    // this station, whatever its answer, until CU or EXT is answered there; or a poll (or an answer
    // at a press) that saw JOG, and none since that saw otherwise.
    bool releaseStops() const;
    Display display(bool modeH) const;
    unsigned version() const;
    Mode mode() const;

private:
    void restart(int number, bool online);
    void know(const Poll &poll);
    bool valid(int number) const { return number >= 0 && number < Stations; }
    void changed() { ++m_version; }

    mutable std::mutex m_mutex;
    bool m_onLine = false;
    int m_station = -1;
    Mode m_mode = Mode::Unknown;
    Poll m_poll;
    bool m_fromPoll = false;
    bool m_pollSawJog = false;
    std::bitset<Stations> m_jogPressed;
    unsigned m_generation = 0;
    unsigned m_version = 0;
    unsigned m_restartsSeen;
    std::bitset<Stations> m_stopOwed;
    std::bitset<Stations> m_stopUnsent;
    bool m_stopUnsentUnaddressed = false;
    std::bitset<Stations> m_lineKnown;
    std::array<LinkSettings, Stations> m_lines;
    bool m_releaseAwaited = false;
    int m_lastRun = -1;
};
