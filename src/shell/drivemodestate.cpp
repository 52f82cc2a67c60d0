#include "shell/drivemodestate.h"

#include <utility>

using Lock = std::lock_guard<std::mutex>;

void DriveModeState::restart(int number, bool online)
{
    // A poll begun before belongs to what was.
    ++m_generation;
    m_onLine = online;
    m_station = number;
    m_mode = Mode::Unknown;
    m_poll = Poll();
    m_fromPoll = false;
    m_stopUnsentUnaddressed = false;
    changed();
}

void DriveModeState::stationChosen(int number, bool tested)
{
    Lock lock(m_mutex);
    // Another drive, or this one after a while: the JOG a poll saw is no longer known. A JOG pressed
    // at a station stays with it.
    m_pollSawJog = false;
    restart(number, number >= 0 && tested);
}

void DriveModeState::stationDeleted(int next, bool tested)
{
    stationChosen(next, tested);
}

void DriveModeState::passedTest(int number)
{
    Lock lock(m_mutex);
    // A JOG the poll saw before the loss may still hold the drive it found again.
    if (number != m_station)
        m_pollSawJog = false;
    restart(number, number >= 0);
}

void DriveModeState::givenUp()
{
    Lock lock(m_mutex);
    restart(m_station, false);
}

void DriveModeState::modePressSent(Press press, bool replied)
{
    Lock lock(m_mutex);
    ++m_generation;
    // Refused by a turning drive or lost, a JOG may hold the drive: only a CU or EXT it answered
    // ends that.
    if (press == Press::Jog) {
        if (valid(m_station))
            m_jogPressed[size_t(m_station)] = true;
    } else if (replied) {
        if (valid(m_station))
            m_jogPressed[size_t(m_station)] = false;
        m_pollSawJog = false;
    }
    if (m_onLine) {
        // A JOG counts as taken until the next poll, its reply or not; a lost CU or EXT leaves the
        // mode to that poll.
        if (press == Press::Jog)
            m_mode = Mode::JogByButton;
        else
            m_mode = !replied ? Mode::Unknown : press == Press::Cu ? Mode::Cu : Mode::Ext;
        m_fromPoll = false;
    }
    changed();
}

unsigned DriveModeState::pollBegun() const
{
    Lock lock(m_mutex);
    return m_generation;
}

void DriveModeState::know(const Poll &poll)
{
    m_poll = poll;
    m_mode = poll.mode == 0 ? Mode::Cu : poll.mode == 1 ? Mode::Ext : poll.mode == 2 ? Mode::JogByPoll : Mode::Other;
    m_pollSawJog = m_mode == Mode::JogByPoll;
    m_fromPoll = true;
    changed();
}

bool DriveModeState::polled(unsigned ticket, const Poll &poll)
{
    Lock lock(m_mutex);
    if (ticket != m_generation || !m_onLine)
        return false;
    know(poll);
    return true;
}

bool DriveModeState::modeAnswered(unsigned ticket, int mode, bool p79Is3)
{
    Lock lock(m_mutex);
    if (ticket != m_generation || !m_onLine)
        return false;
    Poll poll = m_poll;
    poll.mode = mode;
    poll.p79Is3 = p79Is3;
    know(poll);
    return true;
}

void DriveModeState::restarting(unsigned count)
{
    Lock lock(m_mutex);
    if (count == m_restartsSeen)
        return;
    m_restartsSeen = count;
    ++m_generation;
    if (m_mode != Mode::Unknown) {
        m_mode = Mode::Unknown;
        m_fromPoll = false;
        changed();
    }
}

void DriveModeState::stopSent(int number, bool answered)
{
    Lock lock(m_mutex);
    if (valid(number) && (m_stopOwed[size_t(number)] != !answered || m_stopUnsent[size_t(number)])) {
        m_stopOwed[size_t(number)] = !answered;
        m_stopUnsent[size_t(number)] = false;
        changed();
    }
}

