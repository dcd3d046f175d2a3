#pragma once

// The buffers and records that cross the driver-library boundary, laid out
// byte for byte as the libraries read and write them (little-endian). Fields
// the program never reads are kept as reserved bytes so the offsets hold.

#include <cstddef>
#include <cstdint>

// RT_GetAdapterList: count of adapters, disabled flag, device name.
struct AdapterList {
    uint32_t count;
    uint8_t reserved1[10000];
    uint8_t disabled;
    uint8_t reserved2[49];
    char deviceName[5002];
};
static_assert(sizeof(AdapterList) == 15056);
static_assert(offsetof(AdapterList, disabled) == 10004);
static_assert(offsetof(AdapterList, deviceName) == 10054);

// RT_GetStatusLinkInfo's state word.
enum DriverLinkState {
    DriverLinkNone = 0,
    DriverLinkStation = 1,     // linked to an access point
    DriverLinkAccessPoint = 2, // the adapter's own access point runs
    DriverLinkAssociating = 4,
};

// One scanned network as RT_SiteSurveyEx writes it.
struct NetworkRecord {
    uint8_t networkType;  // bit 0: infrastructure
    char ssid[33];        // NUL-terminated by an honest library; never trusted to be
    uint8_t bssid[6];
    uint8_t quality;      // 0..100
    uint8_t channel;
    uint8_t privacy;
    uint8_t reserved1[257];
    uint32_t capability;  // 0x02: WPA or WPA2 announced
    uint32_t groupCiphers;
    uint32_t pairwiseCiphers; // 0x04 TKIP, 0x10 AES
    uint32_t keyManagement;   // 0x02 WPA, 0x04 WPA-PSK, 0x20 WPA2, 0x40 WPA2-PSK
    uint8_t reserved2[8];
    uint32_t mixedPreference;
    uint8_t reserved3[8];
};
static_assert(sizeof(NetworkRecord) == 336);
static_assert(offsetof(NetworkRecord, ssid) == 1);
static_assert(offsetof(NetworkRecord, bssid) == 34);
static_assert(offsetof(NetworkRecord, quality) == 40);
static_assert(offsetof(NetworkRecord, channel) == 41);
static_assert(offsetof(NetworkRecord, privacy) == 42);
static_assert(offsetof(NetworkRecord, capability) == 300);
static_assert(offsetof(NetworkRecord, groupCiphers) == 304);
static_assert(offsetof(NetworkRecord, pairwiseCiphers) == 308);
static_assert(offsetof(NetworkRecord, keyManagement) == 312);
static_assert(offsetof(NetworkRecord, mixedPreference) == 324);

constexpr int MaxNetworks = 128;

struct SurveyBuffer {
    NetworkRecord records[MaxNetworks];
};
static_assert(sizeof(SurveyBuffer) == 43008);

// The library's profile; also the payload stored for the user.
struct VuvProfile {
    char profileName[50];
    char ssid[36];
    uint8_t bssid[6];
    uint32_t flags;
    uint16_t channel;
    uint16_t keyIndex;
    uint16_t keyLength[4];
    uint8_t keys[4][16];
    uint32_t capability;
    uint32_t groupCiphers;
    uint32_t pairwiseCiphers;
    uint32_t keyManagement;
    char passphrase[256];
    uint32_t passphraseLength;
    uint8_t pmk[32];
    uint8_t reserved[604];
    uint32_t mixedPreference;
};
static_assert(sizeof(VuvProfile) == 1088);
static_assert(offsetof(VuvProfile, ssid) == 50);
static_assert(offsetof(VuvProfile, bssid) == 86);
static_assert(offsetof(VuvProfile, flags) == 92);
static_assert(offsetof(VuvProfile, channel) == 96);
static_assert(offsetof(VuvProfile, keyIndex) == 98);
static_assert(offsetof(VuvProfile, keyLength) == 100);
static_assert(offsetof(VuvProfile, keys) == 108);
static_assert(offsetof(VuvProfile, capability) == 172);
static_assert(offsetof(VuvProfile, groupCiphers) == 176);
static_assert(offsetof(VuvProfile, pairwiseCiphers) == 180);
static_assert(offsetof(VuvProfile, keyManagement) == 184);
static_assert(offsetof(VuvProfile, passphrase) == 188);
static_assert(offsetof(VuvProfile, passphraseLength) == 444);
static_assert(offsetof(VuvProfile, pmk) == 448);
static_assert(offsetof(VuvProfile, mixedPreference) == 1084);

