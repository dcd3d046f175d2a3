#include <arpa/inet.h>

#include "platform/CLauncher.h"
#include "sim/CSimProgramHost.h"
#include "tests/sim/SimFixture.h"

namespace {

const char* const adapterName = "Kavlo 802.11n USB Wireless LAN Card";

// The PC around the adapter: its connections, its sharing, its DHCP program,
// the system's hosted access point, and the phones near it.
class SimComputerTest : public SimFixture {
protected:
    SimConnection& Connection(const std::string& name, SimMedia media, bool connected, int speed = 0)
    {
        SimConnection c;
        c.name = name;
        c.media = media;
        c.connected = connected;
        c.speedMbps = speed;
        std::string error;
        EXPECT_TRUE(world.AddConnection(c, error)) << error;
        connection = c;
        return connection;
    }

    // The access point as the adapter configures one: open first, then its
    // security and its name; up after the link delay.
    void StartAccessPoint(const std::string& ssid, int authMode, const std::string& passphrase, int length = -1)
    {
        library.RT_AP_SwitchToAPMode();
        char name[33] = {};
        std::memcpy(name, ssid.data(), ssid.size());
        library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, name, name, 0, 1, 1);
        clock.FastForwardBy(1000ms);
        Configure(ssid, authMode, passphrase, length);
    }

    void Configure(const std::string& ssid, int authMode, const std::string& passphrase, int length = -1)
    {
        library.RT_SetPrivacy(0, 0x40);
        library.RT_SetAuthenticaionMode(authMode);
        library.RT_SetEncryptionStatus(6);
        char text[256] = {};
        std::memcpy(text, passphrase.data(), passphrase.size());
        if (authMode)
            library.RT_AP_SetPassphrase(text, length < 0 ? int(passphrase.size()) : length);
        library.RT_SetSSID(ssid.c_str());
    }

    // The adapter holds the server's address and the server runs.
    void ServeAddresses()
    {
        library.RT_SetNicTcpipAddr(adapterName, 0, "192.168.159.1", "255.255.255.0", "", "");
        ASSERT_NE(world.StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254"), 0u);
    }

    void Phone(const std::string& name, const std::string& passphrase, const std::string& extra = "")
    {
        SimPhone phone;
        std::string error;
        ASSERT_TRUE(phone.Set("name", name, error));
        ASSERT_TRUE(phone.Set("passphrase", passphrase, error));
        if (!extra.empty())
            ASSERT_TRUE(phone.Set(extra.substr(0, extra.find('=')), extra.substr(extra.find('=') + 1), error));
        ASSERT_TRUE(world.AddPhone(phone, error)) << error;
    }

    SimPhoneView PhoneNamed(const std::string& name)
    {
        for (const SimPhoneView& view : world.Phones())
            if (view.phone.name == name)
                return view;
        ADD_FAILURE() << "no phone " << name;
        return {};
    }

    // The station list as RT_AP_GetStationList gives it: (authorised, address) per entry in use.
    std::vector<std::pair<bool, std::string>> Stations()
    {
        StationListBuffer buffer{};
        int count = 0, entrySize = 0, reserved = 0;
        uint32_t offset = 0;
        EXPECT_TRUE(library.RT_AP_GetStationList(buffer, 1600, count, entrySize, offset, reserved));
        EXPECT_EQ(entrySize, 24);
        EXPECT_LE(offset + 64u * 24u, 1600u);
        std::vector<std::pair<bool, std::string>> stations;
        for (int i = 0; i < 64; ++i) {
            const uint8_t* entry = buffer.bytes + offset + i * entrySize;
            if (!entry[0])
                continue;
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, entry + 8, text, sizeof text);
            stations.emplace_back(entry[13] != 0, text);
        }
        EXPECT_EQ(int(stations.size()), count);
        return stations;
    }

    SimConnection connection;
};

