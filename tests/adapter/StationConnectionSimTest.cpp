#include <gtest/gtest.h>

#include <memory>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "sim/CSimMachine.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/TempDir.h"

using namespace std::chrono_literals;

namespace {

// A connect from the network list to a simulated WPA2-PSK access point on the
// simulated machine, with the library session open as the device watch
// leaves it.
class StationConnectionSimTest : public ::testing::Test {
protected:
    StationConnectionSimTest()
    {
        clock.Participate();
        SimAdapterSettings settings;
        settings.surveyEmptyFirst = false;
        world.Configure(settings);
        SimNetwork home;
        home.ssid = "Home";
        home.security = SecurityWpa2Psk;
        home.passphrase = "secret123";
        home.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
        std::string error;
        EXPECT_TRUE(world.AddNetwork(home, error)) << error;
        AdapterList list = {};
        library.RT_GetAdapterList(list, 0);
        library.RT_SetDefaultAdapterIndex(0);
        EXPECT_TRUE(library.RT_Initialize(0));
        adapter = std::make_unique<CAdapterWirelessZadidar>(library, machine.services);
    }
    ~StationConnectionSimTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    NetworkRecord Listed()
    {
        SurveyBuffer buffer = {};
        uint8_t flag = 0;
        EXPECT_EQ(library.RT_SiteSurveyEx(buffer, flag, 0), 1);
        return buffer.records[0];
    }
    void Connect(const char* passphrase)
    {
        NetworkDescription description = {};
        description.passphraseLength = static_cast<uint32_t>(strlen(passphrase));
        memcpy(description.passphrase, passphrase, description.passphraseLength);
        adapter->ConnectToNetwork(Listed(), description);
    }
    LinkState Link()
    {
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        return adapter->QueryLink(ssid, bssid);
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSimMachine machine{clock, system, registry};
    CSimWorld& world = machine.world;
    CSimDriverLibrary& library = machine.library;
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

TEST_F(StationConnectionSimTest, Wpa2PskConnectLinks)
{
    Connect("secret123");
    clock.FastForwardBy(999ms);
    EXPECT_EQ(Link(), LinkDisconnected);
    clock.FastForwardBy(1ms);
    EXPECT_NE(Link(), LinkDisconnected);
    clock.FastForwardBy(5000ms);
    EXPECT_EQ(Link(), LinkConnected);
    EXPECT_FALSE(adapter->connectBusy);
}

TEST_F(StationConnectionSimTest, WrongPassphraseNeverLinks)
{
    Connect("wrong-passphrase");
    for (int second = 0; second < 20; ++second) {
        clock.FastForwardBy(1000ms);
        EXPECT_EQ(Link(), LinkDisconnected) << "after " << second + 1 << " s";
    }
}

} // namespace
