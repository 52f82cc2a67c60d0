#pragma once

// The drive's end of the line: a pseudo-terminal, the settings the program reports through the seam file,
// wire time, injected faults, the journal and the control channel.
#include "drive.h"
#include "wire.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

struct LineOptions {
    QString lineFile;    // settings reported by the program's port layer; empty: judge from the pty
    QString journalFile;
    QString controlFifo;
};

class Line
{
public:
    Line(Scenario *scenario, Drive *drive, Wire *wire, const LineOptions &options);
    ~Line();

    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }
    // Runs until a signal or the "quit" control command.
    int run();

private:
    static qint64 nowNs();
    void journal(qint64 ns, const char *direction, const QByteArray &bytes, const QString &note);
    bool lineMatches(QString *why) const;
    void frameReceived(const QByteArray &frame, qint64 startNs);
    // Handles a request the drive has taken; its reply may begin readyNs (the request's end, or now).
    void answer(const QByteArray &frame, qint64 readyNs);
    // Starts a busy stretch at this request when a busy fault says so.
    bool beginsBusyStretch(qint64 now);
    void answerQueued(qint64 now);
    void sendDue(qint64 now);
    void readControl();
    qint64 charTimeNs() const;
    QString render(const QByteArray &bytes) const;

    Scenario *m_s;
    Drive *m_drive;
    Wire *m_wire;
    LineOptions m_options;
    int m_master = -1;
    int m_slave = -1;
    int m_controlRead = -1;
    int m_controlKeep = -1;
    int m_signals = -1;
    QString m_slavePath;
    QFile m_journal;
    QByteArray m_control;

    QByteArray m_rx;
    qint64 m_rxStart = 0;
    qint64 m_rxLast = 0;

    QByteArray m_tx;      // reply waiting for its time on the wire
    qint64 m_txDue = 0;
    bool m_txDribble = false;
    bool m_txPaced = false;
    QByteArray m_txSent;  // a paced reply's bytes already on the line
    int m_txAhead = 0;    // bytes journaled but not yet taken by the pty (its queue was full)
    bool m_txRestart = false;
    QString m_txNote;
    qint64 m_restartUntil = 0;
    // Requests taken while busy, answered one by one when the stretch is over, as a drive with a
    // receive buffer does.
    QList<QByteArray> m_queue;
    qint64 m_busyUntil = 0;
    bool m_quit = false;
};