TEST_F(SimComputerTest, TheSharingLibraryListsThePcsConnectionsAsTheyAreNow)
{
    Connection("Local Area Connection", MediaLan, true, 100);
    SimConnection dsl;
    std::string error;
    ASSERT_TRUE(dsl.Set("name", "DSL", error) && dsl.Set("media", "pppoe", error) &&
                dsl.Set("connected", "no", error) && dsl.Set("characteristics", "9", error));
    ASSERT_TRUE(world.AddConnection(dsl, error));
    Connection("Mobile", MediaPhone, true).device = "Huawei 3G Modem";
    SimConnection modem;
    ASSERT_TRUE(modem.Set("name", "Mobile 2", error) && modem.Set("device", "ZTE 3G Modem", error) &&
                modem.Set("media", "modem", error));
    ASSERT_TRUE(world.AddConnection(modem, error));
    SimConnection own; // a connection of the adapter itself is never offered
    ASSERT_TRUE(own.Set("name", "Wireless", error) && own.Set("device", adapterName, error));
    ASSERT_TRUE(world.AddConnection(own, error));

    ConnectionTable table{};
    int count = -1;
    library.ICS_Ordinal1(adapterName, table, count, 0);
    ASSERT_EQ(count, 4);
    EXPECT_STREQ(table.entries[0].name, "Local Area Connection");
    EXPECT_EQ(table.entries[0].status, 2u);
    EXPECT_EQ(table.entries[0].pppoe, 0);
    EXPECT_STREQ(table.entries[1].name, "DSL");
    EXPECT_EQ(table.entries[1].status, 0u);
    EXPECT_EQ(table.entries[1].characteristics, 9u);
    EXPECT_EQ(table.entries[1].pppoe, 1);
    EXPECT_STREQ(table.entries[3].secondName, "ZTE 3G Modem");

    ASSERT_TRUE(world.SetConnectionUp("DSL", true));
    ASSERT_TRUE(world.SetConnectionUp("Local Area Connection", false));
    EXPECT_FALSE(world.SetConnectionUp("Nowhere", true));
    table = {};
    library.ICS_Ordinal1(adapterName, table, count, 0);
    EXPECT_EQ(table.entries[0].status, 7u); // the cable is out
    EXPECT_EQ(table.entries[1].status, 2u);
}

