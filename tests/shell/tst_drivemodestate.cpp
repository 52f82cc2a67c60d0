#include "shell/drivemodestate.h"

#include <QRandomGenerator>
#include <QtTest>
#include <map>

// What the dock knows of the drive's mode: orders of events and what the rules then say, and a
// seeded random walk of short event sequences against a model of two drives.
class tst_DriveModeState : public QObject {
    Q_OBJECT
private slots:
    void ordersOfEvents_data();
    void ordersOfEvents();
    void randomWalk();
};

using S = DriveModeState;
using Run = S::Run;

namespace {
const char *const RunNames[] = { "allowed", "refused", "ask", "offline" };

// What the rules say: the run command, whether a release stops, the lamp and label ("J JOG", "- H4", "-"), a stop owed.
QString rules(const S &state, bool modeH = false)
{
    const S::Display d = state.display(modeH);
    return QString("%1 %2 %3%4").arg(RunNames[int(state.runCommand(modeH))], state.releaseStops() ? "stop" : "-",
                                     QString("-CEJ").at(int(d.lamp)), d.label.isEmpty() ? QString() : " " + d.label)
        + (state.stopTarget(-1) < 0 ? QString() : QString(" @%1").arg(state.stopTarget(-1))) // STOP with no station shown
        + (d.stopUnsent ? " unsent" : d.stopOwed ? " owed" : ""); // unsent: no line known to send it on
}
} // namespace

void tst_DriveModeState::ordersOfEvents_data()
{
    // "jog?": sent, its reply lost; "poll:2": a poll saw mode 2 (P.79 not 3); begin, end: a poll around events
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("rules");
    QTest::newRow("jog_until_the_next_poll") << "choose poll:1 jog" << "allowed stop J JOG";
    QTest::newRow("jog_reply_lost") << "choose poll:1 jog?" << "allowed stop J JOG";
    QTest::newRow("jog_held_back") << "choose poll:1 jog-held" << "refused - E EXT";
    QTest::newRow("jog_then_its_poll") << "choose poll:1 jog poll:2" << "refused stop J JOG";
    QTest::newRow("poll_begun_before_jog") << "choose poll:1 begin jog end:1" << "allowed stop J JOG";
    QTest::newRow("cu_reply_lost") << "choose poll:1 cu?" << "ask - -";
    QTest::newRow("cu_reply_lost_in_jog") << "choose poll:2 cu?" << "ask stop -";
    QTest::newRow("lost_jog_giveup_test") << "choose poll:0 giveup jog? test" << "ask stop -";
    QTest::newRow("lost_jog_giveup_test_poll") << "choose poll:0 giveup jog? test poll:2" << "refused stop J JOG";
    QTest::newRow("giveup_in_jog") << "choose poll:2 giveup" << "offline stop -";
    QTest::newRow("poll_begun_before_test") << "choose poll:0 begin giveup test end:0" << "ask - -";
    QTest::newRow("jog_then_another_station") << "choose poll:0 jog choose2" << "ask - -";
    QTest::newRow("jog_then_delete") << "choose poll:0 jog delete" << "ask - -";
    QTest::newRow("edit_refused") << "choose poll:0 refused" << "allowed - C CU";
    QTest::newRow("test_in_cu") << "choose poll:0 test" << "ask - -";
    // A restart is told by the GUI and by the poller: told twice it is one restart, and an answer
    // at a press after it stands.
    QTest::newRow("restart") << "choose poll:0 restart1" << "ask - -";
    QTest::newRow("restart_then_answer_told_again") << "choose poll:0 restart1 asked:2 restart1" << "refused stop J JOG";
    QTest::newRow("poll_begun_before_restart") << "choose begin restart1 end:0" << "ask - -";
    // A JOG pressed at a station makes each release there a stop until CU or EXT is answered there.
    QTest::newRow("jog_refused_then_cu_poll") << "choose poll:0 jog? poll:0" << "allowed stop C CU";
    QTest::newRow("jog_refused_test_poll") << "choose poll:0 jog? giveup test poll:0" << "allowed stop C CU";
    QTest::newRow("jog_back_at_its_station") << "choose poll:0 jog choose2 choose1" << "ask stop -";
    QTest::newRow("run_then_delete_last") << "choose poll:0 run delete-last" << "offline - - @1";
    QTest::newRow("run_then_other_station_run") << "choose poll:0 run choose2 run2 delete-last" << "offline - - @2";
    QTest::newRow("jog_then_cu_answered") << "choose poll:2 jog cu poll:0" << "allowed - C CU";
    QTest::newRow("stop_not_sent") << "choose poll:0 unsent" << "allowed - C CU unsent";
    QTest::newRow("stop_not_sent_then_lost") << "choose poll:0 unsent stop?" << "allowed - C CU owed";
    QTest::newRow("stop_not_sent_then_stop_test") << "choose unsent giveup stop test" << "ask - -";
    // A box took a held run button's release: the hand's own release stops again, once (+); with none taken, not (-).
    QTest::newRow("box_took_release_then_up") << "choose poll:2 jog box up up" << "allowed stop J JOG up+-";
}

