#pragma once

// How the GUI thread and the pollers share the one link. Every exchange runs under the
// transaction semaphore; whoever changes the link (the port, its line settings, the protocol
// object, the terminator and the delay) holds the same semaphore through a LinkChange, so a
// change falls between two exchanges, never inside one. The protocol object and the port are
// published through PublishedPointer: a poller that loads the pointer sees the object whole.
// Nothing published is ever deleted while the program runs (see search.h).

#include "platform/fairmutex.h"

#include <atomic>

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
