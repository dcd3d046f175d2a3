#include <algorithm>

#include "tests/program/ProgramFixture.h"
#include "ui/framework/CDesktop.h"

using namespace std::chrono_literals;

namespace {

const std::string root = "Software\\Kavlo\\Zarnwell";

class WholeProgramTest : public ProgramFixture {
protected:
    // Until its first tick the main window waits off the visible area.
    bool MainShown() const
    {
        CRect area = CDesktop::WorkArea();
        CRect r = window->ScreenRect();
        return window->IsVisible() && r.Right() == area.Right() - 80 && r.y == area.y + 80;
    }
    int Link()
    {
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        return program->app.adapter.QueryLink(ssid, bssid);
    }
    std::string Address()
    {
        char address[16] = {};
        program->app.adapter.GetIpAddress(address);
        return address;
    }
    // The last profile a connect from the list to `ssid` stores.
    void StoreLastProfile(const std::string& ssid)
    {
        std::vector<SimNetworkState> networks = machine.world.Networks();
        auto it = std::find_if(networks.begin(), networks.end(),
                               [&](const SimNetworkState& s) { return s.network.ssid == ssid; });
        ASSERT_NE(it, networks.end());
        NetworkRecord record = {};
        it->network.FillRecord(record, it->quality);
        VuvProfile profile = {};
        program->app.adapter.BuildProfileFromNetwork(record, NetworkDescription{}, profile);
        program->app.adapter.SaveProfile("Profile", profile);
    }
};

TEST_F(WholeProgramTest, PluggedAtStartTheMainWindowShowsAtItsFirstTick)
{
    CApplicationApp& app = program->app;
    At(2001ms, [&] {
        EXPECT_EQ(app.adapter.adapterState, AdapterReady);
        EXPECT_FALSE(MainShown()); // the tick of this instant has not run yet
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
    });
    At(2002ms, [&] {
        EXPECT_TRUE(MainShown());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        EXPECT_EQ(app.shownAdapterState, AdapterReady);
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
    // Started from the install folder the build fills, as the executable is.
    EXPECT_EQ(app.exeDir, BinDir());
    EXPECT_EQ(app.versionText, "V1.0.0.1");
    EXPECT_EQ(app.adapter.exeDir, BinDir());
    EXPECT_STREQ(app.adapter.apDefaultSsid, "Kavlo_");
    EXPECT_EQ(app.adapter.lcid, 1033u);
}

TEST_F(WholeProgramTest, TheStoredModeIsReadFromThePreparedStore)
{
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, root));
    ASSERT_TRUE(registry.SetNumber(HiveLocalMachine, root, "NetworkMode", 1));
    CApplicationApp& app = program->app;
    // The access-point mode is restored before the adapter is ready, a second
    // after the first tick: the window shows at its second.
    At(4002ms, [&] {
        EXPECT_EQ(app.currentMode, ModeSoftAp);
        EXPECT_EQ(app.adapter.networkMode, 1);
        EXPECT_TRUE(window->softApTabButton.selected);
        EXPECT_FALSE(window->stationTabButton.selected);
        EXPECT_TRUE(MainShown());
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
}

TEST_F(WholeProgramTest, IpconfigStartedThroughTheLauncherReachesTheSimulatedMachine)
{
    StoreLastProfile("Cafe Amsel Guest");
    CLauncher& launcher = machine.services.launcher; // the one the program was handed
    const std::string connection = "\"" + machine.world.ConnectionName() + "\"";
    // The first survey of this world is empty; the one at 30 s connects the
    // stored profile, linked a second later, addressed two after that.
    At(40000ms, [&] {
        EXPECT_EQ(Link(), LinkConnected);
        EXPECT_EQ(Address(), "172.16.4.120");
        EXPECT_TRUE(launcher.StartHidden("ipconfig /release " + connection));
        EXPECT_EQ(Link(), LinkNoAddress);
        EXPECT_EQ(Address(), "");
        EXPECT_TRUE(launcher.StartHidden("ipconfig /renew " + connection));
    });
    At(42002ms, [&] {
        EXPECT_EQ(Link(), LinkConnected);
        EXPECT_EQ(Address(), "172.16.4.120");
        EXPECT_EQ(window->tray.IconPath(), program->app.skin.trayStaConnect2); // quality 55
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
}

} // namespace
