#include <gtest/gtest.h>

#include <cstring>

#include "platform/CodePage.h"
#include "tests/program/ProgramFixture.h"
#include "ui/ModalPopup.h"
#include "ui/station/CModeAddDlg.h"
#include "ui/station/CModeConnectAckDlg.h"
#include "ui/station/CModeConnectDlg.h"
#include "ui/station/CModeDisconnectDlg.h"
#include "ui/station/CModePasswordDlg.h"
#include "ui/softap/CChangeWaitDlg.h"

using namespace std::chrono_literals;

// The Station tab driven with the mouse and the keyboard over the shipped
// world, the whole program in virtual time. The panel's first scan has its
// list by 15 s (the world's first survey is empty).
namespace {

constexpr int nameColumn = 2;
constexpr int infoColumn = 5;

class StationFlowTest : public ProgramFixture {
protected:
    CModeDlg& Panel() { return window->stationPanel; }
    CAdapterWirelessZadidar& Adapter() { return program->app.adapter; }

    // The data row showing `ssid` (UTF-8), or -1.
    int RowOf(CGridCtrl& grid, const std::string& ssid)
    {
        for (int row = 1; row < grid.RowCount(); ++row)
            if (const CGridCtrl::Cell* cell = grid.GetCell(row, nameColumn); cell && cell->text == Utf8ToUtf16(ssid))
                return row;
        return -1;
    }
    // Presses and releases the mouse on a cell as a person would; the flow
    // the click starts runs inside, so later actions are scheduled first.
    void ClickCell(CGridCtrl& grid, int row, int column)
    {
        int x = 0;
        for (int c = 0; c < column; ++c)
            x += grid.ColumnWidth(c);
        x += grid.ColumnWidth(column) / 2;
        for (int y = 0; y < grid.ClientSize().height; ++y)
            if (grid.CellFromPoint({x, y}).row == row) {
                driver->Press(grid, {x, y + 5});
                driver->Release(grid, {x, y + 5});
                return;
            }
        ADD_FAILURE() << "row " << row << " is not in sight";
    }
    void ClickNetwork(const std::string& ssid, int column = nameColumn)
    {
        const int row = RowOf(Panel().networkGrid, ssid);
        ASSERT_GT(row, 0) << ssid << " is not listed";
        ClickCell(Panel().networkGrid, row, column);
    }
    // Runs `action` on the dialog once it is open, looking every 500 ms
    // from `after` on, for at most a minute.
    template <typename Dialog>
    void WhenOpen(std::chrono::milliseconds after, std::function<void(Dialog*)> action, int looks = 120)
    {
        driver->After(after, [this, action, looks] {
            Dialog* dialog = Open<Dialog>();
            if (dialog && dialog->IsVisible())
                action(dialog);
            else if (looks > 0)
                WhenOpen<Dialog>(500ms, action, looks - 1);
            else
                ADD_FAILURE() << "no window " << Dialog::templateId;
        });
    }
    template <typename Dialog>
    Dialog* Open()
    {
        return dynamic_cast<Dialog*>(driver->FindWindow(Dialog::templateId));
    }
    // Types a key into the open password dialog and presses OK.
    void EnterPassword(const std::u16string& key)
    {
        auto* dialog = Open<CModePasswordDlg>();
        ASSERT_NE(dialog, nullptr);
        dialog->passwordEdit.SetText(u"");
        driver->Type(dialog->passwordEdit, key);
        driver->Click(dialog->okButton);
    }
    LinkState Link()
    {
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        return Adapter().QueryLink(ssid, bssid);
    }
    std::string LastProfileSsid()
    {
        VuvProfile profile = {};
        if (!Adapter().LoadProfile("Profile", profile))
            return "";
        return std::string(profile.ssid, strnlen(profile.ssid, sizeof profile.ssid));
    }
    // The open window of the station flows, if any.
    bool AnyFlowWindowOpen()
    {
        for (int id : {CModePasswordDlg::templateId, CModeConnectAckDlg::templateId, CModeConnectDlg::templateId,
                       CModeAddDlg::templateId, CModeDisconnectDlg::templateId, CChangeWaitDlg::templateId})
            if (CDialog* dialog = driver->FindWindow(id); dialog && dialog->IsVisible())
                return true;
        return false;
    }
    void End(std::chrono::milliseconds when)
    {
        At(when, [this] { window->EndDialog(CDialog::ResultCancel); });
    }
};

TEST_F(StationFlowTest, AScanListsTheNetworksStrongestFirstWithoutTheHiddenOne)
{
    At(3000ms, [&] {
        EXPECT_TRUE(Panel().scanning);
        EXPECT_TRUE(Panel().scanAnimation.IsVisible());
        EXPECT_FALSE(Panel().networkGrid.IsVisible());
    });
    At(15002ms, [&] {
        EXPECT_FALSE(Panel().scanning);
        EXPECT_TRUE(Panel().networkGrid.IsVisible());
        CGridCtrl& grid = Panel().networkGrid;
        // Ten access points around, one of them hidden.
        ASSERT_EQ(grid.RowCount(), 1 + 9);
        EXPECT_EQ(grid.GetCell(1, nameColumn)->text, u"Lindqvist Home");
        EXPECT_EQ(RowOf(grid, "Basement Lab"), -1);
        EXPECT_EQ(grid.GetCell(RowOf(grid, "Lindqvist Home"), 3)->image, 4);
        EXPECT_EQ(grid.GetCell(RowOf(grid, "Cafe Amsel Guest"), 3)->image, -1);
        EXPECT_EQ(grid.GetCell(RowOf(grid, "Cafe Amsel Guest"), infoColumn)->image, 5);
        EXPECT_TRUE(window->stationTabButton.IsEnabled());
    });
    End(15100ms);
    Run();
}

TEST_F(StationFlowTest, AWpa2NetworkConnectedAtTheFirstTryIsSavedAndShownInItsOwnRow)
{
    At(20000ms, [&] {
        driver->After(500ms, [&] {
            auto* dialog = Open<CModePasswordDlg>();
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(Panel().idle);
            EXPECT_FALSE(Adapter().scanAllowed);
            EXPECT_EQ(dialog->message.text, u"Enter the password of Lindqvist Home");
            EXPECT_FALSE(dialog->keyIndexList.IsVisible());
            EnterPassword(u"correct horse battery");
        });
        driver->After(1500ms, [&] {
            auto* busy = Open<CChangeWaitDlg>();
            ASSERT_NE(busy, nullptr);
            EXPECT_EQ(busy->text.text, u"Connecting...");
        });
        ClickNetwork("Lindqvist Home");
        EXPECT_NE(Link(), LinkDisconnected); // its address may still be on its way
        EXPECT_EQ(LastProfileSsid(), "Lindqvist Home");
        VuvProfile saved = {};
        EXPECT_EQ(Adapter().IsSavedNetwork(Panel().scanSnapshot.records[0], saved), 1);
        EXPECT_TRUE(Panel().idle);
        EXPECT_TRUE(Adapter().scanAllowed);
    });
    At(30000ms, [&] {
        EXPECT_EQ(Link(), LinkConnected);
        EXPECT_TRUE(Panel().connectedGrid.IsVisible());
        EXPECT_EQ(Panel().connectedGrid.GetCell(1, nameColumn)->text, u"Lindqvist Home");
        EXPECT_EQ(Panel().connectedGrid.GetCell(1, 1)->image, 6);
        EXPECT_EQ(RowOf(Panel().networkGrid, "Lindqvist Home"), -1);
        EXPECT_GT(RowOf(Panel().networkGrid, "Rosewood Office"), 0);
        EXPECT_FALSE(AnyFlowWindowOpen());
    });
    End(30100ms);
    Run();
}

TEST_F(StationFlowTest, AWrongKeyGivesTheRedPromptWithItThenTheRightOneLinksAndTheNextVisitIsPrefilled)
{
    At(20000ms, [&] {
        driver->After(500ms, [&] { EnterPassword(u"wrong horse battery"); });
        // The failure: 12 s, then the grace of the busy panel.
        WhenOpen<CModePasswordDlg>(1000ms, [&](CModePasswordDlg* dialog) {
            EXPECT_EQ(dialog->message.text, u"Connect failed, please reconnect Lindqvist Home");
            EXPECT_EQ(dialog->message.normalColor, program->app.settings.textRedColor);
            EXPECT_EQ(dialog->passwordEdit.Text(), u"wrong horse battery");
            EXPECT_EQ(LastProfileSsid(), "");
            EnterPassword(u"correct horse battery");
        });
        ClickNetwork("Lindqvist Home");
        EXPECT_NE(Link(), LinkDisconnected);
        EXPECT_EQ(LastProfileSsid(), "Lindqvist Home");
    });
    // Disconnect from the details, then the network again: the saved key.
    At(60000ms, [&] {
        driver->After(500ms, [&] {
            auto* details = Open<CModeDisconnectDlg>();
            ASSERT_NE(details, nullptr);
            EXPECT_EQ(details->ssid.text, u"Lindqvist Home");
            EXPECT_EQ(details->status.text, u"Connected");
            EXPECT_EQ(details->ipAddress.text, u"192.168.1.23");
            EXPECT_EQ(details->macAddress.text, u"9c:c7:a6:12:40:01");
            driver->Click(details->disconnectButton);
        });
        ClickCell(Panel().connectedGrid, 1, nameColumn);
        EXPECT_FALSE(Adapter().autoConnectEnabled);
        EXPECT_FALSE(Panel().connectedGrid.IsVisible());
    });
    At(70000ms, [&] {
        EXPECT_EQ(Link(), LinkDisconnected);
        EXPECT_GT(RowOf(Panel().networkGrid, "Lindqvist Home"), 0);
        // The user's own disconnect is not answered with a rescan.
        EXPECT_FALSE(CUi::Instance().HasTimer(&Panel(), CModeDlg::lostLinkScanTimer));
        driver->After(500ms, [&] {
            auto* dialog = Open<CModePasswordDlg>();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->message.text, u"Enter the password of Lindqvist Home");
            EXPECT_EQ(dialog->passwordEdit.Text(), u"correct horse battery");
            driver->Click(dialog->cancelButton);
        });
        ClickNetwork("Lindqvist Home");
    });
    End(72000ms);
    Run();
}

