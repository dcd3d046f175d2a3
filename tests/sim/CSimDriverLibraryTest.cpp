#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "sim/SimDeviceBroadcast.h"
#include "sim/SimWpsPin.h"
#include "tests/sim/SimFixture.h"

namespace {

class CSimDriverLibraryTest : public SimFixture {
protected:
    // The open-network part of the station sequence, then the association.
    void JoinOpen(const std::string& ssid, const uint8_t* bssid = nullptr)
    {
        library.RT_ACM_Delete_AllProfiles();
        if (bssid) {
            uint8_t b[6];
            std::memcpy(b, bssid, 6);
            library.RT_SetBSSID(b);
        }
        library.RT_SetPrivacy(0, 0x40);
        library.RT_SetAuthenticaionMode(0);
        VuvProfile profile{};
        char name[33] = {};
        std::memcpy(name, ssid.data(), std::min<size_t>(ssid.size(), 32));
        library.RT_ACM_LinkVuvProfileNew(profile, name, name, 1, 0, 0);
    }

    SimNetwork& AddOpen(const std::string& ssid, int quality)
    {
        SimNetwork& n = Add(ssid, SecurityOpen);
        std::string error;
        EXPECT_TRUE(world.SetNetwork(n.bssid, {{"quality", std::to_string(quality)}}, error)) << error;
        return n;
    }
};

TEST_F(CSimDriverLibraryTest, AnUnpluggedAdapterAnswersNothing)
{
    Add("Cafe", SecurityOpen);
    Open();
    JoinOpen("Cafe");
    clock.FastForwardBy(5s);
    ASSERT_EQ(LinkState(), 1);
    ASSERT_TRUE(world.Unplug());
    world.PressWpsButton();

    AdapterList list{};
    library.RT_GetAdapterList(list, 0);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.deviceName[0], '\0');
    EXPECT_FALSE(library.RT_Initialize(0));
    SurveyBuffer survey{};
    uint8_t flag = 0;
    EXPECT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 0);
    std::string ssid;
    EXPECT_EQ(LinkState(&ssid), 1); // the preset word, untouched
    EXPECT_EQ(ssid, "");
    MacAddressBuffer mac;
    std::memset(mac.bytes, 0xAA, sizeof mac.bytes);
    library.RT_GetMacAddress(mac);
    EXPECT_EQ(mac.bytes[0], 0xAA);
    EXPECT_EQ(mac.bytes[5], 0xAA);
    EXPECT_EQ(Address(), "none");
    EXPECT_FALSE(library.RT_GetIsRadioOff());
    EXPECT_FALSE(library.RT_AP_GetIsAPMode());
    EXPECT_FALSE(library.RT_Get_HW_PBCStatus());
    EXPECT_FALSE(library.RT_VERIFY_PIN("12345670"));
    char pin[9] = {};
    library.RT_GEN_PIN(pin);
    EXPECT_EQ(pin[0], '\0');
    int quality = -1, reserved = -1;
    library.RT_GetStatusSignalInfo(quality, reserved);
    EXPECT_EQ(quality, -1);
    EXPECT_EQ(library.RT_GetStatusDynamicRate(), 0u);

    // Plugged in again, the adapter needs a new session and a new association.
    ASSERT_TRUE(world.Plug());
    EXPECT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 0);
    Open();
    EXPECT_EQ(LinkState(), 0);
    EXPECT_FALSE(library.RT_Get_HW_PBCStatus());
}

TEST_F(CSimDriverLibraryTest, TheAdapterListShowsTheDeviceAndItsDisabledFlag)
{
    SimAdapterSettings settings;
    settings.initFailures = 2;
    settings.name = "Kavlo Test Adapter";
    world.Configure(settings);
    AdapterList list{};
    library.RT_GetAdapterList(list, 0);
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(list.disabled, 0);
    EXPECT_STREQ(list.deviceName, "Kavlo Test Adapter");
    EXPECT_FALSE(library.RT_Initialize(0));
    EXPECT_FALSE(library.RT_Initialize(0));
    EXPECT_TRUE(library.RT_Initialize(0));

    ASSERT_TRUE(world.Disable());
    list = {};
    library.RT_GetAdapterList(list, 0);
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(list.disabled, 1);
    EXPECT_FALSE(library.RT_Initialize(0));
    EXPECT_FALSE(library.RT_GetIsRadioOff() || library.RT_AP_GetIsAPMode());
    ASSERT_TRUE(world.Enable());
    EXPECT_FALSE(library.RT_Initialize(0)); // the failures come again after enabling
    EXPECT_FALSE(library.RT_Initialize(0));
    EXPECT_TRUE(library.RT_Initialize(0));
}

