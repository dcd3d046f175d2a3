#include "sim/CSimLink.h"

#include <algorithm>

void CSimLink::Start(Ms now, const SimNetwork& network, bool infra, const CSimStationConfig& stationConfig,
                     Ms linkDelay, Ms dhcpDelay)
{
    *this = CSimLink{};
    active = true;
    accepted = stationConfig.AcceptedBy(network, infra, security);
    infrastructure = infra;
    bssid = network.bssid;
    ssid = network.ssid;
    upAt = now + linkDelay;
    addressAt = upAt + dhcpDelay;
    config = stationConfig;
}

SimLinkState CSimLink::State(Ms now)
{
    if (active && !accepted && now >= upAt)
        Drop(); // a refused association gives up once its handshake would have completed
    if (!active)
        return LinkDown;
    return accepted && now >= upAt ? LinkUp : LinkAssociating;
}

void CSimLink::Renew(Ms now, Ms dhcpDelay)
{
    released = false;
    addressAt = std::max(now, upAt) + dhcpDelay;
}

bool CSimLink::SurvivesChange(const SimNetwork& changed) const
{
    // A station whose credentials no longer fit, or that it can no longer hear, is gone.
    SimLinkSecurity unused;
    return changed.inRange && changed.bssid == bssid && changed.ssid == ssid &&
           (!accepted || config.AcceptedBy(changed, infrastructure, unused));
}
