#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/SimNetwork.h"

// A phone near the PC that wants to join the adapter's access point with what
// its owner typed: it joins whenever the access point is up, and again after
// the access point's settings change, but only when its passphrase and
// security fit.
struct SimPhone {
    std::string name;
    std::array<uint8_t, 6> mac{};
    std::string ssid;       // empty: whatever the access point is called
    std::string passphrase; // what the owner typed; empty for an open network
    std::optional<SimSecurity> security; // unset: what the access point announces

    bool Set(std::string_view key, std::string_view value, std::string& error);
    bool Finish(std::string& error);
};