TEST_F(CSimDriverLibraryTest, PluggingNotifiesAndTheFilterRecognisesTheAdapter)
{
    std::vector<std::pair<uint32_t, bool>> events;
    world.SetDeviceChangeListener([&](uint32_t type, const void* data) {
        bool removed = false, concerns = false;
        bool ours = library.EnumDevicesChange("Kavlo 802.11n USB Wireless LAN Card", type, data, removed, concerns);
        EXPECT_EQ(ours, concerns);
        events.emplace_back(type, ours && removed && concerns);
        bool otherRemoved = false, otherConcerns = false;
        EXPECT_FALSE(library.EnumDevicesChange("Another Adapter", type, data, otherRemoved, otherConcerns));
        EXPECT_FALSE(otherRemoved || otherConcerns);
    });
    ASSERT_TRUE(world.Unplug());
    ASSERT_TRUE(world.Plug());
    EXPECT_FALSE(world.Plug());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::make_pair(DeviceRemoveComplete, true));
    EXPECT_EQ(events[1], std::make_pair(DeviceArrival, false));

    bool removed = false, concerns = false;
    EXPECT_FALSE(library.EnumDevicesChange("Kavlo 802.11n USB Wireless LAN Card", 7, nullptr, removed, concerns));
    const uint32_t header[3] = {12, DeviceTypeInterface, 0}; // a record of another, shorter kind
    EXPECT_FALSE(library.EnumDevicesChange("Kavlo 802.11n USB Wireless LAN Card", DeviceRemoveComplete, header, removed,
                                           concerns));
    EXPECT_FALSE(removed || concerns);
}

TEST_F(CSimDriverLibraryTest, ReplacingTheListenerWaitsForACallInFlight)
{
    std::promise<void> entered;
    std::future<void> enteredFuture = entered.get_future();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> callEnded = false;
    world.SetDeviceChangeListener([&](uint32_t, const void*) {
        entered.set_value();
        released.wait_for(10s);
        callEnded = true;
    });
    std::thread unplugger([&] { world.Unplug(); });
    EXPECT_EQ(enteredFuture.wait_for(10s), std::future_status::ready);

    std::promise<bool> replaced;
    std::future<bool> replacedFuture = replaced.get_future();
    std::thread replacer([&] {
        world.SetDeviceChangeListener(nullptr);
        replaced.set_value(callEnded.load());
    });
    EXPECT_EQ(replacedFuture.wait_for(200ms), std::future_status::timeout);
    release.set_value();
    unplugger.join();
    replacer.join();
    EXPECT_TRUE(replacedFuture.get()) << "the listener was replaced while its call still ran";
}

TEST_F(CSimDriverLibraryTest, AStoppedSessionForgetsItsLinkAndStationSettings)
{
    Open();
    Add("Cafe", SecurityOpen);
    JoinOpen("Cafe");
    clock.FastForwardBy(5s);
    ASSERT_EQ(LinkState(), 1);
    library.RT_Stop();
    ASSERT_TRUE(library.RT_Initialize(0));
    EXPECT_EQ(LinkState(), 0);

    // WPA2-PSK settings given before the stop do not carry over into the next session.
    Add("Home", SecurityWpa2Psk, "correct horse");
    library.RT_ACM_Delete_AllProfiles();
    library.RT_SetPrivacy(1, 0x40);
    library.RT_SetAuthenticaionMode(4);
    library.RT_SetEncryptionStatus(6);
    char passphrase[256] = "correct horse";
    library.RT_ADD_PSK_CONX(passphrase, 13);
    library.RT_Stop();
    ASSERT_TRUE(library.RT_Initialize(0));
    char name[33] = "Home";
    library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, name, name, 1, 0, 0);
    clock.FastForwardBy(5s);
    EXPECT_EQ(LinkState(), 0);

    // Told again, the station joins.
    library.RT_SetPrivacy(1, 0x40);
    library.RT_SetAuthenticaionMode(4);
    library.RT_SetEncryptionStatus(6);
    library.RT_ADD_PSK_CONX(passphrase, 13);
    library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, name, name, 1, 0, 0);
    clock.FastForwardBy(5s);
    EXPECT_EQ(LinkState(), 1);
}

