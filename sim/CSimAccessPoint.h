#pragma once

#include <string>

#include "sim/CSimStationConfig.h"

// The adapter's own access point in access-point mode. Part of the world's
// state: used only under the world's mutex.
class CSimAccessPoint {
public:
    // RT_ACM_LinkVuvProfileNew with the access-point flags: it comes up under
    // `name` on `channel`.
    void Start(std::string_view name, int channel);
    // It stops announcing; its settings stay for the next start.
    void Stop() { running = false; }
    bool Running() const { return running; }
    // RT_SetSSID: it takes its name, and the channel and security configured before it.
    void Configure(std::string_view name, const CSimStationConfig& station);
    // RT_AP_SetPassphrase: a text, or with length 64 the 32-byte binary key.
    void SetPassphrase(std::string_view passphrase) { this->passphrase = std::string(passphrase); }

    const std::string& Ssid() const { return ssid; }
    int Channel() const { return channel; }
    int AuthMode() const { return authMode; }
    int EncryptionStatus() const { return encryptionStatus; }
    const std::string& Passphrase() const { return passphrase; }

private:
    bool running = false;
    std::string ssid;
    int channel = 1;
    int authMode = 0;
    int encryptionStatus = 1;
    std::string passphrase;
};
