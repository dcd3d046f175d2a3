#include "platform/CProgramHost.h"
#include "platform/CSharingService.h"
#include "sim/CSimMachine.h"
#include "tests/adapter/StationFixture.h"
#include "tests/support/CQuietSystem.h"

using namespace std::chrono_literals;

namespace {

// The sharing library's answers as the test sets them: the connections of
// ordinal 1, the fastest connection, and whether sharing and the address
// take.
class CSharingLibrary : public CStationLibrary {
public:
    using CStationLibrary::CStationLibrary;

    void ICS_Ordinal1(const char*, ConnectionTable& table, int& count, int) override
    {
        for (size_t i = 0; i < connections.size() && i < 10; ++i)
            table.entries[i] = connections[i];
        count = reportedCount.value_or(int(connections.size()));
    }
    bool Get_Hi_Speed_Adapter(char (&)[50], char (&name)[260]) override
    {
        snprintf(name, sizeof name, "%s", fastest.c_str());
        return !fastest.empty();
    }
    void ICS_Ordinal3(int& enabled, char (&)[50], char (&)[128]) override { enabled = sharingTakes ? 1 : 0; }
    bool RT_Check_Current_NIC_IPAddress(const char*, const char*) override { return addressTakes; }
    bool RT_Check_VuvDHCP_Port_Work() override { return serverAnswers; }

    std::vector<ConnectionEntry> connections;
    std::optional<int> reportedCount;
    std::string fastest;
    bool sharingTakes = true;
    bool addressTakes = true;
    bool serverAnswers = true;
};

// Records the programs started and answers the process list.
class CRecordingHost : public CProgramHost {
public:
    bool Start(const std::vector<std::string>& argv) override
    {
        started.push_back(argv);
        return true;
    }
    void ListProcesses(std::vector<CProcessEntry>& out) override
    {
        if (serverPid)
            out.push_back({serverPid, "DORAVEZ.exe"});
    }
    bool Terminate(uint32_t) override { return false; }

