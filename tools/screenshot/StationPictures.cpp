#include "StationPictures.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "shell/CApplicationApp.h"
#include "ui/CTDialog.h"
#include "ui/framework/CUiDriver.h"
#include "ui/softap/CChangeWaitDlg.h"
#include "ui/CApplicationDlg.h"
#include "ui/station/CGridCtrl.h"
#include "ui/station/CModeAddDlg.h"
#include "ui/station/CModeConnectAckDlg.h"
#include "ui/station/CModeConnectDlg.h"
#include "ui/station/CModeDisconnectDlg.h"
#include "ui/station/CModePasswordDlg.h"

using namespace std::chrono_literals;

namespace {

struct Network {
    const char16_t* name;
    bool secured;
    int signal;
};

const Network networks[] = {
    {u"Kavlo-Office", true, 3},       {u"HomeNet 5G", true, 3},     {u"Cafe Lumen (free)", false, 2},
    {u"\u6D4B\u8BD5\u7F51\u7EDC", true, 2}, {u"Printer-Direct-7F3A", true, 1},
    {u"A network whose name is far too long for its column", false, 1}, {u"Guest", false, 1},
    {u"Lab-WEP-64", true, 0},         {u"Neighbour", true, 0},
};

// The two grids of the station panel at the template's places, dressed as the
// panel dresses them.
class CListPicture : public CTDialog {
public:
    CListPicture() : CTDialog(9901, nullptr)
    {
        Bind(1010, connected);
        Bind(1011, list);
    }
    bool OnInitDialog() override
    {
        CApplicationApp& app = App();
        const CSettings& settings = app.settings;
        InitSkinnedWindow(app.skin.modeBackConnect);
        icons.Create({14, 18});
        for (const std::string* icon : {&app.skin.gridSignal0, &app.skin.gridSignal1, &app.skin.gridSignal2,
                                        &app.skin.gridSignal3, &app.skin.gridSecure, &app.skin.gridInfo,
                                        &app.skin.gridConnect, &app.skin.gridLimit})
            icons.Add(*icon, Rgb(255, 255, 255));
        const int widths[6] = {12, 26, 178, 26, 26, 26};
        for (CGridCtrl* grid : {&connected, &list}) {
            grid->selectionEnabled = true;
            grid->backColour = settings.gridBackColor;
            grid->lineColour = settings.gridLineColor;
            grid->gridLines = grid == &list ? CGridCtrl::GridLinesHorizontal : CGridCtrl::GridLinesNone;
            grid->SetFixedRowCount(1);
            grid->SetColumnCount(6);
            for (int column = 0; column < 6; ++column) {
                grid->SetColumnWidth(column, widths[column]);
                grid->handColumns.insert(column);
            }
            grid->imageList = &icons;
            grid->SetRowHeight(0, 0);
        }
        list.hoverColour = settings.gridMoveColor;
        for (int i = 0; i < 3; ++i)
            for (const Network& network : networks)
                AddRow(list, network.name, network.secured, network.signal, 5);
        AddRow(connected, u"Kavlo-Office", true, 3, 6);
        return true;
    }
    void AddRow(CGridCtrl& grid, const std::u16string& name, bool secured, int signal, int state)
    {
        const CSettings& settings = App().settings;
        const CFont font(settings.listFont.height, settings.listFont.weight, settings.listFont.faceName);
        int row = grid.AppendRow();
        for (int column = 0; column < 6; ++column) {
            grid.SetItemFont(row, column, font);
            grid.SetItemFgColour(row, column, settings.textBlackColor);
            grid.SetItemFormat(row, column, CGridCtrl::FormatLeft | CGridCtrl::FormatVCentre);
        }
        grid.SetItemData(row, 0, row - 1);
        if (&grid == &connected)
            grid.SetItemImage(row, 1, state);
        grid.SetItemText(row, 2, name);
        grid.SetItemImage(row, 3, secured ? 4 : -1);
        grid.SetItemImage(row, 4, signal);
        grid.SetItemImage(row, 5, 5);
        grid.SetRowHeight(row, settings.gridRowHeight);
    }

    CImageList icons;
    CGridCtrl connected;
    CGridCtrl list;
};

} // namespace

void PhotographStationPieces(CUiDriver& driver, const std::string& templates,
                             const std::function<void(CWindow&, const std::string&)>& save)
{
    std::ofstream(templates + "Dialog9901.ini") << "[Dialog]\nSize=182,234\nStyle=popup\n"
                                                   "[Control1]\nId=1010\nClass=MFCGridCtrl\nRect=0,31,182,20\n"
                                                   "[Control2]\nId=1011\nClass=MFCGridCtrl\nRect=0,73,182,125\n";
    CListPicture picture;
    picture.Create();
    picture.Show(true);
    driver.RunFor(100ms);
    save(picture, "grid-networks");
    driver.MoveMouse(picture.list, {100, 31 * 2 + 15});
    save(picture.list, "grid-networks-hover");
    picture.list.SetFocus();
    driver.Wheel(picture.list, {100, 15}, -1);
    save(picture.list, "grid-networks-scrolled");
    // The long name, cut by its column, whole in the tip.
    driver.MoveMouse(picture.list, {120, 31 * 2 + 15});
    driver.RunFor(500ms);
    save(picture.list.titleTip, "grid-networks-tip");
    picture.Show(false);

    // Taken before the first tick, so no kind has ended yet.
    struct Kind {
        int kind;
        const char* name;
    };
    for (Kind kind : {Kind{WaitShifting, "busy-shifting"}, {WaitSharing, "busy-sharing"},
                      {WaitConnecting, "busy-connecting"}, {WaitStarting, "busy-starting"},
                      {WaitClosing, "busy-closing"}}) {
        CChangeWaitDlg busy(120, kind.kind);
        driver.After(500ms, [&] {
            save(busy, kind.name);
            busy.EndDialog(CDialog::ResultCancel);
        });
        busy.DoModal();
    }
}

