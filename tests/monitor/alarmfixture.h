#pragma once

// What the alarm, service and RAM tests share: the drive of a shipped line with its station
// selected and tested as after the connection test, the monitor window open, and the drive's
// traffic read back from its journal as short words ("R288", "W290=3", "refused").

#include "dockmode.h"
#include "monitorfixture.h"
#include "seriesfixture.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <csignal>
#include <sys/resource.h>

// While it lives, no file this process writes may grow beyond `bytes`: a disk that fills up.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previous);
    }

private:
    rlimit m_saved {};
    void (*m_previous)(int) = nullptr;
};

class AlarmFixture
{
public:
    NavFixture fix;
    MainDialPlot *window = nullptr;
    double mark = 0;

    // The drive of the line (0 RTU series A, 1 ASCII series S, 2 character protocol series D).
    // Boxes are recorded and confirmed unless watchBoxes is false; alarm details are item×100+record, which
    // tells every item and record apart, unless extra is "shipped", which keeps the scenario's own.
    bool prepare(int line, const QString &extra = QString(), bool watchBoxes = true)
    {
        static const char series[] = { 'A', 'S', 'D' };
        static const char *firmware[] = { "0.55", "0.25", "0.52" };
        if (!fix.startLine(line, extra == QLatin1String("shipped") ? QString() : "alarm-detail none\n" + extra))
            return false;
        const SeriesSetup s = seriesSetup(series[line]);
        setStation(1);
        g_seriesLetter = s.letter;
        g_modelName = s.model;
        g_parameterCount = s.count;
        g_groupMode = s.groupMode;
        g_modelCode = QStringLiteral("0");
        g_invType = QStringLiteral("%1-%2").arg(QLatin1String(NavFixture::line(line).type),
                                                QLatin1String(NavFixture::line(line).power));
        fix.nav()->PotLabel->setText(QStringLiteral("Select station: NO.001 ") + g_invType);
        fix.nav()->stationTested[1] = 1;
        fix.window()->parameterForm->loadParameterTable();
        g_firmwareVersion = QLatin1String(firmware[line]);
        g_firmwareVersionText = g_firmwareVersion;
        g_versionRead = true;
        g_cuModeResult = 0;
        setDockMode(fix.nav(), 0);
        fix.window()->setConnectionState(true);
        if (watchBoxes)
            fix.watch();
        else
            fix.unwatch();
        window = openMonitorWindow(fix.window());
        if (!QTest::qWaitForWindowExposed(window))
            return false;
        setMark();
        return true;
    }

    void setMark()
    {
        QTest::qWait(50);
        mark = monotonicSeconds();
    }

    // The drive's answers since the mark, as words.
    QStringList traffic() const
    {
        static const QRegularExpression readRegs(QStringLiteral("read (\\d+) register\\(s\\) at ([0-9A-F]{4})h"));
        static const QRegularExpression wroteReg(QStringLiteral("wrote ([0-9A-F]{4})h at ([0-9A-F]{4})h"));
        static const QRegularExpression readParam(QStringLiteral("read P\\.(\\d+)"));
        static const QRegularExpression wroteParam(QStringLiteral("wrote P\\.(\\d+)"));
        QStringList out;
        for (const QString &line : fix.journal().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.value(1) != QLatin1String("TX") || parts.value(0).toDouble() < mark)
                continue;
            const QString note = line.section(QStringLiteral(" | "), 1);
            QRegularExpressionMatch m;
            if ((m = readRegs.match(note)).hasMatch()) {
                const int address = m.captured(2).toInt(nullptr, 16);
                out << (address < 1600 ? QStringLiteral("R%1").arg(address) : QStringLiteral("R%1h").arg(m.captured(2)))
                        + (m.captured(1) == QLatin1String("1") ? QString() : QLatin1Char('x') + m.captured(1));
            } else if ((m = wroteReg.match(note)).hasMatch()) {
                out << QStringLiteral("W%1=%2").arg(m.captured(2).toInt(nullptr, 16)).arg(m.captured(1).toInt(nullptr, 16));
            } else if ((m = readParam.match(note)).hasMatch()) {
                out << QStringLiteral("R") + m.captured(1);
            } else if ((m = wroteParam.match(note)).hasMatch()) {
                out << QStringLiteral("W") + m.captured(1);
            } else if (note.startsWith(QLatin1String("exception")) || note.startsWith(QLatin1String("NAK"))) {
                out << QStringLiteral("refused");
            } else if (!note.contains(QLatin1String("page"))) {
                out << QStringLiteral("cmd"); // a command's reply under the character protocol
            }
        }
        return out;
    }
};
