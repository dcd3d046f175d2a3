#include <openssl/evp.h>

#include <vector>

#include "tests/sim/SimFixture.h"

namespace {

constexpr uint32_t CipherWepValue = 1;
constexpr uint32_t CipherTkipValue = 2;
constexpr uint32_t CipherAesValue = 3;

uint32_t Flags(bool privacy, int mode, bool infrastructure, uint32_t cipher)
{
    return (privacy ? ProfilePrivacy : 0) | uint32_t(mode) << 1 | (infrastructure ? ProfileInfrastructure : 0) |
           ProfileBuilt | cipher << 10;
}

VuvProfile Profile(const std::string& ssid, uint32_t flags)
{
    VuvProfile p{};
    std::memcpy(p.profileName, ssid.data(), ssid.size());
    std::memcpy(p.ssid, ssid.data(), ssid.size());
    p.flags = flags;
    p.channel = 6;
    return p;
}

VuvProfile Wpa(const std::string& ssid, int mode, uint32_t cipher, const std::string& passphrase,
               bool infrastructure = true)
{
    VuvProfile p = Profile(ssid, Flags(true, mode, infrastructure, cipher));
    std::memcpy(p.passphrase, passphrase.data(), passphrase.size());
    p.passphraseLength = uint32_t(passphrase.size());
    if (passphrase.size() == 64) {
        for (int i = 0; i < 32; ++i)
            p.pmk[i] = uint8_t(std::stoi(passphrase.substr(i * 2, 2), nullptr, 16));
    } else {
        PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), int(passphrase.size()),
                               reinterpret_cast<const unsigned char*>(ssid.data()), int(ssid.size()), 4096, 32, p.pmk);
    }
    return p;
}

VuvProfile Wep(const std::string& ssid, bool shared, int keyIndex, const std::string& key, bool infrastructure = true)
{
    VuvProfile p = Profile(ssid, Flags(true, shared ? 1 : 0, infrastructure, CipherWepValue));
    p.keyIndex = uint16_t(keyIndex);
    p.keyLength[keyIndex] = uint16_t(key.size());
    std::memcpy(p.keys[keyIndex], key.data(), key.size());
    std::memcpy(p.passphrase, key.data(), key.size());
    p.passphraseLength = uint32_t(key.size());
    return p;
}

void Put32(uint8_t* at, uint32_t value)
{
    std::memcpy(at, &value, 4);
}

