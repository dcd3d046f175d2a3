#include "platform/WorkerThread.h"

#include <atomic>

namespace {
// Thrown only by CheckTermination and caught only by the thread's entry.
struct CThreadUnwind {};
}

// Written under the clock's mutex so that waits notice; `terminate` is also
// read without it at driver calls.
struct CWorkerThread::Control {
    bool finished = false;
    std::atomic<bool> terminate = false;
};

namespace {
thread_local CWorkerThread::Control* currentControl = nullptr;
}

CWorkerThread::~CWorkerThread()
{
    if (thread.joinable())
        Terminate();
}

void CWorkerThread::Start(CClock& onClock, std::function<void()> body)
{
    clock = &onClock;
    control = std::make_shared<Control>();
    clock->ThreadCreated();
    thread = std::thread([c = clock, ctl = control, body = std::move(body)] {
        c->ThreadBound();
        currentControl = ctl.get();
        try {
            body();
        } catch (const CThreadUnwind&) {
        }
        currentControl = nullptr;
        std::lock_guard lock(c->Mutex());
        ctl->finished = true;
        c->NotifyLocked(); // wake a joiner before time may move on without us
        c->ThreadExitingLocked();
    });
}

bool CWorkerThread::WaitFor(Ms timeout)
{
    Ms deadline = clock->Now() + timeout;
    std::unique_lock lock(clock->Mutex());
    return clock->WaitLocked(lock, [this] { return control->finished; }, deadline);
}

void CWorkerThread::Terminate()
{
    {
        std::lock_guard lock(clock->Mutex());
        control->terminate = true;
        clock->NotifyLocked();
    }
    thread.join();
}

void CWorkerThread::Release()
{
    if (thread.joinable())
        thread.join();
    control.reset();
}

CWorkerThread::Control* CWorkerThread::Current()
{
    return currentControl;
}

bool CWorkerThread::TerminationRequested(const Control* c)
{
    return c && c->terminate;
}

void CWorkerThread::CheckTermination()
{
    if (TerminationRequested(currentControl))
        throw CThreadUnwind{};
}
