#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

// The simulated USB adapter as the world file describes it.
struct SimAdapterSettings {
    bool plugged = true;
    bool disabled = false;
    std::array<uint8_t, 6> mac{0x00, 0x0e, 0x8e, 0x5a, 0x31, 0x07};
    std::string name = "Kavlo 802.11n USB Wireless LAN Card";
    std::string connectionName = "Wireless Network Connection 2";
    bool radioOn = true;
    int initFailures = 0;  // RT_Initialize fails this often after each plug-in
    Ms linkDelay{1000};    // association to link up
    Ms dhcpDelay{2000};    // link up to address
    bool surveyEmptyFirst = true; // no scan results until the first rescan

    // One key=value setting of the [Adapter] section.
    bool Set(std::string_view key, std::string_view value, std::string& error);
};
