#pragma once

// The drive a simulator run plays: line settings, identity, parameters, live values and injected faults.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

enum class Protocol { Taviron, Rtu, Ascii };

struct ParamDef {
    quint16 raw = 0;
    quint16 initial = 0;
    bool readOnly = false;
    bool isSigned = false;
    QVector<QPair<int, int>> ranges; // inclusive bounds, compared as signed when isSigned
    int decimals = 0;

    bool admits(quint16 value) const;
};

// A selector whose value sets the resolution of other parameters (our related-unit files): a write to it
// keeps each governed value and rescales its raw word; the character protocol reports the new decimals.
struct RelatedRule {
    int selector = 0;
    QMap<int, int> decimals; // selector value -> decimals of the governed parameters
    QVector<int> governed;
    bool scaledRanges = false; // the ranges keep their bounds in the unit (else their raw words)
};

struct Fault {
    enum Kind { SilentFirst, SilentAfter, LinkLost, BadCheck, Short, Long, Dribble, Late, Busy };
    Kind kind = SilentFirst;
    int remaining = 1; // -1: every reply from now on; busy: stretches
    int arg = 0;       // silent-first, silent-after: k; late, busy: milliseconds
    int every = 1;     // busy: a stretch begins at every n-th request the idle drive takes
    int seen = 0;      // busy: requests taken since the last stretch
};

struct Refusal {
    enum Target { Param, Page, Monitor, Command }; // Monitor: number is the item character
    Target target = Param;
    int number = 0;
    QString code; // Command: its code in FNC.txt (STO, FWD, ...)
    enum Op { Any, Read, Write };
    Op op = Any;
    bool lost = false; // `lose`: no reply at all, as if it went astray on the line
};

struct LineSettings {
    int baud = 9600;
    int data = 8;
    char parity = 'N';
    QString stop = QStringLiteral("1");

    bool operator==(const LineSettings &o) const
    {
        return baud == o.baud && data == o.data && parity == o.parity && stop == o.stop;
    }
    QString text() const;
    int bitsPerChar() const;
};

struct Scenario {
    Protocol protocol = Protocol::Rtu;
    LineSettings line;
    QString terminator = QStringLiteral("cr"); // none, cr, crlf: the character protocol only
    int station = 1;
    char series = 'D';
    int typeCode = -1; // -1: the drive has no type code
    QMap<int, ParamDef> params;
    QMap<QChar, quint16> monitor;
    quint16 inputs = 0;
    quint16 outputs = 0;
    int mode = 0;
    QVector<int> alarms; // most recent first
    int liveAlarm = 0;
    int fixedStatus = -1; // -1: the status word follows the motor
    QMap<int, quint16> alarmDetail;
    QMap<int, quint16> ram;
    int ratedCurrent = 500;   // 0.01 A
    int ratedVoltage = 3800;  // 0.1 V
    int baseFrequency = 5000; // 0.01 Hz
    int maxFrequency = 12000; // 0.01 Hz
    int accel = 1000;         // 0.01 Hz per second
    int jogFrequency = 500;   // 0.01 Hz
    int freqSelector = -1;    // parameter whose value 1 moves frequencies to 0.1 Hz units
    QVector<RelatedRule> related;
    int turnaroundMs = 2;
    // false: the reply is handed over whole when its last byte is due (a USB adapter); true: each
    // byte is written when it is due at the line's rate (a UART).
    bool pacedReply = false;
    int restartMs = -1;       // -1: by series
    QVector<Fault> faults;
    QVector<Refusal> refusals;

    int restartTime() const { return restartMs >= 0 ? restartMs : (series == 'S' ? 5000 : 1500); }
    bool refuses(Refusal::Target target, int number, bool write, bool lost = false) const;
    bool losesCommand(const QString &code) const;
};

// Reads a scenario file (with its includes); on failure returns false and says why in *error.
bool loadScenario(const QString &path, Scenario *scenario, QString *error);

// One line of the scenario language, also what the control channel accepts at run time.
bool applyScenarioLine(const QString &line, Scenario *scenario, QString *error, const QString &baseDir = QString());

// "baud=9600 data=8 parity=N stop=1 flow=off"
bool parseLineSettings(const QString &text, LineSettings *settings);
