#pragma once

#include "platform/Clock.h"

// An event on a clock: auto-reset (one waiter takes each Set) or manual-reset.
class CEvent {
public:
    enum Kind { AutoReset, ManualReset };

    CEvent(CClock& clock, Kind kind) : clock(clock), kind(kind) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set();
    void Reset();
    // True when signalled within `timeout` (none waits for ever).
    bool Wait(std::optional<Ms> timeout = std::nullopt);

private:
    CClock& clock;
    Kind kind;
    bool signalled = false; // guarded by the clock's mutex
};
