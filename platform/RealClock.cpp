#include "platform/RealClock.h"

#include "platform/WorkerThread.h"

Ms CRealClock::Now()
{
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch());
}

bool CRealClock::WaitLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            std::optional<Ms> deadline)
{
    const CWorkerThread::Control* self = CWorkerThread::Current();
    auto done = [&] { return CWorkerThread::TerminationRequested(self) || ready(); };
    if (deadline) {
        auto until = std::chrono::steady_clock::time_point(*deadline);
        changed.wait_until(lock, until, done);
    } else {
        changed.wait(lock, done);
    }
    CWorkerThread::CheckTermination();
    return ready();
}

void CRealClock::NotifyLocked()
{
    changed.notify_all();
}
