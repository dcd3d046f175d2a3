#include "tests/adapter/AdapterFixture.h"

using namespace std::chrono_literals;

namespace {

using AdapterObjectTest = AdapterFixture;

TEST_F(AdapterObjectTest, PluggedAdapterIsReadyAfterTheTwoSecondPause)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(1999ms);
    EXPECT_EQ(adapter->adapterState, AdapterInitialising);
    EXPECT_FALSE(adapter->initialised);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_TRUE(adapter->initialised);
    EXPECT_STREQ(adapter->adapterName, "Kavlo USB");
    EXPECT_TRUE(adapter->workers[CAdapterWirelessZadidar::SlotSurvey].HasThread());
    EXPECT_TRUE(adapter->workers[CAdapterWirelessZadidar::SlotButtonWatch].HasThread());
    EXPECT_EQ(Count("RT_SetDefaultAdapterIndex(0)"), 1);
    EXPECT_EQ(Count("RT_Initialize(0)"), 1);
}

TEST_F(AdapterObjectTest, FailingInitialisationIsRetriedEveryTick)
{
    Plug();
    library.Change([](auto& s) { s.initFailures = 2; });
    StartWatching();
    clock.FastForwardBy(0ms);
    EXPECT_EQ(Count("RT_Initialize(0)"), 1);
    EXPECT_EQ(adapter->adapterState, AdapterNone);
    clock.FastForwardBy(500ms);
    EXPECT_EQ(Count("RT_Initialize(0)"), 2);
    EXPECT_EQ(adapter->adapterState, AdapterNone);
    clock.FastForwardBy(500ms);
    EXPECT_EQ(Count("RT_Initialize(0)"), 3);
    EXPECT_EQ(adapter->adapterState, AdapterInitialising);
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(Count("RT_Initialize(0)"), 3);
}

TEST_F(AdapterObjectTest, ButtonPressedBeforeReadinessIsForgotten)
{
    Plug();
    library.Change([](auto& s) { s.buttonPressed = true; });
    StartWatching();
    clock.FastForwardBy(0ms); // before the pause
    EXPECT_EQ(Count("RT_Set_HW_PBCStatus()"), 1);
    library.Change([](auto& s) {
        EXPECT_FALSE(s.buttonPressed);
        s.buttonPressed = true; // pressed during the pause: left for the button watch
    });
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(Count("RT_Set_HW_PBCStatus()"), 1);
    library.Change([](auto& s) { EXPECT_TRUE(s.buttonPressed); });
}

TEST_F(AdapterObjectTest, UnpluggingAReadyAdapterTearsDownWithinOneTick)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(2000ms);
    ASSERT_EQ(adapter->adapterState, AdapterReady);
    clock.FastForwardBy(100ms); // between two ticks
    Unplug();
    clock.FastForwardBy(399ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(adapter->adapterState, AdapterNone);
    EXPECT_FALSE(adapter->initialised);
    EXPECT_FALSE(adapter->buttonWatchRun);
    EXPECT_FALSE(adapter->workers[CAdapterWirelessZadidar::SlotButtonWatch].HasThread());
    // The survey worker is left alone; it stops surveying because the adapter is not ready.
    EXPECT_TRUE(adapter->workers[CAdapterWirelessZadidar::SlotSurvey].HasThread());

    // Plugged again: the whole initialisation, pause included.
    Plug();
    clock.FastForwardBy(500ms);
    EXPECT_EQ(adapter->adapterState, AdapterInitialising);
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(Count("RT_Initialize(0)"), 2);
}

TEST_F(AdapterObjectTest, DisabledAdapterStartsNothingUntilItsFlagClears)
{
    Plug();
    library.Change([](auto& s) { s.disabled = true; });
    StartWatching();
    clock.FastForwardBy(5000ms);
    EXPECT_EQ(adapter->adapterState, AdapterDisabled);
    EXPECT_EQ(Count("RT_Initialize(0)"), 0);
    EXPECT_FALSE(adapter->workers[CAdapterWirelessZadidar::SlotSurvey].HasThread());
    EXPECT_FALSE(adapter->workers[CAdapterWirelessZadidar::SlotButtonWatch].HasThread());

    library.Change([](auto& s) { s.disabled = false; });
    clock.FastForwardBy(500ms);
    EXPECT_EQ(adapter->adapterState, AdapterInitialising);
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(Count("RT_Initialize(0)"), 1);
}