void PhotographStationWindows(CUiDriver& driver, CApplicationDlg& window,
                              const std::function<void(CWindow&, const std::string&)>& save)
{
    CModeDlg& panel = window.stationPanel;
    CAdapterWirelessZadidar& adapter = App().adapter;
    // Each dialog is photographed from inside its own loop.
    auto modal = [&](CDialog& dialog, const std::string& name, const std::function<void()>& act) {
        driver.After(300ms, [&, name] {
            if (act)
                act();
            driver.RunFor(100ms);
            save(dialog, name);
            dialog.EndDialog(CDialog::ResultCancel);
        });
        dialog.DoModal();
    };

    window.OnCommand(1005);
    if (!panel.scanning)
        panel.StartScan();
    driver.RunFor(1000ms);
    save(window, "station-scanning");
    driver.RunFor(20000ms);
    save(window, "station-list");

    const NetworkRecord home = panel.scanSnapshot.records[0];
    CModeConnectDlg details(panel.MakeNetworkSummary(0), &window);
    modal(details, "station-network-details", nullptr);
    CModeConnectAckDlg ask(u"Cafe Amsel Guest", false, &window);
    modal(ask, "station-connect-open", nullptr);
    CModeConnectAckDlg askAgain(u"Cafe Amsel Guest", true, &window);
    modal(askAgain, "station-connect-open-failed", nullptr);

    NetworkDescription description = {};
    std::snprintf(description.ssid, sizeof description.ssid, "%s", home.ssid);
    description.securityKind = 4;
    CModePasswordDlg password(&description, &window);
    modal(password, "station-password", nullptr);
    CModePasswordDlg refused(&description, &window);
    modal(refused, "station-password-refused-key", [&] {
        driver.Type(refused.passwordEdit, u"short");
        driver.After(300ms, [&] {
            if (CDialog* box = driver.FindWindow(65535)) {
                save(*box, "station-password-message");
                box->EndDialog(CDialog::ResultOk);
            }
        });
        driver.Click(refused.okButton);
    });
    description.prefilled = 1;
    description.retryAfterFailure = 1;
    std::snprintf(description.passphrase, sizeof description.passphrase, "%s", "wrong horse battery");
    CModePasswordDlg retry(&description, &window);
    modal(retry, "station-password-retry", [&] { driver.Click(retry.showButton); });

    NetworkDescription wep = {};
    std::snprintf(wep.ssid, sizeof wep.ssid, "%s", "Workshop WEP");
    wep.securityKind = 2;
    wep.prefilled = 1;
    wep.wepKeyIndex = 3;
    wep.wepAuthentication = 1;
    std::snprintf(wep.wepKeyText[3], sizeof wep.wepKeyText[3], "%s", "OldPrinter!13");
    CModePasswordDlg wepPassword(&wep, &window);
    modal(wepPassword, "station-password-wep", nullptr);

    NetworkDescription manual = {};
    CModeAddDlg add(&manual, &window);
    modal(add, "station-manual-add", nullptr);
    wep.retryAfterFailure = 1;
    std::snprintf(wep.ssid, sizeof wep.ssid, "%s", "Basement Lab");
    CModeAddDlg addAgain(&wep, &window);
    modal(addAgain, "station-manual-add-retry", nullptr);

    // Connected: the row above the list, and its details.
    NetworkDescription key = {};
    std::snprintf(key.ssid, sizeof key.ssid, "%s", home.ssid);
    key.securityKind = 4;
    std::snprintf(key.passphrase, sizeof key.passphrase, "%s", "correct horse battery");
    key.passphraseLength = uint32_t(std::strlen(key.passphrase));
    adapter.ConnectToNetwork(home, key);
    driver.RunFor(8000ms);
    save(window, "station-connected");
    CModeDisconnectDlg connection(&window);
    modal(connection, "station-connection-details", nullptr);
    adapter.Disconnect();
    driver.RunFor(4000ms);

    // The radio off: "Closing..." for 4 s, then the emptied panel.
    driver.After(1500ms, [&] {
        if (CDialog* busy = driver.FindWindow(CChangeWaitDlg::templateId))
            save(*busy, "station-radio-closing");
    });
    driver.Click(panel.radioButton);
    driver.RunFor(1000ms);
    save(window, "station-radio-off");
    window.Show(false);
}
