#include "tests/program/ProgramFixture.h"

using namespace std::chrono_literals;

namespace {

// The whole program on the simulated machine in virtual time, with the
// world's plug and unplug reaching the main window as the system's
// notification would. A check runs 1 ms after the main window's tick it follows.
class ScenarioTest : public ProgramFixture {
protected:
    void Check(std::chrono::milliseconds when, std::function<void()> check) { At(when + 2ms, std::move(check)); }
    CApplicationApp& app = program->app;
};

TEST_F(ScenarioTest, UnplugAndPlugSwitchBetweenTheMainWindowAndTheNoAdapterPanel)
{
    Check(2000ms, [&] {
        EXPECT_EQ(app.adapter.adapterState, AdapterReady);
        EXPECT_TRUE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        machine.world.Unplug();
    });
    Check(4000ms, [&] {
        EXPECT_EQ(app.shownAdapterState, AdapterNone);
        EXPECT_FALSE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        EXPECT_EQ(window->tray.IconPath(), app.skin.trayCardNo);
        window->tray.Press(false);
        EXPECT_TRUE(window->noAdapterPanel.IsVisible());
        EXPECT_EQ(window->noAdapterPanel.message.Text(), u"Please insert the network adapter");
        machine.world.Plug();
    });
    Check(12000ms, [&] {
        EXPECT_EQ(app.shownAdapterState, AdapterReady);
        EXPECT_EQ(window->tray.IconPath(), app.skin.trayStaDisconnect);
        window->tray.Press(false);
        EXPECT_TRUE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
}

TEST_F(ScenarioTest, TheAdapterSwitchesToTheAccessPointAndBackWhileTheProgramRuns)
{
    CSimWorld& world = machine.world;
    Check(2000ms, [&] {
        ASSERT_EQ(app.adapter.adapterState, AdapterReady);
        app.adapter.BeginSoftApMode();
    });
    Check(40000ms, [&] {
        EXPECT_FALSE(app.adapter.modeSwitching);
        EXPECT_TRUE(app.adapter.modeSwitchDone);
        SimStatus status = world.Status();
        EXPECT_TRUE(status.softApRunning);
        EXPECT_EQ(status.softApSsid.rfind(app.settings.apDefaultSsid, 0), 0u) << status.softApSsid;
        EXPECT_EQ(status.softApSecurity, SecurityWpaPsk);
        EXPECT_EQ(status.sharedConnection, "Local Area Connection");
        EXPECT_NE(status.dhcpServerPid, 0u);
        EXPECT_EQ(status.address, "192.168.159.1");
        SimPhone phone;
        phone.name = "Pixel";
        phone.passphrase = app.adapter.SoftApProfile().passphrase;
        std::string error;
        EXPECT_TRUE(world.AddPhone(phone, error)) << error;
    });
    Check(42000ms, [&] {
        std::vector<StationEntry> clients;
        app.adapter.RefreshStationList(clients);
        EXPECT_EQ(clients.size(), 1u);
        EXPECT_EQ(world.Phones()[0].address, "192.168.159.2");
        EXPECT_TRUE(window->IsVisible());
        app.adapter.BeginStationMode();
    });
    Check(44000ms, [&] {
        EXPECT_FALSE(app.adapter.modeSwitching);
        SimStatus status = world.Status();
        EXPECT_FALSE(status.apMode);
        EXPECT_FALSE(status.sharing);
        EXPECT_EQ(status.dhcpServerPid, 0u);
        EXPECT_EQ(status.address, "0.0.0.0");
        EXPECT_EQ(world.Phones()[0].state, PhoneAway);
    });
    // The periodic survey of station mode finds the networks again.
    Check(80000ms, [&] {
        SurveyBuffer networks;
        EXPECT_GT(app.adapter.CopyNetworks(networks), 0);
        uint32_t mode = 7;
        EXPECT_TRUE(registry.QueryNumber(HiveLocalMachine, "Software\\Kavlo\\Zarnwell", "NetworkMode", mode));
        EXPECT_EQ(mode, 0u);
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
}

} // namespace
