#include "sim/CSimStationConfig.h"

#include <cstring>

void CSimStationConfig::SetBssid(const std::array<uint8_t, 6>& value)
{
    bssid = value;
    hasBssid = bssid != std::array<uint8_t, 6>{};
}

void CSimStationConfig::SetPrivacy(int on, int size)
{
    privacy = on;
    keySize = size;
}

void CSimStationConfig::SetDefaultKeyId(int index)
{
    if (index >= 0 && index < 4)
        defaultKeyId = index;
}

void CSimStationConfig::SetWepKey(int index, std::string_view key)
{
    if (index >= 0 && index < 4)
        wepKeys[index] = std::string(key);
}

int CSimStationConfig::DefaultEncryptionAlgorithm() const
{
    if (!privacy)
        return 0;
    return keySize == 0x80 ? 2 : 1;
}

void CSimStationConfig::ForgetWpaKeys()
{
    hasPassphrase = false;
    passphrase.clear();
    hasPmk = false;
    hasHandoverPmk = false;
}

void CSimStationConfig::SetPassphrase(std::string_view text)
{
    passphrase = std::string(text);
    hasPassphrase = true;
    hasPmk = false;
}

void CSimStationConfig::SetPmk(const std::array<uint8_t, 32>& key)
{
    pmk = key;
    hasPmk = true;
    hasPassphrase = false;
}

void CSimStationConfig::SetHandover(const KeyHandoverBuffer& buffer)
{
    handover = buffer;
    // SSID length at 4, the SSID at 8, the BSSID at 44, the key length at 52, the key at 56.
    uint32_t ssidLength = 0;
    uint32_t keyLength = 0;
    std::memcpy(&ssidLength, buffer.bytes + 4, 4);
    std::memcpy(&keyLength, buffer.bytes + 52, 4);
    hasHandoverPmk = ssidLength <= 32 && keyLength == 32;
    if (!hasHandoverPmk)
        return;
    handoverSsid.assign(reinterpret_cast<const char*>(buffer.bytes + 8), ssidLength);
    std::memcpy(handoverBssid.data(), buffer.bytes + 44, 6);
    std::memcpy(handoverPmk.data(), buffer.bytes + 56, 32);
}

void CSimStationConfig::SetAdhocKey(const std::array<uint8_t, 32>& key)
{
    adhocKey = key;
    hasAdhocKey = true;
}

CSimStationConfig CSimStationConfig::TakeForAssociation()
{
    CSimStationConfig config = *this;
    hasBssid = false;
    return config;
}

bool CSimStationConfig::StationKey(const SimNetwork& network, std::array<uint8_t, 32>& key) const
{
    if (hasPmk) {
        key = pmk;
        return true;
    }
    return hasPassphrase && SimDerivePmk(passphrase, network.ssid, key);
}

// Open system or WEP; on an ad hoc network there is no authentication exchange.
bool CSimStationConfig::OpenOrWep(const SimNetwork& network, bool infrastructure, bool shared,
                                  SimLinkSecurity& security) const
{
    if (!privacy) {
        if (shared || network.OffersPrivacy())
            return false;
        security = {1, 0};
        return true;
    }
    if (!network.OffersPrivacy() || network.OffersWpa())
        return false;
    if (infrastructure && shared != network.wepShared)
        return false;
    size_t length = keySize == 0x80 ? 13 : 5;
    const std::string& key = wepKeys[defaultKeyId & 3];
    if (defaultKeyId != network.wepIndex || key.size() != length || key != network.wepKeys[network.wepIndex])
        return false;
    security = {0, shared ? 1 : 0};
    return true;
}

bool CSimStationConfig::AcceptedBy(const SimNetwork& network, bool infrastructure, SimLinkSecurity& security) const
{
    if (network.infrastructure != infrastructure)
        return false;
    // No authentication server anywhere in this world.
    if (ieee8021x != 0)
        return false;
    bool wpaNetwork = network.OffersWpa();
    uint32_t keyManagement = network.OfferedKeyManagement();
    uint32_t pairwise = network.OfferedPairwiseCiphers();
    auto keyFits = [&](const std::array<uint8_t, 32>& key) { return network.hasPmk && key == network.pmk; };

    if (!infrastructure) {
        if (authMode == 0)
            return OpenOrWep(network, infrastructure, false, security);
        if (authMode != 5 || !wpaNetwork || !hasAdhocKey || !keyFits(adhocKey))
            return false;
        // WPA-None: one group key for all; the cipher is the one the triple names.
        uint32_t cipher = securityCipher == 2   ? CipherTkip
                          : securityCipher == 3 ? CipherAes
                                                : (pairwise & CipherAes ? CipherAes : CipherTkip);
        if (!(pairwise & cipher))
            return false;
        security = {cipher == CipherTkip ? 4 : 6, 5};
        return true;
    }

    // The library's own numbering of the WPA pairs.
    uint32_t mode = 0;
    uint32_t cipher = 0;
    switch (authMode) {
    case 0: return OpenOrWep(network, infrastructure, false, security);
    case 1: return OpenOrWep(network, infrastructure, true, security);
    case 3:
        mode = KeyManagementWpaPsk;
        cipher = encryptionStatus == 4 ? CipherTkip : 0;
        break;
    case 6:
        mode = KeyManagementWpaPsk;
        cipher = encryptionStatus == 6 ? CipherAes : 0;
        break;
    case 4:
        mode = KeyManagementWpa2Psk;
        cipher = encryptionStatus == 6 ? CipherAes : 0;
        break;
    case 7:
        mode = KeyManagementWpa2Psk;
        cipher = encryptionStatus == 4 ? CipherTkip : 0;
        break;
    default: return false;
    }
    std::array<uint8_t, 32> key{};
    if (cipher == 0 || !wpaNetwork || !(keyManagement & mode) || !(pairwise & cipher) || !StationKey(network, key) ||
        !keyFits(key))
        return false;
    // A key handed over for this network is the one the driver installs: it has to fit as well.
    bool handedOver = hasHandoverPmk && handoverSsid == network.ssid &&
                      (handoverBssid == std::array<uint8_t, 6>{} || handoverBssid == network.bssid);
    if (handedOver && !keyFits(handoverPmk))
        return false;
    security = {cipher == CipherTkip ? 4 : 6, mode == KeyManagementWpaPsk ? 4 : 7};
    return true;
}
