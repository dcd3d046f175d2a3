#include <set>

#include "adapter/KeyDerivation.h"
#include "tests/adapter/StationFixture.h"
#include "tests/support/CQuietSystem.h"

using namespace std::chrono_literals;

namespace {

// The adapter in access-point mode: its access point shows as linked from
// the `pollsUntilUp`th link-status poll on (never when negative); the station
// list and the address are what the test sets.
class CAccessPointLibrary : public CStationLibrary {
public:
    using CStationLibrary::CStationLibrary;

    bool RT_AP_GetIsAPMode() override { return true; }
    void RT_GetStatusLinkInfo(int& state, int&, char*, int, uint8_t (&)[6]) override
    {
        std::lock_guard lock(mutex);
        ++polls;
        state = pollsUntilUp >= 0 && polls >= pollsUntilUp ? DriverLinkAccessPoint : DriverLinkNone;
    }
    void RT_AP_SetPassphrase(const char (&passphrase)[256], int length) override
    {
        std::lock_guard lock(mutex);
        apPassphrase.assign(passphrase, std::min<size_t>(256, length == 64 ? 32 : size_t(std::max(length, 0))));
    }
    bool RT_AP_GetStationList(StationListBuffer& buffer, int, int& count, int& size, uint32_t& offset,
                              int&) override
    {
        std::lock_guard lock(mutex);
        buffer = stations;
        count = 0;
        size = entrySize;
        offset = tableOffset;
        return true;
    }
    void RT_GetMacAddress(MacAddressBuffer& mac) override { mac.bytes[0] = 1; }
    bool GetIpInformation(const MacAddressBuffer&, IpInformation& info) override
    {
        std::lock_guard lock(mutex);
        snprintf(info.address1, sizeof info.address1, "%s", address.c_str());
        return true;
    }

