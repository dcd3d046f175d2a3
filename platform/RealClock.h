#pragma once

#include <condition_variable>

#include "platform/Clock.h"

// Wall time from the steady clock.
class CRealClock final : public CClock {
public:
    Ms Now() override;
    bool WaitLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                    std::optional<Ms> deadline) override;
    void NotifyLocked() override;

private:
    std::condition_variable changed;
};