TEST_F(CSimDriverLibraryTest, TheSurveyFillsRealRecords)
{
    SimAdapterSettings settings; // the first query finds nothing until a rescan
    world.Configure(settings);
    Add("Home", SecurityWpa2Psk, "correct horse");
    Add("Mixed", SecurityWpaWpa2Psk, "correct horse");
    SimNetwork& wep = Add("Old", SecurityOpen);
    std::string error;
    ASSERT_TRUE(world.SetNetwork(wep.bssid, {{"security", "wep"}, {"wep_key0", "abcde"}}, error)) << error;
    SimNetwork hidden;
    hidden.ssid = "Secret";
    hidden.hidden = true;
    hidden.bssid = {2, 0, 0, 0, 0, 9};
    ASSERT_TRUE(world.AddNetwork(hidden, error));
    SimNetwork gbk;
    ASSERT_TRUE(gbk.Set("ssid_hex", "bcd2cda5cdf8c2e7", error));
    gbk.bssid = {2, 0, 0, 0, 0, 10};
    gbk.inRange = false;
    ASSERT_TRUE(world.AddNetwork(gbk, error));
    Open();

    SurveyBuffer survey{};
    uint8_t flag = 0;
    EXPECT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 0);
    library.RT_Rescan();
    ASSERT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 4);
    const NetworkRecord* r = survey.records;
    EXPECT_STREQ(r[0].ssid, "Home");
    EXPECT_EQ(r[0].networkType, 1);
    EXPECT_EQ(r[0].privacy, 1);
    EXPECT_EQ(r[0].capability, 0x02u);
    EXPECT_EQ(r[0].pairwiseCiphers, 0x10u);
    EXPECT_EQ(r[0].keyManagement, 0x40u);
    EXPECT_EQ(r[0].quality, 70);
    EXPECT_EQ(r[0].channel, 6);
    EXPECT_EQ(r[1].keyManagement, 0x44u);
    EXPECT_EQ(r[1].pairwiseCiphers, 0x14u);
    EXPECT_EQ(r[1].groupCiphers, 0x04u);
    EXPECT_EQ(r[1].mixedPreference, 0x40u);
    EXPECT_EQ(r[2].privacy, 1);
    EXPECT_EQ(r[2].capability, 0u);
    EXPECT_EQ(r[3].ssid[0], '\0');
    EXPECT_EQ(r[3].bssid[5], 9);

    ASSERT_TRUE(world.SetNetwork(gbk.bssid, {{"in_range", "yes"}}, error));
    ASSERT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 5);
    EXPECT_EQ(std::string(survey.records[4].ssid), "\xbc\xd2\xcd\xa5\xcd\xf8\xc2\xe7");

    library.RT_SetRadioOff(true);
    EXPECT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 0);
}

TEST_F(CSimDriverLibraryTest, TheSurveyStopsAt128Records)
{
    for (int i = 0; i < 130; ++i) {
        SimNetwork n;
        n.ssid = "Net" + std::to_string(i);
        n.bssid = {2, 1, 0, 0, uint8_t(i >> 8), uint8_t(i)};
        std::string error;
        ASSERT_TRUE(world.AddNetwork(n, error));
    }
    Open();
    SurveyBuffer survey{};
    uint8_t flag = 0;
    EXPECT_EQ(library.RT_SiteSurveyEx(survey, flag, 0), 128);
}