// The adapter service's driver-call sequence for a profile, call for call.
void ApplyProfile(CDriverLibrary& lib, const VuvProfile& profile, bool beforeWindows7)
{
    VuvProfile copy = profile;
    int infra = copy.flags & ProfileInfrastructure ? 1 : 0;
    int mode = int(copy.flags >> 1 & 3);
    uint32_t cipher = copy.flags >> 10 & 3;
    if (beforeWindows7) {
        lib.RT_Disassociate();
        lib.RT_SetNetworkType(infra);
    }
    if (!(copy.flags & Profile8021x))
        lib.RT_ACM_Delete_AllProfiles();
    copy.flags &= ~Profile8021x;
    lib.RT_Set802_1xStatus(0);
    KeyHandoverBuffer handover{};
    if (!lib.RT_AP_GetIsAPMode())
        lib.RT_CustomRequest(0x813BFE20, handover, 572);
    lib.RT_REMOVE_PSK_CONX();
    lib.RT_SetChannel(copy.channel);
    if (std::any_of(copy.bssid, copy.bssid + 6, [](uint8_t b) { return b != 0; }))
        lib.RT_SetBSSID(copy.bssid);
    lib.RT_SetPowerSaveMode(lib.RT_GetPowerSaveMode());
    int r1 = 0, r2 = 0, r3 = 0, r4 = 0, r5 = 0;
    lib.RT_GetRates(r1, r2, r3, r4, r5);
    lib.RT_SetRates(r1 != 0, r2, r3, r4, r5);
    lib.RT_SetPreambleMode(lib.RT_GetPreambleMode());
    if (!(copy.flags & ProfilePrivacy)) {
        lib.RT_SetPrivacy(0, 0x40);
        lib.RT_SetAuthenticaionMode(0);
        lib.RT_SetMHSecurityInfo(infra, 0, 0);
    } else if (mode <= 1) {
        int auth = mode == 1 && infra ? 1 : 0;
        int index = copy.keyIndex;
        lib.RT_SetPrivacy(1, copy.keyLength[index] > 10 ? 0x80 : 0x40);
        lib.RT_SetAuthenticaionMode(auth);
        lib.RT_SetDefaultKeyID(index);
        for (int i = 0; i < 4; ++i)
            lib.RT_SetWEPKey(i, copy.keyLength[i], copy.keys[i]);
        lib.RT_SetWEPKey(index, copy.keyLength[index], copy.keys[index]);
        lib.RT_SetDefaultKeyID(index);
        int algorithm = lib.RT_GetDefaultEncryptionAlgorithm();
        lib.RT_SetMHSecurityInfo(infra, auth, algorithm + 1);
    } else {
        uint32_t ssidLength = uint32_t(strnlen(copy.ssid, 32));
        Put32(handover.bytes, 0);
        Put32(handover.bytes + 4, ssidLength);
        std::memcpy(handover.bytes + 8, copy.ssid, ssidLength);
        std::memcpy(handover.bytes + 44, copy.bssid, 6);
        Put32(handover.bytes + 52, 32);
        std::memcpy(handover.bytes + 56, copy.pmk, 32);
        handover.bytes[570] = mode == 2 ? 0 : 1;
        if (infra) {
            if (mode == 2 && cipher == CipherTkipValue) {
                lib.RT_SetAuthenticaionMode(3);
                lib.RT_SetEncryptionStatus(4);
                lib.RT_SetMHSecurityInfo(infra, 3, 2);
            } else if (mode == 2) {
                lib.RT_SetAuthenticaionMode(6);
                lib.RT_SetEncryptionStatus(6);
                lib.RT_SetMHSecurityInfo(infra, 5, 4);
            } else if (cipher == CipherAesValue) {
                lib.RT_SetAuthenticaionMode(4);
                lib.RT_SetEncryptionStatus(6);
                lib.RT_SetMHSecurityInfo(infra, 4, 3);
            } else {
                lib.RT_SetAuthenticaionMode(7);
                lib.RT_SetEncryptionStatus(4);
                lib.RT_SetMHSecurityInfo(infra, 5, 5);
            }
            lib.RT_CustomRequest(0x813BFE1C, handover, 572);
            if (copy.passphraseLength <= 63)
                lib.RT_ADD_PSK_CONX(copy.passphrase, copy.passphraseLength);
            else
                lib.RT_ADD_PMK_CONX(copy.pmk, 32);
        } else {
            lib.RT_SetAuthenticaionMode(5);
            if (cipher == 2 || cipher == 3)
                lib.RT_SetMHSecurityInfo(0, 5, int(cipher));
            OidBuffer oid{};
            uint8_t* key = oid.bytes + 8;
            Put32(key, 71);
            Put32(key + 4, 0);
            Put32(key + 8, 32);
            std::memset(key + 12, 0xff, 6);
            std::memcpy(key + 32, copy.pmk, 32);
            lib.RT_SetOID(0x0D01011D, oid, 1000);
        }
    }
    char name[33] = {};
    char ssid[33] = {};
    std::memcpy(name, copy.profileName, 32);
    std::memcpy(ssid, copy.ssid, 32);
    lib.RT_ACM_LinkVuvProfileNew(copy, name, ssid, infra, 0, 0);
}

// The right passphrase beside a wrong key in the handover, as a faulty key derivation gives.
VuvProfile WithWrongPmk(VuvProfile p)
{
    p.pmk[31] ^= 1;
    return p;
}

const std::string Hex64 = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

