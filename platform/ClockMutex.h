#pragma once

#include "platform/Clock.h"

// A mutex whose waiters wait on the clock, so that in mock time a thread
// blocked on it counts as waiting and time can move on for the holder's own
// clock waits. Not recursive. Meets BasicLockable for std::lock_guard.
class CClockMutex {
public:
    explicit CClockMutex(CClock& clock) : clock(clock) {}
    CClockMutex(const CClockMutex&) = delete;
    CClockMutex& operator=(const CClockMutex&) = delete;

    void lock();
    void unlock();

private:
    CClock& clock;
    bool held = false; // guarded by the clock's mutex
};
