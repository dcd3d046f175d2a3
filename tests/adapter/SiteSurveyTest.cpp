#include "tests/adapter/AdapterFixture.h"

using namespace std::chrono_literals;

namespace {

NetworkRecord Network(const char* ssid, uint8_t quality, uint8_t lastBssidByte = 1)
{
    NetworkRecord r{};
    r.networkType = 1;
    snprintf(r.ssid, sizeof r.ssid, "%s", ssid);
    r.bssid[5] = lastBssidByte;
    r.quality = quality;
    r.channel = 6;
    return r;
}

class SiteSurveyTest : public AdapterFixture {
protected:
    SiteSurveyTest() { adapter->adapterState = AdapterReady; }

    std::vector<std::string> Listed()
    {
        SurveyBuffer copy;
        int n = adapter->CopyNetworks(copy);
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.push_back(std::string(copy.records[i].ssid, strnlen(copy.records[i].ssid, 32)) + ":" +
                            std::to_string(copy.records[i].quality));
        return names;
    }
};

TEST_F(SiteSurveyTest, StrongestFirstWithTheProceduresOwnOrderForTies)
{
    // Equal qualities do not keep their order: the partition moves them.
    library.Change([](auto& s) {
        s.survey = {Network("a", 50), Network("b", 50), Network("c", 50), Network("d", 70), Network("e", 10)};
    });
    adapter->SiteSurvey();
    // a, the first pivot, lands behind its equals.
    EXPECT_EQ(Listed(), (std::vector<std::string>{"d:70", "b:50", "c:50", "a:50", "e:10"}));
}

TEST_F(SiteSurveyTest, SortsAFullListByQuality)
{
    library.Change([](auto& s) {
        s.survey.clear();
        for (int i = 0; i < MaxNetworks; ++i)
            s.survey.push_back(Network("n", uint8_t((i * 37) % 101)));
    });
    adapter->SiteSurvey();
    SurveyBuffer copy;
    ASSERT_EQ(adapter->CopyNetworks(copy), MaxNetworks);
    for (int i = 1; i < MaxNetworks; ++i)
        EXPECT_GE(copy.records[i - 1].quality, copy.records[i].quality) << i;
}

TEST_F(SiteSurveyTest, EmptySurveyRescansAndTriesOnceMoreAfterHalfASecond)
{
    CWorkerThread worker;
    worker.Start(clock, [&] { adapter->SiteSurvey(); });
    clock.FastForwardBy(0ms);
    EXPECT_EQ(recorder.CallsStartingWith("RT_SiteSurveyEx").size(), 2u);
    EXPECT_EQ(recorder.CallsStartingWith("RT_Rescan").size(), 1u);
    clock.FastForwardBy(500ms);
    EXPECT_EQ(recorder.CallsStartingWith("RT_SiteSurveyEx").size(), 4u);
    EXPECT_EQ(recorder.CallsStartingWith("RT_Rescan").size(), 2u);
    clock.FastForwardBy(500ms);
    EXPECT_TRUE(worker.WaitFor(0ms));
    worker.Release();
    EXPECT_EQ(adapter->networkCount, 0);
}

TEST_F(SiteSurveyTest, FailedSurveyKeepsTheOldRecordsButListsNone)
{
    library.Change([](auto& s) { s.survey = {Network("Home", 60)}; });
    adapter->SiteSurvey();
    ASSERT_EQ(adapter->networkCount, 1);
    library.Change([](auto& s) { s.survey.clear(); });
    CWorkerThread worker;
    worker.Start(clock, [&] { adapter->SiteSurvey(); });
    clock.FastForwardBy(1000ms);
    worker.Release();
    EXPECT_EQ(adapter->networkCount, 0);
    EXPECT_STREQ(adapter->networks.records[0].ssid, "Home");
}

// A count the buffer cannot hold, above or below, lists what it can.
TEST_F(SiteSurveyTest, CountOutsideTheBufferIsClamped)
{
    library.Change([](auto& s) { s.survey.assign(MaxNetworks, Network("x", 40)); });
    for (auto [claimed, listed] : {std::pair{500, MaxNetworks}, std::pair{-5, 0}}) {
        recorder.OverrideResult("RT_SiteSurveyEx", claimed);
        CWorkerThread worker;
        worker.Start(clock, [&] { adapter->SiteSurvey(); });
        clock.FastForwardBy(1000ms);
        worker.Release();
        SurveyBuffer copy;
        EXPECT_EQ(adapter->CopyNetworks(copy), listed) << claimed;
    }
}

TEST_F(SiteSurveyTest, PeriodicSurveyWaitsWhileLinkedButARequestedOneRuns)
{
    library.Change([](auto& s) {
        s.linkState = DriverLinkStation;
        s.linkSsid = "Home";
        s.linkBssid[0] = 1;
        s.addresses[0] = "192.168.1.5";
        s.survey = {Network("Home", 60)};
    });
    adapter->SiteSurvey();
    EXPECT_TRUE(recorder.CallsStartingWith("RT_SiteSurveyEx").empty());
    adapter->forceSurvey = true;
    adapter->SiteSurvey();
    EXPECT_EQ(Listed(), std::vector<std::string>{"Home:60"});
}

TEST_F(SiteSurveyTest, NoSurveyUnlessReadyInStationMode)
{
    library.Change([](auto& s) { s.survey = {Network("Home", 60)}; });
    adapter->networkMode = 1;
    adapter->SiteSurvey();
    adapter->networkMode = 0;
    adapter->adapterState = AdapterInitialising;
    adapter->SiteSurvey();
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(SiteSurveyTest, SecurityKindOfARecord)
{
    struct Case {
        uint8_t privacy;
        uint32_t capability, keyManagement;
        int kind;
    };
    for (Case c : {Case{0, 0x02, 0x40, 0}, Case{1, 0x00, 0x40, 2}, Case{1, 0x02, 0x44, 5}, Case{1, 0x02, 0x04, 3},
                   Case{1, 0x02, 0x40, 4}, Case{1, 0x02, 0x02, 6}, Case{1, 0x02, 0x20, 7}, Case{1, 0x02, 0x00, 1}}) {
        NetworkRecord r{};
        r.privacy = c.privacy;
        r.capability = c.capability;
        r.keyManagement = c.keyManagement;
        EXPECT_EQ(CAdapterWirelessZadidar::GetSecurityKind(r), c.kind)
            << int(c.privacy) << " " << c.capability << " " << c.keyManagement;
    }
}

TEST_F(SiteSurveyTest, ProfileMatchesItsNetwork)
{
    NetworkRecord r = Network("Home", 70);
    r.privacy = 1;
    r.capability = 0x02;
    r.keyManagement = 0x44;
    r.pairwiseCiphers = 0x14;
    VuvProfile p{};
    strcpy(p.ssid, "Home");
    p.flags = ProfilePrivacy;
    p.capability = 0x02;
    p.keyManagement = 0x40;
    p.pairwiseCiphers = 0x10;
    EXPECT_TRUE(CAdapterWirelessZadidar::MatchesNetwork(r, p));

    struct Change {
        const char* what;
        void (*apply)(VuvProfile&);
    };
    for (Change c : {Change{"ssid", [](VuvProfile& q) { strcpy(q.ssid, "Homer"); }},
                     Change{"privacy", [](VuvProfile& q) { q.flags = 0; }},
                     Change{"capability", [](VuvProfile& q) { q.capability = 0; }},
                     Change{"keys", [](VuvProfile& q) { q.keyManagement = 0x02; }},
                     Change{"ciphers", [](VuvProfile& q) { q.pairwiseCiphers = 0x08; }}}) {
        VuvProfile q = p;
        c.apply(q);
        EXPECT_FALSE(CAdapterWirelessZadidar::MatchesNetwork(r, q)) << c.what;
    }

    // A record SSID that fills all 33 bytes is compared on its first 32.
    memset(r.ssid, 'y', sizeof r.ssid);
    memset(p.ssid, 0, sizeof p.ssid);
    memset(p.ssid, 'y', 32);
    EXPECT_TRUE(CAdapterWirelessZadidar::MatchesNetwork(r, p));
}

TEST_F(SiteSurveyTest, RequestScanWakesTheSurveyUnlessOneRuns)
{
    adapter->scanAllowed = false;
    adapter->tickCount = 17;
    adapter->RequestScan();
    EXPECT_TRUE(adapter->scanAllowed);
    EXPECT_TRUE(adapter->forceSurvey);
    EXPECT_EQ(adapter->tickCount, 0);
    EXPECT_TRUE(adapter->surveyEvent.Wait(0ms));

    adapter->forceSurvey = false;
    adapter->surveyBusy = true;
    adapter->RequestScan();
    EXPECT_FALSE(adapter->forceSurvey);
    EXPECT_FALSE(adapter->surveyEvent.Wait(0ms));
}

} // namespace
