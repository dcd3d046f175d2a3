#include "tests/adapter/StationFixture.h"

#include "platform/CodePage.h"

using namespace std::chrono_literals;

namespace {

const std::string IndexKey = "Software\\Kavlo\\Zarnwell\\Profile\\AutoSave\\ProfileInfo";

class StationConnectionTest : public StationFixture {
protected:
    int Count(const std::string& call)
    {
        int n = 0;
        for (const std::string& line : recorder.Calls())
            n += line == call;
        return n;
    }
    Lines Links() { return recorder.CallsStartingWith("RT_ACM_LinkVuvProfileNew"); }
    static std::string LinkOf(const std::string& ssid)
    {
        return "RT_ACM_LinkVuvProfileNew({record},\"" + ssid + "\",\"" + ssid + "\",1,0,0)";
    }

    const NetworkRecord wpa2 = MakeRecord({.pairwiseCiphers = 0x10, .keyManagement = 0x40});
    const NetworkDescription password = MakeDescription({.passphrase = "secret123"});
};

TEST_F(StationConnectionTest, ConnectAppliesTheProfileOnTheConnectWorker)
{
    library.holdInChannel = 100ms;
    adapter->ConnectToNetwork(wpa2, password);
    clock.FastForwardBy(99ms);
    EXPECT_TRUE(adapter->connectBusy);
    EXPECT_TRUE(Links().empty());
    clock.FastForwardBy(1ms);
    EXPECT_FALSE(adapter->connectBusy);
    EXPECT_EQ(Links(), Lines{LinkOf("Home")});
    EXPECT_EQ(Count("RT_ADD_PSK_CONX(\"secret123\",9)"), 1);
}

// The window may build the next profile while the worker still applies the
// previous one.
TEST_F(StationConnectionTest, WorkerAppliesTheProfileAsItWasWhenStarted)
{
    library.holdInChannel = 100ms;
    adapter->ConnectToNetwork(wpa2, password);
    strcpy(adapter->connectProfile.ssid, "Overwritten");
    strcpy(adapter->connectProfile.profileName, "Overwritten");
    clock.FastForwardBy(100ms);
    EXPECT_EQ(Links(), Lines{LinkOf("Home")});
}

TEST_F(StationConnectionTest, ASecondConnectReplacesTheFirst)
{
    library.holdInChannel = 5000ms;
    adapter->ConnectToNetwork(wpa2, password);
    clock.FastForwardBy(10ms);
    library.holdInChannel = 0ms;
    NetworkRecord other = MakeRecord({.ssid = "Other", .pairwiseCiphers = 0x10, .keyManagement = 0x40});
    adapter->ConnectToNetwork(other, password); // the first gets 1000 ms to end, then is ended
    clock.FastForwardBy(10ms);
    EXPECT_EQ(Links(), Lines{LinkOf("Other")});
    EXPECT_FALSE(adapter->connectBusy);
}

TEST_F(StationConnectionTest, ConnectEndsAWpsAttempt)
{
    adapter->wpsStatus = 1;
    adapter->wpsRun = true;
    adapter->ConnectManual(MakeDescription({.ssid = "Manual"}));
    EXPECT_FALSE(adapter->wpsRun);
    EXPECT_EQ(adapter->wpsStatus, 0);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(Links(), Lines{LinkOf("Manual")});
}

// A WEP profile keeps the default key as typed, for the password window.
TEST_F(StationConnectionTest, WepConnectKeepsTheDefaultKeyText)
{
    NetworkDescription wep = MakeDescription(
        {.securityKind = 2, .wepKeyIndex = 2, .wepKeys = {"", "", "0102030405", ""}});
    adapter->ConnectToNetwork(MakeRecord({.capability = 0}), wep);
    EXPECT_EQ(std::string(adapter->connectProfile.passphrase), "0102030405");
    EXPECT_EQ(adapter->connectProfile.passphraseLength, 10u);

    wep.wepKeyLength[2] = 60000; // never read beyond the key's text field
    adapter->ConnectManual(wep);
    EXPECT_EQ(adapter->connectProfile.passphraseLength, sizeof wep.wepKeyText[2]);
    clock.FastForwardBy(1ms);
}

TEST_F(StationConnectionTest, AutoConnectAppliesItsOwnCopyAndDoesNotStartTwice)
{
    library.holdInChannel = 100ms;
    adapter->BuildProfileFromNetwork(wpa2, password, adapter->autoConnectProfile);
    adapter->BeginAutoConnect();
    memset(&adapter->autoConnectProfile, 0, sizeof adapter->autoConnectProfile);
    clock.FastForwardBy(50ms);
    EXPECT_TRUE(adapter->autoConnectBusy);
    adapter->BeginAutoConnect(); // ignored while the first runs
    clock.FastForwardBy(50ms);
    EXPECT_FALSE(adapter->autoConnectBusy);
    EXPECT_EQ(Links(), Lines{LinkOf("Home")});
    EXPECT_EQ(Count("RT_Set802_1xStatus(0)"), 1);
}

TEST_F(StationConnectionTest, DisconnectStopsTheAutomaticConnect)
{
    adapter->Disconnect();
    EXPECT_EQ(recorder.Calls(), (Lines{"RT_Disassociate()", "RT_ACM_Delete_AllProfiles()", "RT_ACM_Disconnect()"}));
    EXPECT_FALSE(adapter->autoConnectEnabled);
}

TEST_F(StationConnectionTest, SaveConnectProfileStoresItAndRestoresTheTries)
{
    adapter->BuildProfileFromNetwork(wpa2, password, adapter->connectProfile);
    adapter->autoConnectRetries = 0;
    adapter->autoConnectEnabled = false;
    adapter->SaveConnectProfile();
    VuvProfile loaded = {};
    ASSERT_TRUE(adapter->LoadProfile("Profile", loaded));
    EXPECT_EQ(memcmp(&loaded, &adapter->connectProfile, sizeof loaded), 0);
    EXPECT_EQ(adapter->autoConnectRetries, 3);
    EXPECT_TRUE(adapter->autoConnectEnabled);
}

// The value name is the SSID read in the local code page.
TEST_F(StationConnectionTest, AutoSaveStoresUnderTheSsidInTheLocalCodePage)
{
    SetLocalCodePage("CP1252");
    adapter->BuildProfileFromNetwork(MakeRecord({.ssid = "Caf\xe9", .pairwiseCiphers = 0x10, .keyManagement = 0x40}),
                                     password, adapter->connectProfile);
    adapter->AutoSaveProfile();
    SetLocalCodePage("");
    std::string name;
    ASSERT_TRUE(registry.EnumValue(HiveLocalMachine, IndexKey, 0, name));
    EXPECT_EQ(name, "Caf\xc3\xa9");
    EXPECT_FALSE(registry.EnumValue(HiveLocalMachine, IndexKey, 1, name));
}

} // namespace
