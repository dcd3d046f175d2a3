#pragma once

// How a profile's security reaches the driver: shared by the station
// connection and the access point, which configure it the same way.

#include <cstdint>

#include "adapter/driver_library/Records.h"

// The mode and cipher fields of VuvProfile.flags.
enum SecurityMode { SecurityWepOpen, SecurityWepShared, SecurityWpaPsk, SecurityWpa2Psk };
enum CipherKind { CipherNone, CipherWep, CipherKindTkip, CipherKindAes };

inline int ModeOf(const VuvProfile& profile)
{
    return static_cast<int>((profile.flags & ProfileModeMask) >> 1);
}

inline int CipherOf(const VuvProfile& profile)
{
    return static_cast<int>((profile.flags & ProfileCipherMask) >> 10);
}

// Authentication mode, encryption status and the security-info pair of an
// infrastructure WPA/WPA2-PSK link.
struct WpaSetting {
    int authentication;
    int encryption;
    int info1;
    int info2;
};

WpaSetting WpaSettingFor(int mode, int cipher);

constexpr uint32_t OidAddKey = 0x0D01011D;

// The 802.11 add-key record of an ad hoc WPA-None link, at offset 8 of the
// OID buffer: group key 0 for every peer, the PMK as key.
void WriteAddKey(OidBuffer& oid, const VuvProfile& profile);
