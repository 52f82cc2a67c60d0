#pragma once

// The drive's side of the protocol tests: its own check sums (written independently of the
// program's, bit by bit), its frames, and a drive that answers from a script over a pseudo-terminal.

#include "pseudoterminal.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

#include <pthread.h>

namespace drive {

inline QByteArray crc(QByteArray frame)
{
    quint16 c = 0xFFFF;
    for (char byte : QByteArray(frame)) {
        c ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? quint16((c >> 1) ^ 0xA001) : quint16(c >> 1);
    }
    frame.append(char(c & 0xFF));
    frame.append(char(c >> 8));
    return frame;
}

inline QByteArray lrc(const QByteArray &body) // body without ':'
{
    int sum = 0;
    const QByteArray bytes = QByteArray::fromHex(body);
    for (char b : bytes)
        sum += quint8(b);
    return ':' + body + QByteArray::number((-sum) & 0xFF, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

inline QByteArray sum(const QByteArray &text)
{
    int s = 0;
    for (char c : text)
        s += quint8(c);
    return QByteArray::number(s & 0xFF, 16).rightJustified(2, '0').toUpper();
}

// A character-protocol request as it must appear on the line: ENQ, text, sum, terminator.
inline QByteArray zrRequest(const QByteArray &text, int mode = 1)
{
    return '\x05' + text + sum(text) + (mode == 1 ? "\r" : mode == 2 ? "\r\n" : "");
}

// A data reply: STX, station, four digits, decimal digit, ETX, sum over station to decimal digit.
inline QByteArray zrData(const QByteArray &station, const QByteArray &digits, char decimals, int mode = 1)
{
    const QByteArray text = station + digits + decimals;
    return '\x02' + text + '\x03' + sum(text) + (mode == 1 ? "\r" : "\r\n");
}

inline QByteArray zrAck(const QByteArray &station, int mode = 1)
{
    return '\x06' + station + (mode == 1 ? "\r" : "\r\n");
}

inline QByteArray zrNak(const QByteArray &station, char code, int mode = 1)
{
    return '\x15' + station + code + (mode == 1 ? "\r" : "\r\n");
}

// Plays the drive: takes each request off the line and answers it from a script. A null
// answer stays silent; after the script the drive stays silent.
class ScriptedDrive {
public:
    struct Answer {
        Answer(const QByteArray &reply = QByteArray(), int delay = 0, const QByteArray &before = QByteArray())
            : bytes(reply), delayMs(delay), early(before)
        {
        }
        QByteArray bytes;
        int delayMs = 0;
        // Written the moment the request is in, before the delay: a reply to an earlier request
        // that the adapter or the PC held up.
        QByteArray early;
    };
    struct Request {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit ScriptedDrive(PseudoTerminal &pty) : m_pty(pty) { m_clock.start(); }
    ~ScriptedDrive() { stop(); }

    // Answers each request by a function of it instead of a script.
    void serve(std::function<QByteArray(const QByteArray &)> responder)
    {
        stop();
        m_responder = std::move(responder);
        m_answers.clear();
        m_requests.clear();
        m_running = true;
        m_thread = std::thread([this] { run(); });
    }

    void play(const QList<Answer> &answers)
    {
        stop();
        m_responder = nullptr;
        m_answers = answers;
        m_requests.clear();
        m_answerTimes.clear();
        m_running = true;
        m_clock.restart();
        m_thread = std::thread([this] { run(); });
    }

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
        m_pty.waitWritten();
    }

    QList<Request> requests()
    {
        QMutexLocker locker(&m_mutex);
        return m_requests;
    }

    QList<QByteArray> frames()
    {
        QList<QByteArray> out;
        for (const Request &r : requests())
            out << r.bytes;
        return out;
    }

    qint64 elapsedMs() const { return m_clock.elapsed(); }

    // When each scripted answer was written (an early one's own reply: when it was due), on the
    // requests' clock.
    QList<qint64> answerTimes()
    {
        QMutexLocker locker(&m_mutex);
        return m_answerTimes;
    }

private:
    void run()
    {
        // A drive answers in its own time however busy the machine is (as the simulated drive does).
        const sched_param lowestRealTime { 1 };
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &lowestRealTime);
        int next = 0;
        while (m_running) {
            const QByteArray request = m_pty.readAll(5);
            if (request.isEmpty())
                continue;
            {
                QMutexLocker locker(&m_mutex);
                m_requests.append({ request, m_clock.elapsed() });
            }
            if (m_responder) {
                const QByteArray reply = m_responder(request);
                if (!reply.isEmpty())
                    m_pty.write(reply);
                continue;
            }
            if (next >= m_answers.size())
                continue;
            const Answer answer = m_answers.at(next++);
            if (!answer.early.isEmpty()) {
                m_pty.write(answer.early);
                // The request's own reply follows in its time while the drive hears on, so a
                // request that comes meanwhile is stamped when it came.
                const qint64 dueMs = m_clock.elapsed() + answer.delayMs;
                m_pty.writeLater(answer.bytes, answer.delayMs);
                QMutexLocker locker(&m_mutex);
                m_answerTimes.append(dueMs);
                continue;
            }
            if (answer.bytes.isNull())
                continue;
            if (answer.delayMs > 0)
                QThread::msleep(ulong(answer.delayMs));
            m_pty.write(answer.bytes);
            QMutexLocker locker(&m_mutex);
            m_answerTimes.append(m_clock.elapsed());
        }
    }

    PseudoTerminal &m_pty;
    QList<Answer> m_answers;
    std::function<QByteArray(const QByteArray &)> m_responder;
    QList<Request> m_requests;
    QList<qint64> m_answerTimes;
    QMutex m_mutex;
    QElapsedTimer m_clock;
    std::atomic<bool> m_running { false };
    std::thread m_thread;
};

} // namespace drive

Q_DECLARE_METATYPE(drive::ScriptedDrive::Answer)

using ScriptedDriveAnswer = drive::ScriptedDrive::Answer;