TEST_F(StationFlowTest, AnOpenNetworkAsksFirstButNotFromItsDetails)
{
    At(20000ms, [&] {
        driver->After(500ms, [&] {
            auto* ask = Open<CModeConnectAckDlg>();
            ASSERT_NE(ask, nullptr);
            EXPECT_EQ(ask->message.text, u"Connect to Cafe Amsel Guest ?");
            driver->Click(ask->okButton);
        });
        ClickNetwork("Cafe Amsel Guest");
        EXPECT_NE(Link(), LinkDisconnected);
        EXPECT_EQ(LastProfileSsid(), "Cafe Amsel Guest");
    });
    At(40000ms, [&] {
        driver->After(500ms, [&] {
            auto* details = Open<CModeConnectDlg>();
            ASSERT_NE(details, nullptr);
            EXPECT_EQ(details->ssid.text, u"City Library");
            EXPECT_EQ(details->security.text, u"None");
            EXPECT_EQ(details->channel.text, u"1");
            driver->Click(details->connectButton);
        });
        driver->After(1500ms, [&] { EXPECT_EQ(Open<CModeConnectAckDlg>(), nullptr); });
        ClickNetwork("City Library", infoColumn);
        EXPECT_EQ(LastProfileSsid(), "City Library");
    });
    End(45000ms);
    Run();
}

