#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

using Ms = std::chrono::milliseconds;

// The one source of time. Every sleep, event wait, thread join and UI timer goes
// through a clock, so a whole scenario can run in mock time.
//
// All waits share the clock's mutex: state that a wait's predicate reads is
// written under Mutex() and followed by NotifyLocked().
class CClock {
public:
    virtual ~CClock() = default;

    // Milliseconds since the clock's own epoch.
    virtual Ms Now() = 0;

    std::mutex& Mutex() { return mutex; }

    // Waits with `lock` (on Mutex()) held until `ready()` holds or `deadline`
    // passes; no deadline waits for ever. Returns ready(). A worker thread that
    // has been marked for termination unwinds from here.
    virtual bool WaitLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            std::optional<Ms> deadline) = 0;

    // Wakes waiters so they re-check their predicates. Call with Mutex() held.
    virtual void NotifyLocked() = 0;

    // Thread participation (only the mock clock cares): the parent calls
    // ThreadCreated before the thread runs, the thread calls ThreadBound first
    // and ThreadExitingLocked last, under Mutex().
    virtual void ThreadCreated() {}
    virtual void ThreadBound() {}
    virtual void ThreadExitingLocked() {}

    void Sleep(Ms duration);

protected:
    std::mutex mutex;
};
