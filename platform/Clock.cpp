#include "platform/Clock.h"

void CClock::Sleep(Ms duration)
{
    Ms deadline = Now() + duration;
    std::unique_lock lock(mutex);
    WaitLocked(lock, [] { return false; }, deadline);
}
