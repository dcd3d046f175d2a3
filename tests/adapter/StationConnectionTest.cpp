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

// The WPS attempt is gone before the connect makes its first driver call.
TEST_F(StationConnectionTest, ConnectEndsAWpsAttempt)
{
    std::atomic<bool> wpsEnded = false;
    std::atomic<size_t> callsBeforeWpsEnded = 1000;
    adapter->wpsStatus = 1;
    adapter->wpsRun = true;
    // Polls its run flag on the clock as the WPS worker does.
    CAdapterWirelessZadidar& object = *adapter;
    object.workers[CAdapterWirelessZadidar::SlotWps].Start(clock, [&] {
        while (object.wpsRun)
            clock.Sleep(100ms);
        callsBeforeWpsEnded = recorder.Calls().size();
        wpsEnded = true;
    });
    clock.FastForwardBy(250ms);
    EXPECT_FALSE(wpsEnded);

    adapter->ConnectManual(MakeDescription({.ssid = "Manual"}));
    EXPECT_TRUE(wpsEnded);
    EXPECT_FALSE(adapter->workers[CAdapterWirelessZadidar::SlotWps].HasThread());
    EXPECT_FALSE(adapter->wpsRun);
    EXPECT_EQ(adapter->wpsStatus, 0);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(callsBeforeWpsEnded.load(), 0u);
    EXPECT_EQ(Links(), Lines{LinkOf("Manual")});
    adapter.reset(); // every worker ends before the flags it writes go
}

// A WEP profile keeps the default key as typed, for the password window.
TEST_F(StationConnectionTest, WepConnectKeepsTheDefaultKeyText)
{
    NetworkDescription wep = MakeDescription(
        {.securityKind = 2, .wepKeyIndex = 2, .wepKeys = {"", "", "0102030405", ""}});
    adapter->ConnectToNetwork(MakeRecord({.capability = 0}), wep);
    EXPECT_EQ(std::string(adapter->connectProfile.passphrase), "0102030405");
    EXPECT_EQ(adapter->connectProfile.passphraseLength, 10u);
    clock.FastForwardBy(1ms);
}

// Guard against damaged input: a typed length beyond the key's text field
// would read past it, so the text is cut to the field.
TEST_F(StationConnectionTest, DamagedWepKeyLengthIsCutToItsTextField)
{
    NetworkDescription wep = MakeDescription({.securityKind = 2, .wepKeyIndex = 2});
    memset(wep.wepKeyText[2], 'k', sizeof wep.wepKeyText[2]);
    wep.wepKeyLength[2] = 60000;
    adapter->ConnectManual(wep);
    EXPECT_EQ(std::string(adapter->connectProfile.passphrase, adapter->connectProfile.passphraseLength),
              std::string(sizeof wep.wepKeyText[2], 'k'));
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
