#pragma once

// What the navigation dock knows of the current station's operation mode, and the rules that read
// it: whether a run command may go out, whether letting go of REV or FWD stops the drive, what the
// lamps and the mode label show. It changes only through the events below: the mode poller's
// thread reports polls, the GUI thread everything else.

#include <QString>

#include <bitset>
#include <mutex>
#include <vector>

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
    // Which waiting commands an event drops: all, the run and frequency orders, or one button's.
    enum class Which { All, RunOrders, Fwd, Rev };
    // A press kept until the first poll settles it, in the order pressed.
    struct Waiting {
        Command command = Command::Other;
        unsigned id = 0;
        bool released = false;
    };
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
        std::vector<Waiting> waiting; // commands waiting for the first poll, in order
        bool stopOwed = false;        // to the current station
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
    // A command under the CU rule is pressed. Wait: it is kept, behind any that wait already, until
    // the first poll settles it; `id` names it then.
    Go commandPressed(Command command, bool modeH, unsigned *id = nullptr);
    // What the oldest waiting command comes to now; Wait while the mode is still unknown or none
    // waits. Called until it says Wait, so the presses settle in order.
    Go settle(bool modeH, Waiting *settled);
    // The wait ran out, or STOP, Exit or a click on another station dropped them: those dropped.
    std::vector<Waiting> dropWaiting(Which which = Which::All);
    // How many wait; a change of station drops them all, so each is for the station shown.
    std::size_t waiting() const;
    // What the events themselves dropped (a change of station, a give-up, a test, a mode press, a
    // release in JOG) since last asked, for the window to name.
    std::vector<Waiting> takeDropped();
    // REV or FWD let go, by the mouse or because a box took the release: true when a stop must go
    // out now (the drive may be in JOG), and that button's waiting run is dropped. Otherwise it is
    // dropped if the poll finds the drive in JOG.
    bool runReleased(Command button);
    // STOP pressed: no run or frequency order that waits may go out after it.
    std::vector<Waiting> stopPressed() { return dropWaiting(Which::RunOrders); }
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
    // A release of REV or FWD sends a stop whenever the drive may be in JOG: a JOG that went out to
    // this station, whatever its answer, until CU or EXT is answered there; or a poll that saw JOG,
    // and no poll since that saw otherwise.
    bool releaseStops() const;
    Display display(bool modeH) const;
    unsigned version() const;
    Mode mode() const;

private:
    void restart(int number, bool online);
    Run runRule(bool modeH) const;
    bool releaseStopsHere() const;
    bool valid(int number) const { return number >= 0 && number < Stations; }
    // Moves the waiting commands `which` names out of the queue; kept: told by takeDropped.
    std::vector<Waiting> drop(Which which, bool kept);
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
    unsigned m_nextId = 0;
    std::vector<Waiting> m_waiting;
    std::vector<Waiting> m_dropped;
    std::bitset<Stations> m_stopOwed;
};
