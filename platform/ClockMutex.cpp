#include "platform/ClockMutex.h"

void CClockMutex::lock()
{
    std::unique_lock guard(clock.Mutex());
    clock.WaitLocked(guard, [this] { return !held; }, std::nullopt);
    held = true;
}

void CClockMutex::unlock()
{
    std::lock_guard guard(clock.Mutex());
    held = false;
    clock.NotifyLocked();
}
