#pragma once

#include <cstdint>

// What a window hands over for a connect, a network entered by hand, or the
// access point. Zeroed by its user before it is filled.
struct NetworkDescription {
    char ssid[36];
    uint8_t prefilled;          // station windows only
    uint8_t retryAfterFailure;  // station windows only
    uint32_t securityKind;      // 0 open, 2 WEP, 3 WPA-PSK, 4 WPA2-PSK
    uint32_t cipher;            // 0 AES, 1 TKIP
    char passphrase[256];
    uint32_t passphraseLength;
    uint32_t wepAuthentication; // 0 open system, 1 shared key
    uint16_t wepKeyIndex;
    uint16_t wepKeyLength[4];
    char wepKeyText[4][27];
};
