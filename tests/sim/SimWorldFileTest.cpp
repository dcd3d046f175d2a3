#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "sim/SimWorldFile.h"
#include "tests/sim/SimFixture.h"
#include "tests/support/TempDir.h"

namespace {

class SimWorldFileTest : public SimFixture {
protected:
    std::string Write(const std::string& text)
    {
        std::string path = temp.File("World.ini");
        std::ofstream(path) << text;
        return path;
    }

    CTempDir temp;
};

TEST_F(SimWorldFileTest, TheShippedWorldHasEveryKindOfNetwork)
{
    const std::string bin = ZARNWELL_TEST_BIN_DIR;
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadSimWorld(bin + "/Sim/World.ini", world, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(world.Status().plugged);
    EXPECT_EQ(world.DeviceName(), "Kavlo 802.11n USB Wireless LAN Card");

    std::set<SimSecurity> kinds;
    std::map<std::string, int> perSsid;
    bool hidden = false, chinese = false, noLease = false;
    for (const SimNetworkState& state : world.Networks()) {
        const SimNetwork& n = state.network;
        kinds.insert(n.security);
        ++perSsid[n.ssid];
        hidden |= n.hidden;
        chinese |= n.ssid == "\xe5\x92\x96\xe5\x95\xa1\xe9\xa6\x86\xe6\x97\xa0\xe7\xba\xbf\xe7\xbd\x91\xe7\xbb\x9c";
        noLease |= !n.dhcp;
    }
    EXPECT_EQ(kinds, (std::set<SimSecurity>{SecurityOpen, SecurityWep, SecurityWpaPsk, SecurityWpa2Psk,
                                            SecurityWpaWpa2Psk}));
    EXPECT_EQ(perSsid["City Library"], 2);
    EXPECT_EQ(perSsid["\xbc\xd2\xcd\xa5\xcd\xf8\xc2\xe7"], 1);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(chinese);
    EXPECT_TRUE(noLease);

    // An Internet connection to share, and the kinds the choice of one passes over.
    std::set<SimMedia> media;
    bool connectedLan = false;
    for (const SimConnection& c : world.Connections()) {
        media.insert(c.media);
        connectedLan |= c.media == MediaLan && c.connected && c.name.rfind("1394", 0) != 0;
    }
    EXPECT_EQ(media, (std::set<SimMedia>{MediaLan, MediaPppoe, MediaPhone}));
    EXPECT_TRUE(connectedLan);
}

TEST_F(SimWorldFileTest, ComputerConnectionsAndPhonesAreRead)
{
    std::string path = Write("[Computer]\n"
                             "hosted_network=running\n"
                             "dhcp_quits=no\n"
                             "[Connection Dsl]\n"
                             "name=DSL\n"
                             "media=pppoe\n"
                             "connected=no\n"
                             "[Connection Odd]\n"
                             "name=Odd\n"
                             "media=carrier-pigeon\n"
                             "[Phone Anna]\n"
                             "name=Anna\n"
                             "passphrase=secret-words\n"
                             "[Phone Nameless]\n"
                             "passphrase=x\n");
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadSimWorld(path, world, problems));
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "[Connection Odd] media must be lan, modem, pppoe or bridge",
                            "[Phone Nameless] a phone needs a name",
                        }));
    ASSERT_EQ(world.Connections().size(), 1u);
    EXPECT_EQ(world.Connections()[0].name, "DSL");
    EXPECT_EQ(world.Connections()[0].Status(), ConnectionDisconnected);
    ASSERT_EQ(world.Phones().size(), 1u);
    EXPECT_EQ(world.Phones()[0].phone.passphrase, "secret-words");
    EXPECT_EQ(world.Status().hostedNetwork, HostedRunning);
    EXPECT_EQ(world.StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254"), 5000001u);
    EXPECT_FALSE(world.QuitDhcpServer());
}

TEST_F(SimWorldFileTest, BadSectionsAreLeftOutAndDescribed)
{
    std::string path = Write("[Adapter]\n"
                             "link_delay_ms=250\n"
                             "name=Test Adapter\n"
                             "colour=green\n"
                             "[Network Good]\n"
                             "ssid=Good\n"
                             "security=wpa-psk\n"
                             "psk_hex=00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff\n"
                             "[Network NoKey]\n"
                             "ssid=NoKey\n"
                             "security=wpa2-psk\n"
                             "[Network BadMac]\n"
                             "ssid=BadMac\n"
                             "bssid=00:11:22\n"
                             "[Weather]\n"
                             "sun=yes\n");
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadSimWorld(path, world, problems));
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "[Adapter] unknown key colour",
                            "[Network NoKey] wpa needs a passphrase of 8 to 63 characters or psk_hex",
                            "[Network BadMac] bssid must look like 00:11:22:33:44:55",
                            "[Weather]: unknown section",
                        }));
    ASSERT_EQ(world.Networks().size(), 1u);
    EXPECT_EQ(world.Networks()[0].network.ssid, "Good");
    EXPECT_EQ(world.DeviceName(), "Test Adapter");
    EXPECT_EQ(world.Settings().linkDelay, 250ms);
}

TEST_F(SimWorldFileTest, AMissingFileLeavesTheWorldAlone)
{
    Add("Kept", SecurityOpen);
    std::vector<std::string> problems;
    EXPECT_FALSE(LoadSimWorld(temp.File("none.ini"), world, problems));
    EXPECT_EQ(world.Networks().size(), 1u);
}

TEST_F(SimWorldFileTest, TheEnvironmentNamesAnotherWorld)
{
    unsetenv("ZARNWELL_WORLD");
    EXPECT_EQ(SimWorldPath("/opt/zarnwell"), "/opt/zarnwell/Sim/World.ini");
    setenv("ZARNWELL_WORLD", "/tmp/other.ini", 1);
    EXPECT_EQ(SimWorldPath("/opt/zarnwell"), "/tmp/other.ini");
    unsetenv("ZARNWELL_WORLD");
}

} // namespace