TEST_F(StationFlowTest, UnpluggedDuringThePasswordOrTheWaitEndsTheFlowWithNothingSavedAndNoWindowOpen)
{
    At(20000ms, [&] {
        driver->After(500ms, [&] { machine.world.Unplug(); });
        ClickNetwork("Lindqvist Home");
        EXPECT_EQ(ActivePopup(), nullptr);
        EXPECT_EQ(LastProfileSsid(), "");
    });
    At(40000ms, [&] { machine.world.Plug(); });
    At(60000ms, [&] {
        window->ShowForAdapterState(true); // as the tray icon brings it back
        driver->After(500ms, [&] { EnterPassword(u"correct horse battery"); });
        driver->After(600ms, [&] { machine.world.Unplug(); });
        ClickNetwork("Lindqvist Home");
        EXPECT_EQ(ActivePopup(), nullptr);
        EXPECT_EQ(LastProfileSsid(), "");
        EXPECT_TRUE(Panel().idle);
    });
    // The main window's next tick sees the adapter gone and closes the wait.
    At(62002ms, [&] {
        EXPECT_FALSE(AnyFlowWindowOpen());
        EXPECT_EQ(LastProfileSsid(), "");
    });
    End(62100ms);
    Run();
}

TEST_F(StationFlowTest, TheRadioSwitchedOffEmptiesTheListAndDisablesTheTabsAndOnScansAgain)
{
    At(20000ms, [&] {
        driver->After(500ms, [&] {
            auto* busy = Open<CChangeWaitDlg>();
            ASSERT_NE(busy, nullptr);
            EXPECT_EQ(busy->text.text, u"Closing...");
        });
        driver->Click(Panel().radioButton);
    });
    At(24001ms, [&] {
        EXPECT_FALSE(Panel().radioShownOn);
        EXPECT_EQ(Panel().networkGrid.RowCount(), 1);
        EXPECT_FALSE(window->stationTabButton.IsEnabled());
        EXPECT_FALSE(window->softApTabButton.IsEnabled());
        EXPECT_FALSE(Panel().refreshButton.IsEnabled());
        EXPECT_FALSE(Panel().manualAddLink.IsEnabled());
        EXPECT_FALSE(AnyFlowWindowOpen());
        driver->Click(Panel().radioButton);
    });
    At(28002ms, [&] {
        EXPECT_TRUE(Panel().radioShownOn);
        EXPECT_TRUE(Panel().scanning);
        EXPECT_TRUE(window->stationTabButton.IsEnabled());
    });
    End(28100ms);
    Run();
}

} // namespace

