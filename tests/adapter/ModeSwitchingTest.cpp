#include "platform/CProgramHost.h"
#include "sim/CSimMachine.h"
#include "tests/adapter/StationFixture.h"
#include "tests/support/CQuietSystem.h"

using namespace std::chrono_literals;

namespace {

const char* const connectionKey =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\Kavlo USB\\Connection";

// An adapter in access-point mode with its radio off, and the system's hosted
// access point as the test sets it.
class CModeLibrary : public CStationLibrary {
public:
    using CStationLibrary::CStationLibrary;

    bool RT_AP_GetIsAPMode() override { return apMode; }
    bool RT_GetIsRadioOff() override { return true; }
    bool RT_ACM_SoftAP_IsEnable() override { return hostedEnabled; }
    int RT_ACM_SoftAP_GetStatus() override { return hostedStatus; }

    std::atomic<bool> apMode = true;
    std::atomic<bool> hostedEnabled = false;
    std::atomic<int> hostedStatus = 0;
};

class CRecordingHost : public CProgramHost {
public:
    bool Start(const std::vector<std::string>& argv) override
    {
        std::lock_guard lock(mutex);
        started.push_back(argv);
        return true;
    }
    void ListProcesses(std::vector<CProcessEntry>&) override {}
    bool Terminate(uint32_t) override { return false; }
    std::vector<std::vector<std::string>> Started()
    {
        std::lock_guard lock(mutex);
        return started;
    }

private:
    std::mutex mutex;
    std::vector<std::vector<std::string>> started;
};

class ModeSequenceTest : public ::testing::Test {
protected:
    ModeSequenceTest()
    {
        clock.Participate();
        launcher.Host("ipconfig", &host);
        launcher.Host("DORAVEZ", &host);
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
        strcpy(adapter->adapterName, "Kavlo USB");
        adapter->exeDir = "/opt/zarnwell/";
    }
    ~ModeSequenceTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CModeLibrary library{clock};
    CRecordingDriverLibrary recorder{library};
    CNoSystemAdapters systemAdapters;
    CRecordingHost host;
    CLauncher launcher;
    CNoSharingService sharing;
    CQuietSystem system;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

const Lines SharingOff = {
    "ICS_Ordinal3(0,\"\",\"\")", "ICS_Ordinal2(0,\"\",\"\")", "ICS_Ordinal5(\"\")", "RT_DisableSoftAP_ICS()",
    "RT_SetSoftAP_TcpIpAddress(\"Kavlo USB\",1,\"\",\"\")",
};

TEST_F(ModeSequenceTest, AStationOnlyForgetsTheButtonAndTurnsTheRadioOn)
{
    library.apMode = false;
    adapter->SwitchToStation();
    EXPECT_EQ(recorder.Calls(), (Lines{"RT_Set_HW_PBCStatus()", "RT_AP_GetIsAPMode()", "RT_GetIsRadioOff()",
                                       "RT_SetRadioOff(0)"}));
    EXPECT_TRUE(host.Started().empty());
    EXPECT_TRUE(adapter->modeSwitchDone);
    EXPECT_FALSE(adapter->modeSwitching);
}

TEST_F(ModeSequenceTest, LeavingTheAccessPointReleasesAndRenewsTheConnectionByItsWholeName)
{
    for (const std::string& name : {std::string("Wireless Network Connection 2"), std::string("Wi-Fi \"Home\""),
                                    std::string("a;b $(reboot) `id`"), std::string("ends in \\")}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, connectionKey));
        ASSERT_TRUE(registry.SetString(HiveLocalMachine, connectionKey, "Name", name));
        recorder.ClearCalls();
        CRecordingHost fresh;
        launcher.Host("ipconfig", &fresh);
        launcher.Host("DORAVEZ", &fresh);
        adapter->SwitchToStation();
        const Lines expected = Lines{"RT_Set_HW_PBCStatus()", "RT_AP_GetIsAPMode()"} + SharingOff +
                               Lines{"RT_AP_SwitchToStationMode()",
                                     "RT_SetSoftAP_TcpIpAddress(\"Kavlo USB\",1,\"\",\"\")",
                                     "RT_GetIsRadioOff()", "RT_SetRadioOff(0)"};
        EXPECT_EQ(recorder.Calls(), expected);
        EXPECT_EQ(fresh.Started(), (std::vector<std::vector<std::string>>{{"/opt/zarnwell/DORAVEZ", "-q"},
                                                                         {"/opt/zarnwell/DORAVEZ", "-q"},
                                                                         {"ipconfig", "/release", name},
                                                                         {"ipconfig", "/renew", name}}));
        launcher.Host("ipconfig", &host);
        launcher.Host("DORAVEZ", &host);
    }

