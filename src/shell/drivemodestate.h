#pragma once

// What the navigation dock knows of the current station's operation mode, and the rules that read
// it: whether a run command may go out, whether letting go of REV or FWD stops the drive, what the
// lamps and the mode label show. It changes only through the events below: the mode poller's
// thread reports polls, the GUI thread everything else.

#include <QString>

#include <bitset>
#include <mutex>

class DriveModeState
{
public:
    enum class Mode { Unknown, Cu, Ext, JogByButton, JogByPoll, Other };
    enum class Press { Cu, Ext, Jog };
    enum class Run { Allowed, Refused, WaitForPoll, OffLine };
    enum class Lamp { None, Cu, Ext, Jog };
    // A command that obeys the CU rule: the run buttons, SET, and the other windows' writes and reads.
    enum class Command { Fwd, Rev, Set, Other };
    // What becomes of such a command: out now, waits for the first poll, refused, the test asked for;
    // Drop: its button was let go before the poll found the drive in JOG.
    enum class Go { Send, Wait, Refuse, AskTest, Drop };
    static constexpr int Stations = 255;

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
        bool waiting = false; // a command waits for the first poll
        Command waitingCommand = Command::Other;
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
    // A command that restarts the drive went out: its mode is known again only from a poll after
    // the restart, which may have changed it.
    void restarting();

    // ---- The user's run and stop commands ----
    // A command under the CU rule is pressed. Wait: it is kept until the first poll settles it (one
    // waits at a time, the newest).
    Go commandPressed(Command command, bool modeH);
    // What the waiting command comes to now; Wait while the mode is still unknown or none waits.
    Go settle(bool modeH, Command *command);
    // The wait ran out, or STOP, Exit or the window dropped it: true when one was waiting.
    bool dropWaiting(Command *command = nullptr);
    bool waiting(Command *command = nullptr) const;
    // REV or FWD let go, by the mouse or because a box took the release: true when a stop must go
    // out now (the drive may be in JOG). A waiting run of that button is dropped if the poll finds
    // the drive in JOG.
    bool runReleased(Command button);
    // STOP pressed: nothing that waits may start the drive after it.
    void stopPressed() { dropWaiting(); }
    // A stop to the current station went out (or was held back): unanswered, it is owed to the station.
    void stopSent(int number, bool answered);
    bool stopOwed(int number) const;
    // A poll's ticket, taken before it asks; a poll begun before a later event tells nothing of it.
    unsigned pollBegun() const;
    // False when the poll is too old or the station off-line; it is then forgotten.
    bool polled(unsigned ticket, const Poll &poll);

    // ---- Rules ----
    // modeH: the drive has the "readWrite_H" feature (H4 takes run commands, mode 8 reads "H6").
    Run runCommand(bool modeH) const;
    // Off-line only a stop goes out; the mode buttons too wait for a passed test.
    bool onLine() const;
    // A release of REV or FWD sends a stop whenever the drive may be in JOG: a JOG that went out,
    // whether or not its reply came, or a poll that saw JOG, and no poll since that saw otherwise.
    bool releaseStops() const;
    Display display(bool modeH) const;
    unsigned version() const;
    Mode mode() const;

private:
    void restart(int number, bool online);
    Run runRule(bool modeH) const;
    void changed() { ++m_version; }

    mutable std::mutex m_mutex;
    bool m_onLine = false;
    int m_station = -1;
    Mode m_mode = Mode::Unknown;
    Poll m_poll;
    bool m_fromPoll = false;
    bool m_mayBeInJog = false;
    unsigned m_generation = 0;
    unsigned m_version = 0;
    bool m_waiting = false;
    Command m_waitingCommand = Command::Other;
    bool m_waitingReleased = false;
    std::bitset<Stations> m_stopOwed;
};
