#pragma once

#include "sim/SimComputerSettings.h"

// The system's own hosted access point, which Windows 7 and later can run on
// the adapter beside the driver library's. Part of the world's state: used
// only under the world's mutex.
class CSimHostedNetwork {
public:
    void Configure(SimHostedState state) { this->state = state; }
    bool Enabled() const { return state != HostedDisabled; }
    bool Running() const { return state == HostedRunning; }
    // Only an enabled one starts.
    bool Start();
    void Stop();
    // Disabling stops it.
    void SetEnabled(bool on);
    // As RT_ACM_SoftAP_GetStatus numbers it: 2 running, 1 idle, 0 unavailable
    // (no radio to run on).
    int Status(bool radioOn) const;

private:
    SimHostedState state = HostedDisabled;
};
