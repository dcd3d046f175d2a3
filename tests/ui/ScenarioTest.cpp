#include <gtest/gtest.h>

#include "platform/CRegistry.h"
#include "shell/CApplicationApp.h"
#include "sim/CSimDriverLibrary.h"
#include "sim/CSimSystemAdapters.h"
#include "sim/CSimWorld.h"
#include "sim/SimWorldFile.h"
#include "ui/CApplicationDlg.h"
#include "ui/framework/CDesktop.h"
#include "tests/support/CQuietSystem.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

// The whole program in virtual time: the shipped simulated world, the driver
// library over it, the adapter object's device watch and ticker, and the main
// window, with the world's plug and unplug reaching the window as the
// system's notification would.
class ScenarioTest : public UiFixture {
protected:
    ScenarioTest() : UiFixture(true)
    {
        std::vector<std::string> problems;
        LoadSimWorld(Repository() + "resources/Sim/World.ini", world, problems);
        app = std::make_unique<CApplicationApp>(system, clock, library, registry, adapters);
        const std::string resources = Repository() + "resources/";
        app->language.Load(resources, 1033);
        app->settings.LoadSettings(resources, app->language.lcid);
        app->skin.BuildSkinPaths(resources, app->language.lcid, 6);
        app->adapter.StartDeviceWatch();
        app->adapter.StartTicker();
        window = std::make_unique<CApplicationDlg>();
        world.SetDeviceChangeListener(
            [this](uint32_t type, const void* data) { ui->PostDeviceChange(*window, type, data); });
    }
    ~ScenarioTest() override
    {
        world.SetDeviceChangeListener(nullptr);
        window.reset();
        app.reset();
    }

    // The window starts 1 ms after the adapter (see Run), so that its ticks
    // never fall on the instant the adapter changes state; a check runs 1 ms
    // after the tick it follows.
    void Check(std::chrono::milliseconds when, std::function<void()> check)
    {
        driver->At(when + 2ms, std::move(check));
    }
    void Run()
    {
        clock.FastForwardBy(1ms);
        window->DoModal();
    }

    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSimWorld world{clock};
    CSimDriverLibrary library{world};
    CSimSystemAdapters adapters{world};
    std::unique_ptr<CApplicationApp> app;
    std::unique_ptr<CApplicationDlg> window;
};

TEST_F(ScenarioTest, UnplugAndPlugSwitchBetweenTheMainWindowAndTheNoAdapterPanel)
{
    Check(2000ms, [&] {
        EXPECT_EQ(app->adapter.adapterState, AdapterReady);
        EXPECT_TRUE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        world.Unplug();
    });
    Check(4000ms, [&] {
        EXPECT_EQ(app->shownAdapterState, AdapterNone);
        EXPECT_FALSE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        EXPECT_EQ(window->tray.IconPath(), app->skin.trayCardNo);
        window->tray.Press(false);
        EXPECT_TRUE(window->noAdapterPanel.IsVisible());
        EXPECT_EQ(window->noAdapterPanel.message.Text(), u"Please insert the network adapter");
        world.Plug();
    });
    Check(12000ms, [&] {
        EXPECT_EQ(app->shownAdapterState, AdapterReady);
        EXPECT_EQ(window->tray.IconPath(), app->skin.trayStaDisconnect);
        window->tray.Press(false);
        EXPECT_TRUE(window->IsVisible());
        EXPECT_FALSE(window->noAdapterPanel.IsVisible());
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
}

} // namespace