TEST_F(CSimDriverLibraryTest, TheLinkReportsWhatTheStatusCallsRead)
{
    SimNetwork& n = Add("A Long Network Name", SecurityOpen);
    std::string error;
    ASSERT_TRUE(world.SetNetwork(n.bssid, {{"quality", "64"}, {"address", "10.1.2.3"}}, error));
    Open();
    JoinOpen("A Long Network Name");
    clock.FastForwardBy(500ms);
    EXPECT_EQ(LinkState(), 4); // associating

    clock.FastForwardBy(500ms);
    int state = 0, reserved = 0;
    char ssid[8];
    std::memset(ssid, 'z', sizeof ssid);
    uint8_t bssid[6] = {};
    library.RT_GetStatusLinkInfo(state, reserved, ssid, 5, bssid);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(std::string(ssid, 5), std::string("A Lo\0", 5));
    EXPECT_EQ(ssid[5], 'z');
    EXPECT_EQ(bssid[5], n.bssid[5]);
    int quality = 0;
    library.RT_GetStatusSignalInfo(quality, reserved);
    EXPECT_EQ(quality, 64);
    EXPECT_EQ(library.RT_GetStatusDynamicRate(), 1500000u); // 150 Mbit/s in 100 bit/s
    int encryption = -1, authentication = -1;
    library.RT_GetStatusSecurityInfo(encryption, authentication);
    EXPECT_EQ(encryption, 1);
    EXPECT_EQ(authentication, 0);

    // The lease comes after the DHCP delay.
    EXPECT_EQ(Address(), "0.0.0.0");
    clock.FastForwardBy(1999ms);
    EXPECT_EQ(Address(), "0.0.0.0");
    clock.FastForwardBy(1ms);
    EXPECT_EQ(Address(), "10.1.2.3");

    // ipconfig /release and /renew of the adapter's connection.
    EXPECT_FALSE(world.ReleaseAddress("Local Area Connection"));
    EXPECT_TRUE(world.ReleaseAddress("Wireless Network Connection 2"));
    EXPECT_EQ(Address(), "0.0.0.0");
    EXPECT_TRUE(world.RenewAddress("Wireless Network Connection 2"));
    clock.FastForwardBy(1999ms);
    EXPECT_EQ(Address(), "0.0.0.0");
    clock.FastForwardBy(1ms);
    EXPECT_EQ(Address(), "10.1.2.3");
}

TEST_F(CSimDriverLibraryTest, WithoutALeaseTheAddressStaysLinkLocal)
{
    SimNetwork& n = Add("Hotel", SecurityOpen);
    std::string error;
    ASSERT_TRUE(world.SetNetwork(n.bssid, {{"dhcp", "no"}}, error));
    Open();
    JoinOpen("Hotel");
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(LinkState(), 1);
    EXPECT_EQ(Address(), "0.0.0.0");
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(Address().rfind("169.254.", 0), 0u);
}