    std::mutex mutex;
    int pollsUntilUp = 1;
    int polls = 0;
    std::string apPassphrase;
    StationListBuffer stations = {};
    int entrySize = 24;
    uint32_t tableOffset = 64;
    std::string address = "0.0.0.0";
};

class SoftApTest : public ::testing::Test {
protected:
    SoftApTest()
    {
        clock.Participate();
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
        strcpy(adapter->apDefaultSsid, "Zarnwell_");
    }
    ~SoftApTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    // A stored access point of this SSID, security and passphrase.
    VuvProfile Stored(uint32_t securityKind, const std::string& passphrase)
    {
        VuvProfile profile;
        adapter->BuildProfileFromDescription(
            MakeDescription({.ssid = "Garden", .securityKind = securityKind, .passphrase = passphrase}), profile);
        return profile;
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CAccessPointLibrary library{clock};
    CRecordingDriverLibrary recorder{library};
    CNoSystemAdapters systemAdapters;
    CLauncher launcher;
    CNoSharingService sharing;
    CQuietSystem system;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

bool Matches(const std::string& text, const std::string& pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool ok = pattern[i] == 'D'   ? c >= '0' && c <= '9'
                  : pattern[i] == 'H' ? c >= 'A' && c <= 'F'
                  : pattern[i] == 'L' ? c >= 'A' && c <= 'Z'
                                      : c == pattern[i];
        if (!ok)
            return false;
    }
    return true;
}

TEST_F(SoftApTest, TheFirstAccessPointIsMadeOnceStoredAndKept)
{
    struct Case {
        uint32_t lcid;
        std::string prefix;
        std::string ssidPattern;
        std::string passphrasePattern;
    };
    const Case cases[] = {
        {1033, "Zarnwell_", "Zarnwell_DHDHDH", "LDLDLDLD"},
        {0x0804, "Zarnwell_", "Zarnwell_DHDHDH", "40718293"},
        // 30 bytes of prefix leave room for two of the six characters.
        {1033, std::string(30, 'p'), std::string(30, 'p') + "DH", "LDLDLDLD"},
        {1033, "", "DHDHDH", "LDLDLDLD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ssidPattern);
        registry.DeleteValue(HiveLocalMachine, "Software\\Kavlo\\Zarnwell\\Profile", "APProfile");
        adapter->lcid = c.lcid;
        memset(adapter->apDefaultSsid, 0, sizeof adapter->apDefaultSsid);
        memcpy(adapter->apDefaultSsid, c.prefix.data(), c.prefix.size());
        VuvProfile first = {};
        adapter->LoadSoftApProfile(first);
        EXPECT_TRUE(Matches(first.ssid, c.ssidPattern)) << first.ssid;
        EXPECT_STREQ(first.profileName, first.ssid);
        EXPECT_TRUE(Matches(first.passphrase, c.passphrasePattern)) << first.passphrase;
        EXPECT_EQ(first.passphraseLength, 8u);
        EXPECT_EQ(first.flags, 0xC0Du);
        EXPECT_EQ(first.channel, 1);
        EXPECT_EQ(first.keyManagement, 0x04u);
        EXPECT_EQ(first.pairwiseCiphers, 0x10u);
        uint8_t pmk[32];
        DerivePmk(first.passphrase, 8, reinterpret_cast<const uint8_t*>(first.ssid), strlen(first.ssid), pmk);
        EXPECT_EQ(memcmp(first.pmk, pmk, 32), 0);

        VuvProfile again = {};
        adapter->LoadSoftApProfile(again);
        EXPECT_EQ(memcmp(&first, &again, sizeof first), 0) << "made a second time";
    }
}

TEST_F(SoftApTest, TwoDefaultAccessPointsMadeInTheSameSecondDiffer)
{
    std::set<std::string> passphrases;
    for (int i = 0; i < 20; ++i)
        passphrases.insert(adapter->MakeDefaultPassphrase());
    EXPECT_GT(passphrases.size(), 15u) << "the characters must not follow from the time";
}

TEST_F(SoftApTest, AStoredAccessPointIsLoadedWithoutThe8021xMarkAndShownForEditing)
{
    VuvProfile stored = Stored(4, "garden-party");
    stored.flags |= Profile8021x;
    adapter->SaveProfile("APProfile", stored);
    VuvProfile loaded = {};
    adapter->LoadSoftApProfile(loaded);
    EXPECT_EQ(loaded.flags, stored.flags & ~Profile8021x);

    struct Case {
        uint32_t kind;
        std::string passphrase;
        uint32_t shownKind;
    };
    for (const Case& c : {Case{3, "garden-party", 3}, Case{4, "garden-party", 4}, Case{0, "", 0}}) {
        adapter->SaveProfile("APProfile", Stored(c.kind, c.passphrase));
        NetworkDescription shown;
        memset(&shown, 0x5a, sizeof shown);
        adapter->GetSoftApSettings(shown);
        EXPECT_STREQ(shown.ssid, "Garden");
        EXPECT_EQ(shown.securityKind, c.shownKind);
        EXPECT_EQ(std::string(shown.passphrase, shown.passphraseLength), c.passphrase);
        EXPECT_EQ(shown.cipher, 0u);
        EXPECT_EQ(shown.wepKeyLength[0], 0);
    }
}

// The call sequence of one configuration, with the access point up at the first poll.
TEST_F(SoftApTest, ConfiguringTheAccessPointBringsItUpOpenThenGivesItsSecurity)
{
    const Lines start = {
        "RT_Disassociate()",
        "RT_SetNetworkType(1)",
        "RT_ACM_Delete_AllProfiles()",
        "RT_ACM_LinkVuvProfileNew({record},\"Garden\",\"Garden\",0,1,1)",
        "RT_GetStatusLinkInfo(0,0,ptr,33,000000000000)",
        "RT_Set_Filter_Type(0)",
        "RT_SetIsHidden_SSID(0)",
        "RT_Set802_1xStatus(0)",
        "RT_SetAUTOChannel(0)",
        "RT_SetChannel(1)",
        "RT_GetPowerSaveMode()",
        "RT_SetPowerSaveMode(2)",
        "RT_GetRates(0,0,0,0,0)",
        "RT_SetRates(1,1,2,3,4)",
        "RT_GetPreambleMode()",
        "RT_SetPreambleMode(1)",
    };
    struct Case {
        const char* name;
        uint32_t kind;
        uint32_t cipher;
        std::string passphrase;
        Lines security;
        std::string handedOver;
    };
    const std::string hex = CountingKeyHex();
    std::string counting;
    for (int i = 0; i < 32; ++i)
        counting += char(i);
    const Case cases[] = {
        {"WPA-PSK AES", 3, 0, "garden-party",
         {"RT_SetAuthenticaionMode(6)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,5,4)",
          "RT_AP_SetPassphrase(\"garden-party\",12)"},
         "garden-party"},
        {"WPA2-PSK TKIP", 4, 1, "garden-party",
         {"RT_SetAuthenticaionMode(7)", "RT_SetEncryptionStatus(4)", "RT_SetMHSecurityInfo(1,5,5)",
          "RT_AP_SetPassphrase(\"garden-party\",12)"},
         "garden-party"},
        {"the key in hexadecimal goes as its 32 bytes", 4, 0, hex,
         {"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)",
          "RT_AP_SetPassphrase(\"\",64)"},
         counting},
        {"open", 0, 0, "", {"RT_SetPrivacy(0,64)", "RT_SetAuthenticaionMode(0)", "RT_SetMHSecurityInfo(1,0,0)"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.ClearCalls();
        library.polls = 0;
        library.apPassphrase.clear();
        VuvProfile profile;
        adapter->BuildProfileFromDescription(
            MakeDescription({.ssid = "Garden", .securityKind = c.kind, .cipher = c.cipher, .passphrase = c.passphrase}),
            profile);
        Ms began = clock.Now();
        adapter->ConfigureSoftAp(profile);
        EXPECT_EQ(clock.Now() - began, 400ms);
        EXPECT_EQ(recorder.Calls(), start + c.security + Lines{"RT_SetSSID(\"Garden\")"});
        EXPECT_EQ(library.apPassphrase, c.handedOver);
    }
}

TEST_F(SoftApTest, TheLinkWaitEndsWhenTheAccessPointIsUpOrAfterTwoRoundsOfThirtyPolls)
{
    struct Case {
        int pollsUntilUp;
        Ms took;
        int links;
        int polls;
    };
    for (const Case& c : {Case{1, 400ms, 1, 1}, Case{30, 6200ms, 1, 30}, Case{31, 6400ms, 2, 31},
                          Case{-1, 12000ms, 2, 60}}) {
        SCOPED_TRACE(c.pollsUntilUp);
        recorder.ClearCalls();
        library.pollsUntilUp = c.pollsUntilUp;
        library.polls = 0;
        VuvProfile profile;
        adapter->BuildProfileFromDescription(MakeDescription({.ssid = "Garden"}), profile);
        Ms began = clock.Now();
        adapter->ConfigureSoftAp(profile);
        EXPECT_EQ(clock.Now() - began, c.took);
        int links = 0, polls = 0;
        for (const std::string& call : recorder.Calls()) {
            links += call.starts_with("RT_ACM_LinkVuvProfileNew(");
            polls += call.starts_with("RT_GetStatusLinkInfo(");
        }
        EXPECT_EQ(links, c.links);
        EXPECT_EQ(polls, c.polls);
        EXPECT_EQ(recorder.Calls().back(), "RT_SetSSID(\"Garden\")");
    }
}

TEST_F(SoftApTest, OnlyStationsWithBothMarksAreCountedAndABadTableIsNotRead)
{
    auto put = [&](int index, uint8_t first, uint8_t fourteenth) {
        uint8_t* entry = library.stations.bytes + library.tableOffset + index * library.entrySize;
        entry[0] = first;
        entry[5] = uint8_t(index);
        entry[13] = fourteenth;
    };
    put(0, 1, 1);
    put(1, 0, 1);
    put(2, 1, 0);
    put(63, 1, 1);
    std::vector<StationEntry> list(3);
    adapter->RefreshStationList(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].bytes[5], 0);
    EXPECT_EQ(list[1].bytes[5], 63);

    struct Bad {
        const char* name;
        int entrySize;
        uint32_t offset;
    };
    for (const Bad& bad : {Bad{"beyond the buffer", 24, 65}, Bad{"far beyond", 24, 0xFFFFFFF0u},
                           Bad{"entries too small", 8, 0}, Bad{"entries too large", 100, 0},
                           Bad{"a negative size", -24, 64}}) {
        SCOPED_TRACE(bad.name);
        library.entrySize = bad.entrySize;
        library.tableOffset = bad.offset;
        list.resize(1);
        adapter->RefreshStationList(list);
        EXPECT_TRUE(list.empty());
    }
}

TEST_F(SoftApTest, TheAccessPointsAddressIsWaitedForASecondAtATime)
{
    struct Case {
        std::string address;
        int tries;
        bool found;
        Ms took;
    };
    for (const Case& c : {Case{"192.168.159.1", 5, true, 0ms}, Case{"0.0.0.0", 5, false, 5000ms},
                          Case{"192.168.1.23", 2, false, 2000ms}, Case{"192.168.159.10", 1, false, 1000ms}}) {
        SCOPED_TRACE(c.address);
        library.address = c.address;
        recorder.ClearCalls();
        Ms began = clock.Now();
        EXPECT_EQ(adapter->WaitForSoftApAddress(c.tries), c.found);
        EXPECT_EQ(clock.Now() - began, c.took);
        EXPECT_EQ(recorder.Calls().front(), "ICS_Ordinal3(0,\"\",\"\")");
    }
}

TEST_F(SoftApTest, NewSettingsAreStoredAndConfiguredOnTheirOwnWorker)
{
    adapter->ApplySoftApSettings(MakeDescription({.ssid = "Garden", .securityKind = 4, .passphrase = "garden-party"}));
    VuvProfile stored = {};
    ASSERT_TRUE(adapter->LoadProfile("APProfile", stored));
    EXPECT_STREQ(stored.ssid, "Garden");
    EXPECT_EQ(memcmp(&stored, &adapter->softApProfile, sizeof stored), 0);
    clock.FastForwardBy(1s);
    EXPECT_EQ(library.apPassphrase, "garden-party");
}

} // namespace
