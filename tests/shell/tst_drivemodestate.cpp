#include "shell/drivemodestate.h"

#include <QRandomGenerator>
#include <QtTest>

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
const char *const RunNames[] = { "allowed", "refused", "wait", "offline" };

// What the rules say: the run command, whether a release stops, and the lamp and label ("J JOG", "- H4", "-").
QString rules(const S &state, bool modeH = false)
{
    const S::Display d = state.display(modeH);
    return QString("%1 %2 %3%4").arg(RunNames[int(state.runCommand(modeH))], state.releaseStops() ? "stop" : "-",
                                     QString("-CEJ").at(int(d.lamp)), d.label.isEmpty() ? QString() : " " + d.label);
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
    QTest::newRow("cu_reply_lost") << "choose poll:1 cu?" << "wait - -";
    QTest::newRow("cu_reply_lost_in_jog") << "choose poll:2 cu?" << "wait stop -";
    QTest::newRow("lost_jog_giveup_test") << "choose poll:0 giveup jog? test" << "wait stop -";
    QTest::newRow("lost_jog_giveup_test_poll") << "choose poll:0 giveup jog? test poll:2" << "refused stop J JOG";
    QTest::newRow("giveup_in_jog") << "choose poll:2 giveup" << "offline stop -";
    QTest::newRow("poll_begun_before_test") << "choose poll:0 begin giveup test end:0" << "wait - -";
    QTest::newRow("jog_then_another_station") << "choose poll:0 jog choose2" << "wait - -";
    QTest::newRow("jog_then_delete") << "choose poll:0 jog delete" << "wait - -";
    QTest::newRow("edit_refused") << "choose poll:0 refused" << "allowed - C CU";
    QTest::newRow("test_in_cu") << "choose poll:0 test" << "wait - -";
}

void tst_DriveModeState::ordersOfEvents()
{
    QFETCH(QString, events);
    S state;
    unsigned ticket = 0;
    for (const QString &e : events.split(' ')) {
        if (e.startsWith("choose"))
            state.stationChosen(e.endsWith('2') ? 2 : 1, true);
        else if (e.startsWith("delete"))
            state.stationDeleted(2, true);
        else if (e.startsWith("test"))
            state.passedTest(e.endsWith('2') ? 2 : 1);
        else if (e == "giveup")
            state.givenUp();
        else if (e == "refused" || e == "jog-held")
            e == "refused" ? state.editRefused() : state.modePressHeldBack();
        else if (e == "begin")
            ticket = state.pollBegun();
        else if (e.contains(':'))
            state.polled(e.startsWith("end") ? ticket : state.pollBegun(), { e.section(':', 1).toInt(), 0, false });
        else
            state.modePressSent(e.startsWith("cu") ? S::Press::Cu : S::Press::Jog, !e.endsWith('?'));
    }
    QTEST(rules(state), "rules");
}