    // Without a name the commands still run, with an empty one.
    registry.DeleteValue(HiveLocalMachine, connectionKey, "Name");
    adapter->SwitchToStation();
    std::vector<std::vector<std::string>> started = host.Started();
    ASSERT_GE(started.size(), 2u);
    EXPECT_EQ(started[started.size() - 2], (std::vector<std::string>{"ipconfig", "/release", ""}));
}

TEST_F(ModeSequenceTest, TheHostedAccessPointGivesTheAdapterBackBeforeTheSwitch)
{
    struct Case {
        const char* name;
        bool enabled;
        int status;
        Lines calls;
    };
    const Lines start = {"RT_SetNicTcpipAddr(\"Kavlo USB\",1,\"\",\"\",\"\",\"\")", "RT_ACM_SoftAP_IsEnable()"};
    const Case cases[] = {
        {"running", true, 2,
         start + Lines{"RT_ACM_SoftAP_GetStatus()"} + SharingOff +
             Lines{"RT_ACM_SoftAP_Stop()", "RT_ACM_SoftAP_Enable(0)"}},
        {"idle", true, 1, start + Lines{"RT_ACM_SoftAP_GetStatus()", "RT_ACM_SoftAP_Enable(0)"}},
        {"none", false, 0, start},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.hostedEnabled = c.enabled;
        library.hostedStatus = c.status;
        recorder.ClearCalls();
        adapter->SwitchToSoftAp();
        Lines calls = recorder.Calls();
        auto end = std::find(calls.begin(), calls.end(), "RT_ACM_Delete_AllProfiles()");
        ASSERT_NE(end, calls.end());
        EXPECT_EQ(Lines(calls.begin(), end), c.calls);
        // Then the access-point mode, a second time only when it did not take at once.
        EXPECT_EQ(*(end + 1), "RT_AP_SwitchToAPMode()");
        EXPECT_EQ(*(end + 2), "RT_AP_SwitchToAPMode()");
        EXPECT_EQ(*(end + 3), "RT_AP_GetIsAPMode()");
        EXPECT_EQ(*(end + 4), "RT_GetIsRadioOff()");
    }
}

TEST_F(ModeSequenceTest, TheStartersStoreTheModeAndRestoreModeFollowsIt)
{
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "Software\\Kavlo\\Zarnwell"));
    adapter->BeginSoftApMode();
    EXPECT_EQ(adapter->networkMode, 1);
    EXPECT_EQ(adapter->LoadNetworkMode(), 1);
    EXPECT_TRUE(adapter->modeSwitching);
    adapter->BeginStationMode();
    EXPECT_EQ(adapter->LoadNetworkMode(), 0);
    clock.FastForwardBy(60s);
    EXPECT_FALSE(adapter->modeSwitching);

    // Restoring: the idle hosted access point is let go; then the remembered mode.
    struct Case {
        const char* name;
        int networkMode;
        int osKind;
        Lines calls;
    };
    const Lines hosted = {"RT_ACM_SoftAP_IsEnable()", "RT_ACM_SoftAP_GetStatus()", "RT_ACM_SoftAP_Stop()",
                          "RT_ACM_SoftAP_Enable(0)"};
    const Case cases[] = {
        {"station, in access-point mode", 0, 13, hosted + Lines{"RT_AP_GetIsAPMode()"}},
        {"access point", 1, 13, hosted + Lines{"RT_AP_SwitchToAPMode()", "RT_AP_GetIsAPMode()"}},
        {"access point before Windows 7", 1, 6, {"RT_AP_SwitchToAPMode()", "RT_AP_GetIsAPMode()"}},
    };
    library.hostedEnabled = true;
    library.hostedStatus = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        adapter->networkMode = c.networkMode;
        adapter->osKind = c.osKind;
        recorder.ClearCalls();
        adapter->RestoreMode();
        // The switch it started runs on: only what came before is RestoreMode's.
        Lines calls = recorder.Calls();
        calls.resize(std::min(calls.size(), c.calls.size()));
        EXPECT_EQ(calls, c.calls);
        EXPECT_TRUE(adapter->modeSwitching) << "a switch was started";
        EXPECT_EQ(adapter->LoadNetworkMode(), c.networkMode);
        clock.FastForwardBy(60s);
    }
}

