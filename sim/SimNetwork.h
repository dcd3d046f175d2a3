#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adapter/driver_library/Records.h"

// What an access point offers, as configured.
enum SimSecurity {
    SecurityOpen,
    SecurityWep,
    SecurityWpaPsk,
    SecurityWpa2Psk,
    SecurityWpaWpa2Psk,
};

// NetworkRecord bits the simulated access points announce.
constexpr uint32_t CipherTkip = 0x04;
constexpr uint32_t CipherAes = 0x10;
constexpr uint32_t KeyManagementWpa = 0x02;
constexpr uint32_t KeyManagementWpaPsk = 0x04;
constexpr uint32_t KeyManagementWpa2 = 0x20;
constexpr uint32_t KeyManagementWpa2Psk = 0x40;
constexpr uint32_t CapabilityWpa = 0x02;

// One access point (or ad hoc network) of the simulated radio world. What it
// offers and accepts follows from `security`, `ciphers` and the secrets alone.
// The override fields change only what the survey announces, so that odd or
// broken access points can be described too: one that announces something it
// does not offer simply cannot be joined the way it claims.
struct SimNetwork {
    std::string ssid; // raw bytes
    bool hidden = false; // announced with an empty SSID; joinable by its real one
    std::array<uint8_t, 6> bssid{};
    int channel = 6;
    int quality = 70; // 0..100 before drift
    int drift = 0;    // the quality swings by up to this much, periodically
    bool infrastructure = true;
    SimSecurity security = SecurityOpen;
    uint32_t ciphers = 0; // 0: the usual ones of `security`

    std::optional<uint32_t> privacy;
    std::optional<uint32_t> capability;
    std::optional<uint32_t> groupCiphers;
    std::optional<uint32_t> pairwiseCiphers;
    std::optional<uint32_t> keyManagement;
    std::optional<uint32_t> mixedPreference;

    std::string passphrase;
    std::string pskHex; // 64 hexadecimal digits, used instead of the passphrase
    std::array<std::string, 4> wepKeys; // key bytes, 5 or 13 each, or empty
    int wepIndex = 0;
    bool wepShared = false;

    bool dhcp = true;    // false: a lease never comes, the link stays link-local
    bool inRange = true;
    std::string address = "192.168.1.100"; // what its DHCP server leases
    int rateKbps = 0;                      // 0: the usual rate of its cipher

    // Filled by Finish.
    bool hasPmk = false;
    std::array<uint8_t, 32> pmk{};

    // What the access point runs.
    bool OffersPrivacy() const { return security != SecurityOpen; }
    bool OffersWpa() const;
    uint32_t OfferedPairwiseCiphers() const;
    uint32_t OfferedKeyManagement() const;

    // What the survey announces: the offered values unless overridden.
    uint8_t RecordPrivacy() const;
    uint32_t RecordCapability() const;
    uint32_t RecordGroupCiphers() const;
    uint32_t RecordPairwiseCiphers() const;
    uint32_t RecordKeyManagement() const;
    uint32_t RecordMixedPreference() const;
    uint32_t LinkRateKbps() const;

    // The record as a survey returns it.
    void FillRecord(NetworkRecord& record, int currentQuality) const;
    // Quality at `nowMs`, swinging with a period of 20 s, phase by BSSID.
    int QualityAt(long long nowMs) const;

    // One key=value setting, as in the world file. False with `error` set
    // when the key is unknown or the value malformed.
    bool Set(std::string_view key, std::string_view value, std::string& error);
    // Checks the secrets against the security kind and derives the key.
    bool Finish(std::string& error);
};

// The IEEE 802.11i passphrase-to-key mapping; false for a passphrase that is
// not 8 to 63 bytes or an SSID above 32 bytes, which no station can use.
bool SimDerivePmk(std::string_view passphrase, std::string_view ssid, std::array<uint8_t, 32>& out);

bool SimParseMac(std::string_view text, std::array<uint8_t, 6>& out);
std::string SimMacText(const std::array<uint8_t, 6>& mac);
// Hexadecimal digits in pairs; false for an odd count or another character.
bool SimParseHex(std::string_view text, std::string& bytes);
// Decimal, or hexadecimal after 0x.
bool SimParseNumber(std::string_view text, long long& out);
// yes/no, on/off, true/false, 1/0.
bool SimParseBool(std::string_view text, bool& out);
// Quoted text for answers: bytes that are not printable UTF-8 become \xNN.
std::string SimQuoted(std::string_view bytes);
const char* SimSecurityName(SimSecurity security);
