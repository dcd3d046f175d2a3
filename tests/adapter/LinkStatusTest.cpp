#include "tests/adapter/AdapterFixture.h"

namespace {

using LinkStatusTest = AdapterFixture;

void Link(CScriptedLibrary& library, int state, const std::string& ssid, const std::string& address)
{
    library.Change([&](auto& s) {
        s.linkState = state;
        s.linkSsid = ssid;
        const uint8_t bssid[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
        memcpy(s.linkBssid, bssid, 6);
        s.addresses[0] = address;
    });
}

TEST_F(LinkStatusTest, LinkStateByStateWordAndAddress)
{
    struct Case {
        int state;
        const char* ssid;
        const char* address;
        LinkState expected;
    };
    for (Case c : {Case{DriverLinkStation, "Home", "192.168.1.5", LinkConnected},
                   Case{DriverLinkStation, "Home", "169.254.3.7", LinkNoAddress},
                   Case{DriverLinkStation, "Home", "0.0.0.0", LinkNoAddress},
                   Case{DriverLinkStation, "Home", "", LinkNoAddress},
                   Case{DriverLinkAssociating, "Home", "192.168.1.5", LinkDisconnected},
                   Case{DriverLinkAccessPoint, "Home", "192.168.1.5", LinkDisconnected},
                   Case{DriverLinkStation, "", "192.168.1.5", LinkDisconnected}}) {
        Link(library, c.state, c.ssid, c.address);
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        EXPECT_EQ(adapter->QueryLink(ssid, bssid), c.expected) << c.state << " " << c.ssid << " " << c.address;
        if (c.ssid[0]) {
            EXPECT_STREQ(ssid, c.ssid); // written even when not connected
            EXPECT_EQ(bssid[5], 0x5e);
        }
    }
}

TEST_F(LinkStatusTest, NoBssidMeansNotConnected)
{
    Link(library, DriverLinkStation, "Home", "192.168.1.5");
    library.Change([](auto& s) { memset(s.linkBssid, 0, 6); });
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    EXPECT_EQ(adapter->QueryLink(ssid, bssid), LinkDisconnected);
    EXPECT_STREQ(ssid, "");
}

TEST_F(LinkStatusTest, LongSsidIsCutToThirtyTwoBytes)
{
    Link(library, DriverLinkStation, std::string(40, 'x'), "10.0.0.9");
    char ssid[33];
    memset(ssid, 'z', sizeof ssid);
    uint8_t bssid[6] = {};
    EXPECT_EQ(adapter->QueryLink(ssid, bssid), LinkConnected);
    EXPECT_EQ(std::string(ssid), std::string(32, 'x'));
}

TEST_F(LinkStatusTest, AddressIsTheFirstUsableOfThree)
{
    struct Case {
        const char* first;
        const char* second;
        const char* third;
        const char* expected;
    };
    for (Case c : {Case{"0.0.0.0", "0.0.0.0", "10.0.0.2", "10.0.0.2"}, Case{"1.2.3.4", "10.0.0.2", "", "1.2.3.4"},
                   Case{"1.2.3", "10.0.0.2", "", "10.0.0.2"}, Case{"1.2.34", "10.0.0.2", "", "10.0.0.2"}, Case{"", "", "172.16.0.1", "172.16.0.1"}}) {
        library.Change([&](auto& s) {
            s.addresses[0] = c.first;
            s.addresses[1] = c.second;
            s.addresses[2] = c.third;
        });
        char out[16] = {};
        adapter->GetIpAddress(out);
        EXPECT_STREQ(out, c.expected);
    }
}

TEST_F(LinkStatusTest, SystemListAnswersWhenTheHelperHasNoAddress)
{
    strcpy(adapter->adapterName, "Kavlo USB");
    systemAdapters.adapters = {{"eth0", {"192.168.0.10"}}, {"Kavlo USB", {"", "0.0.0.0", "192.168.1.77"}}};
    library.Change([](auto& s) { s.addresses[2] = "0.0.0.0"; });
    char out[16] = {};
    adapter->GetIpAddress(out);
    EXPECT_STREQ(out, "192.168.1.77");

    // A helper that does not answer leaves the buffer alone.
    library.Change([](auto& s) { s.ipInfoAnswers = false; });
    char untouched[16] = "keep";
    adapter->GetIpAddress(untouched);
    EXPECT_STREQ(untouched, "keep");
}

TEST_F(LinkStatusTest, OverlongAddressTextIsBounded)
{
    library.Change([](auto& s) { s.addresses[0] = std::string(400, '9'); });
    char out[16];
    adapter->GetIpAddress(out);
    EXPECT_EQ(strlen(out), 15u);
}

TEST_F(LinkStatusTest, RateInHalfMegabitSteps)
{
    struct Case {
        uint32_t reported; // units of 100 bit/s
        double mbps;
    };
    for (Case c : {Case{0, 0.0}, Case{10000, 1.0}, Case{15000, 1.5}, Case{55000, 5.5}, Case{540000, 54.0},
                   Case{1444000, 144.0}, Case{4999, 0.0}}) {
        library.Change([&](auto& s) { s.rate = c.reported; });
        EXPECT_DOUBLE_EQ(adapter->GetLinkRate(), c.mbps) << c.reported;
    }
}

TEST_F(LinkStatusTest, SecurityKindOfTheLink)
{
    struct Case {
        int encryption, authentication, kind;
    };
    for (Case c : {Case{0, 0, 2}, Case{0, 7, 2}, Case{4, 3, 3}, Case{4, 4, 3}, Case{6, 6, 4}, Case{6, 7, 4},
                   Case{1, 0, 0}, Case{6, 5, 0}}) {
        library.Change([&](auto& s) {
            s.encryption = c.encryption;
            s.authentication = c.authentication;
        });
        EXPECT_EQ(adapter->GetLinkSecurityKind(), c.kind) << c.encryption << "/" << c.authentication;
    }
}

TEST_F(LinkStatusTest, RawLinkStateForTheBusyPanel)
{
    for (auto [reported, expected] : {std::pair<int, int>{DriverLinkStation, DriverLinkStation},
                                      {DriverLinkAssociating, DriverLinkAssociating},
                                      {DriverLinkAccessPoint, LinkDisconnected},
                                      {DriverLinkNone, LinkDisconnected}}) {
        Link(library, reported, "Home", "");
        EXPECT_EQ(adapter->GetLinkState(), expected) << reported;
    }
}

TEST_F(LinkStatusTest, DetailsOfAConnectedNetwork)
{
    Link(library, DriverLinkStation, "Home", "192.168.1.5");
    library.Change([](auto& s) {
        s.quality = 77;
        s.rate = 540000;
        s.encryption = 6;
        s.authentication = 7;
    });
    ConnectionDetails details;
    EXPECT_EQ(adapter->GetConnectionDetails(details), LinkConnected);
    EXPECT_EQ(details.linkState, LinkConnected);
    EXPECT_EQ(details.restricted, 0);
    EXPECT_STREQ(details.ssid, "Home");
    EXPECT_STREQ(details.bssidText, "00:1a:2b:3c:4d:5e");
    EXPECT_STREQ(details.ipAddress, "192.168.1.5");
    EXPECT_EQ(details.quality, 77);
    EXPECT_DOUBLE_EQ(details.rateMbps, 54.0);
    EXPECT_EQ(details.securityKind, 4);

    Link(library, DriverLinkStation, "Home", "169.254.1.1");
    EXPECT_EQ(adapter->GetConnectionDetails(details), LinkNoAddress);
    EXPECT_EQ(details.restricted, 1);

    Link(library, DriverLinkNone, "", "");
    EXPECT_EQ(adapter->GetConnectionDetails(details), LinkDisconnected);
    EXPECT_EQ(details.quality, 0);
}

} // namespace