void tst_DriveModeState::ordersOfEvents()
{
    QFETCH(QString, events);
    S state(0);
    unsigned ticket = 0;
    QString ups;
    for (const QString &e : events.split(' ')) {
        if (e == "unsent" || e.startsWith("stop"))
            e == "unsent" ? state.stopNotSent(1) : state.stopSent(1, !e.endsWith('?'));
        else if (e == "box" || e == "up")
            e == "box" ? state.releaseTakenByBox() : void(ups += state.mouseReleased() ? '+' : '-');
        else if (e.startsWith("choose"))
            state.stationChosen(e.endsWith('2') ? 2 : 1, true);
        else if (e == "delete-last")
            state.stationDeleted(-1, false);
        else if (e.startsWith("delete"))
            state.stationDeleted(2, true);
        else if (e.startsWith("run"))
            state.runSent(e.endsWith('2') ? 2 : 1);
        else if (e.startsWith("test"))
            state.passedTest(e.endsWith('2') ? 2 : 1);
        else if (e == "giveup")
            state.givenUp();
        else if (e == "refused" || e == "jog-held")
            e == "refused" ? state.editRefused() : state.modePressHeldBack();
        else if (e == "begin")
            ticket = state.pollBegun();
        else if (e.startsWith("restart"))
            state.restarting(e.mid(7).toUInt());
        else if (e.startsWith("asked"))
            state.modeAnswered(state.pollBegun(), e.section(':', 1).toInt(), false);
        else if (e.contains(':'))
            state.polled(e.startsWith("end") ? ticket : state.pollBegun(), { e.section(':', 1).toInt(), 0, false });
        else
            state.modePressSent(e.startsWith("cu") ? S::Press::Cu : S::Press::Jog, !e.endsWith('?'));
    }
    QTEST(rules(state) + (ups.isEmpty() ? "" : " up" + ups), "rules");
}

