#include "monitor/monitorthread.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "monitor/mainadvplot.h"
#include "monitor/maindialplot.h"
#include "monitor/monitorglobals.h"
#include "parameter/parameter.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "platform/tsan.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <limits>

MonitorThread *g_monitorThread = nullptr;

namespace {

// A pass that put nothing on the line would otherwise repeat at once.
const int EmptyPassPauseMs = 20;

QString valueText(double value)
{
    return QStringLiteral("%1").arg(value);
}

bool hasCommand(ReadWrite *link, const QByteArray &code)
{
    for (const QByteArray &entry : link->commandTable())
        if (entry.mid(1, 3) == code)
            return true;
    return false;
}

CParameter *parameterForm()
{
    return g_mainWindow ? g_mainWindow->parameterForm : nullptr;
}

} // namespace

ReadWrite *monitorLink()
{
    return g_readWrite;
}

QStringList typeTextParts(const QString &typeText)
{
    return typeText.split(QRegularExpression(QStringLiteral("-|/")), Qt::SkipEmptyParts);
}

double typeTextCapacity(const QString &typeText)
{
    const QStringList parts = typeTextParts(typeText);
    if (parts.size() < 3)
        return 0.0;
    QString capacity = parts.at(2);
    capacity.chop(1);
    return capacity.toDouble();
}

MonitorThread::MonitorThread()
    : QThread(nullptr)
{
}

MonitorThread::~MonitorThread()
{
    stopAndWait();
}

bool MonitorThread::startDialMonitor()
{
    return startMode(dialMode);
}

bool MonitorThread::startTrendMonitor()
{
    return startMode(trendMode);
}

bool MonitorThread::startMode(std::atomic<bool> &mode)
{
    if (!readInverterInfo())
        return false;
    m_largeDrive = typeTextCapacity(g_invType) > 160.0;
    std::unique_lock<std::mutex> lock(m_stateMutex);
    // A run that has decided to end would take no notice of the flag: let it end, then start anew.
    if (isRunning() && m_finishing) {
        lock.unlock();
        wait();
        tsanAcquire(this);
        lock.lock();
    }
    mode = true;
    if (!isRunning()) {
        m_finishing = false;
        m_dialOffLine = m_trendOffLine = false;
        start(QThread::InheritPriority);
    }
    return true;
}

void MonitorThread::stopDialMonitor()
{
    std::unique_lock<std::mutex> lock(m_stateMutex);
    dialMode = false;
    m_wake.notify_all();
}

void MonitorThread::stopTrendMonitor()
{
    std::unique_lock<std::mutex> lock(m_stateMutex);
    trendMode = false;
    m_wake.notify_all();
}

void MonitorThread::stopIfOffLine()
{
    if (!g_offLine)
        return;
    stopDialMonitor();
    stopTrendMonitor();
}

void MonitorThread::stopAndWait()
{
    stopDialMonitor();
    stopTrendMonitor();
    wait();
    // What the last pass touched is seen from here on (the thread's end is ordered by Qt).
    tsanAcquire(this);
}

bool MonitorThread::takeDialOffLine()
{
    std::unique_lock<std::mutex> lock(m_stateMutex);
    const bool was = m_dialOffLine;
    m_dialOffLine = false;
    return was;
}

bool MonitorThread::takeTrendOffLine()
{
    std::unique_lock<std::mutex> lock(m_stateMutex);
    const bool was = m_trendOffLine;
    m_trendOffLine = false;
    return was;
}

bool MonitorThread::sleepUnlessStopped(int ms)
{
    std::unique_lock<std::mutex> lock(m_stateMutex);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (dialMode || trendMode) {
        if (m_wake.wait_until(lock, deadline) == std::cv_status::timeout)
            return dialMode || trendMode;
    }
    return false;
}

void MonitorThread::run()
{
    // The pass waits for a restart itself, where Stop can end the wait.
    RestartQuiet::givesWay() = true;
    runPasses();
    tsanRelease(this);
}

