#include "platform/Event.h"

void CEvent::Set()
{
    std::lock_guard lock(clock.Mutex());
    signalled = true;
    clock.NotifyLocked();
}

void CEvent::Reset()
{
    std::lock_guard lock(clock.Mutex());
    signalled = false;
}

bool CEvent::Wait(std::optional<Ms> timeout)
{
    std::optional<Ms> deadline;
    if (timeout)
        deadline = clock.Now() + *timeout;
    std::unique_lock lock(clock.Mutex());
    if (!clock.WaitLocked(lock, [this] { return signalled; }, deadline))
        return false;
    if (kind == AutoReset)
        signalled = false;
    return true;
}
