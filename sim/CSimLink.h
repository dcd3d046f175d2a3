#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "sim/CSimStationConfig.h"

enum SimLinkState {
    LinkDown,
    LinkAssociating, // an association attempt runs
    LinkUp,
};

// The station's one association: an accepted one comes up after the link
// delay and gets its lease after the DHCP delay; a refused one shows as an
// attempt for as long and then ends. Part of the world's state: used only
// under the world's mutex.
class CSimLink {
public:
    // Associates with `network`; it judges `config` at once.
    void Start(Ms now, const SimNetwork& network, bool infrastructure, const CSimStationConfig& config,
               Ms linkDelay, Ms dhcpDelay);
    void Drop() { *this = CSimLink{}; }

    // Ends an attempt whose time is up, then tells where the link stands.
    SimLinkState State(Ms now);
    bool Active() const { return active; }
    const std::array<uint8_t, 6>& Bssid() const { return bssid; }
    const std::string& Ssid() const { return ssid; }
    const SimLinkSecurity& Security() const { return security; }
    // The lease is there: not released, and its delay has passed.
    bool Leased(Ms now) const { return !released && now >= addressAt; }
    void Release() { released = true; }
    void Renew(Ms now, Ms dhcpDelay);
    // The access point restarts as `changed`: whether this link lives on.
    bool SurvivesChange(const SimNetwork& changed) const;

private:
    bool active = false;
    bool accepted = false;
    bool infrastructure = true;
    std::array<uint8_t, 6> bssid{};
    std::string ssid;
    Ms upAt{0};
    Ms addressAt{0};
    bool released = false;
    SimLinkSecurity security;
    CSimStationConfig config; // kept to judge again when the network changes
};
