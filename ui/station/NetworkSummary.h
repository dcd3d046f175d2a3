#pragma once

// One listed network as the details dialog before connecting shows it.
struct NetworkSummary {
    char ssid[33];          // local code page
    char securityName[32];  // local code page
    int channel;
    int quality;
    char bssidText[18];     // "AA:BB:CC:DD:EE:FF"
};
