#include <gtest/gtest.h>

#include "ui/CApplicationDlg.h"
#include "ui/CExitDlg.h"
#include "ui/ModalPopup.h"
#include "ui/framework/CDesktop.h"
#include "ui/framework/CMenu.h"
#include "tests/ui/AppFixture.h"

using namespace std::chrono_literals;

namespace {

// The main window's loop in virtual time; the test acts inside it.
class ApplicationDlgTest : public AppFixture {
protected:
    // Runs the main window until `end` (virtual time), then asks it to end.
    int Run(std::chrono::milliseconds end)
    {
        driver->At(end, [this] { window.EndDialog(CDialog::ResultCancel); });
        return window.DoModal();
    }
    void SetState(std::chrono::milliseconds when, AdapterState state)
    {
        driver->At(when, [this, state] { app->adapter.adapterState = state; });
    }
    // Just after `when`, so the window's own timers due then have run.
    void Check(std::chrono::milliseconds when, std::function<void()> check)
    {
        driver->At(when + 1ms, std::move(check));
    }

    bool MainShown() const
    {
        CRect area = CDesktop::WorkArea();
        CRect r = window.ScreenRect();
        return window.IsVisible() && r.x == area.Right() - r.width - 80 && r.y == area.y + 80;
    }
    bool PanelShown() const
    {
        CRect area = CDesktop::WorkArea();
        CRect r = window.noAdapterPanel.ScreenRect();
        return window.noAdapterPanel.IsVisible() && r.Right() == area.Right() && r.Bottom() == area.Bottom();
    }

    CApplicationDlg window;
    std::atomic<int>& link = library.link;
};

TEST_F(ApplicationDlgTest, ReadyAtStartShowsTheMainWindowAtTheFirstTickTopMostForHalfASecond)
{
    app->adapter.adapterState = AdapterReady;
    Check(1998ms, [&] { EXPECT_FALSE(MainShown()); });
    Check(2000ms, [&] {
        EXPECT_TRUE(MainShown());
        EXPECT_TRUE(window.IsTopMost());
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
        EXPECT_TRUE(window.tray.IsAdded());
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayStaDisconnect);
        EXPECT_EQ(window.tray.Tooltip(), u"Application");
    });
    Check(2498ms, [&] { EXPECT_TRUE(window.IsTopMost()); });
    Check(2500ms, [&] { EXPECT_FALSE(window.IsTopMost()); });
    Run(3000ms);
    EXPECT_TRUE(window.stationTabButton.selected);
    EXPECT_FALSE(window.softApTabButton.selected);
}

TEST_F(ApplicationDlgTest, NoAdapterAtStartShowsTheNoAdapterPanelBottomRightAndTheNoAdapterIcon)
{
    app->adapter.adapterState = AdapterNone;
    Check(2000ms, [&] {
        EXPECT_TRUE(PanelShown());
        EXPECT_FALSE(window.IsVisible());
        EXPECT_EQ(window.noAdapterPanel.message.Text(), u"Please insert the network adapter");
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayCardNo);
        EXPECT_EQ(app->shownAdapterState, AdapterNone);
    });
    // Disabled later: both windows hide until the tray brings the panel back.
    SetState(3000ms, AdapterDisabled);
    Check(4000ms, [&] {
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayStaDisconnect);
        window.tray.Press(false);
        EXPECT_TRUE(PanelShown());
        EXPECT_EQ(window.noAdapterPanel.picture.normalImage, app->skin.cardDisable);
    });
    Run(4500ms);
}

TEST_F(ApplicationDlgTest, InitialisingAtTheFirstTickShowsTheRightWindowOnceTheAdapterSettles)
{
    app->adapter.adapterState = AdapterInitialising;
    Check(2000ms, [&] {
        EXPECT_FALSE(window.IsVisible());
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
        EXPECT_FALSE(window.shownForState);
    });
    SetState(3000ms, AdapterReady);
    Check(4000ms, [&] {
        EXPECT_TRUE(MainShown());
        EXPECT_TRUE(window.showWaitOnStart);
        EXPECT_TRUE(window.stationPanel.scanning);
    });
    // Once only: the next change hides it again.
    SetState(5000ms, AdapterNone);
    Check(6000ms, [&] {
        EXPECT_FALSE(window.IsVisible());
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
    });
    Run(6500ms);
}

