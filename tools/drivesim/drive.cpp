#include "drive.h"

#include <QtMath>

#include <algorithm>

namespace {
const int TypeCodeRegister = 0x1200;
const int RecordSelect = 288, RecordCode = 289, ItemSelect = 290, ItemValue = 291;
}

void Drive::advance(qint64 nowNs)
{
    if (m_lastNs < 0) {
        m_lastNs = nowNs;
        return;
    }
    const double seconds = (nowNs - m_lastNs) / 1e9;
    m_lastNs = nowNs;
    int target = 0;
    if (m_run != 0 && m_s->liveAlarm == 0)
        target = m_mode == 2 ? m_s->jogFrequency : m_setFreq;
    m_freqFraction += seconds * m_s->accel;
    const int step = int(m_freqFraction);
    m_freqFraction -= step;
    if (m_freq < target)
        m_freq = qMin(target, m_freq + step);
    else if (m_freq > target)
        m_freq = qMax(target, m_freq - step);
    if (m_freq == target)
        m_freqFraction = 0;
}

quint16 Drive::statusWord() const
{
    if (m_s->fixedStatus >= 0)
        return quint16(m_s->fixedStatus);
    quint16 w = 0;
    if (m_run != 0 || m_freq > 0)
        w |= 0x01;
    if (m_run == 2)
        w |= 0x02;
    if (m_run == 4)
        w |= 0x04;
    const int target = m_mode == 2 ? m_s->jogFrequency : m_setFreq;
    if (m_run != 0 && target > 0 && m_freq == target)
        w |= 0x08;
    if (m_freq > 0 && m_freq * 2 >= target)
        w |= 0x40;
    if (m_s->liveAlarm != 0)
        w |= 0x80;
    return w;
}

int Drive::frequencyDecimals() const
{
    const int sel = m_s->freqSelector;
    if (sel >= 0 && m_s->params.contains(sel) && m_s->params.value(sel).raw == 1)
        return 1;
    return 2;
}

// The decimals a parameter has at its selectors' present values; those of its P line when none governs it.
int Drive::governedDecimals(int number) const
{
    const ParamDef &d = m_s->params[number];
    for (const RelatedRule &r : m_s->related)
        if (r.governed.contains(number) && m_s->params.contains(r.selector))
            return r.decimals.value(m_s->params.value(r.selector).raw, d.decimals);
    return d.decimals;
}

namespace {
bool isSpecialRange(const QPair<int, int> &range) { return range.first == 0xFFFF && range.second == 0xFFFF; }

qint64 shifted(qint64 raw, int digits)
{
    for (; digits > 0; --digits)
        raw *= 10;
    for (; digits < 0; ++digits)
        raw = (raw + (raw >= 0 ? 5 : -5)) / 10;
    return raw;
}
}

// A range that keeps its bounds in the unit admits raw words at the parameter's present decimals.
bool Drive::admits(int number, quint16 value) const
{
    const ParamDef &d = m_s->params[number];
    const int digits = governedDecimals(number) - d.decimals;
    const bool scaled = std::any_of(m_s->related.cbegin(), m_s->related.cend(), [number](const RelatedRule &r) {
        return r.scaledRanges && r.governed.contains(number);
    });
    if (!scaled || digits == 0 || d.ranges.isEmpty())
        return d.admits(value);
    const int v = d.isSigned ? int(qint16(value)) : int(value);
    return std::any_of(d.ranges.cbegin(), d.ranges.cend(), [&](const QPair<int, int> &r) {
        return isSpecialRange(r) ? v == r.first : v >= shifted(r.first, digits) && v <= shifted(r.second, digits);
    });
}

// A drive keeps a governed value when its resolution changes: the raw word takes the new scale.
void Drive::rescaleGoverned(int selector, quint16 oldValue, quint16 newValue)
{
    for (const RelatedRule &r : m_s->related) {
        if (r.selector != selector || !r.decimals.contains(oldValue) || !r.decimals.contains(newValue))
            continue;
        const int digits = r.decimals.value(newValue) - r.decimals.value(oldValue);
        for (int n : r.governed) {
            if (!m_s->params.contains(n))
                continue;
            ParamDef &d = m_s->params[n];
            const bool special = d.raw == 0xFFFF && std::any_of(d.ranges.cbegin(), d.ranges.cend(), isSpecialRange);
            if (!special)
                d.raw = quint16(qBound<qint64>(d.isSigned ? -0x8000 : 0,
                                               shifted(d.isSigned ? qint16(d.raw) : d.raw, digits),
                                               d.isSigned ? 0x7FFF : 0xFFFE));
        }
    }
}