TEST_F(AdapterObjectTest, ReadyAdapterMarkedDisabledTearsDownAndComesBack)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(2000ms);
    library.Change([](auto& s) { s.disabled = true; });
    clock.FastForwardBy(500ms);
    EXPECT_EQ(adapter->adapterState, AdapterDisabled);
    EXPECT_FALSE(adapter->initialised);
    EXPECT_FALSE(adapter->workers[CAdapterWirelessZadidar::SlotButtonWatch].HasThread());
    library.Change([](auto& s) { s.disabled = false; });
    clock.FastForwardBy(2500ms);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(Count("RT_Initialize(0)"), 2);
}

TEST_F(AdapterObjectTest, WorkerThatIgnoresItsStopIsEndedAfterOneSecond)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(100ms); // the device watch now sleeps through its 2000 ms pause
    size_t callsBefore = recorder.Calls().size();
    adapter.reset();
    // The ticker left at its next tick (500 ms); the device watch was given
    // 1000 ms more and then ended in its pause.
    EXPECT_EQ(clock.Now(), 1500ms);
    EXPECT_EQ(recorder.Calls().size(), callsBefore);
}

TEST_F(AdapterObjectTest, RadioOffEmptiesTheListAfterThePause)
{
    adapter->adapterState = AdapterReady;
    {
        std::lock_guard lock(adapter->networksLock);
        adapter->networkCount = 2;
        adapter->networks.records[0].quality = 80;
    }
    adapter->BeginRadioChange(false);
    clock.FastForwardBy(999ms);
    EXPECT_TRUE(adapter->radioOn);
    EXPECT_EQ(adapter->networkCount, 2);
    clock.FastForwardBy(1ms);
    EXPECT_FALSE(adapter->radioOn);
    EXPECT_EQ(adapter->networkCount, 0);
    EXPECT_EQ(adapter->networks.records[0].quality, 0);
    EXPECT_EQ(Count("RT_SetRadioOff(1)"), 1);

    adapter->BeginRadioChange(true);
    clock.FastForwardBy(1000ms);
    EXPECT_TRUE(adapter->radioOn);
    EXPECT_EQ(Count("RT_SetRadioOff(0)"), 1);
}

TEST_F(AdapterObjectTest, RadioChangeOutsideReadyStateDoesNothing)
{
    for (AdapterState state : {AdapterNone, AdapterDisabled, AdapterInitialising}) {
        adapter->adapterState = state;
        adapter->BeginRadioChange(false);
        clock.FastForwardBy(2000ms);
        EXPECT_TRUE(adapter->radioWanted) << "state " << state;
        EXPECT_TRUE(adapter->radioOn) << "state " << state;
    }
    EXPECT_TRUE(recorder.CallsStartingWith("RT_SetRadioOff").empty());
}

TEST_F(AdapterObjectTest, PeriodicSurveyIsRequestedEveryThirtySecondsWhileNotConnected)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(2000ms);
    // The survey the survey worker's start signals, two rounds of nothing.
    EXPECT_EQ(recorder.CallsStartingWith("RT_SiteSurveyEx").size(), 2u);
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(recorder.CallsStartingWith("RT_SiteSurveyEx").size(), 4u);
    recorder.ClearCalls();
    // Ticks run at 0, 500, ...; the 61st tick, at 30 s, makes the request.
    clock.FastForwardBy(26999ms);
    EXPECT_TRUE(recorder.CallsStartingWith("RT_SiteSurveyEx").empty());
    clock.FastForwardBy(1ms);
    EXPECT_FALSE(recorder.CallsStartingWith("RT_SiteSurveyEx").empty());
}

TEST_F(AdapterObjectTest, DeviceChangeNotificationsReachTheFilter)
{
    struct Case {
        bool result, removed, concerns;
        uint32_t type;
        const char* extraCall;
    };
    class CFilterLibrary : public CScriptedLibrary {
    public:
        bool EnumDevicesChange(const char*, uint32_t, const void*, bool& removed, bool& concerns) override
        {
            removed = answer.removed;
            concerns = answer.concerns;
            return answer.result;
        }
        Case answer{};
    };
    for (Case c : {Case{true, true, true, 0x8004, "RT_Stop()"}, Case{true, true, false, 0x8004, nullptr},
                   Case{false, false, false, 7, "RT_PnPX_Check_Device()"},
                   Case{false, false, false, 0x8000, "RT_PnPX_Check_Device()"},
                   Case{false, false, false, 0x8004, nullptr}}) {
        CFilterLibrary filter;
        filter.answer = c;
        CRecordingDriverLibrary calls(filter);
        CAdapterWirelessZadidar own(calls, services);
        strcpy(own.adapterName, "Kavlo USB");
        EXPECT_EQ(own.OnDeviceChange(c.type, nullptr), c.result);
        std::vector<std::string> expected{"EnumDevicesChange(\"Kavlo USB\"," + std::to_string(c.type) + ",null,0,0)"};
        if (c.extraCall)
            expected.push_back(c.extraCall);
        EXPECT_EQ(calls.Calls(), expected) << "type " << c.type;
    }
}

