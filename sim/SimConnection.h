#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How a connection reaches its network, as the system's sharing service
// numbers media types.
enum SimMedia {
    MediaLan = 3,
    MediaPhone = 4, // a modem: dial-up or mobile broadband
    MediaPppoe = 6,
    MediaBridge = 7,
};

// Connection states as the system numbers them.
constexpr uint32_t ConnectionDisconnected = 0;
constexpr uint32_t ConnectionConnected = 2;
constexpr uint32_t ConnectionMediaDisconnected = 7;

// One network connection of the simulated PC besides the adapter's: an
// Ethernet card, a broadband dial-up, a mobile modem, a FireWire link.
struct SimConnection {
    std::string name;   // as the system shows it, e.g. "Local Area Connection"
    std::string device; // the device behind it, e.g. "Huawei 3G Modem"
    std::string guid;   // "{...}"; made from the name when not given
    SimMedia media = MediaLan;
    bool connected = true;
    uint32_t characteristics = 1;
    int speedMbps = 0; // 0: the link does not report one

    uint32_t Status() const;
    // One key=value setting, as in the world file.
    bool Set(std::string_view key, std::string_view value, std::string& error);
    // Checks it is complete and fills the GUID when none was given.
    bool Finish(std::string& error);
};

const char* SimMediaName(SimMedia media);