// A detail item's value carries the decimals of what it measures; each record has its seven items
// (1-7 the most recent, 8-14 the one before, 15-21 the one before that), kinds 1 to 7 again.
int Drive::detailDecimals(int item) const
{
    const int kind = (item - 1) % 7 + 1;
    switch (kind) {
    case 1:
        return frequencyDecimals();
    case 2:
    case 3:
    case 4:
        return 2;
    default:
        return 0;
    }
}

// The decimal digit of a monitor item's reply: the resolution the item has on the Modbus side.
int Drive::itemDecimals(QChar item) const
{
    switch (item.toLatin1()) {
    case 'E':
    case 'F':
        return 1;
    case 'a':
        return 3;
    case '0':
    case '3':
    case 'e':
        return frequencyDecimals();
    case 'b': {
        const int sel = m_s->params.contains(259) ? qint16(m_s->params.value(259).raw) / 10 : 0;
        return (sel >= 0 && sel <= 2) ? sel : 0;
    }
    case 'A':
    case 'B':
    case 'C':
    case 'K':
    case '7':
    case 'f':
    case 'g':
    case 'h':
    case 'i':
    case 'd':
        return 0;
    default:
        return 2;
    }
}

Outcome Drive::monitorValue(QChar item) const
{
    Outcome o;
    if (m_s->monitor.contains(item)) {
        o.value = m_s->monitor.value(item);
        o.decimals = itemDecimals(item);
        return o;
    }
    const double hz = m_freq / 100.0;
    const double base = qMax(1, m_s->baseFrequency) / 100.0;
    const double amps = m_freq > 0 ? m_s->ratedCurrent / 100.0 * (0.35 + 0.65 * qMin(1.0, hz / base)) : 0.0;
    const double volts = m_s->ratedVoltage / 10.0 * qMin(1.0, hz / base);
    switch (item.toLatin1()) {
    case '0':
    case '3': {
        const int f = item == QLatin1Char('0') ? m_freq : m_setFreq;
        o.decimals = frequencyDecimals();
        o.value = quint16(o.decimals == 1 ? f / 10 : f);
        return o;
    }
    case '2':
        o.value = quint16(qRound(amps * 100));
        o.decimals = 2;
        return o;
    case 'E':
        o.value = quint16(qRound(volts * 10));
        o.decimals = 1;
        return o;
    case 'a':
        o.value = quint16(qRound(1.732 * volts * amps * 0.8));
        o.decimals = 3;
        return o;
    case 'b': {
        o.decimals = itemDecimals(item);
        o.value = quint16(qRound(hz * 30 * qPow(10, o.decimals)));
        return o;
    }
    case 'A':
    case 'B': {
        const int sel = item == QLatin1Char('A') ? m_selectorA : m_selectorB;
        o.value = sel == 2 ? m_s->outputs : m_s->inputs;
        return o;
    }
    case 'C':
        o.value = statusWord();
        return o;
    default:
        o.status = Outcome::UnknownAddress;
        return o;
    }
}

Outcome Drive::readParam(int number)
{
    Outcome o;
    if (!m_s->params.contains(number)) {
        o.status = Outcome::UnknownAddress;
        return o;
    }
    if (m_s->refuses(Refusal::Param, number, false)) {
        o.status = Outcome::Refused;
        return o;
    }
    if (m_s->refuses(Refusal::Param, number, false, true)) {
        o.status = Outcome::Lost;
        return o;
    }
    const ParamDef &d = m_s->params[number];
    o.decimals = governedDecimals(number);
    o.value = d.raw;
    if (number == RecordCode)
        o.value = alarmRecord(m_alarmRecord - 1);
    else if (number == ItemValue) {
        o.value = m_s->alarmDetail.value(m_alarmItem, quint16(m_alarmItem * 100 + m_alarmRecord));
        o.decimals = detailDecimals(m_alarmItem);
    }
    else if (number == RecordSelect)
        o.value = quint16(m_alarmRecord);
    else if (number == ItemSelect)
        o.value = quint16(m_alarmItem);
    return o;
}

Outcome Drive::writeParam(int number, quint16 value)
{
    Outcome o;
    if (!m_s->params.contains(number)) {
        o.status = Outcome::UnknownAddress;
        return o;
    }
    if (m_s->refuses(Refusal::Param, number, true)) {
        o.status = Outcome::Refused;
        return o;
    }
    if (m_s->refuses(Refusal::Param, number, true, true)) {
        o.status = Outcome::Lost;
        return o;
    }
    ParamDef &d = m_s->params[number];
    if (d.readOnly) {
        o.status = Outcome::ReadOnly;
        return o;
    }
    if (!admits(number, value)) {
        o.status = Outcome::OutOfRange;
        return o;
    }
    const quint16 old = d.raw;
    d.raw = value;
    if (old != value)
        rescaleGoverned(number, old, value);
    if (number == RecordSelect)
        m_alarmRecord = value;
    else if (number == ItemSelect)
        m_alarmItem = value;
    o.value = value;
    return o;
}

