#include "sim/CSimAccessPoint.h"

#include <algorithm>
#include <cstring>

namespace {

// 64 hexadecimal digits are the key itself, as phones take them.
bool HexKey(const std::string& text, std::array<uint8_t, 32>& key)
{
    std::string bytes;
    if (text.size() != 64 || !SimParseHex(text, bytes))
        return false;
    std::memcpy(key.data(), bytes.data(), 32);
    return true;
}

} // namespace

void CSimAccessPoint::Changed(Ms now)
{
    ++generation;
    changedAt = now;
}

void CSimAccessPoint::Start(Ms now, std::string_view name, int newChannel, Ms delay)
{
    running = true;
    upAt = now + delay;
    ssid = std::string(name);
    channel = newChannel;
    Changed(upAt);
}

void CSimAccessPoint::Stop(Ms now)
{
    if (!running)
        return;
    running = false;
    Changed(now);
}

void CSimAccessPoint::Reset(Ms now)
{
    int last = generation;
    *this = CSimAccessPoint{};
    generation = last;
    Changed(now);
}

void CSimAccessPoint::Configure(Ms now, std::string_view name, const CSimStationConfig& station)
{
    ssid = std::string(name);
    channel = station.Channel();
    privacy = station.Privacy();
    authMode = station.AuthMode();
    encryptionStatus = station.EncryptionStatus();
    Changed(std::max(now, upAt));
}

void CSimAccessPoint::SetPassphrase(Ms now, std::string_view text, bool binary)
{
    passphrase = std::string(text);
    binaryKey = binary;
    Changed(std::max(now, upAt));
}

SimSecurity CSimAccessPoint::Security() const
{
    // The library's numbering of the WPA pairs, as the station side uses it;
    // the other modes are open system or WEP by the privacy bit.
    switch (authMode) {
    case 3:
    case 6: return SecurityWpaPsk;
    case 4:
    case 7: return SecurityWpa2Psk;
    default: return privacy ? SecurityWep : SecurityOpen;
    }
}

uint32_t CSimAccessPoint::Cipher() const
{
    SimSecurity security = Security();
    if (security != SecurityWpaPsk && security != SecurityWpa2Psk)
        return 0;
    return encryptionStatus == 4 ? CipherTkip : CipherAes;
}

bool CSimAccessPoint::Admits(const SimPhone& phone) const
{
    SimSecurity security = Security();
    // A phone expects what it was told: no passphrase means an open network.
    SimSecurity expected = phone.security.value_or(phone.passphrase.empty() ? SecurityOpen : security);
    if (expected != security || (security == SecurityOpen) != phone.passphrase.empty())
        return false;
    if (security == SecurityOpen)
        return true;
    if (security == SecurityWep)
        return false; // the access point was never given a WEP key
    std::array<uint8_t, 32> ours{};
    if (binaryKey) {
        if (passphrase.size() != 32)
            return false;
        std::memcpy(ours.data(), passphrase.data(), 32);
    } else if (!SimDerivePmk(passphrase, ssid, ours)) {
        return false;
    }
    std::array<uint8_t, 32> theirs{};
    return (HexKey(phone.passphrase, theirs) || SimDerivePmk(phone.passphrase, ssid, theirs)) && theirs == ours;
}