TEST_F(AdapterObjectTest, LongDeviceNameIsInitialisedOnce)
{
    Plug();
    library.Change([](auto& s) { s.deviceName = std::string(60, 'K'); });
    StartWatching();
    clock.FastForwardBy(10000ms);
    EXPECT_EQ(Count("RT_Initialize(0)"), 1);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    EXPECT_EQ(adapter->AdapterName(), std::string(49, 'K'));
}

TEST_F(AdapterObjectTest, RestartingAnIdleWorkerTakesNoTime)
{
    adapter->StartSurveyWorker(); // surveys once (nothing: not ready) and waits
    clock.FastForwardBy(0ms);
    Ms before = clock.Now();
    adapter->StartSurveyWorker();
    adapter->StartButtonWatch();
    adapter->StartButtonWatch();
    adapter->StartDeviceWatch();
    adapter->StartDeviceWatch();
    EXPECT_EQ(clock.Now(), before);
}

TEST_F(AdapterObjectTest, PeriodicSurveyOnlyWhenAllowed)
{
    struct Case {
        const char* what;
        void (*set)(CAdapterWirelessZadidar&);
    };
    for (Case c : {Case{"scan not allowed", [](CAdapterWirelessZadidar& a) { a.scanAllowed = false; }},
                   Case{"radio off", [](CAdapterWirelessZadidar& a) { a.radioOn = false; }},
                   Case{"access point", [](CAdapterWirelessZadidar& a) { a.networkMode = 1; }},
                   Case{"survey running", [](CAdapterWirelessZadidar& a) { a.surveyBusy = true; }}}) {
        adapter->adapterState = AdapterReady;
        c.set(*adapter);
        adapter->StartTicker();
        clock.FastForwardBy(31000ms);
        EXPECT_FALSE(adapter->surveyEvent.Wait(0ms)) << c.what;
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
    }
    adapter->adapterState = AdapterReady;
    adapter->StartTicker();
    clock.FastForwardBy(30000ms);
    EXPECT_TRUE(adapter->surveyEvent.Wait(0ms));
    EXPECT_FALSE(adapter->forceSurvey);
}

TEST_F(AdapterObjectTest, TeardownClearsTheWpsState)
{
    Plug();
    StartWatching();
    clock.FastForwardBy(2000ms);
    adapter->wpsStatus = 1;
    adapter->wpsRun = true;
    Unplug();
    clock.FastForwardBy(500ms);
    EXPECT_EQ(adapter->wpsStatus, 0);
    EXPECT_FALSE(adapter->wpsRun);
    adapter->wpsStatus = 3; // a later pass without an adapter tears nothing down again
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(adapter->wpsStatus, 3);
}

TEST_F(AdapterObjectTest, NoWorkerStartsWhileTheObjectGoesAway)
{
    NetworkRecord home{};
    home.networkType = 1;
    strcpy(home.ssid, "Home");
    home.bssid[0] = 2;
    home.quality = 70;
    VuvProfile stored{};
    strcpy(stored.ssid, "Home");
    adapter->SaveProfile("Profile", stored);
    library.Change([&](auto& s) {
        s.survey = {home};
        s.emptySurveys = 2; // the first round finds nothing; the second, after 500 ms, finds Home
    });
    Plug();
    StartWatching();
    clock.FastForwardBy(2100ms); // ready; the survey waits through its pause
    adapter.reset();             // the survey's second round asks for an automatic connect
    EXPECT_TRUE(recorder.CallsStartingWith("RT_ACM_LinkVuvProfileNew").empty());
    EXPECT_EQ(Count("RT_SiteSurveyEx({record},0,0)"), 3);
}

} // namespace