struct Case {
    const char* name;
    VuvProfile profile;
    bool links;
    int encryption = 0;
    int authentication = 0;
};

// The networks every case may aim at.
void MakeNetworks(CSimWorld& world)
{
    auto add = [&](SimNetwork n, uint8_t last) {
        n.bssid = {2, 0, 0, 0, 0, last};
        std::string error;
        ASSERT_TRUE(world.AddNetwork(n, error)) << error;
    };
    SimNetwork n;
    n.passphrase = "correct horse";
    n.ssid = "Wpa2";
    n.security = SecurityWpa2Psk;
    add(n, 1);
    n.ssid = "Wpa";
    n.security = SecurityWpaPsk;
    add(n, 2);
    n.ssid = "Mixed";
    n.security = SecurityWpaWpa2Psk;
    add(n, 3);
    n.ssid = "Adhoc";
    n.security = SecurityWpa2Psk;
    n.infrastructure = false;
    add(n, 4);

    SimNetwork open;
    open.ssid = "Open";
    add(open, 5);

    SimNetwork hex;
    hex.ssid = "Hex";
    hex.security = SecurityWpa2Psk;
    hex.pskHex = Hex64;
    add(hex, 6);

    SimNetwork shared;
    shared.ssid = "Shared";
    shared.security = SecurityWep;
    shared.wepKeys[2] = "ThirteenChars";
    shared.wepIndex = 2;
    shared.wepShared = true;
    add(shared, 7);

    SimNetwork wepOpen;
    wepOpen.ssid = "WepOpen";
    wepOpen.security = SecurityWep;
    wepOpen.wepKeys[0] = std::string("\x12\x34\x56\x78\x9a", 5);
    add(wepOpen, 8);

    SimNetwork adhocWep = wepOpen;
    adhocWep.ssid = "AdhocWep";
    adhocWep.infrastructure = false;
    add(adhocWep, 9);
}

