#include "shell/drivemodestate.h"

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
    changed();
}

void DriveModeState::stationChosen(int number, bool tested)
{
    Lock lock(m_mutex);
    // Another drive, or this one after a while: what a JOG press of before set up is not its own.
    m_mayBeInJog = false;
    restart(number, number >= 0 && tested);
}

void DriveModeState::stationDeleted(int next, bool tested)
{
    stationChosen(next, tested);
}

void DriveModeState::passedTest(int number)
{
    Lock lock(m_mutex);
    // A JOG that went out before the loss may still hold the drive it found again.
    if (number != m_station)
        m_mayBeInJog = false;
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
    if (press == Press::Jog)
        m_mayBeInJog = true;
    else if (replied)
        m_mayBeInJog = false;
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

bool DriveModeState::polled(unsigned ticket, const Poll &poll)
{
    Lock lock(m_mutex);
    if (ticket != m_generation || !m_onLine)
        return false;
    m_poll = poll;
    m_mode = poll.mode == 0 ? Mode::Cu : poll.mode == 1 ? Mode::Ext : poll.mode == 2 ? Mode::JogByPoll : Mode::Other;
    m_mayBeInJog = m_mode == Mode::JogByPoll;
    m_fromPoll = true;
    changed();
    return true;
}

DriveModeState::Run DriveModeState::runCommand(bool modeH) const
{
    Lock lock(m_mutex);
    if (!m_onLine)
        return Run::OffLine;
    switch (m_mode) {
    case Mode::Unknown:
        return Run::WaitForPoll;
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
    return m_mayBeInJog;
}

DriveModeState::Display DriveModeState::display(bool modeH) const
{
    Lock lock(m_mutex);
    Display shown;
    shown.version = m_version;
    shown.fromPoll = m_fromPoll;
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