void MonitorThread::runPasses()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_stateMutex);
            if (!dialMode && !trendMode) {
                m_finishing = true;
                return;
            }
            if (g_offLine && !g_restartWait) {
                // The windows learn from this which of them lost the link.
                m_dialOffLine = dialMode;
                m_trendOffLine = trendMode;
                dialMode = trendMode = false;
                m_finishing = true;
                return;
            }
        }
        pollOnce();
    }
}

void MonitorThread::pollOnce()
{
    if (g_restartWait || g_restartQuiet.pending()) {
        if (!sleepUnlessStopped(int(g_restartQuiet.remainingMs())))
            return;
        g_restartWait = false;
    }
    bool asked = false;
    {
        // Once another exchange gives up, the rest of the pass stays unsent.
        LinkLossWatch watch;
        std::unique_lock<FairMutex> lists(g_monitorListsMutex);
        ReadWrite *link = monitorLink();
        bool complete = link != nullptr;
        const int n = qMin(g_monitorCodes.size(),
                           qMin(g_monitorValues.size(), qMin(g_dialPollFlags.size(), g_advPollFlags.size())));
        // An item the drive refuses, or whose unit it would not give, is stored as no reading (NaN) and
        // the pass goes on; only a
        // lost link ends it without a hand-over.
        auto ask = [&](const QByteArray &command) {
            if (!hasCommand(link, command.left(3)))
                return false;
            asked = true;
            if (link->SendCommand(command.constData()) == 0)
                return true;
            // A restart begun meanwhile held the request back: the pass ends unshown.
            if (g_offLine || g_restartWait)
                complete = false;
            return false;
        };
        for (int i = 0; complete && i < n; ++i) {
            if (!g_dialPollFlags.at(i) && !g_advPollFlags.at(i))
                continue;
            QByteArray code = g_monitorCodes.at(i).toLatin1();
            // A restart asked for meanwhile is waited for by the next pass, outside the lock.
            if (code.size() < 3 || g_restartWait) {
                complete = false;
                break;
            }
            bool answered = true;
            const bool writeCode = code.at(2) == 'W';
            if (writeCode) {
                answered = ask(code);
                code[2] = 'R';
                // A restart may have been asked for during the write's exchange.
                if (g_restartWait) {
                    complete = false;
                    break;
                }
            }
            answered = answered && ask(code);
            if (!complete)
                break;
            if (!answered) {
                g_monitorValues[i] = ReadWrite::lastReadingUnitUnread() ? unitUnreadReading()
                                                                        : std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            g_monitorValues[i] = link->LastValue();
            // Large drives report this item in tenths of what the code's scale says.
            if (!writeCode && link->protocolIndex() != 0 && code.at(1) == '2' && m_largeDrive)
                g_monitorValues[i] = g_monitorValues.at(i) * 10.0;
        }
        if (complete)
            handOver();
    }
    if (!asked)
        sleepUnlessStopped(EmptyPassPauseMs);
}

// With the lists' lock held.
void MonitorThread::handOver()
{
    std::unique_lock<std::mutex> lock(handOverMutex);
    if (g_mainWindow && g_mainWindow->monitorWindow && dialMode)
        g_mainWindow->monitorWindow->updateValues();
    if (g_mainWindow && g_mainWindow->trendWindow && trendMode)
        g_mainWindow->trendWindow->pushSamples();
}

void MonitorThread::handDriveInfo(const QVector<QString> &info)
{
    if (g_mainWindow && g_mainWindow->monitorWindow)
        g_mainWindow->monitorWindow->setDriveInfo(info);
    if (g_mainWindow && g_mainWindow->trendWindow)
        g_mainWindow->trendWindow->setDriveInfo(info);
}

QString MonitorThread::deriveRatedCurrent(double capacity)
{
    ReadWrite *link = monitorLink();
    const QString current = link ? valueText(link->ReadPar(56, capacity > 160.0 ? 0.1 : 0.01)) : QStringLiteral("-1");
    return current == QLatin1String("-1") ? QStringLiteral("---") : current + QLatin1Char('A');
}

bool MonitorThread::readInverterInfo()
{
    if (g_versionRead) {
        const QStringList parts = g_invType.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        const QString code = parts.value(1);
        const int digit = code.size() >= 2 ? code.mid(1, 1).toInt() : 0;
        const QString voltage = digit == 2 ? QStringLiteral("220V") : digit == 4 ? QStringLiteral("440V")
                                                                                 : QStringLiteral("---");
        double capacity = 0.0;
        QString third = parts.value(2);
        if (third.contains(QLatin1Char('/'))) {
            const QStringList ratings = third.split(QLatin1Char('/'), Qt::SkipEmptyParts);
            QString first = ratings.value(0);
            first.chop(1);
            QString second = ratings.value(1);
            const bool twoLetters = ratings.contains(QStringLiteral("KG")) || ratings.contains(QStringLiteral("KF"));
            second.chop(twoLetters ? 2 : 1);
            const double a = first.toDouble();
            const double b = second.toDouble();
            capacity = g_p186Value == QLatin1String("1") ? qMin(a, b) : qMax(a, b);
        } else {
            third.chop(1);
            capacity = third.toDouble();
        }
        handDriveInfo({ g_invType, g_firmwareVersionText, deriveRatedCurrent(capacity), voltage, g_p186Value });
        return true;
    }
    struct Way {
        const char *key;
        bool range;
        int first;
        int last;
    };
    static const Way ways[] = {
        { "monitorthread_readInverterInfo_F", true, 301, 360 },
        { "monitorthread_readInverterInfo_XGTY", true, 401, 460 },
        { "monitorthread_readInverterInfo_BCS", true, 201, 231 },
        { "monitorthread_readInverterInfo_E", true, 201, 260 },
        { "monitorthread_readInverterInfo_L", true, 701, 760 },
        { "monitorthread_readInverterInfo_H", false, 300, 199 },
        { "monitorthread_readInverterInfo_A", true, 1401, 1460 },
    };
    for (const Way &way : ways) {
        if (!isFeatureEnabled(QLatin1String(way.key)))
            continue;
        return way.range ? readParameterRange(way.first, way.last) : readTypeParameters(way.first, way.last);
    }
    return false;
}

QString MonitorThread::readParameterText(int parameter)
{
    CParameter *form = parameterForm();
    if (parameter >= 1600 || !form)
        return QString();
    const QString text = valueText(form->readParValue(parameter));
    return text == QLatin1String("-1") ? QString() : text;
}

bool MonitorThread::openP77(ReadWrite *link, CParameter *form, double *p77)
{
    if (!link || !form)
        return false;
    g_acceptP77Refusal = true;
    *p77 = link->ReadPar(77, 1.0);
    if (valueText(*p77) == QLatin1String("-1") || !form->writeParValue(77, QStringLiteral("9999"), QStringLiteral("1"))) {
        g_acceptP77Refusal = false;
        return false;
    }
    return true;
}

bool MonitorThread::readParameterRange(int first, int last)
{
    ReadWrite *link = monitorLink();
    CParameter *form = parameterForm();
    double p77Value = 0;
    if (!openP77(link, form, &p77Value))
        return false;
    const QString p77 = valueText(p77Value);
    auto fail = [] {
        g_acceptP77Refusal = false;
        return false;
    };
    QString current = valueText(link->ReadPar(56, typeTextCapacity(g_invType) > 160.0 ? 0.1 : 0.01));
    if (current == QLatin1String("-1")) {
        form->writeParValue(77, p77, QStringLiteral("1"));
        return fail();
    }
    current += QLatin1Char('A');

    g_quietRead = true;
    const QString voltageCodeText = readParameterText(first);
    readParameterText(first + 1); // the capacity code decides nothing
    if (isFeatureEnabled(QStringLiteral("Parameter_readP186"))) {
        // A failed read keeps the text the parameter side had.
        const QString p186 = readParameterText(186);
        if (!p186.isEmpty())
            g_p186Value = p186;
    }
    QString version;
    if (!isFeatureEnabled(QStringLiteral("Parameter_writeP188"))) {
        version = valueText(link->ReadPar(last, 0.01));
    } else if (g_firmwareVersionText == QLatin1String("---")) {
        // No version was read: there is nothing to pad.
        version = g_firmwareVersionText;
    } else {
        if (g_firmwareVersionText.size() < 5)
            g_firmwareVersionText = g_firmwareVersionText.leftJustified(5, QLatin1Char('0'));
        version = QStringLiteral("V") + g_firmwareVersionText;
    }
    g_quietRead = false;

    const int voltageCode = voltageCodeText.toInt();
    if (!form->writeParValue(77, p77, QStringLiteral("1")))
        return fail();
    g_acceptP77Refusal = false;

    QString voltage = voltageCode < 3 ? QStringLiteral("220V")
        : voltageCode == 3            ? QStringLiteral("440V")
                                      : QString::number(voltageCode);
    const QStringList parts = typeTextParts(g_invType);
    if (parts.size() < 3 || voltageCode == 0) {
        version = QStringLiteral("---");
        const QString code = parts.value(1);
        const int digit = parts.size() >= 3 && code.size() >= 2 ? code.mid(1, 1).toInt() : 0;
        voltage = digit == 2 ? QStringLiteral("220V") : digit == 4 ? QStringLiteral("440V") : QStringLiteral("---");
    }
    handDriveInfo({ g_invType, version, current, voltage, g_p186Value });
    return true;
}

bool MonitorThread::readTypeParameters(int first, int second)
{
    ReadWrite *link = monitorLink();
    CParameter *form = parameterForm();
    double p77 = 0;
    if (!openP77(link, form, &p77))
        return false;
    // The opening write's conversion: the no-value 9999 goes back as FFFFh, not as 270Fh.
    const int p77Raw = (p77 == 9999.0 || p77 == 99999.0) ? 0xFFFF : int(p77);
    auto fail = [] {
        g_acceptP77Refusal = false;
        return false;
    };
    QString current = valueText(link->ReadPar(56, 1.0));
    if (current == QLatin1String("-1")) {
        link->WritePar(77, p77Raw);
        return fail();
    }
    current += QLatin1Char('A');
    const QString capacity = readParameterText(first);
    const QString voltage = readParameterText(first + 1);
    QString version = QString::number(readParameterText(second).toInt() * 0.01, 'g', 6);
    QString type;
    if (voltage == QLatin1String("220") || voltage == QLatin1String("440")) {
        type = QStringLiteral("TV-%1-%2K").arg(voltage == QLatin1String("220") ? QStringLiteral("020")
                                                                              : QStringLiteral("040"),
                                               capacity);
    } else {
        version = QStringLiteral("---");
        type = g_invType;
    }
    if (!link->WritePar(77, p77Raw))
        return fail();
    g_acceptP77Refusal = false;
    // The class is known from P.301; an empty entry would tell the user nothing.
    const QString voltageClass = voltage == QLatin1String("220") ? QStringLiteral("220V")
        : voltage == QLatin1String("440")                        ? QStringLiteral("440V")
                                                                 : QStringLiteral("---");
    handDriveInfo({ type, version, current, voltageClass });
    return true;
}

QString MonitorThread::readSelectInverterType(int a, int b)
{
    const QString path = g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\selectInverterType.txt");
    bool ok = false;
    const QStringList lines = readDataLines(localPath(path), gbkCodec(), &ok);
    if (!ok) {
        warnAfterEarlierPresses(g_mainWindow, tr("Warning"), tr("Cannot read file %1").arg(path));
        return QStringLiteral("0");
    }
    QString result;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        if (fields.size() >= 4 && fields.at(0).toInt() == int(uchar(g_seriesLetter)) && fields.at(1).toInt() == a
            && fields.at(2).toInt() == b)
            result = fields.at(3);
    }
    return result;
}