void DriveModeState::linePassed(int number, const LinkSettings &line)
{
    Lock lock(m_mutex);
    if (!valid(number))
        return;
    m_lines[size_t(number)] = line;
    m_lineKnown[size_t(number)] = true;
}

bool DriveModeState::passedLine(int number, LinkSettings *line) const
{
    Lock lock(m_mutex);
    if (!valid(number) || !m_lineKnown[size_t(number)])
        return false;
    *line = m_lines[size_t(number)];
    return true;
}

void DriveModeState::stopNotSent(int number)
{
    Lock lock(m_mutex);
    changed();
    if (!valid(number)) {
        // No station to owe it to: said all the same, until a station is chosen or tested.
        m_stopUnsentUnaddressed = true;
        return;
    }
    // The drive may run: the stop goes out when a test finds the station again.
    m_stopOwed[size_t(number)] = true;
    m_stopUnsent[size_t(number)] = true;
}

void DriveModeState::releaseTakenByBox()
{
    Lock lock(m_mutex);
    m_releaseAwaited = true;
}

bool DriveModeState::mouseReleased()
{
    Lock lock(m_mutex);
    return std::exchange(m_releaseAwaited, false);
}

void DriveModeState::runSent(int number)
{
    Lock lock(m_mutex);
    if (valid(number))
        m_lastRun = number;
}

int DriveModeState::stopTarget(int shown) const
{
    Lock lock(m_mutex);
    return valid(shown) ? shown : m_lastRun;
}

bool DriveModeState::stopOwed(int number) const
{
    Lock lock(m_mutex);
    return valid(number) && m_stopOwed[size_t(number)];
}

DriveModeState::Run DriveModeState::runCommand(bool modeH) const
{
    Lock lock(m_mutex);
    if (!m_onLine)
        return Run::OffLine;
    switch (m_mode) {
    case Mode::Unknown:
        return Run::Unknown;
    case Mode::Cu:
    case Mode::JogByButton:
        return Run::Allowed;
    case Mode::JogByPoll:
        return m_poll.p79Is3 ? Run::Allowed : Run::Refused;
    case Mode::Other:
        return m_poll.mode == 6 && modeH ? Run::Allowed : Run::Refused;
    case Mode::Ext:
        break;
    }
    return Run::Refused;
}

bool DriveModeState::onLine() const
{
    Lock lock(m_mutex);
    return m_onLine;
}

bool DriveModeState::releaseStops() const
{
    Lock lock(m_mutex);
    return (valid(m_station) && m_jogPressed[size_t(m_station)]) || m_pollSawJog;
}

DriveModeState::Display DriveModeState::display(bool modeH) const
{
    Lock lock(m_mutex);
    Display shown;
    shown.version = m_version;
    shown.fromPoll = m_fromPoll;
    shown.stopOwed = valid(m_station) && m_stopOwed[size_t(m_station)];
    shown.stopUnsent = valid(m_station) ? m_stopUnsent[size_t(m_station)] : m_stopUnsentUnaddressed;
    if (!m_onLine)
        return shown;
    shown.status = m_poll.status;
    switch (m_mode) {
    case Mode::Unknown:
        break;
    case Mode::Cu:
        shown.lamp = Lamp::Cu;
        shown.label = QStringLiteral("CU");
        break;
    case Mode::Ext:
        shown.lamp = Lamp::Ext;
        shown.label = QStringLiteral("EXT");
        break;
    case Mode::JogByButton:
    case Mode::JogByPoll:
        shown.lamp = Lamp::Jog;
        shown.label = QStringLiteral("JOG");
        break;
    case Mode::Other:
        if (m_poll.mode == 8)
            shown.label = modeH ? QStringLiteral("H6") : QStringLiteral("PU");
        else if (m_poll.mode >= 3)
            shown.label = QStringLiteral("H%1").arg(m_poll.mode - 2);
        break;
    }
    return shown;
}

unsigned DriveModeState::version() const
{
    Lock lock(m_mutex);
    return m_version;
}

DriveModeState::Mode DriveModeState::mode() const
{
    Lock lock(m_mutex);
    return m_mode;
}
