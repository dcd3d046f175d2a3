#pragma once

#include <string>
#include <string_view>

// The system's own hosted access point on the adapter.
enum SimHostedState {
    HostedDisabled,
    HostedEnabled, // may be started
    HostedRunning,
};

// The simulated PC around the adapter, as the world file's [Computer]
// section describes it.
struct SimComputerSettings {
    SimHostedState hostedNetwork = HostedDisabled;
    bool dhcpQuits = true;      // the DHCP program quits when asked with -q
    bool dhcpTerminable = true; // and can be terminated

    // One key=value setting of the [Computer] section.
    bool Set(std::string_view key, std::string_view value, std::string& error);
};
