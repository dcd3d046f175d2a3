#include "platform/MockClock.h"

#include <algorithm>

#include "platform/WorkerThread.h"

namespace {
thread_local CMockClock* participantOf = nullptr;
}

Ms CMockClock::Now()
{
    std::lock_guard lock(mutex);
    return now;
}

bool CMockClock::WaitLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            std::optional<Ms> deadline)
{
    return Wait(lock, ready, deadline, false);
}

void CMockClock::FastForwardBy(Ms duration)
{
    std::unique_lock lock(mutex);
    Wait(lock, [] { return false; }, now + duration, true);
}

bool CMockClock::Wait(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                      std::optional<Ms> deadline, bool idle)
{
    const CWorkerThread::Control* self = CWorkerThread::Current();
    std::function<bool()> done = [&] { return CWorkerThread::TerminationRequested(self) || ready(); };
    Waiter w{&done, deadline, participantOf == this, idle, false, false};
    waiters.push_back(&w);
    for (;;) {
        if (idle ? w.idleWoken : (done() || (deadline && now >= *deadline)))
            break;
        Block(w);
        changed.wait(lock, [&] { return w.runnable; });
    }
    waiters.remove(&w);
    CWorkerThread::CheckTermination();
    return ready();
}

void CMockClock::Block(Waiter& w)
{
    w.runnable = false;
    if (w.participant)
        ++blocked;
    AdvanceIfAllBlocked();
}

// Marks a waiter as running again before it wakes, so no other thread can see
// everybody blocked in between and move time on.
void CMockClock::Wake(Waiter& w)
{
    if (w.runnable)
        return;
    w.runnable = true;
    if (w.participant)
        --blocked;
}

void CMockClock::NotifyLocked()
{
    for (Waiter* w : waiters)
        if (!w->runnable && (*w->ready)())
            Wake(*w);
    changed.notify_all();
}

void CMockClock::AdvanceIfAllBlocked()
{
    if (participants == 0 || blocked < participants)
        return;
    std::optional<Ms> due, idleDue;
    // Only participants' deadlines move time; a non-participant due by then
    // is woken on the way.
    for (Waiter* w : waiters) {
        if (w->runnable || !w->deadline || !w->participant)
            continue;
        auto& slot = w->idle ? idleDue : due;
        slot = slot ? std::min(*slot, *w->deadline) : *w->deadline;
    }
    bool idlePass = !due || (idleDue && *idleDue < *due);
    std::optional<Ms> next = idlePass ? idleDue : due;
    if (!next)
        return; // everyone waits for ever: only a non-participant can help now
    now = std::max(now, *next);
    for (Waiter* w : waiters)
        if (!w->runnable && w->deadline && *w->deadline <= now && (!w->idle || idlePass)) {
            w->idleWoken = w->idle;
            Wake(*w);
        }
    changed.notify_all();
}

void CMockClock::ThreadCreated()
{
    std::lock_guard lock(mutex);
    ++participants;
}

void CMockClock::ThreadBound()
{
    participantOf = this;
}

void CMockClock::ThreadExitingLocked()
{
    participantOf = nullptr;
    --participants;
    AdvanceIfAllBlocked();
}

void CMockClock::Participate()
{
    std::lock_guard lock(mutex);
    ++participants;
    participantOf = this;
}

void CMockClock::Leave()
{
    std::lock_guard lock(mutex);
    ThreadExitingLocked();
}
