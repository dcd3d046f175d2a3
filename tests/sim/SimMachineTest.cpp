#include "platform/CRegistry.h"
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

} // namespace
