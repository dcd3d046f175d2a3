#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "adapter/driver_library/Records.h"
#include "sim/SimNetwork.h"

// The security values the station side reports for a link, as
// RT_GetStatusSecurityInfo numbers them.
struct SimLinkSecurity {
    int encryption = 1;
    int authentication = 0;
};

// What the station side of the adapter has been told by the RT_Set calls for
// its next association, and the access point's verdict on it. Part of the
// world's state: used only under the world's mutex.
class CSimStationConfig {
public:
    void SetIeee8021x(int status) { ieee8021x = status; }
    void SetChannel(int value) { channel = value; }
    int Channel() const { return channel; }
    // An all-zero BSSID leaves the choice to the adapter.
    void SetBssid(const std::array<uint8_t, 6>& value);
    bool HasBssid() const { return hasBssid; }
    const std::array<uint8_t, 6>& Bssid() const { return bssid; }
    void SetPrivacy(int on, int size);
    bool Privacy() const { return privacy != 0; }
    void SetAuthMode(int mode) { authMode = mode; }
    int AuthMode() const { return authMode; }
    void SetEncryptionStatus(int status) { encryptionStatus = status; }
    int EncryptionStatus() const { return encryptionStatus; }
    void SetSecurityCipher(int cipher) { securityCipher = cipher; }
    // Indexes outside 0..3 are ignored, as the driver does.
    void SetDefaultKeyId(int index);
    void SetWepKey(int index, std::string_view key);
    // 1 WEP-40, 2 WEP-104, 0 without privacy.
    int DefaultEncryptionAlgorithm() const;
    // RT_REMOVE_PSK_CONX: the WPA secrets go, WEP and the rest stay.
    void ForgetWpaKeys();
    void SetPassphrase(std::string_view text);
    void SetPmk(const std::array<uint8_t, 32>& key);
    // The key-handover buffer of RT_CustomRequest: kept whole for the query,
    // and its key taken for the network it names.
    void SetHandover(const KeyHandoverBuffer& buffer);
    const KeyHandoverBuffer& Handover() const { return handover; }
    // The record of RT_SetOID's add-key request, at offset 8 of its buffer.
    void SetAdhocKey(const std::array<uint8_t, 32>& key);

    // The configuration one association uses: the BSSID applies to it only.
    CSimStationConfig TakeForAssociation();

    // Whether `network` lets a station configured so in, judged by what it
    // runs, never by what it announces; on acceptance, the link's security.
    bool AcceptedBy(const SimNetwork& network, bool infrastructure, SimLinkSecurity& security) const;

private:
    bool OpenOrWep(const SimNetwork& network, bool infrastructure, bool shared, SimLinkSecurity& security) const;
    bool StationKey(const SimNetwork& network, std::array<uint8_t, 32>& key) const;

    int ieee8021x = 0;
    int channel = 1;
    bool hasBssid = false;
    std::array<uint8_t, 6> bssid{};
    int privacy = 0;
    int keySize = 0x40;
    int authMode = 0;
    int encryptionStatus = 1;
    int securityCipher = 0;
    int defaultKeyId = 0;
    std::array<std::string, 4> wepKeys;
    bool hasPassphrase = false;
    std::string passphrase;
    bool hasPmk = false;
    std::array<uint8_t, 32> pmk{};
    KeyHandoverBuffer handover{};
    // The key handed over with request 0x813BFE1C, for the network it names.
    bool hasHandoverPmk = false;
    std::string handoverSsid;
    std::array<uint8_t, 6> handoverBssid{};
    std::array<uint8_t, 32> handoverPmk{};
    bool hasAdhocKey = false;
    std::array<uint8_t, 32> adhocKey{};
};