Outcome Drive::readRegister(int address)
{
    if (address < 1600)
        return readParam(address);
    Outcome o;
    if (address == TypeCodeRegister) {
        if (m_s->typeCode < 0)
            o.status = Outcome::UnknownAddress;
        else
            o.value = quint16(m_s->typeCode);
        return o;
    }
    const QString code = m_table->readCode(address);
    if (!code.isEmpty())
        return command(code, 0);
    if (m_s->ram.contains(address)) {
        o.value = m_s->ram.value(address);
        return o;
    }
    o.status = Outcome::UnknownAddress;
    return o;
}

Outcome Drive::writeRegister(int address, quint16 value)
{
    if (address < 1600)
        return writeParam(address, value);
    bool known = false;
    const QString code = m_table->writeCode(address, value, &known);
    Outcome o;
    if (code.isEmpty()) {
        o.status = known ? Outcome::OutOfRange : Outcome::UnknownAddress;
        return o;
    }
    o = command(code, value);
    o.value = value;
    return o;
}

Outcome Drive::command(const QString &code, quint16 data)
{
    Outcome o;
    // Lost on its way in: the drive never acts on it.
    if (m_s->losesCommand(code)) {
        o.status = Outcome::Lost;
        return o;
    }
    if (code.size() == 3 && code.at(0) == QLatin1Char('M') && code.at(2) == QLatin1Char('R')
        && m_s->refuses(Refusal::Monitor, code.at(1).unicode(), false)) {
        o.status = Outcome::Refused;
        return o;
    }
    if (code == QLatin1String("MOD")) {
        o.value = quint16(m_mode);
    } else if (code == QLatin1String("STA") || code == QLatin1String("MCR")) {
        o.value = statusWord();
    } else if (code == QLatin1String("M0N")) {
        o.value = quint16(alarmRecord(0) << 8 | (m_s->liveAlarm & 0xFF));
    } else if (code == QLatin1String("M1N")) {
        o.value = quint16(alarmRecord(2) << 8 | alarmRecord(1));
    } else if (code.size() == 3 && code.at(0) == QLatin1Char('M') && code.at(2) == QLatin1Char('R')) {
        o = monitorValue(code.at(1));
    } else if (code.size() == 3 && code.at(0) == QLatin1Char('M') && code.at(2) == QLatin1Char('W')) {
        (code.at(1) == QLatin1Char('B') ? m_selectorB : m_selectorA) = data;
    } else if (code == QLatin1String("CU0") || code == QLatin1String("EXT") || code == QLatin1String("JOG")) {
        if (m_run != 0 || m_freq > 0) {
            o.status = Outcome::WrongMode; // the mode cannot change while the motor turns
        } else {
            m_mode = code == QLatin1String("CU0") ? 0 : code == QLatin1String("EXT") ? 1 : 2;
        }
    } else if (code == QLatin1String("FWD") || code == QLatin1String("REV")) {
        if (m_mode != 0 && m_mode != 2)
            o.status = Outcome::WrongMode;
        else if (m_s->liveAlarm != 0)
            o.status = Outcome::WrongMode;
        else
            m_run = code == QLatin1String("FWD") ? 2 : 4;
    } else if (code == QLatin1String("STO")) {
        m_run = 0;
    } else if (code == QLatin1String("FRE")) {
        // The drive takes the frequency in the unit it reports it in: 0.1 Hz while its selector is 1.
        const int perStep = frequencyDecimals() == 1 ? 10 : 1;
        if (data > m_s->maxFrequency / perStep)
            o.status = Outcome::OutOfRange;
        else
            m_setFreq = data * perStep;
    } else if (code == QLatin1String("996")) {
        m_s->alarms.clear();
        m_restart = true;
    } else if (code == QLatin1String("997")) {
        m_s->liveAlarm = 0;
        m_restart = true;
    } else if (code == QLatin1String("998") || code == QLatin1String("999")) {
        for (auto it = m_s->params.begin(); it != m_s->params.end(); ++it)
            if (!it->readOnly && (code == QLatin1String("998") || it.key() != 77))
                it->raw = it->initial;
        m_restart = true;
    } else if (code == QLatin1String("991") || code == QLatin1String("992")) {
        m_restart = true;
    } else {
        o.status = Outcome::UnknownAddress;
    }
    return o;
}

bool Drive::takeRestart()
{
    const bool r = m_restart;
    m_restart = false;
    return r;
}

void Drive::restart()
{
    m_run = 0;
    m_freq = 0;
    m_freqFraction = 0;
    m_page = 0;
    m_mode = m_s->mode;
    m_alarmRecord = 1;
    m_alarmItem = 1;
}
