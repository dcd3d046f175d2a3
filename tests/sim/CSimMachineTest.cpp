#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "sim/CSimMachine.h"
#include "sim/SimDeviceBroadcast.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/TempDir.h"

namespace {

const std::string connectionKey =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\"
    "Kavlo 802.11n USB Wireless LAN Card\\Connection";

class CSimMachineTest : public ::testing::Test {
protected:
    CSimMachineTest() { clock.Participate(); }
    ~CSimMachineTest() override { clock.Leave(); }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
};

TEST_F(CSimMachineTest, ItsServicesShowTheWorldAndItsKeyGoesWithIt)
{
    std::string name;
    {
        CSimMachine machine(clock, system, registry);
        const CPlatformServices& services = machine.services;
        EXPECT_EQ(&services.clock, &clock);
        EXPECT_EQ(&services.system, &system);
        EXPECT_EQ(&services.registry, &registry);

        std::vector<CSystemAdapterInfo> adapters;
        ASSERT_TRUE(services.systemAdapters.GetAdaptersInfo(adapters));
        EXPECT_EQ(adapters.at(0).adapterName, "Kavlo 802.11n USB Wireless LAN Card");
        ASSERT_TRUE(services.registry.QueryString(HiveLocalMachine, connectionKey, "Name", name));
        EXPECT_EQ(name, "Wireless Network Connection 2");
        // ipconfig runs on the machine, not on the computer the test runs on.
        EXPECT_TRUE(services.launcher.StartHidden("ipconfig /renew \"Wireless Network Connection 2\""));

        std::vector<uint32_t> events;
        machine.SetDeviceChangeListener([&](uint32_t type, const void* data) {
            events.push_back(type);
            EXPECT_NE(data, nullptr);
        });
        machine.world.Unplug();
        machine.world.Plug();
        machine.SetDeviceChangeListener(nullptr);
        machine.world.Unplug();
        EXPECT_EQ(events, (std::vector<uint32_t>{DeviceRemoveComplete, DeviceArrival}));
    }
    EXPECT_FALSE(registry.QueryString(HiveLocalMachine, connectionKey, "Name", name));
}

TEST_F(CSimMachineTest, ItLoadsAWorldFileAndServesTheControlSocketUntilStopped)
{
    CSimMachine machine(clock, system, registry);
    std::vector<std::string> problems;
    EXPECT_TRUE(machine.LoadWorld(std::string(getenv("ZARNWELL_BIN_DIR")) + "/Sim/World.ini", problems));
    EXPECT_TRUE(problems.empty());
    EXPECT_FALSE(machine.world.Networks().empty());
    EXPECT_FALSE(machine.LoadWorld(state.File("missing.ini"), problems));

    const std::string socket = state.File("sim.sock");
    EXPECT_TRUE(machine.StartControl(socket));
    EXPECT_TRUE(std::filesystem::exists(socket));
    machine.StopControl();
    EXPECT_FALSE(std::filesystem::exists(socket));
}

} // namespace