TEST_F(ApplicationDlgTest, UnplugWhileAModalWindowIsOpenClosesItAndHidesTheMainWindow)
{
    app->adapter.adapterState = AdapterReady;
    int aboutEnded = -1;
    Check(2100ms, [&] {
        ASSERT_TRUE(MainShown());
        window.OnCommand(32775);
        aboutEnded = int(clock.Now().count());
    });
    Check(3000ms, [&] {
        EXPECT_NE(ActivePopup(), nullptr);
        EXPECT_NE(driver->FindWindow(138), nullptr);
        app->adapter.adapterState = AdapterNone;
    });
    Check(4100ms, [&] {
        EXPECT_EQ(ActivePopup(), nullptr);
        EXPECT_EQ(driver->FindWindow(138), nullptr);
        EXPECT_FALSE(window.IsVisible());
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayCardNo);
        window.tray.Press(false);
        EXPECT_TRUE(PanelShown());
    });
    Run(4500ms);
    EXPECT_EQ(aboutEnded, 4000);
}

TEST_F(ApplicationDlgTest, HiddenStartShowsNothingButTheTrayIcon)
{
    app->adapter.adapterState = AdapterReady;
    app->startHidden = 1;
    Check(2000ms, [&] {
        EXPECT_FALSE(window.IsVisible());
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
        EXPECT_TRUE(window.tray.IsAdded());
        EXPECT_EQ(app->startHidden, 0);
        window.tray.Press(false);
        EXPECT_TRUE(MainShown());
    });
    Run(2500ms);
}

TEST_F(ApplicationDlgTest, WithoutATrayNoWindowHidesForGood)
{
    ui->virtualTrayHost = false;
    app->adapter.adapterState = 3;
    app->startHidden = 1;
    Check(2000ms, [&] {
        EXPECT_TRUE(MainShown());
        driver->Click(window.closeButton);
        EXPECT_TRUE(window.IsVisible());
        app->adapter.adapterState = 0;
    });
    Check(4000ms, [&] {
        EXPECT_FALSE(window.IsVisible());
        EXPECT_TRUE(PanelShown());
        driver->Click(window.noAdapterPanel.closeButton);
        EXPECT_TRUE(PanelShown());
    });
    Run(4500ms);
}

TEST_F(ApplicationDlgTest, TrayIconFollowsTheLinkStateAndTheMode)
{
    app->adapter.adapterState = AdapterReady;
    Check(2000ms, [&] { link = LinkConnected; });
    // Connected in Station mode: the signal level of the quality, every tick.
    struct Level { int quality; const std::string& icon; };
    const std::vector<Level> levels = {{0, app->skin.trayStaConnect1}, {35, app->skin.trayStaConnect1},
                                       {36, app->skin.trayStaConnect2}, {60, app->skin.trayStaConnect2},
                                       {61, app->skin.trayStaConnect3}, {100, app->skin.trayStaConnect3}};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        driver->At(std::chrono::milliseconds(2001 + 2000 * i), [&, i] { library.quality = levels[i].quality; });
        Check(std::chrono::milliseconds(4000 + 2000 * i), [&, i] {
            EXPECT_EQ(app->shownLinkState, LinkConnected);
            EXPECT_EQ(window.tray.IconPath(), levels[i].icon) << levels[i].quality;
        });
    }
    Check(14000ms, [&] {
        link = LinkNoAddress;
        library.quality = 50;
    });
    Check(16000ms, [&] {
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayStaConnect2);
        link = LinkDisconnected;
    });
    Check(18000ms, [&] {
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayStaDisconnect);
        app->currentMode = ModeSoftAp;
        link = LinkNoAddress;
    });
    Check(20000ms, [&] {
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayWifiConnect);
        link = LinkDisconnected;
    });
    Check(22000ms, [&] { EXPECT_EQ(window.tray.IconPath(), app->skin.trayWifiDisconnect); });
    Run(22500ms);
}

TEST_F(ApplicationDlgTest, ARestartedTrayGetsTheIconOfTheStateBackAndBothWindowsHide)
{
    app->adapter.adapterState = AdapterNone;
    Check(2000ms, [&] {
        ASSERT_TRUE(PanelShown());
        window.OnTaskbarCreated();
        EXPECT_TRUE(window.tray.IsAdded());
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayCardNo);
        EXPECT_FALSE(window.noAdapterPanel.IsVisible());
        app->shownAdapterState = AdapterReady;
        app->currentMode = ModeSoftAp;
        window.OnTaskbarCreated();
        EXPECT_EQ(window.tray.IconPath(), app->skin.trayWifiConnect);
    });
    Run(2500ms);
}

