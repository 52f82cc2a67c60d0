#pragma once

// The callers' link flags (globals.h) set for a scope: a guard sets its flag and puts it back on
// every way out, so no early return can leave a batch or a quiet read standing.

#include <atomic>
#include <utility>

class FlagScope {
public:
    // Restore: the flag takes its earlier state again (a quiet read inside another).
    // Clear: the flag ends false whatever it was (the batch transfers, which never nest).
    enum Exit { Restore, Clear };

    explicit FlagScope(std::atomic<bool> &flag, Exit exit = Restore)
        : m_flag(&flag), m_exitState(exit == Restore && flag.load())
    {
        flag = true;
    }
    ~FlagScope() { end(); }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

    // Ends the scope early.
    void end()
    {
        if (m_flag)
            *std::exchange(m_flag, nullptr) = m_exitState;
    }
    // Leaves the flag set for a caller that takes it over.
    void release() { m_flag = nullptr; }

private:
    std::atomic<bool> *m_flag;
    bool m_exitState;
};

// Link up; no connection test, batch or quiet read; no restart pending; no one-read flags; the
// character protocol's page unknown; no failed parameters.
void resetLinkFlags();