TEST_F(CSimDriverLibraryTest, TheLinkDrops)
{
    struct Case {
        const char* name;
        std::function<void(const SimNetwork&)> act;
    };
    auto set = [this](const char* key, const char* value) {
        return [=, this](const SimNetwork& n) {
            std::string error;
            EXPECT_TRUE(world.SetNetwork(n.bssid, {{key, value}}, error)) << error;
        };
    };
    const Case cases[] = {
        {"out of range", set("in_range", "no")},
        {"new passphrase on the access point", set("passphrase", "another one")},
        {"access point turns open", set("security", "open")},
        {"access point turns ad hoc", set("type", "adhoc")},
        {"removed", [this](const SimNetwork& n) { world.RemoveNetworks(SimMacText(n.bssid)); }},
        {"disassociate", [this](const SimNetwork&) { library.RT_Disassociate(); }},
        {"disconnect", [this](const SimNetwork&) { library.RT_ACM_Disconnect(); }},
        {"profiles deleted", [this](const SimNetwork&) { library.RT_ACM_Delete_AllProfiles(); }},
        {"radio off", [this](const SimNetwork&) { library.RT_SetRadioOff(true); }},
        {"access-point mode", [this](const SimNetwork&) { library.RT_AP_SwitchToAPMode(); }},
        {"unplugged and back", [this](const SimNetwork&) {
             world.Unplug();
             world.Plug();
             Open();
         }},
        {"disabled and back", [this](const SimNetwork&) {
             world.Disable();
             world.Enable();
             Open();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.RemoveNetworks("Home");
        SimNetwork n = Add("Home", SecurityWpa2Psk, "correct horse");
        Open();
        library.RT_SetAuthenticaionMode(4);
        library.RT_SetEncryptionStatus(6);
        char passphrase[256] = "correct horse";
        library.RT_ADD_PSK_CONX(passphrase, 13);
        char ssid[33] = "Home";
        library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, ssid, ssid, 1, 0, 0);
        clock.FastForwardBy(1000ms);
        ASSERT_EQ(LinkState(), 1);
        c.act(n);
        EXPECT_NE(LinkState(), 1);
        clock.FastForwardBy(10s);
        EXPECT_NE(LinkState(), 1);
        library.RT_SetRadioOff(false);
        library.RT_AP_SwitchToStationMode();
    }
}

TEST_F(CSimDriverLibraryTest, OfTwoAccessPointsWithOneNameTheStrongerOrTheChosenIsJoined)
{
    SimNetwork weak = AddOpen("Library", 30);
    SimNetwork strong = AddOpen("Library", 80);
    Open();
    uint8_t bssid[6] = {};
    int state = 0, reserved = 0;
    char ssid[33] = {};

    JoinOpen("Library");
    clock.FastForwardBy(1000ms);
    library.RT_GetStatusLinkInfo(state, reserved, ssid, sizeof ssid, bssid);
    EXPECT_EQ(bssid[5], strong.bssid[5]);

    JoinOpen("Library", weak.bssid.data());
    clock.FastForwardBy(1000ms);
    library.RT_GetStatusLinkInfo(state, reserved, ssid, sizeof ssid, bssid);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(bssid[5], weak.bssid[5]);

    // The BSSID was for that association only.
    JoinOpen("Library");
    clock.FastForwardBy(1000ms);
    library.RT_GetStatusLinkInfo(state, reserved, ssid, sizeof ssid, bssid);
    EXPECT_EQ(bssid[5], strong.bssid[5]);
}

TEST_F(CSimDriverLibraryTest, AHiddenNetworkIsJoinedByItsName)
{
    SimNetwork hidden;
    hidden.ssid = "Basement";
    hidden.hidden = true;
    std::string error;
    ASSERT_TRUE(world.AddNetwork(hidden, error));
    Open();
    JoinOpen("");
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(LinkState(), 0);
    JoinOpen("Basement");
    clock.FastForwardBy(1000ms);
    std::string ssid;
    EXPECT_EQ(LinkState(&ssid), 1);
    EXPECT_EQ(ssid, "Basement");
}

TEST_F(CSimDriverLibraryTest, QualityDriftsTheSameWayEveryRun)
{
    SimNetwork& n = AddOpen("Drifting", 50);
    std::string error;
    ASSERT_TRUE(world.SetNetwork(n.bssid, {{"drift", "10"}}, error));
    std::vector<int> seen;
    for (int i = 0; i < 40; ++i) {
        seen.push_back(world.Networks()[0].quality);
        clock.FastForwardBy(500ms);
    }
    EXPECT_GE(*std::min_element(seen.begin(), seen.end()), 40);
    EXPECT_LE(*std::max_element(seen.begin(), seen.end()), 60);
    EXPECT_GT(*std::max_element(seen.begin(), seen.end()) - *std::min_element(seen.begin(), seen.end()), 10);
    SimNetwork again = world.Networks()[0].network;
    EXPECT_EQ(again.QualityAt(1234), again.QualityAt(1234 + 20000));
}

TEST_F(CSimDriverLibraryTest, WpsPinsAndTheButton)
{
    Open();
    char first[9] = {}, second[9] = {};
    library.RT_GEN_PIN(first);
    library.RT_GEN_PIN(second);
    EXPECT_EQ(strlen(first), 8u);
    EXPECT_TRUE(library.RT_VERIFY_PIN(first));
    EXPECT_TRUE(library.RT_VERIFY_PIN(second));
    EXPECT_STRNE(first, second);
    const std::pair<const char*, bool> pins[] = {
        {"12345670", true}, {"12345671", false}, {"49226874", true}, {"1234", true}, {"123", false},
        {"123456789", false}, {"1234567a", false}, {"abcd", false}, {"", false},
    };
    for (const auto& [pin, valid] : pins)
        EXPECT_EQ(library.RT_VERIFY_PIN(pin), valid) << pin;

    EXPECT_FALSE(library.RT_Get_HW_PBCStatus());
    world.PressWpsButton();
    EXPECT_TRUE(library.RT_Get_HW_PBCStatus());
    EXPECT_TRUE(library.RT_Get_HW_PBCStatus());
    library.RT_Set_HW_PBCStatus();
    EXPECT_FALSE(library.RT_Get_HW_PBCStatus());

    // No registrar anywhere: the exchange starts and never yields a credential.
    uint8_t buffer[8] = {};
    EXPECT_TRUE(library.RT_GetPIN_WS2(buffer));
    WpsCredential credential{};
    int progress = 7;
    char ssid[33] = {};
    clock.FastForwardBy(120s);
    EXPECT_FALSE(library.RT_WSC_Connect(credential, progress, ssid));
    EXPECT_EQ(progress, 0);
    EXPECT_FALSE(library.RT_Check_Session_Overlap());
}

TEST_F(CSimDriverLibraryTest, AccessPointModeAddressAndDhcpServer)
{
    Open();
    const char* name = "Kavlo 802.11n USB Wireless LAN Card";
    EXPECT_FALSE(library.RT_AP_GetIsAPMode());
    library.RT_AP_SwitchToAPMode();
    EXPECT_TRUE(library.RT_AP_GetIsAPMode());
    VuvProfile profile{};
    char ssid[33] = "Zarnwell_1A2B3C";
    library.RT_ACM_LinkVuvProfileNew(profile, ssid, ssid, 0, 1, 1);
    std::string text;
    // It comes up after the link delay.
    clock.FastForwardBy(999ms);
    EXPECT_EQ(LinkState(&text), 0);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(LinkState(&text), 2);
    EXPECT_EQ(text, "Zarnwell_1A2B3C");

    EXPECT_EQ(Address().rfind("169.254.", 0), 0u);
    library.RT_SetNicTcpipAddr("Another Adapter", 0, "10.0.0.1", "255.0.0.0", "", "");
    EXPECT_FALSE(library.RT_Check_Current_NIC_IPAddress(name, "10.0.0.1"));
    library.RT_SetNicTcpipAddr(name, 0, "192.168.159.1", "255.255.255.0", "", "");
    EXPECT_EQ(Address(), "192.168.159.1");
    EXPECT_TRUE(library.RT_Check_Current_NIC_IPAddress(name, "192.168.159.1"));
    EXPECT_FALSE(library.RT_Check_VuvDHCP_Port_Work());
    world.StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
    EXPECT_TRUE(library.RT_Check_VuvDHCP_Port_Work());
    world.QuitDhcpServer();
    EXPECT_FALSE(library.RT_Check_VuvDHCP_Port_Work());

    SimConnection ethernet;
    ethernet.name = "Ethernet";
    std::string error;
    ASSERT_TRUE(world.AddConnection(ethernet, error)) << error;
    library.ICS_Ordinal2(1, name, "Ethernet");
    int enabled = 0;
    char privateName[50] = {}, publicName[128] = {};
    library.ICS_Ordinal3(enabled, privateName, publicName);
    EXPECT_EQ(enabled, 1);
    EXPECT_STREQ(publicName, "Ethernet");

    StationListBuffer stations{};
    int count = -1, entrySize = 0, reserved = 0;
    uint32_t table = 1;
    EXPECT_TRUE(library.RT_AP_GetStationList(stations, 1600, count, entrySize, table, reserved));
    EXPECT_EQ(count, 0);

    library.RT_AP_SwitchToStationMode();
    EXPECT_FALSE(library.RT_AP_GetIsAPMode());
    EXPECT_EQ(LinkState(), 0);
}

} // namespace
