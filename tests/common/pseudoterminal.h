#pragma once

// Test helpers for serial links: a pseudo-terminal pair whose slave the program opens as its
// port while the test plays the far end on the master, and a registry file of its own for a
// test, in which such a pair is listed as a COM port.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <thread>

class PseudoTerminal
{
public:
    // Opens the pair in raw mode; check isValid().
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    // The slave's path ("/dev/pts/5"): what a port opens.
    QString devicePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Far end: sends bytes towards the port.
    bool write(const QByteArray &bytes);
    // Far end: bytes the port has sent and nobody has read yet.
    int pending() const;
    // Far end: reads until count bytes have come or timeoutMs has passed.
    QByteArray read(int count, int timeoutMs);
    // Far end: everything that has come, after waiting up to timeoutMs for the first byte.
    QByteArray readAll(int timeoutMs = 0);

    // Sends bytes from a thread of its own: the first after delayMs, each further one
    // intervalMs later (all at once when intervalMs is 0). Timed from the call.
    void writeLater(const QByteArray &bytes, int delayMs, int intervalMs = 0);
    // Waits until the bytes of writeLater are all sent; returns how many milliseconds after its time
    // the first of them went out, which a busy machine makes more than 0.
    double waitWritten();
    // After waitWritten: how late the latest of them went out, in milliseconds.
    double worstLateMs() const { return m_worstLateMs; }

    // Lists the slave under comName in the current registry file (port list and device).
    void registerAs(const QString &comName) const;

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees a hang-up between port opens
    QString m_slavePath;
    std::thread m_writer;
    double m_firstLateMs = 0;
    double m_worstLateMs = 0;
};

// Points TAVIRON_REGISTRY at a fresh file in a temporary folder for the life of the object
// and puts the previous value back afterwards.
class TemporaryRegistry
{
public:
    TemporaryRegistry();
    ~TemporaryRegistry();
    TemporaryRegistry(const TemporaryRegistry &) = delete;
    TemporaryRegistry &operator=(const TemporaryRegistry &) = delete;

    QString filePath() const;
    // A folder for other files of the test (line-settings files and the like).
    QString folder() const { return m_dir.path(); }

    // Lists devicePath as comName: port list entry and device entry.
    static void addPort(const QString &comName, const QString &devicePath);
    // Makes the port layer report the line settings of comName to settingsFile.
    static void addSimulatedLine(const QString &comName, const QString &settingsFile);

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

// A fresh registry stand-in listing one line (COM3 unless named): what the window tests open a
// main window over. close() lets both go, the line first.
class ListedLine
{
public:
    bool open(const QString &comName = QStringLiteral("COM3"))
    {
        m_registry.reset(new TemporaryRegistry);
        m_line.reset(new PseudoTerminal);
        if (!m_line->isValid())
            return false;
        m_line->registerAs(comName);
        return true;
    }

    void close()
    {
        m_line.reset();
        m_registry.reset();
    }

private:
    std::unique_ptr<TemporaryRegistry> m_registry;
    std::unique_ptr<PseudoTerminal> m_line;
};