TEST_F(SimComputerTest, TheFastestConnectedLinkIsTheHighSpeedAdapterWhenThereIsOne)
{
    struct Case {
        const char* name;
        std::vector<std::tuple<const char*, bool, int>> connections; // name, connected, speed
        const char* fastest; // nullptr: the call fails
    };
    const Case cases[] = {
        {"one fastest", {{"A", true, 100}, {"B", true, 1000}, {"C", true, 10}}, "B"},
        {"the fastest is down", {{"A", true, 100}, {"B", false, 1000}}, "A"},
        {"two equally fast", {{"A", true, 1000}, {"B", true, 1000}, {"C", true, 10}}, nullptr},
        {"a tie below a faster one", {{"A", true, 100}, {"B", true, 100}, {"C", true, 1000}}, "C"},
        {"no speed reported", {{"A", true, 0}, {"B", true, 0}}, nullptr},
        {"nothing connected", {{"A", false, 100}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.RemoveAllConnections();
        for (const auto& [name, connected, speed] : c.connections)
            Connection(name, MediaLan, connected, speed);
        char device[50] = {};
        char name[260] = {};
        EXPECT_EQ(library.Get_Hi_Speed_Adapter(device, name), c.fastest != nullptr);
        EXPECT_STREQ(name, c.fastest ? c.fastest : "");
    }
}

TEST_F(SimComputerTest, SharingIsSwitchedOnlyBetweenConnectionsThePcHas)
{
    Open();
    Connection("Local Area Connection", MediaLan, true);
    int enabled = -1;
    char privateName[50] = {}, publicName[128] = {};
    auto state = [&] {
        library.ICS_Ordinal3(enabled, privateName, publicName);
        return enabled;
    };
    library.ICS_Ordinal2(1, adapterName, "No Such Connection");
    EXPECT_EQ(state(), 0);
    library.ICS_Ordinal2(1, "Another Adapter", "Local Area Connection");
    EXPECT_EQ(state(), 0);
    library.ICS_Ordinal2(1, adapterName, "Local Area Connection");
    EXPECT_EQ(state(), 1);
    EXPECT_STREQ(privateName, adapterName);
    EXPECT_STREQ(publicName, "Local Area Connection");
    library.ICS_Ordinal5("");
    EXPECT_EQ(state(), 0);
    library.ICS_Ordinal2(1, "Wireless Network Connection 2", "Local Area Connection");
    EXPECT_EQ(state(), 1);
    library.ICS_Ordinal2(0, privateName, publicName);
    EXPECT_EQ(state(), 0);
    EXPECT_STREQ(publicName, "");
}

TEST_F(SimComputerTest, AStubbornDhcpServerOutlivesQuitAndTermination)
{
    CSimProgramHost host(world);
    CLauncher launcher;
    host.HostIn(launcher);
    auto servers = [&] {
        std::vector<uint32_t> pids;
        for (const CProcessEntry& entry : launcher.Processes())
            if (entry.imageName == "DORAVEZ.exe")
                pids.push_back(entry.pid);
        return pids;
    };
    SimComputerSettings computer;
    computer.dhcpQuits = false;
    computer.dhcpTerminable = false;
    world.ConfigureComputer(computer);
    ASSERT_TRUE(launcher.StartHidden("\"/opt/my apps/DORAVEZ\" -v -ip 192.168.159.1 -range 192.168.159.2-192.168.159.9"));
    ASSERT_EQ(servers().size(), 1u);
    EXPECT_TRUE(launcher.StartHidden("\"/opt/my apps/DORAVEZ\" -q"));
    EXPECT_FALSE(launcher.TerminateProcess(servers()[0]));
    EXPECT_EQ(servers().size(), 1u);

    computer.dhcpQuits = true;
    world.ConfigureComputer(computer);
    EXPECT_TRUE(launcher.StartHidden("DORAVEZ -q"));
    EXPECT_TRUE(servers().empty());
}

TEST_F(SimComputerTest, TheHostedNetworkHoldsTheRadioWhileItRuns)
{
    SimComputerSettings computer;
    computer.hostedNetwork = HostedRunning;
    world.ConfigureComputer(computer);
    Open();
    EXPECT_TRUE(library.RT_ACM_SoftAP_IsEnable());
    EXPECT_EQ(library.RT_ACM_SoftAP_GetStatus(), 2);
    library.RT_AP_SwitchToAPMode();
    EXPECT_FALSE(library.RT_AP_GetIsAPMode());

    library.RT_ACM_SoftAP_Stop();
    EXPECT_EQ(library.RT_ACM_SoftAP_GetStatus(), 1);
    library.RT_SetRadioOff(true);
    EXPECT_EQ(library.RT_ACM_SoftAP_GetStatus(), 0);
    library.RT_SetRadioOff(false);
    library.RT_ACM_SoftAP_Enable(0);
    EXPECT_FALSE(library.RT_ACM_SoftAP_IsEnable());
    std::string error;
    EXPECT_FALSE(world.SetHostedNetwork("start", error));
    EXPECT_EQ(error, "the hosted network is disabled");
    library.RT_AP_SwitchToAPMode();
    EXPECT_TRUE(library.RT_AP_GetIsAPMode());

    // Running again at the next start: the adapter goes back to the system first.
    ASSERT_TRUE(world.SetHostedNetwork("enable", error));
    EXPECT_FALSE(world.SetHostedNetwork("start", error)) << "it needs the radio the access point holds";
    library.RT_AP_SwitchToStationMode();
    EXPECT_TRUE(world.SetHostedNetwork("start", error)) << error;
    world.Unplug();
    world.Plug();
    Open();
    EXPECT_EQ(library.RT_ACM_SoftAP_GetStatus(), 1) << "it stopped with the adapter";
}

TEST_F(SimComputerTest, APhoneJoinsOnlyWithTheRightPassphraseAndSecurity)
{
    struct Case {
        const char* name;
        int authMode;             // 0 open, 6 WPA-PSK AES, 4 WPA2-PSK AES
        std::string apPassphrase; // 64 characters: handed over as the binary key
        std::string passphrase;   // the phone's
        std::string extra;        // another setting of the phone
        bool joins;
    };
    const std::string key(32, '\x5a');
    const std::string keyHex(64, '5');
    std::string hexKey;
    for (int i = 0; i < 32; ++i)
        hexKey += "5a";
    const Case cases[] = {
        {"WPA-PSK, right passphrase", 6, "40718293", "40718293", "", true},
        {"WPA-PSK, wrong passphrase", 6, "40718293", "40718294", "", false},
        {"WPA2-PSK, right passphrase", 4, "correct horse", "correct horse", "", true},
        {"WPA2-PSK, phone expects WPA-PSK", 4, "correct horse", "correct horse", "security=wpa-psk", false},
        {"WPA-PSK, phone expects WPA2-PSK", 6, "correct horse", "correct horse", "security=wpa2-psk", false},
        {"open, phone without a passphrase", 0, "", "", "", true},
        {"open, phone with one", 0, "", "correct horse", "", false},
        {"WPA-PSK, phone without one", 6, "40718293", "", "", false},
        {"binary key, phone types it in hexadecimal", 4, hexKey, hexKey, "", true},
        {"binary key, phone types another", 4, hexKey, keyHex, "", false},
        {"another access point's name", 6, "40718293", "40718293", "ssid=Elsewhere", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.RemoveAllPhones();
        library.RT_AP_SwitchToStationMode();
        Open();
        if (c.apPassphrase.size() == 64) {
            std::string bytes;
            ASSERT_TRUE(SimParseHex(c.apPassphrase, bytes));
            StartAccessPoint("Zarnwell_1A2B3C", c.authMode, bytes, 64);
        } else {
            StartAccessPoint("Zarnwell_1A2B3C", c.authMode, c.apPassphrase);
        }
        Phone("Phone", c.passphrase, c.extra);
        clock.FastForwardBy(999ms);
        EXPECT_EQ(PhoneNamed("Phone").state, PhoneAway);
        clock.FastForwardBy(1ms);
        SimPhoneState expected = c.joins ? PhoneJoined : c.extra == "ssid=Elsewhere" ? PhoneAway : PhoneRefused;
        EXPECT_EQ(PhoneNamed("Phone").state, expected);
        clock.FastForwardBy(60s);
        EXPECT_EQ(PhoneNamed("Phone").state, expected);
        // Counted only once its key handshake is done.
        size_t authorised = 0;
        for (const auto& [ok, address] : Stations())
            authorised += ok;
        EXPECT_EQ(authorised, c.joins ? 1u : 0u);
    }
}

TEST_F(SimComputerTest, PhonesLeaseFromTheRunningServerAndDropWhenTheSettingsChange)
{
    Open();
    StartAccessPoint("Zarnwell_1A2B3C", 6, "40718293");
    Phone("Anna", "40718293");
    Phone("Ben", "40718293");
    Phone("Guest", "12345678");
    clock.FastForwardBy(1000ms);
    // No server yet: joined, without an address.
    EXPECT_EQ(Stations(), (std::vector<std::pair<bool, std::string>>{
                              {true, "0.0.0.0"}, {true, "0.0.0.0"}, {false, "0.0.0.0"}}));
    ServeAddresses();
    EXPECT_EQ(Stations(), (std::vector<std::pair<bool, std::string>>{
                              {true, "192.168.159.2"}, {true, "192.168.159.3"}, {false, "0.0.0.0"}}));
    ASSERT_TRUE(world.RemovePhone("Anna"));
    Phone("Cleo", "40718293");
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(PhoneNamed("Cleo").address, "192.168.159.2"); // Anna's address is free again

    // New settings: everyone drops; those whose passphrase still fits come back.
    Configure("Zarnwell_1A2B3C", 6, "12345678");
    EXPECT_EQ(PhoneNamed("Ben").state, PhoneAway);
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(PhoneNamed("Ben").state, PhoneRefused);
    EXPECT_EQ(PhoneNamed("Guest").state, PhoneJoined);
    EXPECT_EQ(PhoneNamed("Guest").address, "192.168.159.2");

    // The access point goes: nobody is left.
    library.RT_AP_SwitchToStationMode();
    EXPECT_EQ(PhoneNamed("Guest").state, PhoneAway);
    EXPECT_EQ(PhoneNamed("Guest").address, "");
}

} // namespace