TEST(StationJudgingTest, TheRightSecretLinksAfterTheDelayAndAWrongOneNever)
{
    const std::vector<Case> cases = {
        {"WPA2-PSK AES", Wpa("Wpa2", 3, CipherAesValue, "correct horse"), true, 6, 7},
        {"WPA2-PSK wrong passphrase", Wpa("Wpa2", 3, CipherAesValue, "correct horsf"), false},
        {"WPA2-PSK as WPA-PSK", Wpa("Wpa2", 2, CipherAesValue, "correct horse"), false},
        {"WPA2-PSK with TKIP it does not offer", Wpa("Wpa2", 3, CipherTkipValue, "correct horse"),
         false},
        {"WPA-PSK TKIP", Wpa("Wpa", 2, CipherTkipValue, "correct horse"), true, 4, 4},
        {"WPA-PSK wrong passphrase", Wpa("Wpa", 2, CipherTkipValue, "horse correct"), false},
        {"WPA-PSK with AES it does not offer", Wpa("Wpa", 2, CipherAesValue, "correct horse"),
         false},
        {"mixed as WPA2-PSK AES", Wpa("Mixed", 3, CipherAesValue, "correct horse"), true, 6, 7},
        {"mixed as WPA-PSK TKIP", Wpa("Mixed", 2, CipherTkipValue, "correct horse"), true, 4,
         4},
        {"mixed as WPA2-PSK TKIP", Wpa("Mixed", 3, CipherTkipValue, "correct horse"), true, 4,
         7},
        {"WPA2-PSK right passphrase, wrong key handed over",
         WithWrongPmk(Wpa("Wpa2", 3, CipherAesValue, "correct horse")), false},
        {"WPA-PSK right passphrase, wrong key handed over",
         WithWrongPmk(Wpa("Wpa", 2, CipherTkipValue, "correct horse")), false},
        {"mixed wrong passphrase", Wpa("Mixed", 3, CipherAesValue, "wrong horse"), false},
        {"64 hexadecimal digits as the key", Wpa("Hex", 3, CipherAesValue, Hex64), true, 6, 7},
        {"64 digits of another key", Wpa("Hex", 3, CipherAesValue, std::string(64, 'a')), false},
        {"passphrase instead of the hexadecimal key", Wpa("Hex", 3, CipherAesValue, "0011223344"),
         false},
        {"open", Profile("Open", Flags(false, 0, true, 0)), true, 1, 0},
        {"WPA2 to an open network", Wpa("Open", 3, CipherAesValue, "correct horse"), false},
        {"open to a WPA2 network", Profile("Wpa2", Flags(false, 0, true, 0)), false},
        {"WEP shared key", Wep("Shared", true, 2, "ThirteenChars"), true, 0, 1},
        {"WEP shared wrong key", Wep("Shared", true, 2, "ThirteenCharz"), false},
        {"WEP shared wrong index", Wep("Shared", true, 1, "ThirteenChars"), false},
        {"WEP open system to a shared-key network", Wep("Shared", false, 2, "ThirteenChars"), false},
        {"WEP 64-bit open system", Wep("WepOpen", false, 0, std::string("\x12\x34\x56\x78\x9a", 5)),
         true, 0, 0},
        {"WEP 64-bit wrong key", Wep("WepOpen", false, 0, std::string("\x12\x34\x56\x78\x9b", 5)),
         false},
        {"shared-key WEP on an ad hoc network goes as open system",
         Wep("AdhocWep", true, 0, std::string("\x12\x34\x56\x78\x9a", 5), false), true, 0, 0},
        {"open to a WEP network", Profile("WepOpen", Flags(false, 0, true, 0)), false},
        {"ad hoc WPA-None", Wpa("Adhoc", 3, CipherAesValue, "correct horse", false), true, 6, 5},
        {"ad hoc wrong key", Wpa("Adhoc", 3, CipherAesValue, "correct horsy", false), false},
        {"ad hoc profile to an access point",
         Wpa("Wpa2", 3, CipherAesValue, "correct horse", false), false},
        {"no such network", Profile("Nowhere", Flags(false, 0, true, 0)), false},
    };
    for (const auto& [c, beforeWindows7] : [&] {
             std::vector<std::pair<Case, bool>> all;
             for (const Case& c : cases)
                 for (bool before : {false, true})
                     all.emplace_back(c, before);
             return all;
         }()) {
        SCOPED_TRACE(std::string(c.name) + (beforeWindows7 ? ", before Windows 7" : ""));
        CMockClock caseClock;
        caseClock.Participate();
        CSimWorld caseWorld(caseClock);
        SimAdapterSettings settings;
        settings.linkDelay = 1000ms;
        caseWorld.Configure(settings);
        MakeNetworks(caseWorld);
        CSimDriverLibrary lib(caseWorld);
        ASSERT_TRUE(lib.RT_Initialize(0));
        ApplyProfile(lib, c.profile, beforeWindows7);

        auto state = [&] {
            int s = 1, reserved = 0;
            char ssid[33] = {};
            uint8_t bssid[6] = {};
            lib.RT_GetStatusLinkInfo(s, reserved, ssid, sizeof ssid, bssid);
            return s;
        };
        caseClock.FastForwardBy(999ms);
        EXPECT_NE(state(), 1);
        caseClock.FastForwardBy(1ms);
        EXPECT_EQ(state() == 1, c.links);
        caseClock.FastForwardBy(60s);
        EXPECT_EQ(state() == 1, c.links);
        if (c.links) {
            int encryption = -1, authentication = -1;
            lib.RT_GetStatusSecurityInfo(encryption, authentication);
            EXPECT_EQ(encryption, c.encryption);
            EXPECT_EQ(authentication, c.authentication);
        }
        caseClock.Leave();
    }
}

