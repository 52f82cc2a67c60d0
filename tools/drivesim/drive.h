#pragma once

// The drive behind the protocols: parameters, operation mode, run state with a frequency ramp, alarms.
#include "commandtable.h"
#include "scenario.h"

#include <QString>

// What became of one read or write, independent of the protocol that carries it.
struct Outcome {
    enum Status { Ok, UnknownAddress, ReadOnly, OutOfRange, WrongMode, Refused, Lost }; // Lost: no reply
    Status status = Ok;
    quint16 value = 0;
    int decimals = 0;
    bool ok() const { return status == Ok; }
};

class Drive
{
public:
    Drive(Scenario *scenario, const CommandTable *table) : m_s(scenario), m_table(table) { m_mode = scenario->mode; }

    // Moves the ramp forward to the monotonic time nowNs.
    void advance(qint64 nowNs);

    Outcome readParam(int number);
    Outcome writeParam(int number, quint16 value);
    // Modbus holding registers: parameters, the command registers of the table, the type code, RAM.
    Outcome readRegister(int address);
    Outcome writeRegister(int address, quint16 value);
    // A command code of the table with its data word.
    Outcome command(const QString &code, quint16 data);

    int typeCode() const { return m_s->typeCode; }
    int page() const { return m_page; }
    void setPage(int page) { m_page = page; }

    // True once after a command that restarts the drive; the line goes quiet for the restart time.
    bool takeRestart();
    // The drive comes back from a restart: run state and page as after power-on.
    void restart();

    quint16 statusWord() const;
    int outputFrequency() const { return m_freq; }

private:
    Outcome monitorValue(QChar item) const;
    int frequencyDecimals() const;
    int governedDecimals(int number) const;
    bool admits(int number, quint16 value) const;
    void rescaleGoverned(int selector, quint16 oldValue, quint16 newValue);
    int detailDecimals(int item) const;
    int itemDecimals(QChar item) const;
    quint16 alarmRecord(int index) const { return index < m_s->alarms.size() ? quint16(m_s->alarms.at(index)) : 0; }

    Scenario *m_s;
    const CommandTable *m_table;
    int m_mode = 0;
    int m_run = 0;       // 0 stop, 2 forward, 4 reverse (the run command word)
    int m_setFreq = 0;   // 0.01 Hz
    int m_freq = 0;      // output frequency, 0.01 Hz
    qint64 m_lastNs = -1;
    double m_freqFraction = 0;
    int m_page = 0;
    int m_selectorA = 1; // monitor A shows the input terminals, B the output terminals
    int m_selectorB = 2;
    int m_alarmRecord = 1;
    int m_alarmItem = 1;
    bool m_restart = false;
};