// The adapter service over the simulated PC: a plugged adapter, an Ethernet
// connection to share, and the registry key of the adapter's connection.
class ModeSwitchingTest : public ::testing::Test {
protected:
    ModeSwitchingTest()
    {
        clock.Participate();
        SimConnection ethernet;
        ethernet.name = "Local Area Connection";
        ethernet.speedMbps = 1000;
        std::string error;
        EXPECT_TRUE(world.AddConnection(ethernet, error)) << error;
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, machine.services);
        adapter->exeDir = "/opt/zarnwell/";
        strcpy(adapter->apDefaultSsid, "Zarnwell_");
        adapter->StartDeviceWatch();
        adapter->StartTicker();
        clock.FastForwardBy(3s);
        EXPECT_EQ(adapter->adapterState, AdapterReady);
    }
    ~ModeSwitchingTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    // Runs the switch to its end; false when it never ended.
    bool Switched()
    {
        for (int second = 0; second < 120 && adapter->modeSwitching; ++second)
            clock.FastForwardBy(1s);
        return !adapter->modeSwitching;
    }
    bool ModeStored(uint32_t& mode)
    {
        return registry.QueryNumber(HiveLocalMachine, "Software\\Kavlo\\Zarnwell", "NetworkMode", mode);
    }
    size_t Count(const std::string& call)
    {
        size_t n = 0;
        for (const std::string& line : recorder.Calls())
            n += line == call;
        return n;
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

TEST_F(ModeSwitchingTest, TheFirstSwitchStoresTheAccessPointAndTheModeOnlyOnceItsKeyExists)
{
    adapter->BeginSoftApMode();
    uint32_t mode = 7;
    EXPECT_FALSE(ModeStored(mode)) << "nothing stored yet, so no key to hold the mode";
    ASSERT_TRUE(Switched());
    EXPECT_TRUE(adapter->modeSwitchDone);
    VuvProfile first = {};
    ASSERT_TRUE(adapter->LoadProfile("APProfile", first));
    SimStatus status = world.Status();
    EXPECT_TRUE(status.apMode && status.softApRunning);
    EXPECT_EQ(status.softApSsid, first.ssid);
    EXPECT_EQ(status.softApSecurity, SecurityWpaPsk);
    EXPECT_EQ(status.softApPassphrase, first.passphrase);
    EXPECT_EQ(status.sharedConnection, "Local Area Connection");
    EXPECT_NE(status.dhcpServerPid, 0u);
    EXPECT_EQ(status.address, "192.168.159.1");
    EXPECT_STREQ(adapter->internetConnection, "Local Area Connection");

    // Back to the station: the key exists now, and the mode is stored.
    adapter->BeginStationMode();
    ASSERT_TRUE(Switched());
    ASSERT_TRUE(ModeStored(mode));
    EXPECT_EQ(mode, 0u);
    status = world.Status();
    EXPECT_FALSE(status.apMode);
    EXPECT_FALSE(status.sharing);
    EXPECT_EQ(status.dhcpServerPid, 0u);
    EXPECT_EQ(status.address, "0.0.0.0") << "automatic addressing again";

    adapter->BeginSoftApMode();
    ASSERT_TRUE(ModeStored(mode));
    EXPECT_EQ(mode, 1u);
    ASSERT_TRUE(Switched());
    EXPECT_EQ(world.Status().softApSsid, first.ssid) << "the default is made once";
}

TEST_F(ModeSwitchingTest, APhoneIsCountedOnlyWithTheRightPassphrase)
{
    adapter->BeginSoftApMode();
    ASSERT_TRUE(Switched());
    VuvProfile profile = adapter->SoftApProfile();
    for (auto [name, passphrase] : {std::pair<const char*, std::string>{"Anna", profile.passphrase},
                                    {"Guest", "wrong-one"}}) {
        SimPhone phone;
        phone.name = name;
        phone.passphrase = passphrase;
        std::string error;
        ASSERT_TRUE(world.AddPhone(phone, error)) << error;
    }
    clock.FastForwardBy(1s);
    std::vector<StationEntry> clients;
    adapter->RefreshStationList(clients);
    ASSERT_EQ(clients.size(), 1u);
    EXPECT_EQ(world.Phones()[0].address, "192.168.159.2");
    EXPECT_EQ(world.Phones()[1].state, PhoneRefused);
    clock.FastForwardBy(60s);
    adapter->RefreshStationList(clients);
    EXPECT_EQ(clients.size(), 1u);
}

TEST_F(ModeSwitchingTest, WithoutAConnectionToShareTheSwitchFailsAndTheRetryTriesThreeTimesMore)
{
    world.SetConnectionUp("Local Area Connection", false);
    adapter->BeginSoftApMode();
    ASSERT_TRUE(Switched());
    EXPECT_FALSE(adapter->modeSwitchDone);
    EXPECT_STREQ(adapter->internetConnection, "");
    EXPECT_TRUE(world.Status().softApRunning) << "the access point runs, without an address for its clients";

    recorder.ClearCalls();
    adapter->BeginSoftApRetry();
    ASSERT_TRUE(Switched());
    EXPECT_FALSE(adapter->modeSwitchDone);
    // Sharing is set up once, then three times more, before the final two checks.
    EXPECT_EQ(Count("ICS_Ordinal5(\"\")"), 4u);
    EXPECT_EQ(Count("ICS_Ordinal3(0,\"\",\"\")"), 4u + 4u);

    // The connection is back: the retry succeeds.
    world.SetConnectionUp("Local Area Connection", true);
    adapter->BeginSoftApRetry();
    ASSERT_TRUE(Switched());
    EXPECT_TRUE(adapter->modeSwitchDone);
}

TEST_F(ModeSwitchingTest, TheHostedAccessPointIsStoppedBeforeTheSwitch)
{
    SimComputerSettings computer;
    computer.hostedNetwork = HostedRunning;
    world.ConfigureComputer(computer);
    adapter->BeginSoftApMode();
    ASSERT_TRUE(Switched());
    EXPECT_TRUE(adapter->modeSwitchDone);
    SimStatus status = world.Status();
    EXPECT_EQ(status.hostedNetwork, HostedDisabled);
    EXPECT_TRUE(status.softApRunning);
}

TEST_F(ModeSwitchingTest, AfterAReplugTheAccessPointComesBack)
{
    adapter->BeginSoftApMode();
    ASSERT_TRUE(Switched());
    ASSERT_TRUE(world.Unplug());
    clock.FastForwardBy(1s);
    EXPECT_EQ(adapter->adapterState, AdapterNone);
    recorder.ClearCalls();
    ASSERT_TRUE(world.Plug());
    clock.FastForwardBy(1s);
    EXPECT_EQ(adapter->adapterState, AdapterInitialising);
    // The pause, then the access-point mode before the adapter is ready.
    clock.FastForwardBy(3s);
    EXPECT_TRUE(world.Status().apMode);
    EXPECT_EQ(adapter->adapterState, AdapterReady);
    ASSERT_TRUE(Switched());
    EXPECT_TRUE(adapter->modeSwitchDone);
    SimStatus status = world.Status();
    EXPECT_TRUE(status.softApRunning);
    EXPECT_EQ(status.address, "192.168.159.1");
    EXPECT_TRUE(recorder.CallsStartingWith("RT_SiteSurveyEx").empty()) << "no survey in access-point mode";
}

} // namespace
