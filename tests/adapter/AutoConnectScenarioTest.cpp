#include <gtest/gtest.h>

#include <memory>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/driver_library/CRecordingDriverLibrary.h"
#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "sim/CSimMachine.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/TempDir.h"

using namespace std::chrono_literals;

namespace {

// The whole adapter service on the simulated machine: a WPA2-PSK network in
// range, a stored last profile for it, and the adapter plugged at t = 0.
class AutoConnectScenarioTest : public ::testing::Test {
protected:
    AutoConnectScenarioTest()
    {
        clock.Participate();
        SimNetwork home;
        home.ssid = "Lindqvist Home";
        home.security = SecurityWpa2Psk;
        home.passphrase = "correct horse battery";
        home.bssid = {0x9c, 0xc7, 0xa6, 0x12, 0x40, 0x01};
        home.quality = 80;
        std::string error;
        EXPECT_TRUE(world.AddNetwork(home, error)) << error;
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, machine.services);
    }
    ~AutoConnectScenarioTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    // The profile a connect from the list with `passphrase` builds.
    VuvProfile ProfileFor(const char* passphrase)
    {
        NetworkRecord record = {};
        SimNetworkState state = world.Networks().front();
        state.network.FillRecord(record, state.quality);
        NetworkDescription description = {};
        description.passphraseLength = static_cast<uint32_t>(strlen(passphrase));
        memcpy(description.passphrase, passphrase, description.passphraseLength);
        VuvProfile profile = {};
        adapter->BuildProfileFromNetwork(record, description, profile);
        return profile;
    }
    void StoreProfile(const char* passphrase) { adapter->SaveProfile("Profile", ProfileFor(passphrase)); }
    LinkState Link()
    {
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        return adapter->QueryLink(ssid, bssid);
    }
    size_t Attempts() { return recorder.CallsStartingWith("RT_ACM_LinkVuvProfileNew").size(); }
    void Start()
    {
        adapter->StartDeviceWatch();
        adapter->StartTicker();
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSimMachine machine{clock, system, registry};
    CSimWorld& world = machine.world;
    CRecordingDriverLibrary recorder{machine.library};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

TEST_F(AutoConnectScenarioTest, FirstSurveyConnectsTheStoredProfile)
{
    StoreProfile("correct horse battery");
    Start();
    clock.FastForwardBy(2000ms); // ready, first survey, automatic connect handed to its worker
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(Attempts(), 1u);
    EXPECT_EQ(Link(), LinkDisconnected);
    clock.FastForwardBy(1000ms); // the link delay
    EXPECT_EQ(Link(), LinkNoAddress); // linked, no address yet
    clock.FastForwardBy(2000ms); // the address after the DHCP delay
    EXPECT_EQ(Link(), LinkConnected);
    char address[16] = {};
    adapter->GetIpAddress(address);
    EXPECT_STRNE(address, "");
    clock.FastForwardBy(60000ms); // linked: the periodic surveys do not run, no new attempt
    EXPECT_EQ(Attempts(), 1u);
    EXPECT_EQ(Link(), LinkConnected);
}

TEST_F(AutoConnectScenarioTest, WrongStoredPassphraseIsTriedOnThreeSurveysThenLeftUntilSavedAgain)
{
    StoreProfile("wrong horse battery");
    Start();
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(Attempts(), 1u);
    clock.FastForwardBy(28000ms); // the periodic survey at 30 s
    EXPECT_EQ(Attempts(), 2u);
    clock.FastForwardBy(30000ms);
    EXPECT_EQ(Attempts(), 3u);
    clock.FastForwardBy(60000ms); // two more surveys, no more tries
    EXPECT_EQ(Attempts(), 3u);
    EXPECT_EQ(adapter->autoConnectRetries, 0);
    EXPECT_EQ(Link(), LinkDisconnected); // a wrong key never links

    // The user connects with the right passphrase; the profile is saved again.
    adapter->connectProfile = ProfileFor("correct horse battery");
    adapter->SaveConnectProfile();
    EXPECT_EQ(adapter->autoConnectRetries, 3);
    clock.FastForwardBy(30000ms);
    EXPECT_EQ(Attempts(), 4u);
    clock.FastForwardBy(3000ms);
    EXPECT_EQ(Link(), LinkConnected);
}

} // namespace