// Two stations with a drive each. A drive changes mode only by our commands, or at its panel while it
// is not the current one; a run button is held only while the pollers' events come in.
void tst_DriveModeState::randomWalk()
{
    const char *const seedName = "TAVIRON_WALK_SEED";
    const quint32 seed = qEnvironmentVariableIsSet(seedName) ? qEnvironmentVariableIntValue(seedName)
                                                             : QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    const auto chance = [&rng](int percent) { return int(rng.bounded(100)) < percent; };
    for (int walk = 0; walk < 5000; ++walk) {
        S state;
        int mode[2] = { int(rng.bounded(-1, 9)), int(rng.bounded(-1, 9)) }; // the drives' real modes
        const bool p79[2] = { chance(50), chance(50) }, modeH = chance(50);
        bool tested[2] = { chance(70), chance(70) }, running[2] = {}, online = tested[0], mayJog = false;
        int current = 0, known = -2; // what the dock may know: -2 nothing, a polled mode, 9 JOG by the button
        QStringList trail { "choose1" };
        QString failure;
        state.stationChosen(1, tested[0]);
        const auto giveUp = [&] { state.givenUp(), online = false, known = -2, trail << "giveup"; };
        const auto choose = [&](int station, bool test) {
            mayJog = test && station == current && mayJog;
            current = station, online = tested[station], known = -2;
        };
        const auto press = [&](int target, bool replied) {
            trail << QString("cu ext jog").section(' ', target, target) + (replied ? "" : "?");
            state.modePressSent(S::Press(target), replied);
            mayJog = target == 2 || (mayJog && !replied);
            if (online)
                known = target == 2 ? 9 : replied ? target : -2;
        };
        const auto poll = [&](int meanwhile) { // 1: a give-up, 2: a JOG press whose reply is lost
            const unsigned ticket = state.pollBegun();
            if (meanwhile)
                trail << "(poll begun)", meanwhile == 1 ? giveUp() : press(2, false);
            const bool taken = online && !meanwhile; // one begun before a later event tells nothing
            if (state.polled(ticket, { mode[current], 0, p79[current] }) != taken)
                failure = "poll taken or dropped wrongly";
            if (taken)
                known = mode[current], mayJog = known == 2, trail << QString("poll:%1").arg(known);
        };
        const auto model = [&] {
            const Run run = !online ? Run::OffLine : known == -2 ? Run::WaitForPoll
                : known == 0 || known == 9 || (known == 2 && p79[current]) || (known == 6 && modeH) ? Run::Allowed
                                                                                               : Run::Refused;
            const QString lamp = known < 0 ? "-" : known == 0 ? "C CU" : known == 1 ? "E EXT"
                : known == 2 || known == 9 ? "J JOG" : known == 8 ? (modeH ? "- H6" : "- PU")
                : QString("- H%1").arg(known - 2);
            return QString("%1 %2 %3").arg(RunNames[int(run)], mayJog ? "stop" : "-", lamp);
        };
        const auto check = [&] {
            if (failure.isEmpty() && rules(state, modeH) != model())
                failure = QString("the rules say %1, the model %2").arg(rules(state, modeH), model());
            return failure.isEmpty();
        };
        for (int step = 0; step < 12 && failure.isEmpty(); ++step) {
            const int event = int(rng.bounded(8));
            if (event == 0 && online) {
                poll(chance(70) ? 0 : int(rng.bounded(1, 3)));
            } else if (event == 1 && online) { // a mode button; its own exchange may give up
                const int target = int(rng.bounded(3));
                const bool takes = !running[current] && chance(80), replied = takes && chance(60);
                if (!replied && chance(30))
                    giveUp();
                if (takes)
                    mode[current] = target;
                press(target, replied);
            } else if (event == 2) { // FWD held, a poll and a give-up may come, then let go
                trail << "fwd";
                if (state.runCommand(modeH) == Run::WaitForPoll)
                    poll(0);
                if (!check())
                    break;
                running[current] = running[current]
                    || (state.runCommand(modeH) == Run::Allowed && (mode[current] == 0 || mode[current] == 2));
                const bool jogging = running[current] && mode[current] == 2;
                if (chance(30) && online)
                    poll(chance(30) ? 1 : 0);
                if (chance(20) && online)
                    giveUp();
                trail << "release";
                if (jogging && !state.releaseStops())
                    failure = "the motor jogs on";
                running[current] = running[current] && !state.releaseStops();
            } else if (event == 3 && online) {
                giveUp();
            } else if (event == 4) { // a connection test finds one of the drives, current from then on
                const int station = chance(75) ? current : 1 - current;
                tested[station] = true, trail << QString("test%1").arg(station + 1);
                state.passedTest(station + 1), choose(station, true);
            } else if (event == 5 || event == 6) { // choose a station, or delete the current one
                const int station = event == 6 ? 1 - current : int(rng.bounded(2));
                trail << QString(event == 6 ? "delete%1" : "choose%1").arg(station + 1);
                event == 6 ? state.stationDeleted(station + 1, tested[station])
                           : state.stationChosen(station + 1, tested[station]);
                choose(station, false);
            } else if (!running[1 - current]) { // at the panel of the other drive
                mode[1 - current] = int(rng.bounded(-1, 9));
            }
            check();
        }
        if (!failure.isEmpty())
            QFAIL(qPrintable(QString("%1=%2, walk %3: %4 after %5")
                                 .arg(seedName).arg(seed).arg(walk).arg(failure, trail.join(", "))));
    }
}

QTEST_MAIN(tst_DriveModeState)
#include "tst_drivemodestate.moc"
