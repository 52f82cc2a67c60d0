#pragma once

// The RAM monitor's poller: pass after pass it reads the enabled channels' registers through the
// protocol object, stores each reading in g_ramValues and feeds its own page's plot.
//
// The GUI thread sets the channels only while the loop is joined, so the loop reads them without
// a lock. A pass whose exchange failed (the protocol object has told the user) ends the loop and
// the page returns to Idle: one message, not one per pass.

#include <QThread>
#include <QVector>
#include <array>
#include <atomic>

class Ram;

// Latest reading of each channel; the poller writes them, the page's timer and plot read them.
extern std::array<std::atomic<quint32>, 2> g_ramValues;
// Which channels the poller reads, set when monitoring starts.
extern std::array<std::atomic<bool>, 2> g_ramChannelEnabled;

class RamThread : public QThread
{
    Q_OBJECT
public:
    // A pass without any channel to read waits this long, so the loop does not spin.
    static constexpr int IdlePassMs = 20;

    explicit RamThread(Ram *page = nullptr);
    ~RamThread() override;

    // Stops and joins a loop still finishing its pass before the settings change.
    void setChannels(QVector<quint32> addresses, QVector<int> counts);
    void startPolling();
    // Sets the stop flag; the pass in progress finishes.
    void stopPolling();
    // Stops and waits for the loop's end.
    void stopAndWait();
    // One pass; false when an exchange failed.
    bool pollOnce();
    // Whether the last loop ended on a failed exchange; the answer is given once.
    bool takeFailed() { return m_failed.exchange(false); }

    // Low bytes of an RTU and an ASCII block reply, the first most significant.
    static quint32 decodeBinaryValue(const QByteArray &reply, int count);
    static quint32 decodeHexValue(const QByteArray &reply, int count);

protected:
    void run() override;

private:
    Ram *m_page;
    std::atomic<bool> m_stop { true };
    std::atomic<bool> m_failed { false };
    QVector<int> m_counts;
    QVector<quint32> m_addresses;
};
