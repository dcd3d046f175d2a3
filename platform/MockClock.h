#pragma once

#include <condition_variable>
#include <list>

#include "platform/Clock.h"

// Virtual time. It stands still while any participating thread runs and jumps
// to the earliest deadline once every participant waits on this clock, so a
// scenario is deterministic and takes no real time.
//
// Participants are the threads started through CWorkerThread on this clock and
// the threads that call Participate() (the test thread, the UI thread).
// Threads that are not participants may read Now() and signal events; they
// never hold time back.
class CMockClock final : public CClock {
public:
    Ms Now() override;
    bool WaitLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                    std::optional<Ms> deadline) override;
    void NotifyLocked() override;
    void ThreadCreated() override;
    void ThreadBound() override;
    void ThreadExitingLocked() override;

    // Makes the calling thread a participant until Leave().
    void Participate();
    void Leave();

    // Called by a participant: lets the others run until virtual time reaches
    // now + duration and every participant waits again with nothing due by
    // then. Work due exactly at the target runs before this returns.
    void FastForwardBy(Ms duration);

private:
    struct Waiter {
        const std::function<bool()>* ready;
        std::optional<Ms> deadline;
        bool participant;
        bool idle;      // FastForwardBy: wakes only after everything else due has run
        bool runnable;
        bool idleWoken; // an idle waiter leaves only when an idle pass woke it
    };

    bool Wait(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
              std::optional<Ms> deadline, bool idle);
    void Block(Waiter& w);
    void Wake(Waiter& w);
    void AdvanceIfAllBlocked();

    Ms now{0};
    int participants = 0;
    int blocked = 0;
    std::list<Waiter*> waiters;
    std::condition_variable changed;
};
