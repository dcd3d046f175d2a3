#include "tests/adapter/AdapterFixture.h"

#include <algorithm>
#include <ctime>
#include "platform/CodePage.h"

namespace {

const std::string Root = "Software\\Kavlo\\Zarnwell";
const std::string ProfileKey = Root + "\\Profile";
const std::string IndexKey = Root + "\\Profile\\AutoSave\\ProfileInfo";
const std::string DataKey = Root + "\\Profile\\AutoSave\\ProfileData";

VuvProfile Profile(const char* ssid, uint8_t marker = 1)
{
    VuvProfile p{};
    snprintf(p.profileName, sizeof p.profileName, "%s", ssid);
    snprintf(p.ssid, sizeof p.ssid, "%s", ssid);
    p.flags = ProfileBuilt | ProfileInfrastructure;
    p.pmk[0] = marker;
    return p;
}

std::vector<uint8_t> IndexRecord(const char* ssid, uint32_t time)
{
    std::vector<uint8_t> r(46);
    memcpy(r.data(), "Kavlo", 5);
    r[5] = 1;
    memcpy(r.data() + 6, ssid, strlen(ssid));
    memcpy(r.data() + 42, &time, 4);
    return r;
}

using ProfileStoreTest = AdapterFixture;

TEST_F(ProfileStoreTest, SavedProfileIsStoredByteForByteAndLoadsBack)
{
    VuvProfile p = Profile("Home", 7);
    adapter->SaveProfile("Profile", p);
    std::vector<uint8_t> stored;
    ASSERT_TRUE(registry.QueryBinary(HiveLocalMachine, ProfileKey, "Profile", stored));
    ASSERT_EQ(stored.size(), 1094u);
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 4), "Merq");
    EXPECT_EQ(stored[4], 0x04);
    EXPECT_EQ(stored[5], 0x01);
    EXPECT_EQ(memcmp(stored.data() + 6, &p, sizeof p), 0);

    VuvProfile loaded{};
    EXPECT_TRUE(adapter->LoadProfile("Profile", loaded));
    EXPECT_EQ(memcmp(&loaded, &p, sizeof p), 0);
    EXPECT_FALSE(adapter->LoadProfile("APProfile", loaded));
}

TEST_F(ProfileStoreTest, RecordMarkersDecideWhatLoads)
{
    adapter->SaveProfile("Profile", Profile("Home"));
    std::vector<uint8_t> stored;
    registry.QueryBinary(HiveLocalMachine, ProfileKey, "Profile", stored);
    struct Case {
        size_t offset;
        uint8_t value;
        bool loads;
    };
    for (Case c : {Case{5, 0x07, true}, Case{4, 0x05, false}, Case{0, 'm', false}}) {
        std::vector<uint8_t> changed = stored;
        changed[c.offset] = c.value;
        registry.SetBinary(HiveLocalMachine, ProfileKey, "Profile", changed);
        VuvProfile loaded{};
        EXPECT_EQ(adapter->LoadProfile("Profile", loaded), c.loads) << c.offset;
    }
    registry.SetBinary(HiveLocalMachine, ProfileKey, "Profile", std::vector<uint8_t>(stored.begin(), stored.begin() + 100));
    VuvProfile loaded{};
    EXPECT_FALSE(adapter->LoadProfile("Profile", loaded)); // truncated value
}

TEST_F(ProfileStoreTest, NetworkModeIsStoredOnlyOnceTheRootKeyExists)
{
    EXPECT_EQ(adapter->LoadNetworkMode(), 0);
    adapter->SaveNetworkMode(1);
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, Root));
    EXPECT_EQ(adapter->LoadNetworkMode(), 0);

    adapter->SaveProfile("APProfile", Profile("Kavlo_1"));
    adapter->SaveNetworkMode(7);
    uint32_t raw = 0;
    ASSERT_TRUE(registry.QueryNumber(HiveLocalMachine, Root, "NetworkMode", raw));
    EXPECT_EQ(raw, 1u);
    EXPECT_EQ(adapter->LoadNetworkMode(), 1);

    registry.SetNumber(HiveLocalMachine, Root, "NetworkMode", 5);
    EXPECT_EQ(adapter->LoadNetworkMode(), 1);
    adapter->SaveNetworkMode(0);
    EXPECT_EQ(adapter->LoadNetworkMode(), 0);
}

class AutoStoreTest : public ProfileStoreTest {
protected:
    void Store(const char* ssid, uint8_t marker = 1) { adapter->StoreAutoSavedProfile(Profile(ssid, marker), ssid); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        std::string name;
        for (uint32_t i = 0; registry.EnumValue(HiveLocalMachine, IndexKey, i, name); ++i)
            names.push_back(name);
        return names;
    }
    void SetTime(const char* ssid, uint32_t time)
    {
        registry.SetBinary(HiveLocalMachine, IndexKey, ssid, IndexRecord(ssid, time));
    }
};

TEST_F(AutoStoreTest, IndexRecordLayout)
{
    uint32_t before = static_cast<uint32_t>(time(nullptr));
    Store("Home");
    std::vector<uint8_t> index;
    ASSERT_TRUE(registry.QueryBinary(HiveLocalMachine, IndexKey, "Home", index));
    ASSERT_EQ(index.size(), 46u);
    EXPECT_EQ(std::string(index.begin(), index.begin() + 5), "Kavlo");
    EXPECT_EQ(index[5], 0x01);
    EXPECT_EQ(std::string(index.begin() + 6, index.begin() + 10), "Home");
    EXPECT_TRUE(std::all_of(index.begin() + 10, index.begin() + 42, [](uint8_t b) { return b == 0; }));
    uint32_t stored = 0;
    memcpy(&stored, index.data() + 42, 4);
    EXPECT_GE(stored, before);
    EXPECT_LE(stored, before + 5);
}