// VuvProfile.flags
constexpr uint32_t ProfilePrivacy = 0x001;
constexpr uint32_t ProfileModeMask = 0x006;  // 0 WEP open / none, 1 WEP shared, 2 WPA-PSK, 3 WPA2-PSK
constexpr uint32_t ProfileInfrastructure = 0x008;
constexpr uint32_t Profile8021x = 0x010;
constexpr uint32_t Profile8021xWpa2 = 0x020;
constexpr uint32_t ProfileBuilt = 0x200;
constexpr uint32_t ProfileCipherMask = 0xC00; // 1 WEP, 2 TKIP, 3 AES

// RT_CustomRequest's key-handover buffer.
struct KeyHandoverBuffer {
    uint8_t bytes[572];
};

// RT_SetOID's buffer.
struct OidBuffer {
    uint8_t bytes[1000];
};

// RT_GetMacAddress's buffer: the six address bytes first.
struct MacAddressBuffer {
    uint8_t bytes[100];
};

// Filled by RT_WSC_Connect.
struct WpsCredential {
    char ssid[32];
    uint8_t reserved1[4];
    uint32_t authType;       // 0x01 open, 0x02 WPA-PSK, 0x20 WPA2-PSK
    uint32_t encryptionType; // 0x01 none, 0x02 WEP, 0x04 TKIP, 0x08 AES
    char networkKey[65];
    char wepKeyTexts[4][26];
    uint8_t reserved2[3];
    uint16_t wepKeyIndex;
    uint8_t reserved3[2];
    uint32_t wepKeyTextLength;
};
static_assert(sizeof(WpsCredential) == 224);
static_assert(offsetof(WpsCredential, authType) == 36);
static_assert(offsetof(WpsCredential, encryptionType) == 40);
static_assert(offsetof(WpsCredential, networkKey) == 44);
static_assert(offsetof(WpsCredential, wepKeyTexts) == 109);
static_assert(offsetof(WpsCredential, wepKeyIndex) == 216);
static_assert(offsetof(WpsCredential, wepKeyTextLength) == 220);

// One network connection of the machine, as the sharing library lists them.
struct ConnectionEntry {
    char name[128];
    char secondName[128];
    uint32_t characteristics;
    uint32_t status; // 2 = connected
    uint8_t pppoe;
    uint8_t reserved[3];
};
static_assert(sizeof(ConnectionEntry) == 268);
static_assert(offsetof(ConnectionEntry, characteristics) == 256);
static_assert(offsetof(ConnectionEntry, status) == 260);
static_assert(offsetof(ConnectionEntry, pppoe) == 264);

struct ConnectionTable {
    ConnectionEntry entries[10];
};

// RT_AP_GetStationList's buffer: a table of 64 entries at the offset it
// reports, of the size it reports.
struct StationListBuffer {
    uint8_t bytes[1600];
};

constexpr int StationListEntries = 64;

// One client of the access point as the adapter keeps it: the first 24 bytes
// of its entry; counted when byte 0 and byte 13 are both set.
struct StationEntry {
    uint8_t bytes[24];
};

// GetIpInformation: three address texts.
struct IpInformation {
    char address1[452];
    char address2[452];
    char address3[452];
};
static_assert(sizeof(IpInformation) == 1356);
static_assert(offsetof(IpInformation, address2) == 452);
static_assert(offsetof(IpInformation, address3) == 904);
