#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "platform/Clock.h"

// A worker thread on a clock, with a timed join and forced termination.
//
// Forced termination marks the thread; its next clock wait, or its next call
// through a gate that calls CheckTermination(), unwinds it to its start and
// ends it. After that point it runs none of its own code. Terminate() joins
// it before returning, so it never outlives the object it worked on.
class CWorkerThread {
public:
    CWorkerThread() = default;
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;
    ~CWorkerThread();

    void Start(CClock& clock, std::function<void()> body);
    bool HasThread() const { return thread.joinable(); }
    // True when the thread has ended within `timeout` (clock time).
    bool WaitFor(Ms timeout);
    // Marks the thread for termination and joins it.
    void Terminate();
    // Joins an ended thread and empties the handle.
    void Release();

    // For the running thread: whether it has been marked, and the unwinding.
    struct Control;
    static Control* Current();
    static bool TerminationRequested(const Control* control);
    static void CheckTermination();

private:
    CClock* clock = nullptr;
    std::shared_ptr<Control> control;
    std::thread thread;
};