TEST_F(AutoStoreTest, ValuesTooLongForTheReadBuffersReadAsNothing)
{
    for (const char* ssid : {"n1", "n2", "n3", "n4"})
        Store(ssid);
    std::vector<uint8_t> longIndex = IndexRecord("n5", 1);
    longIndex.resize(257);
    registry.SetBinary(HiveLocalMachine, IndexKey, "n5", longIndex);
    VuvProfile found{};
    bool isFound = false, full = false;
    std::string oldest, matched;
    adapter->FindAutoSavedProfile("n5", found, isFound, full, oldest, matched);
    EXPECT_FALSE(full); // four counted
    EXPECT_EQ(matched, "");

    adapter->SaveProfile("Profile", Profile("Home"));
    std::vector<uint8_t> stored;
    registry.QueryBinary(HiveLocalMachine, ProfileKey, "Profile", stored);
    stored.resize(3001);
    registry.SetBinary(HiveLocalMachine, ProfileKey, "Profile", stored);
    VuvProfile loaded{};
    EXPECT_FALSE(adapter->LoadProfile("Profile", loaded));
}

TEST_F(AutoStoreTest, StoredNetworkIsFoundByItsSsid)
{
    Store("Home", 9);
    VuvProfile found{};
    bool isFound = false, full = false;
    std::string oldest, matched;
    adapter->FindAutoSavedProfile("Home", found, isFound, full, oldest, matched);
    EXPECT_TRUE(isFound);
    EXPECT_FALSE(full);
    EXPECT_EQ(matched, "Home");
    EXPECT_EQ(found.pmk[0], 9);
    adapter->FindAutoSavedProfile("Other", found, isFound, full, oldest, matched);
    EXPECT_FALSE(isFound);
    EXPECT_EQ(matched, "");
}

TEST_F(AutoStoreTest, SixthNetworkEvictsTheOldest)
{
    for (const char* ssid : {"n1", "n2", "n3", "n4", "n5"})
        Store(ssid);
    for (auto [ssid, time] : {std::pair{"n1", 500u}, {"n2", 100u}, {"n3", 300u}, {"n4", 400u}, {"n5", 200u}})
        SetTime(ssid, time);
    Store("n6");
    EXPECT_EQ(Names(), (std::vector<std::string>{"n1", "n3", "n4", "n5", "n6"}));
    std::vector<uint8_t> data;
    EXPECT_FALSE(registry.QueryBinary(HiveLocalMachine, DataKey, "n2", data));
}

TEST_F(AutoStoreTest, EqualOldestTimesEvictTheOneEnumeratedLast)
{
    for (const char* ssid : {"n1", "n2", "n3", "n4", "n5"})
        Store(ssid);
    for (auto [ssid, time] : {std::pair{"n1", 100u}, {"n2", 100u}, {"n3", 100u}, {"n4", 400u}, {"n5", 200u}})
        SetTime(ssid, time);
    Store("n6");
    EXPECT_EQ(Names(), (std::vector<std::string>{"n1", "n2", "n4", "n5", "n6"}));
}

TEST_F(AutoStoreTest, StoringAKnownNetworkOverwritesAndRemovesNothing)
{
    for (const char* ssid : {"n1", "n2", "n3", "n4", "n5"})
        Store(ssid);
    Store("n3", 42);
    EXPECT_EQ(Names().size(), 5u);
    VuvProfile found{};
    bool isFound = false, full = false;
    std::string oldest, matched;
    adapter->FindAutoSavedProfile("n3", found, isFound, full, oldest, matched);
    EXPECT_TRUE(isFound);
    EXPECT_TRUE(full);
    EXPECT_EQ(found.pmk[0], 42);
}

TEST_F(AutoStoreTest, IndexValueWithoutItsMarkerIsNeitherCountedNorMatched)
{
    for (const char* ssid : {"n1", "n2", "n3", "n4"})
        Store(ssid);
    std::vector<uint8_t> bad = IndexRecord("n5", 1);
    bad[0] = 'k';
    registry.SetBinary(HiveLocalMachine, IndexKey, "n5", bad);
    VuvProfile found{};
    bool isFound = false, full = false;
    std::string oldest, matched;
    adapter->FindAutoSavedProfile("n5", found, isFound, full, oldest, matched);
    EXPECT_FALSE(full);
    EXPECT_EQ(matched, "");
}

TEST_F(AutoStoreTest, ValueNameIsTheSsidThroughTheAnsiCodePage)
{
    SetLocalCodePage("CP936");
    const char gbk[] = "\xCD\xF8\xC2\xE7"; // "网络" in GBK
    adapter->connectProfile = Profile(gbk);
    adapter->AutoSaveProfile();
    EXPECT_EQ(Names(), std::vector<std::string>{"网络"});
    VuvProfile found{};
    bool isFound = false, full = false;
    std::string oldest, matched;
    adapter->FindAutoSavedProfile(gbk, found, isFound, full, oldest, matched);
    EXPECT_TRUE(isFound);
    SetLocalCodePage("");
}

} // namespace
