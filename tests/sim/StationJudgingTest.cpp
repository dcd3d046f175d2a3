#include <openssl/evp.h>

#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CLauncher.h"
#include "platform/CRegistry.h"
#include "sim/CSimSharingService.h"
#include "sim/CSimSystemAdapters.h"
#include "tests/sim/SimFixture.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/TempDir.h"

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

// The adapter service's own driver-call sequence for a profile, over the
// simulated library; before Windows 7 it disassociates first.
void ApplyProfile(CSimWorld& world, CDriverLibrary& lib, CClock& clock, const VuvProfile& profile,
                  bool beforeWindows7)
{
    CTempDir state;
    CRegistry registry(state.Path());
    CSimSystemAdapters systemAdapters(world);
    CQuietSystem system;
    CLauncher launcher;
    CSimSharingService sharing(world);
    CAdapterWirelessZadidar adapter(lib, {clock, system, registry, systemAdapters, launcher, sharing});
    adapter.osKind = beforeWindows7 ? 6 : 13;
    adapter.ApplyProfile(profile);
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
        ApplyProfile(caseWorld, lib, caseClock, c.profile, beforeWindows7);

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

        ApplyProfile(caseWorld, lib, caseClock, c.profile, false);
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
