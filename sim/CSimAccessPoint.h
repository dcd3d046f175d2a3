#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "sim/CSimStationConfig.h"
#include "sim/SimPhone.h"

// The adapter's own access point in access-point mode: its settings, and
// whether a phone's credentials fit them. Every change of its settings, and
// every start and stop, is a new generation that the phones see: they drop
// and join again. Part of the world's state: used only under the world's
// mutex.
class CSimAccessPoint {
public:
    // RT_ACM_LinkVuvProfileNew with the access-point flags: it comes up under
    // `name` on `channel` once `delay` has passed.
    void Start(Ms now, std::string_view name, int channel, Ms delay);
    // It stops announcing; its settings stay for the next start.
    void Stop(Ms now);
    // Stopped, its settings gone; still a new generation for the phones.
    void Reset(Ms now);
    bool Started() const { return running; }
    // Started and announcing.
    bool Up(Ms now) const { return running && now >= upAt; }
    // RT_SetSSID: it takes its name, and the channel and security configured before it.
    void Configure(Ms now, std::string_view name, const CSimStationConfig& station);
    // RT_AP_SetPassphrase: a text, or the 32-byte binary key.
    void SetPassphrase(Ms now, std::string_view passphrase, bool binaryKey);

    const std::string& Ssid() const { return ssid; }
    int Channel() const { return channel; }
    // Open, WPA-PSK or WPA2-PSK; WEP for privacy without a WPA mode.
    SimSecurity Security() const;
    // CipherTkip or CipherAes; 0 without WPA.
    uint32_t Cipher() const;
    const std::string& Passphrase() const { return passphrase; }

    int Generation() const { return generation; }
    Ms ChangedAt() const { return changedAt; }
    // Whether the phone's passphrase and security fit what it runs now.
    bool Admits(const SimPhone& phone) const;

private:
    void Changed(Ms now);

    bool running = false;
    Ms upAt{0};
    std::string ssid;
    int channel = 1;
    bool privacy = false;
    int authMode = 0;
    int encryptionStatus = 1;
    std::string passphrase;
    bool binaryKey = false;
    int generation = 0;
    Ms changedAt{0};
};