// Access points whose announcement was bent by the world file: they still run
// only what their security says, so a station that believes the survey fails.
TEST(StationJudgingTest, AnOverriddenAnnouncementNeverLetsAWrongStationIn)
{
    const std::string wepKey("\x12\x34\x56\x78\x9a", 5);
    struct OddCase {
        const char* name;
        std::vector<std::pair<std::string, std::string>> settings;
        VuvProfile profile;
        bool links;
    };
    const std::vector<OddCase> cases = {
        {"WPA2-PSK announced without privacy, station without a key",
         {{"security", "wpa2-psk"}, {"passphrase", "correct horse"}, {"privacy", "0"}},
         Profile("Odd", Flags(false, 0, true, 0)), false},
        {"WPA2-PSK announced without privacy, station with its passphrase",
         {{"security", "wpa2-psk"}, {"passphrase", "correct horse"}, {"privacy", "0"}},
         Wpa("Odd", 3, CipherAesValue, "correct horse"), true},
        {"WEP announced without privacy, station without a key",
         {{"security", "wep"}, {"wep_key0", "123456789a"}, {"privacy", "0"}},
         Profile("Odd", Flags(false, 0, true, 0)), false},
        {"WEP announced without privacy, station with its key",
         {{"security", "wep"}, {"wep_key0", "123456789a"}, {"privacy", "0"}}, Wep("Odd", false, 0, wepKey), true},
        {"TKIP WPA-PSK announced as mixed with AES, station with WPA2-PSK AES",
         {{"security", "wpa-psk"}, {"passphrase", "correct horse"}, {"key_management", "0x44"},
          {"pairwise_ciphers", "0x14"}},
         Wpa("Odd", 3, CipherAesValue, "correct horse"), false},
        {"TKIP WPA-PSK announced as mixed with AES, station with WPA-PSK AES",
         {{"security", "wpa-psk"}, {"passphrase", "correct horse"}, {"key_management", "0x44"},
          {"pairwise_ciphers", "0x14"}},
         Wpa("Odd", 2, CipherAesValue, "correct horse"), false},
        {"TKIP WPA-PSK announced as mixed with AES, station with WPA-PSK TKIP",
         {{"security", "wpa-psk"}, {"passphrase", "correct horse"}, {"key_management", "0x44"},
          {"pairwise_ciphers", "0x14"}},
         Wpa("Odd", 2, CipherTkipValue, "correct horse"), true},
    };
    for (const OddCase& c : cases) {
        SCOPED_TRACE(c.name);
        CMockClock caseClock;
        caseClock.Participate();
        CSimWorld caseWorld(caseClock);
        SimAdapterSettings settings;
        settings.linkDelay = 1000ms;
        settings.surveyEmptyFirst = false;
        caseWorld.Configure(settings);
        SimNetwork n;
        n.ssid = "Odd";
        n.bssid = {2, 0, 0, 0, 0, 1};
        std::string error;
        for (const auto& [key, value] : c.settings)
            ASSERT_TRUE(n.Set(key, value, error)) << error;
        ASSERT_TRUE(caseWorld.AddNetwork(n, error)) << error;
        CSimDriverLibrary lib(caseWorld);
        ASSERT_TRUE(lib.RT_Initialize(0));

        // The survey still shows the bent announcement.
        SurveyBuffer survey{};
        uint8_t flag = 0;
        ASSERT_EQ(lib.RT_SiteSurveyEx(survey, flag, 0), 1);
        NetworkRecord expected;
        n.FillRecord(expected, n.quality);
        EXPECT_EQ(survey.records[0].privacy, expected.privacy);
        EXPECT_EQ(survey.records[0].keyManagement, expected.keyManagement);
        EXPECT_EQ(survey.records[0].pairwiseCiphers, expected.pairwiseCiphers);

        ApplyProfile(lib, c.profile, false);
        caseClock.FastForwardBy(1000ms);
        int state = 1, reserved = 0;
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        lib.RT_GetStatusLinkInfo(state, reserved, ssid, sizeof ssid, bssid);
        EXPECT_EQ(state == 1, c.links);
        caseClock.Leave();
    }
}

} // namespace
