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

} // namespace
