#pragma once

// How the GUI thread and the pollers share the one link. Every exchange runs under the
// transaction semaphore; whoever changes the link (the port, its line settings, the protocol
// object, the terminator and the delay) holds the same semaphore through a LinkChange, so a
// change falls between two exchanges, never inside one. The protocol object and the port are
// published through PublishedPointer: a poller that loads the pointer sees the object whole.
// Nothing published is ever deleted while the program runs (see search.h).

#include "platform/fairmutex.h"

#include <QtGlobal>

#include <atomic>
#include <chrono>

template <class T>
class PublishedPointer
{
public:
    constexpr PublishedPointer(T *object = nullptr) noexcept
        : m_object(object)
    {
    }
    PublishedPointer(const PublishedPointer &) = delete;
    PublishedPointer &operator=(const PublishedPointer &) = delete;

    // The object is fully built before any thread can load it.
    PublishedPointer &operator=(T *object) noexcept
    {
        m_object.store(object, std::memory_order_release);
        return *this;
    }
    T *load() const noexcept { return m_object.load(std::memory_order_acquire); }
    operator T *() const noexcept { return load(); }
    T *operator->() const noexcept { return load(); }

private:
    std::atomic<T *> m_object;
};

// The one-permit semaphore of the exchanges. It serves in turn: a poller asks for the next
// exchange as soon as one ends, and would otherwise keep a GUI request waiting as long as it polls.
class TransactionSemaphore
{
public:
    void acquire()
    {
        m_turn.lock();
        m_available = 0;
    }
    void release()
    {
        m_available = 1;
        m_turn.unlock();
    }
    int available() const { return m_available; }

private:
    FairMutex m_turn;
    std::atomic<int> m_available { 1 };
};

// Held while the GUI thread changes the link: waits for a running exchange to end and keeps
// the next one out. Never hold it across a message box or anything else that runs the event
// loop: a GUI request made there would wait for it forever.
class LinkChange
{
public:
    LinkChange();
    ~LinkChange();
    LinkChange(const LinkChange &) = delete;
    LinkChange &operator=(const LinkChange &) = delete;
};

// After a command that restarts the drive the line stays quiet for the restart wait: the drive
// hears nothing while it starts again, so no request of any thread is sent before the wait has
// run, not even one that was already waiting for its turn when the command went out.
class RestartQuiet
{
public:
    using Clock = std::chrono::steady_clock;

    // From the restarting command's exchange, while it still holds the link.
    void begin(int ms)
    {
        const qint64 until = nowUs() + qint64(ms) * 1000;
        qint64 seen = m_until.load();
        while (seen < until && !m_until.compare_exchange_weak(seen, until)) {
        }
    }
    void end() { m_until = 0; }
    // Rounded up: a wait cut short by a part of a millisecond would end before the restart's.
    qint64 remainingMs() const { return (qMax<qint64>(0, m_until.load() - nowUs()) + 999) / 1000; }
    bool pending() const { return remainingMs() > 0; }

    // A poller that has its own stoppable wait for the restart gives way: its exchange returns
    // unsent instead of waiting inside the link. Everyone else waits.
    static bool &givesWay()
    {
        thread_local bool gives = false;
        return gives;
    }

private:
    static qint64 nowUs()
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
    }
    std::atomic<qint64> m_until { 0 }; // microseconds
};

// Whoever ends when the link is lost (the pollers' passes, the alarm page's refresh and its
// history read) keeps a watch while it asks: once any thread's exchange has given up after the
// watch began, this thread's requests return unsent, even one already waiting for its turn.
class LinkLossWatch
{
public:
    LinkLossWatch();
    ~LinkLossWatch();
    LinkLossWatch(const LinkLossWatch &) = delete;
    LinkLossWatch &operator=(const LinkLossWatch &) = delete;

    bool lost() const;
    // Whether this thread's innermost watch has seen the link lost.
    static bool holdsBack();
    // From the exchange that gives up.
    static void linkLost();

private:
    unsigned m_start;
    const LinkLossWatch *m_outer;
};