// Two stations with a drive each on one line, which may go down. The walk plays the dock's part with the
// state's rules and checks the user's rules against the drives: no run command reaches a drive after STOP or
// after its button was let go in JOG; every stop asked for reaches its drive once the line allows; a stop
// reaches only a station where the user asked for one; after a JOG press a release stops; a press whose mode
// the dock does not know asks the drive first and goes out, or is refused, as the drive's mode decides.
void tst_DriveModeState::randomWalk()
{
    const char *const seedName = "TAVIRON_WALK_SEED";
    const quint32 seed = qEnvironmentVariableIsSet(seedName) ? qEnvironmentVariableIntValue(seedName)
                                                             : QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    const auto chance = [&rng](int percent) { return int(rng.bounded(100)) < percent; };
    for (int walk = 0; walk < 5000; ++walk) {
        S state(0);
        const bool modeH = chance(50), p79[2] = { chance(50), chance(50) };
        int mode[2] = { int(rng.bounded(0, 9)), int(rng.bounded(0, 9)) };
        bool tested[2] = { chance(70), chance(70) }, running[2] = {}, forbidden[2] = {}, stopWanted[2] = {};
        int asks[2] = {}, current = 0;
        unsigned restarts = 0;
        bool lineUp = true, held = false, gaveUp = false, jogged[2] = {};
        bool jogUnseen = false; // a JOG pressed at the current station since its mode was last seen: FWD may go
        QStringList trail { "choose1" };
        QString failure;
        state.stationChosen(1, tested[0]);
        const auto fail = [&](const QString &why) {
            if (failure.isEmpty())
                failure = why;
        };
        // What the drive hears; false when the line is down, and the program then gives up.
        const auto deliver = [&](int d, const char *code) {
            if (!lineUp) {
                state.givenUp(), tested[current] = false, gaveUp = true, trail << QString("%1 lost").arg(code);
                return false;
            }
            trail << QString("%1>%2").arg(code).arg(d + 1);
            if (QByteArray(code) == "STO") {
                if (asks[d] == 0)
                    fail(QString("a stop reached station %1, where none was asked").arg(d + 1));
                asks[d] = 0, running[d] = false, stopWanted[d] = false;
            } else if (QByteArray(code) == "FWD") {
                if (forbidden[d])
                    fail(QString("%1 reached station %2 after STOP or the release").arg(code).arg(d + 1));
                running[d] = running[d] || mode[d] == 0 || (mode[d] == 2 && p79[d]);
            }
            return true;
        };
        const auto stop = [&](int d) { state.stopSent(d + 1, deliver(d, "STO")); };
        const auto release = [&] { // by the mouse, or a box that took it
            held = false, trail << "release";
            if (mode[current] == 2)
                forbidden[current] = true, stopWanted[current] = stopWanted[current] || running[current];
            ++asks[current];
            if (state.releaseStops())
                stop(current);
            else if (jogged[current])
                fail(QString("a release after JOG at station %1 sent no stop").arg(current + 1));
        };
        const auto press = [&](const char *code) { // the dock asks the drive a mode it does not know
            const bool unknown = state.runCommand(modeH) == Run::Unknown;
            if (!state.onLine() || (unknown && !deliver(current, "MOD")))
                return; // the link tells its failure, and nothing goes out
            if (unknown)
                state.modeAnswered(state.pollBegun(), mode[current], p79[current]), jogUnseen = false;
            const int m = mode[current];
            const bool sent = state.runCommand(modeH) == Run::Allowed, takes = m == 0 || (m == 2 && p79[current]) || (m == 6 && modeH);
            if (sent ? !takes && !jogUnseen : takes && unknown)
                fail(QString("%1 %2 by a drive in mode %3").arg(code, sent ? "sent" : "refused").arg(mode[current]));
            if (sent)
                deliver(current, code);
        };
        const auto poll = [&] {
            const unsigned ticket = state.pollBegun();
            if (lineUp && state.polled(ticket, { mode[current], running[current] ? 2 : 0, p79[current] }))
                trail << QString("poll:%1").arg(mode[current]), jogUnseen = false;
        };
        const auto passTest = [&](int d) {
            if (held) // the test's dialog takes the release
                trail << "box", release();
            trail << QString("test%1").arg(d + 1);
            current = d, tested[d] = true, jogUnseen = false;
            if (state.stopOwed(d + 1))
                stop(d);
            state.passedTest(d + 1);
        };
        for (int step = 0; step < 16 && failure.isEmpty(); ++step) {
            const int event = int(rng.bounded(12));
            if (event == 0) {
                if (state.onLine())
                    poll();
                else if (lineUp) // the connection test: current from then on
                    passTest(chance(75) ? current : 1 - current);
            } else if (event == 1 && state.onLine() && !held) { // a mode button
                const int target = int(rng.bounded(3));
                trail << QString("cu ext jog").section(' ', target, target);
                const bool heard = deliver(current, "MOD"), takes = heard && !running[current];
                if (takes)
                    mode[current] = target;
                if (target == 2 || takes) // a JOG refused by the turning drive, or lost, counts
                    jogged[current] = target == 2;
                jogUnseen = target == 2;
                state.modePressSent(S::Press(target), takes);
            } else if (event == 2 && !held) { // FWD pressed and held
                held = true, forbidden[current] = false, trail << "fwd";
                press("FWD");
            } else if (event == 3 && held) {
                release();
            } else if (event == 4 && held) { // a box opens over the held button
                trail << "box", release();
            } else if (event == 5) { // STOP: goes out on line or off
                trail << "stop";
                forbidden[current] = true, stopWanted[current] = stopWanted[current] || running[current];
                ++asks[current];
                stop(current);
            } else if (event == 6) {
                lineUp = !lineUp, trail << (lineUp ? "line back" : "line down");
            } else if (event == 7 && state.onLine() && lineUp && !held) { // P.998: the drive restarts, P.79 restored
                trail << "restart", mode[current] = int(rng.bounded(0, 9)), running[current] = false;
                state.restarting(++restarts);
                if (chance(50)) // the poller tells it too
                    state.restarting(restarts);
            } else if (event == 8 && !held) { // another station is chosen
                current = 1 - current, jogUnseen = false, trail << QString("choose%1").arg(current + 1);
                state.stationChosen(current + 1, tested[current]);
            } else if (event == 9 && !running[1 - current]) { // at the panel of the other drive
                mode[1 - current] = int(rng.bounded(0, 9));
            } else if (event == 10 && state.onLine()) { // another window's exchange gave up: its box opens
                state.givenUp(), tested[current] = false, trail << "giveup";
                if (held)
                    trail << "box", release();
            } else if (event == 11) {
                trail << "set", press("FRE");
            }
            if (gaveUp && held) // "Communication Error!" opens over the held button
                trail << "box", release();
            gaveUp = false;
        }
        // The line comes back and each station passes its test: every stop asked for has reached its drive.
        if (held)
            release();
        lineUp = true;
        for (int d = 0; d < 2 && failure.isEmpty(); ++d) {
            passTest(d);
            if (stopWanted[d] && running[d])
                fail(QString("station %1 runs on after the stop asked for").arg(d + 1));
        }
        if (!failure.isEmpty())
            QFAIL(qPrintable(QString("%1=%2, walk %3: %4 after %5")
                                 .arg(seedName).arg(seed).arg(walk).arg(failure, trail.join(", "))));
    }
}

QTEST_MAIN(tst_DriveModeState)
#include "tst_drivemodestate.moc"