TEST_F(ApplicationDlgTest, CloseHidesAndOnlyAConfirmedExitEndsTheLoop)
{
    app->adapter.adapterState = AdapterReady;
    Check(2100ms, [&] {
        driver->Click(window.closeButton);
        EXPECT_FALSE(window.IsVisible());
        EXPECT_TRUE(window.tray.IsAdded());
        driver->PressKey(window, KeyEscape);
        window.tray.Press(false);
        EXPECT_TRUE(MainShown());
        driver->PressKey(window, KeyReturn);
        driver->PressKey(window, KeyEscape);
        EXPECT_TRUE(window.IsVisible());
    });
    // Exit from the tray menu, cancelled, then confirmed from the info menu.
    Check(2200ms, [&] {
        driver->After(10ms, [&] {
            ASSERT_NE(CMenu::Shown(), nullptr);
            EXPECT_EQ(CMenu::Shown()->items[1].text, u"Exit");
            EXPECT_EQ(CMenu::Shown()->items[1].bitmap, app->skin.menuClose);
            CMenu::ChooseShown(32772);
        });
        window.tray.Press(true);
    });
    Check(2300ms, [&] {
        CDialog* confirm = driver->FindWindow(CExitDlg::templateId);
        ASSERT_NE(confirm, nullptr);
        driver->Click(static_cast<CExitDlg*>(confirm)->cancelButton);
    });
    Check(2400ms, [&] {
        EXPECT_TRUE(window.Exists());
        driver->After(10ms, [&] { CMenu::ChooseShown(32776); });
        driver->Click(window.infoButton);
    });
    Check(2500ms, [&] {
        CDialog* confirm = driver->FindWindow(CExitDlg::templateId);
        ASSERT_NE(confirm, nullptr);
        driver->Click(static_cast<CExitDlg*>(confirm)->exitButton);
    });
    EXPECT_EQ(Run(60000ms), CDialog::ResultOk);
    EXPECT_EQ(clock.Now(), 2501ms);
}

TEST_F(ApplicationDlgTest, TheTrayMenuOpensWhetherTheMainWindowShowsOrNot)
{
    app->adapter.adapterState = 3;
    std::vector<std::string> menus;
    // A right click on the tray icon; `choose` then picks from the menu shown.
    auto rightClick = [&](int choose) {
        driver->After(10ms, [&, choose] {
            CMenu* shown = CMenu::Shown();
            menus.push_back(shown ? shown->name : "none");
            CMenu::ChooseShown(choose);
        });
        window.tray.Press(true);
    };
    Check(2100ms, [&] {
        ASSERT_TRUE(MainShown());
        rightClick(0);
        driver->Click(window.closeButton);
        rightClick(32773); // Launch UI
    });
    Check(2200ms, [&] {
        EXPECT_TRUE(MainShown());
        rightClick(32773);
    });
    Check(2300ms, [&] {
        EXPECT_TRUE(MainShown());
        rightClick(32772); // Exit: the confirmation runs, and the tray still answers
    });
    Check(2400ms, [&] {
        ASSERT_NE(driver->FindWindow(CExitDlg::templateId), nullptr);
        rightClick(0);
        driver->Click(static_cast<CExitDlg*>(driver->FindWindow(CExitDlg::templateId))->exitButton);
    });
    EXPECT_EQ(Run(60000ms), CDialog::ResultOk);
    EXPECT_EQ(clock.Now(), 2411ms);
    EXPECT_EQ(menus, (std::vector<std::string>{"tray", "tray", "tray", "tray", "tray"}));
}

TEST_F(ApplicationDlgTest, BothMenusAreDrawnInTheWindowsFace)
{
    app->adapter.adapterState = 3;
    const std::u16string windowsFace = window.title.font.DrawnFace();
    std::vector<std::u16string> faces;
    auto readFace = [&] {
        faces.push_back(CMenu::ShownFace());
        CMenu::ChooseShown(0);
    };
    Check(2100ms, [&] {
        driver->After(10ms, readFace);
        window.tray.Press(true);
        driver->After(10ms, readFace);
        driver->Click(window.infoButton);
        driver->Click(window.closeButton);
        driver->After(10ms, readFace);
        window.tray.Press(true);
    });
    Run(2500ms);
    EXPECT_EQ(windowsFace, CFont(18, 0, u"Microsoft YaHei").DrawnFace());
    EXPECT_EQ(faces, (std::vector<std::u16string>{windowsFace, windowsFace, windowsFace}));
}

TEST_F(ApplicationDlgTest, SoftApModeStartsOnTheSoftApTabAndAsksForTheWaitHalfASecondAfterReady)
{
    app->currentMode = ModeSoftAp;
    app->adapter.adapterState = AdapterInitialising;
    std::vector<std::pair<bool, std::chrono::milliseconds>> waits;
    window.panels.startSoftApWait = [&](bool show) { waits.push_back({show, clock.Now()}); };
    SetState(2500ms, AdapterReady);
    Run(5000ms);
    EXPECT_TRUE(window.softApTabButton.selected);
    EXPECT_EQ(app->softApTabActive, 1);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0], std::make_pair(true, 4500ms));
    EXPECT_FALSE(window.showWaitOnStart);
}

} // namespace
