#pragma once

#include <atomic>
#include <functional>
#include <thread>

// The signals that end the program (SIGINT, SIGTERM, SIGHUP), taken by a
// thread of their own: every one of them, however many come and whenever,
// calls `onSignal` until this object goes. Block must have run in the main
// thread before any other thread started, so that every thread inherits
// them blocked and none is ended by them.
class CEndSignals {
public:
    static void Block();

    explicit CEndSignals(std::function<void(int)> onSignal);
    ~CEndSignals();
    CEndSignals(const CEndSignals&) = delete;
    CEndSignals& operator=(const CEndSignals&) = delete;

private:
    std::function<void(int)> onSignal;
    std::atomic<bool> stopping = false;
    std::thread thread;
};
