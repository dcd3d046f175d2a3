#include <algorithm>

#include "platform/CLauncher.h"
#include "platform/CRegistry.h"
#include "sim/CSimProgramHost.h"
#include "sim/CSimRegistryOwner.h"
#include "sim/CSimSystemAdapters.h"
#include "tests/sim/SimFixture.h"
#include "tests/support/TempDir.h"

namespace {

class SimMachineTest : public SimFixture {
protected:
    CTempDir temp;
};

TEST_F(SimMachineTest, TheRegistryAnswersTheConnectionName)
{
    CSimRegistryOwner owner(world);
    CRegistry registry(temp.Path());
    registry.AddOwner(&owner);
    const std::string key = "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\"
                            "Kavlo 802.11n USB Wireless LAN Card\\Connection";
    std::string name;
    ASSERT_TRUE(registry.QueryString(HiveLocalMachine, key, "Name", name));
    EXPECT_EQ(name, "Wireless Network Connection 2");
    EXPECT_FALSE(registry.QueryString(HiveLocalMachine, key, "PnpInstanceID", name));
    EXPECT_FALSE(registry.QueryString(HiveClassesRoot, key, "Name", name));
    EXPECT_FALSE(registry.SetString(HiveLocalMachine, key, "Name", "Renamed"));
}

TEST_F(SimMachineTest, TheSystemListsTheAdapterWhilePresent)
{
    CSimSystemAdapters adapters(world);
    std::vector<CSystemAdapterInfo> list;
    ASSERT_TRUE(adapters.GetAdaptersInfo(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].adapterName, "Kavlo 802.11n USB Wireless LAN Card");
    EXPECT_EQ(list[0].ipAddresses, std::vector<std::string>{"0.0.0.0"});
    world.Unplug();
    EXPECT_FALSE(adapters.GetAdaptersInfo(list));
    EXPECT_TRUE(list.empty());
}

TEST_F(SimMachineTest, IpconfigReleasesAndRenewsTheAdapterAddress)
{
    Add("Cafe", SecurityOpen);
    Open();
    char ssid[33] = "Cafe";
    library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, ssid, ssid, 1, 0, 0);
    clock.FastForwardBy(3000ms);
    ASSERT_EQ(Address(), "192.168.1.100");

    CSimProgramHost host(world);
    CLauncher launcher;
    host.HostIn(launcher);
    EXPECT_TRUE(launcher.StartHidden("ipconfig /release \"Local Area Connection\""));
    EXPECT_EQ(Address(), "192.168.1.100");
    EXPECT_TRUE(launcher.StartHidden("ipconfig /release \"Wireless Network Connection 2\""));
    EXPECT_EQ(Address(), "0.0.0.0");
    EXPECT_TRUE(launcher.StartHidden("C:\\Windows\\system32\\IPCONFIG.EXE /renew \"\""));
    clock.FastForwardBy(2000ms);
    EXPECT_EQ(Address(), "192.168.1.100");
}

TEST_F(SimMachineTest, TheDhcpServerRunsUntilItQuitsOrIsTerminated)
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
    const std::string start = "/opt/zarnwell/DORAVEZ -v -ip 192.168.159.1 -range 192.168.159.2-192.168.159.254";
    EXPECT_TRUE(launcher.StartHidden("/opt/zarnwell/DORAVEZ -v -ip 192.168.159.1 -range nonsense"));
    EXPECT_TRUE(servers().empty());
    EXPECT_TRUE(launcher.StartHidden(start));
    std::vector<uint32_t> running = servers();
    ASSERT_EQ(running.size(), 1u);
    EXPECT_GT(running[0], 4194304u);
    EXPECT_TRUE(world.DhcpServerRunning());
    EXPECT_TRUE(launcher.StartHidden(start)); // the port is taken: the second one ends at once
    EXPECT_EQ(servers(), running);

    EXPECT_TRUE(launcher.StartHidden("/opt/zarnwell/DORAVEZ -q"));
    EXPECT_TRUE(servers().empty());
    EXPECT_FALSE(world.DhcpServerRunning());

    EXPECT_TRUE(launcher.StartHidden(start));
    running = servers();
    ASSERT_EQ(running.size(), 1u);
    EXPECT_TRUE(launcher.TerminateProcess(running[0]));
    EXPECT_TRUE(servers().empty());
    EXPECT_FALSE(launcher.TerminateProcess(running[0]));
}

} // namespace