    std::vector<std::vector<std::string>> started;
    uint32_t serverPid = 0;
};

class CListedSharingService : public CSharingService {
public:
    bool EnumerateConnections(std::vector<CSharingConnection>& out) override
    {
        out = connections;
        return true;
    }
    std::vector<CSharingConnection> connections;
};

ConnectionEntry Entry(const char* name, uint32_t characteristics = 1, uint32_t status = 2, uint8_t pppoe = 0,
                      const char* secondName = "")
{
    ConnectionEntry entry = {};
    snprintf(entry.name, sizeof entry.name, "%s", name);
    snprintf(entry.secondName, sizeof entry.secondName, "%s", secondName);
    entry.characteristics = characteristics;
    entry.status = status;
    entry.pppoe = pppoe;
    return entry;
}

class InternetSharingTest : public ::testing::Test {
protected:
    InternetSharingTest()
    {
        clock.Participate();
        launcher.Host("ipconfig", &host);
        launcher.Host("DORAVEZ", &host);
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
        strcpy(adapter->adapterName, "Kavlo USB");
        adapter->exeDir = "/opt/zarnwell/";
    }
    ~InternetSharingTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    std::string Chosen()
    {
        char out[260];
        memset(out, 'x', sizeof out);
        bool chosen = adapter->ChooseInternetConnection(out);
        EXPECT_EQ(chosen, out[0] != '\0');
        return out;
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CSharingLibrary library{clock};
    CRecordingDriverLibrary recorder{library};
    CNoSystemAdapters systemAdapters;
    CRecordingHost host;
    CLauncher launcher;
    CListedSharingService sharing;
    CQuietSystem system;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

TEST_F(InternetSharingTest, TheInternetConnectionIsChosenByTheCandidateRules)
{
    struct Case {
        const char* name;
        std::vector<ConnectionEntry> connections;
        std::string fastest; // empty: Get_Hi_Speed_Adapter fails
        std::string chosen;
    };
    const Case cases[] = {
        {"one candidate", {Entry("Ethernet")}, "", "Ethernet"},
        {"one candidate, the fastest not asked", {Entry("Ethernet")}, "Elsewhere", "Ethernet"},
        {"two, the fastest named", {Entry("Ethernet"), Entry("DSL", 1, 2, 1)}, "Ethernet", "Ethernet"},
        {"two, no fastest: the PPPoE one", {Entry("Ethernet"), Entry("DSL", 1, 2, 1)}, "", "DSL"},
        {"no PPPoE: the 3G modem", {Entry("Ethernet"), Entry("Mobile", 1, 2, 0, "Huawei 3G Modem")}, "",
         "Mobile"},
        {"neither", {Entry("Ethernet"), Entry("Office")}, "", ""},
        {"1394 never", {Entry("1394 Connection"), Entry("DSL", 1, 7, 1)}, "", ""},
        {"characteristics 9 never", {Entry("Ethernet", 9), Entry("DSL", 0, 2, 1)}, "", ""},
        {"not connected never", {Entry("Ethernet", 1, 7), Entry("DSL", 1, 0, 1)}, "", ""},
        {"1394 and 9 beside one good", {Entry("1394 Net"), Entry("Odd", 9), Entry("Mobile", 1, 2, 0, "ZTE 3G Modem")},
         "", "Mobile"},
        {"nothing", {}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.connections = c.connections;
        library.fastest = c.fastest;
        EXPECT_EQ(Chosen(), c.chosen);
    }
}

TEST_F(InternetSharingTest, ALibraryCountBeyondTheTableIsBounded)
{
    library.connections = {Entry("Ethernet")};
    for (int count : {-5, 0, 11, 1000000}) {
        SCOPED_TRACE(count);
        library.reportedCount = count;
        EXPECT_EQ(Chosen(), count > 0 ? "Ethernet" : "");
    }
}

TEST_F(InternetSharingTest, OnWindowsVistaTheFirstChoiceAsksTheLibraryAndLaterOnesTheSystem)
{
    adapter->osKind = 6;
    library.connections = {Entry("From Library")};
    sharing.connections = {
        {"From System", "{1}", "Realtek", 2, 3, 1, false},
        {"Dial-up", "{2}", "Modem", 2, 4, 1, false},            // not LAN, PPPoE or bridge
        {"FireWire", "{3}", "1394 Net Adapter", 2, 3, 1, false}, // a 1394 device
    };
    EXPECT_EQ(Chosen(), "From Library");
    EXPECT_EQ(Chosen(), "From System");
    ConnectionTable table = {};
    int count = -1;
    ASSERT_TRUE(adapter->EnumerateSharingConnections("Kavlo USB", table, count));
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(table.entries[0].secondName, "{1}");

    sharing.connections.clear();
    for (int i = 0; i < 12; ++i)
        sharing.connections.push_back({"PPPoE " + std::to_string(i), "{p" + std::to_string(i) + "}", "WAN", 2, 6, 1,
                                       false});
    sharing.connections.push_back({"Own", "Kavlo USB", "Kavlo", 2, 3, 1, false}); // its GUID is the device
    ASSERT_TRUE(adapter->EnumerateSharingConnections("Kavlo USB", table, count));
    EXPECT_EQ(count, 10);
    EXPECT_EQ(table.entries[9].pppoe, 1);

    adapter->osKind = 13;
    EXPECT_EQ(Chosen(), "From Library");
}

TEST_F(InternetSharingTest, SharingIsTornDownThenSetUpWithTheServer)
{
    library.connections = {Entry("Ethernet")};
    adapter->SetInternetSharing(true);
    const Lines teardown = {
        "ICS_Ordinal3(0,\"\",\"\")",
        "ICS_Ordinal2(0,\"\",\"\")",
        "ICS_Ordinal5(\"\")",
        "RT_DisableSoftAP_ICS()",
        "RT_SetSoftAP_TcpIpAddress(\"Kavlo USB\",1,\"\",\"\")",
    };
    const Lines setup = {
        "ICS_Ordinal1(\"Kavlo USB\",{record},0,0)",
        "ICS_Ordinal2(0,\"Kavlo USB\",\"Ethernet\")",
        "RT_SetNicTcpipAddr(\"Kavlo USB\",1,\"\",\"\",\"\",\"\")",
        "ICS_Ordinal2(1,\"Kavlo USB\",\"Ethernet\")",
        "ICS_Ordinal3(0,\"\",\"\")",
        // the server
        "RT_SetNicTcpipAddr(\"Kavlo USB\",0,\"192.168.159.1\",\"255.255.255.0\",\"\",\"\")",
        "RT_Check_Current_NIC_IPAddress(\"Kavlo USB\",\"192.168.159.1\")",
        "RT_Check_Current_NIC_IPAddress(\"Kavlo USB\",\"192.168.159.1\")",
        "RT_Check_VuvDHCP_Port_Work()",
        "ICS_DHCP_Enable(\"Kavlo USB\",\"192.168.159.1\",\"192.168.159.2\",\"192.168.159.254\")",
        "RT_EnableSoftAP_ICS(\"Kavlo USB\",\"Ethernet\")",
    };
    EXPECT_EQ(recorder.Calls(), teardown + setup);
    EXPECT_STREQ(adapter->internetConnection, "Ethernet");
    EXPECT_EQ(host.started, (std::vector<std::vector<std::string>>{
                                {"/opt/zarnwell/DORAVEZ", "-q"},
                                {"/opt/zarnwell/DORAVEZ", "-v", "-ip", "192.168.159.1", "-range",
                                 "192.168.159.2-192.168.159.254"}}));

    // Off: the server goes first, then the same tear-down, and nothing more.
    recorder.ClearCalls();
    host.started.clear();
    adapter->SetInternetSharing(false);
    EXPECT_EQ(recorder.Calls(), teardown);
    EXPECT_EQ(host.started, (std::vector<std::vector<std::string>>{{"/opt/zarnwell/DORAVEZ", "-q"}}));
}

TEST_F(InternetSharingTest, WithoutAConnectionToShareNothingIsSharedAndNoServerStarts)
{
    adapter->SetInternetSharing(true);
    EXPECT_EQ(recorder.Calls().back(), "ICS_Ordinal1(\"Kavlo USB\",{record},0,0)");
    EXPECT_STREQ(adapter->internetConnection, "");
    EXPECT_TRUE(host.started.empty());
}

TEST_F(InternetSharingTest, SharingThatDoesNotTakeIsAskedForTwiceMore)
{
    library.connections = {Entry("Ethernet")};
    library.sharingTakes = false;
    adapter->SetInternetSharing(true);
    int enables = 0;
    for (const std::string& call : recorder.Calls())
        enables += call == "ICS_Ordinal2(1,\"Kavlo USB\",\"Ethernet\")";
    EXPECT_EQ(enables, 3);
}

TEST_F(InternetSharingTest, TheServerStartRetriesTheAddressAndToldTheSharingWhenItDidNotAnswer)
{
    library.addressTakes = false;
    library.serverAnswers = false;
    Ms began = clock.Now();
    adapter->StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
    // 1 s for the launch, twice 500 ms for the address, 4 x 500 ms for the port.
    EXPECT_EQ(clock.Now() - began, 4000ms);
    EXPECT_EQ(recorder.CallsStartingWith("RT_SetSoftAP_TcpIpAddress"),
              Lines(2, "RT_SetSoftAP_TcpIpAddress(\"Kavlo USB\",0,\"192.168.159.1\",\"255.255.255.0\")"));
    EXPECT_EQ(recorder.CallsStartingWith("RT_Check_VuvDHCP_Port_Work").size(), 5u);
    EXPECT_EQ(recorder.Calls().back(), "ICS_DHCP_Enable(\"Kavlo USB\",\"192.168.159.1\",\"\",\"\")");
}

TEST_F(InternetSharingTest, TheProgramIsStartedByItsQuotedAbsolutePath)
{
    struct Case {
        std::string exeDir;
        std::string program; // empty: nothing starts
    };
    for (const Case& c : {Case{"/opt/my apps/zarnwell/", "/opt/my apps/zarnwell/DORAVEZ"},
                          Case{"/opt/a;b $(reboot)/", "/opt/a;b $(reboot)/DORAVEZ"}, Case{"relative/", ""},
                          Case{"", ""}, Case{"/opt/\"quoted\"/", ""}}) {
        SCOPED_TRACE(c.exeDir);
        host.started.clear();
        adapter->exeDir = c.exeDir;
        adapter->StopDhcpServer();
        if (c.program.empty())
            EXPECT_TRUE(host.started.empty());
        else
            EXPECT_EQ(host.started, (std::vector<std::vector<std::string>>{{c.program, "-q"}}));
    }
}

// The simulated PC's own DHCP program.
class DhcpServerTest : public ::testing::Test {
protected:
    DhcpServerTest()
    {
        clock.Participate();
        adapter = std::make_unique<CAdapterWirelessZadidar>(machine.library, machine.services);
        adapter->exeDir = "/opt/zarnwell/";
    }
    ~DhcpServerTest() override
    {
        adapter.reset();
        clock.Leave();
    }

    std::vector<uint32_t> Servers()
    {
        std::vector<uint32_t> pids;
        for (const CProcessEntry& process : launcher.Processes())
            if (process.imageName == "DORAVEZ.exe")
                pids.push_back(process.pid);
        return pids;
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSimMachine machine{clock, system, registry};
    CSimWorld& world = machine.world;
    CLauncher& launcher = machine.launcher;
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};

TEST_F(DhcpServerTest, ASecondStartEndsTheFirstServer)
{
    adapter->StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
    std::vector<uint32_t> first = Servers();
    ASSERT_EQ(first.size(), 1u);
    uint32_t pid = 0;
    EXPECT_TRUE(adapter->FindDhcpServerProcess(pid));
    EXPECT_EQ(pid, first[0]);

    adapter->StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
    std::vector<uint32_t> second = Servers();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second[0], first[0]);
    EXPECT_TRUE(adapter->dhcpServerStopped);
}

TEST_F(DhcpServerTest, AServerThatWillNotEndEndsTheStopAfterAFewTries)
{
    struct Case {
        bool quits;
        bool terminable;
        bool stopped;
        Ms took;
    };
    for (const Case& c : {Case{true, true, true, 0ms}, Case{false, true, true, 100ms},
                          Case{false, false, false, 500ms}}) {
        SCOPED_TRACE(std::to_string(c.quits) + std::to_string(c.terminable));
        SimComputerSettings computer;
        computer.dhcpQuits = c.quits;
        computer.dhcpTerminable = c.terminable;
        world.ConfigureComputer(computer);
        world.StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
        Ms began = clock.Now();
        adapter->StopDhcpServer();
        EXPECT_EQ(clock.Now() - began, c.took);
        EXPECT_EQ(adapter->dhcpServerStopped, c.stopped);
        EXPECT_EQ(Servers().empty(), c.stopped);
        world.ConfigureComputer(SimComputerSettings{});
        world.QuitDhcpServer();
    }
}

} // namespace
