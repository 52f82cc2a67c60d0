#include "monitor/ramthread.h"

#include "comm/readwrite.h"
#include "monitor/monitorthread.h"
#include "monitor/ram.h"
#include "platform/tsan.h"

std::array<std::atomic<quint32>, 2> g_ramValues {};
std::array<std::atomic<bool>, 2> g_ramChannelEnabled {};

RamThread::RamThread(Ram *page)
    : QThread(nullptr)
    , m_page(page)
{
    // Qt's own end of the thread (the finished signal) still reads this object after run();
    // the join below orders that read before whatever follows it, as the thread checker is told.
    connect(this, &QThread::finished, this, [this] { tsanRelease(this); }, Qt::DirectConnection);
}

RamThread::~RamThread()
{
    stopAndWait();
}

void RamThread::setChannels(QVector<quint32> addresses, QVector<int> counts)
{
    stopAndWait();
    m_addresses = addresses;
    m_counts = counts;
}

void RamThread::startPolling()
{
    m_stop = false;
    m_failed = false;
    start(QThread::InheritPriority);
}

void RamThread::stopPolling()
{
    m_stop = true;
}

void RamThread::stopAndWait()
{
    m_stop = true;
    wait();
    tsanAcquire(this);
}

void RamThread::run()
{
    while (!m_stop) {
        if (!pollOnce()) {
            m_failed = true;
            if (m_page)
                QMetaObject::invokeMethod(m_page, "pollingEnded", Qt::QueuedConnection);
            return;
        }
    }
}

bool RamThread::pollOnce()
{
    bool asked = false;
    for (int channel = 0; channel < 2 && channel < m_addresses.size() && channel < m_counts.size(); ++channel) {
        if (!g_ramChannelEnabled[channel])
            continue;
        ReadWrite *link = monitorLink();
        quint32 value = 0;
        if (!link || !link->ReadRegisterBlock(int(m_addresses.at(channel)), m_counts.at(channel), &value)) {
            // The failure value: an earlier reading must not stand beside the new address.
            g_ramValues[channel] = 65535;
            return false;
        }
        g_ramValues[channel] = value;
        asked = true;
    }
    if (m_page)
        m_page->feedPlot();
    if (!asked)
        msleep(IdlePassMs);
    return true;
}

quint32 RamThread::decodeBinaryValue(const QByteArray &reply, int count)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) + quint8(reply.size() > 4 + 2 * i ? reply.at(4 + 2 * i) : 0);
    return value;
}

quint32 RamThread::decodeHexValue(const QByteArray &reply, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += reply.mid(9 + 4 * i, 2);
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 16);
    return ok ? value : 0;
}
