#pragma once

// The monitor poller: while the monitor window (dial mode) or the trend window (trend mode)
// monitors, it asks the drive pass after pass for every flagged item, stores the values and hands
// each complete pass to the windows.
//
// A pass holds g_monitorListsMutex and, for its hand-over, handOverMutex; whoever replaces or
// deletes a window the poller feeds holds handOverMutex while doing so. The restart wait and the
// pause after an empty pass are taken outside both locks and end early when both modes stop.

#include <condition_variable>
#include <mutex>
#include <QString>
#include <QThread>
#include <QVector>
#include <atomic>

class CParameter;
class ReadWrite;

class MonitorThread : public QThread
{
    Q_OBJECT
public:
    MonitorThread();
    ~MonitorThread() override;

    // GUI thread. Read the drive information first; false (and nothing started) when it fails.
    bool startDialMonitor();
    bool startTrendMonitor();
    void stopDialMonitor();
    void stopTrendMonitor();
    void stopIfOffLine();
    // Both modes off, any wait cut short, and the thread joined: before the windows it feeds go.
    void stopAndWait();

    // Whether the last run ended off-line while that mode was on; the answer is given once.
    bool takeDialOffLine();
    bool takeTrendOffLine();

    bool readInverterInfo();
    QString readParameterText(int parameter);
    // Reads P.77 into p77 and opens it (9999) for the identification reads, the drive's refusal of
    // P.77 taken as an answer until the caller restores it; false, with that ended, when either fails.
    bool openP77(ReadWrite *link, CParameter *form, double *p77);
    bool readParameterRange(int first, int last);
    bool readTypeParameters(int first, int second);
    QString readSelectInverterType(int a, int b);

    void pollOnce();

    std::mutex handOverMutex;
    std::atomic<bool> dialMode { false };
    std::atomic<bool> trendMode { false };

protected:
    void run() override;

private:
    bool startMode(std::atomic<bool> &mode);
    void runPasses();
    // Sleeps up to ms; false when both modes went off meanwhile.
    bool sleepUnlessStopped(int ms);
    void wakeSleeper();
    void handOver();
    void handDriveInfo(const QVector<QString> &info);
    QString deriveRatedCurrent(double capacity);

    std::mutex m_stateMutex;
    std::condition_variable m_wake;
    bool m_finishing = false;
    bool m_dialOffLine = false;
    bool m_trendOffLine = false;
    // Taken on the GUI thread at each start: the poller reads no GUI-owned text.
    std::atomic<bool> m_largeDrive { false };
};

extern MonitorThread *g_monitorThread;

// The protocol object the poller and the drive-information read use: the one place that reads
// g_readWrite here.
ReadWrite *monitorLink();

// Parts of a drive type text "series-voltage-capacityK", split at "-" and "/".
QStringList typeTextParts(const QString &typeText);
// The rated capacity of a type text (third part without its unit letter); 0 when there is none.
double typeTextCapacity(const QString &typeText);
