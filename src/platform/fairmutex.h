#pragma once

// A mutex that serves its lockers in the order they asked. A thread that unlocks and locks again
// at once (a poller between two passes) would otherwise keep a plain mutex from a thread that waits
// for it, the GUI thread among them, for as long as it runs.

#include <condition_variable>
#include <mutex>

class FairMutex
{
public:
    void lock()
    {
        std::unique_lock<std::mutex> guard(m_state);
        const unsigned long ticket = m_next++;
        m_turn.wait(guard, [&] { return m_serving == ticket; });
    }

    void unlock()
    {
        {
            std::lock_guard<std::mutex> guard(m_state);
            ++m_serving;
        }
        m_turn.notify_all();
    }

private:
    std::mutex m_state;
    std::condition_variable m_turn;
    unsigned long m_next = 0;
    unsigned long m_serving = 0;
};