namespace {

class StationMoreFlowsTest : public StationFlowTest {};

TEST_F(StationMoreFlowsTest, AWepKeyAtIndexFourWithSharedAuthenticationComesBackPrefilled)
{
    machine.world.RemoveNetworks("Workshop WEP");
    SimNetwork printer;
    printer.ssid = "Workshop WEP";
    printer.bssid = {0x00, 0x14, 0xbf, 0x3c, 0x55, 0x09};
    printer.quality = 41;
    printer.security = SecurityWep;
    printer.wepKeys[3] = "OldPrinter!13";
    printer.wepIndex = 3;
    printer.wepShared = true;
    printer.address = "192.168.0.77";
    std::string error;
    ASSERT_TRUE(machine.world.AddNetwork(printer, error)) << error;
    At(20000ms, [&] {
        WhenOpen<CModePasswordDlg>(500ms, [&](CModePasswordDlg* dialog) {
            EXPECT_TRUE(dialog->keyIndexList.IsVisible());
            EXPECT_TRUE(dialog->authenticationList.IsVisible());
            dialog->keyIndexList.SetCurrentSelection(3);
            dialog->authenticationList.SetCurrentSelection(1);
            EnterPassword(u"OldPrinter!13");
        });
        ClickNetwork("Workshop WEP");
        EXPECT_NE(Link(), LinkDisconnected);
        EXPECT_EQ(LastProfileSsid(), "Workshop WEP");
    });
    At(40000ms, [&] {
        WhenOpen<CModeDisconnectDlg>(500ms, [&](CModeDisconnectDlg* details) {
            EXPECT_EQ(details->security.text, u"WEP");
            driver->PressKey(*details, KeyReturn); // Enter disconnects
        });
        ClickCell(Panel().connectedGrid, 1, 4);
        EXPECT_FALSE(Adapter().autoConnectEnabled);
    });
    At(50000ms, [&] {
        WhenOpen<CModePasswordDlg>(500ms, [&](CModePasswordDlg* dialog) {
            EXPECT_EQ(dialog->passwordEdit.Text(), u"OldPrinter!13");
            EXPECT_EQ(dialog->keyIndexList.CurrentSelection(), 3);
            EXPECT_EQ(dialog->authenticationList.CurrentSelection(), 1);
            driver->PressKey(*dialog, KeyEscape);
        });
        ClickNetwork("Workshop WEP");
    });
    End(52000ms);
    Run();
}

TEST_F(StationMoreFlowsTest, AHiddenNetworkJoinsByManualAddAfterOneFailure)
{
    // Chooses a security mode as a person would, then the entries.
    auto fill = [this](CModeAddDlg* dialog, const std::u16string& key) {
        dialog->securityList.SetCurrentSelection(3);
        dialog->OnCommand(1024);
        EXPECT_FALSE(dialog->keyIndexList.IsVisible());
        EXPECT_EQ(dialog->authenticationList.Item(0), u"AES");
        dialog->passwordEdit.SetText(u"");
        driver->Type(dialog->passwordEdit, key);
        driver->Click(dialog->okButton);
    };
    At(20000ms, [&] {
        WhenOpen<CModeAddDlg>(500ms, [&](CModeAddDlg* dialog) {
            EXPECT_FALSE(dialog->failureMessage.IsVisible());
            driver->Type(dialog->ssidEdit, u"Basement Lab");
            fill(dialog, u"lab-bench-00");
        });
        WhenOpen<CModeAddDlg>(2000ms, [&](CModeAddDlg* dialog) {
            EXPECT_TRUE(dialog->failureMessage.IsVisible());
            EXPECT_EQ(dialog->ssidEdit.Text(), u"Basement Lab");
            EXPECT_EQ(dialog->passwordEdit.Text(), u"lab-bench-00");
            EXPECT_EQ(dialog->securityList.CurrentSelection(), 3);
            fill(dialog, u"lab-bench-42");
        });
        driver->Click(Panel().manualAddLink);
        EXPECT_NE(Link(), LinkDisconnected);
        EXPECT_EQ(LastProfileSsid(), "Basement Lab");
    });
    End(60000ms);
    Run();
}

TEST_F(StationMoreFlowsTest, ALinkTheAccessPointDropsIsRescannedAfterThreeSecondsAndRedrawnFiveLater)
{
    At(20000ms, [&] {
        WhenOpen<CModePasswordDlg>(500ms, [&](CModePasswordDlg*) { EnterPassword(u"correct horse battery"); });
        ClickNetwork("Lindqvist Home");
    });
    At(30000ms, [&] {
        ASSERT_EQ(Link(), LinkConnected);
        std::string error;
        ASSERT_TRUE(machine.world.SetNetwork({0x9c, 0xc7, 0xa6, 0x12, 0x40, 0x01}, {{"in_range", "no"}}, error))
            << error;
    });
    // The next poll sees the link gone: a survey 3 s later, a redraw 5 s after.
    At(32002ms, [&] {
        EXPECT_EQ(program->app.shownLinkState, LinkDisconnected);
        EXPECT_TRUE(CUi::Instance().HasTimer(&Panel(), CModeDlg::lostLinkScanTimer));
        EXPECT_FALSE(Panel().connectedGrid.IsVisible());
    });
    At(35002ms, [&] {
        EXPECT_FALSE(CUi::Instance().HasTimer(&Panel(), CModeDlg::lostLinkScanTimer));
        EXPECT_TRUE(CUi::Instance().HasTimer(&Panel(), CModeDlg::lostLinkRedrawTimer));
    });
    At(40002ms, [&] { EXPECT_FALSE(CUi::Instance().HasTimer(&Panel(), CModeDlg::lostLinkRedrawTimer)); });
    End(40100ms);
    Run();
}

TEST_F(StationMoreFlowsTest, AHundredAndTwentyEightNetworksAreListedAndScrollToTheLast)
{
    machine.world.RemoveAllNetworks();
    for (int i = 0; i < 130; ++i) {
        SimNetwork network;
        network.ssid = "Net " + std::to_string(i);
        network.bssid = {0x02, 0, 0, 0, uint8_t(i >> 8), uint8_t(i)};
        network.quality = 100 - i % 100;
        std::string error;
        ASSERT_TRUE(machine.world.AddNetwork(network, error)) << error;
    }
    At(20000ms, [&] {
        CGridCtrl& grid = Panel().networkGrid;
        EXPECT_EQ(grid.RowCount(), 1 + 128);
        EXPECT_TRUE(grid.HasVerticalScrollBar());
        // The info column stays in sight beside the scroll bar.
        int right = 0;
        for (int column = 0; column < 6; ++column)
            right += grid.ColumnWidth(column);
        EXPECT_LE(right, grid.ClientSize().width);
        // Scrolled to the end, the last network is the last row in sight.
        const int top = grid.TopRow();
        grid.OnVScroll(128 - 6);
        EXPECT_GT(grid.TopRow(), top);
        EXPECT_EQ(grid.CellFromPoint({100, 5 * 31 + 15}).row, 128);
    });
    End(20100ms);
    Run();
}

} // namespace
