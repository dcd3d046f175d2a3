#pragma once

#include <cstdint>

// The connected network as the details dialog shows it.
struct ConnectionDetails {
    uint8_t restricted;  // 1 when the link state is LinkNoAddress
    int32_t linkState;   // LinkConnected or LinkNoAddress
    char ssid[36];
    char bssidText[18];  // "%02x:%02x:%02x:%02x:%02x:%02x"
    int32_t securityKind; // 0, 2, 3 or 4
    char ipAddress[16];
    int32_t quality;
    double rateMbps;
};
