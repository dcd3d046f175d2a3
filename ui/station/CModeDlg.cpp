#include "ui/station/CModeDlg.h"

#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"
#include "shell/COperateCharacter.h"
#include "shell/CApplicationApp.h"
#include "shell/SecurityKindName.h"
#include "shell/TextUtils.h"
#include "ui/ModalPopup.h"
#include "ui/WindowTexts.h"
#include "ui/softap/CChangeWaitDlg.h"
#include "ui/station/CModeDisconnectDlg.h"

using namespace std::chrono_literals;

namespace {

constexpr int commandRadio = 1006;
constexpr int commandRefresh = 1008;
constexpr int commandConnectedRow = 1010;
constexpr int commandList = 1011;
constexpr int commandManualAdd = 1012;

constexpr int iconSecure = 4;
constexpr int iconInfo = 5;
constexpr int iconConnected = 6;
constexpr int iconRestricted = 7;
constexpr int infoColumn = 5;

// The name column gives up what the six columns would take beyond the
// panel's width, and room for the scroll bar, so that the info icon stays
// in sight with 128 networks as with one.
constexpr int scrollBarRoom = 17;

constexpr int layoutShift = 40;
constexpr int focusBandTop = 81;
constexpr int focusBandBottom = 359;

} // namespace

CModeDlg::CModeDlg(CWindow* parent, CWindow& stationTab, CWindow& softApTab)
    : CTDialog(templateId, parent), stationTab(stationTab), softApTab(softApTab)
{
    Bind(1007, radioCaption);
    Bind(1006, radioButton);
    Bind(1010, connectedGrid);
    Bind(1009, statusLabel);
    Bind(1008, refreshButton);
    Bind(1011, networkGrid);
    Bind(1064, scanAnimation);
    Bind(1012, manualAddLink);
}

bool CModeDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    TranslateWindow(*this, app.language);
    SetBackground(app.skin.modeBack);

    refreshButton.SetImages(app.skin.btnRefresh, app.skin.btnRefresh, app.skin.btnRefresh);
    for (CTStaticPng* text : {&radioCaption, &statusLabel, &manualAddLink})
        ApplyTextStyle(*text, settings.textBlackColor, settings);
    manualAddLink.cursor = CTPngFace::CursorHand;
    manualAddLink.MakeClickable();
    SetUpGrid(connectedGrid, connectedImages);
    SetUpGrid(networkGrid, listImages);
    connectedGrid.gridLines = CGridCtrl::GridLinesNone;
    networkGrid.gridLines = CGridCtrl::GridLinesHorizontal;
    networkGrid.hoverColour = settings.gridMoveColor;
    DressRow(connectedGrid, connectedGrid.AppendRow());
    savedRects[0] = networkGrid.Rect();
    savedRects[1] = statusLabel.Rect();
    savedRects[2] = refreshButton.Rect();
    savedRects[3] = scanAnimation.Rect();
    scanAnimation.LoadFile(app.skin.searchWait);
    scanAnimation.Show(false);
    connectedGrid.Show(false);

    radioShownOn = !ReadRadio();
    ShowRadioButtonImage(radioShownOn);
    if (radioShownOn) {
        StartScan();
    } else {
        recheckRadio = false;
        refreshButton.Enable(false);
        manualAddLink.Enable(false);
        EnableTabs(false);
    }
    SetTimer(redrawTimer, 30000ms);
    return true;
}

void CModeDlg::SetUpGrid(CGridCtrl& grid, CImageList& images)
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    images.Create({14, 18});
    std::vector<const std::string*> icons = {&app.skin.gridSignal0, &app.skin.gridSignal1, &app.skin.gridSignal2,
                                             &app.skin.gridSignal3, &app.skin.gridSecure,  &app.skin.gridInfo};
    if (&images == &connectedImages) {
        icons.push_back(&app.skin.gridConnect);
        icons.push_back(&app.skin.gridLimit);
    }
    for (const std::string* icon : icons)
        images.Add(*icon, Rgb(255, 255, 255));
    grid.selectionEnabled = true;
    grid.backColour = settings.gridBackColor;
    grid.lineColour = settings.gridLineColor;
    grid.SetFixedRowCount(1);
    grid.SetColumnCount(6);
    const int nameWidth = grid.Rect().width - marginColumnWidth - 4 * iconColumnWidth - scrollBarRoom;
    const int widths[6] = {marginColumnWidth, iconColumnWidth, nameWidth, iconColumnWidth, iconColumnWidth,
                           iconColumnWidth};
    for (int column = 0; column < 6; ++column) {
        grid.SetColumnWidth(column, widths[column]);
        grid.handColumns.insert(column);
    }
    grid.imageList = &images;
    grid.SetRowHeight(0, 0);
}

void CModeDlg::DressRow(CGridCtrl& grid, int row)
{
    const CSettings& settings = App().settings;
    const CFont font(settings.listFont.height, settings.listFont.weight, settings.listFont.faceName);
    for (int column = 0; column < 6; ++column) {
        grid.SetItemFont(row, column, font);
        grid.SetItemFgColour(row, column, settings.textBlackColor);
        grid.SetItemBkColour(row, column, settings.gridBackColor);
        grid.SetItemFormat(row, column, CGridCtrl::FormatLeft | CGridCtrl::FormatVCentre);
    }
    grid.SetRowHeight(row, settings.gridRowHeight);
}

bool CModeDlg::ReadRadio()
{
    CAdapterWirelessZadidar& adapter = App().adapter;
    const bool off = adapter.IsRadioOff();
    adapter.radioOn = !off;
    return off;
}

void CModeDlg::ShowRadioButtonImage(bool on)
{
    const std::string& image = on ? App().skin.btnOn : App().skin.btnOff;
    radioButton.SetImages(image, image, image);
    radioButton.Invalidate();
}

void CModeDlg::EnableControls(bool enable)
{
    for (CWindow* control : std::initializer_list<CWindow*>{&refreshButton, &radioButton, &networkGrid, &manualAddLink}) {
        control->Enable(enable);
        control->Invalidate();
    }
}

void CModeDlg::EnableTabs(bool enable)
{
    stationTab.Enable(enable);
    softApTab.Enable(enable);
    stationTab.Invalidate();
    softApTab.Invalidate();
}

void CModeDlg::ApplyLayout(bool connected)
{
    SetBackground(connected ? App().skin.modeBackConnect : App().skin.modeBack);
    CWindow* controls[4] = {&networkGrid, &statusLabel, &refreshButton, &scanAnimation};
    for (int i = 0; i < 4; ++i) {
        CRect rect = savedRects[i];
        if (!connected) {
            rect.y -= layoutShift;
            if (i == 0)
                rect.height += App().settings.gridRowHeight;
        }
        controls[i]->Move(rect);
    }
    // The faces show the background as it lay under them: take it again.
    for (CTPngFace* face : std::initializer_list<CTPngFace*>{&radioCaption, &radioButton, &statusLabel,
                                                             &refreshButton, &manualAddLink}) {
        face->underlay = CSurface();
        face->Invalidate();
    }
}

void CModeDlg::RequestScan()
{
    App().adapter.RequestScan();
}

void CModeDlg::StartScan()
{
    CApplicationApp& app = App();
    if (scanning || app.shownAdapterState != AdapterReady || !radioShownOn)
        return;
    scanning = true;
    ApplyLayout(false);
    scanAnimation.Show(true);
    scanAnimation.Play();
    networkGrid.Show(false);
    refreshButton.Show(false);
    statusLabel.SetText(app.language.Text(u"Scanning WiFi..."));
    EnableControls(false);
    networkGrid.DeleteNonFixedRows();
    connectedGrid.Show(false);
    RequestScan();
    scanTicks = 0;
    SetTimer(scanTimer, 5000ms);
    SetTimer(redrawTimer, 30000ms);
}

std::u16string CModeDlg::NetworkName(const char* ssid, std::size_t size) const
{
    char local[68] = {};
    ToLocalIfUtf8(ssid, size, local, sizeof local);
    std::u16string text;
    LocalToUtf16(std::string_view(local, strnlen(local, sizeof local)), text);
    return text;
}

void CModeDlg::UpdateList()
{
    CAdapterWirelessZadidar& adapter = App().adapter;
    snapshotCount = adapter.CopyNetworks(scanSnapshot);
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    const int link = adapter.QueryLink(ssid, bssid);
    if (link == LinkConnected || link == LinkNoAddress) {
        ApplyLayout(true);
        BuildNetworkRows(bssid);
        FillConnectedRow();
        connectedGrid.Show(true);
    } else {
        ApplyLayout(false);
        BuildNetworkRows(nullptr);
        connectedGrid.Show(false);
    }
}

int CModeDlg::BuildNetworkRows(const uint8_t* connectedBssid)
{
    networkGrid.DeleteNonFixedRows();
    for (int i = 0; i < snapshotCount && i < MaxNetworks; ++i) {
        const NetworkRecord& record = scanSnapshot.records[i];
        if (connectedBssid && std::memcmp(record.bssid, connectedBssid, 6) == 0)
            continue;
        if (record.ssid[0] == 0)
            continue;
        const int row = networkGrid.AppendRow();
        DressRow(networkGrid, row);
        networkGrid.SetItemData(row, 0, i);
        networkGrid.SetItemText(row, 2, NetworkName(record.ssid, sizeof record.ssid));
        networkGrid.SetItemImage(row, 3, record.privacy ? iconSecure : -1);
        networkGrid.SetItemImage(row, 4, SignalLevel(record.quality));
        networkGrid.SetItemImage(row, infoColumn, iconInfo);
    }
    networkGrid.Invalidate();
    return snapshotCount;
}

void CModeDlg::FillConnectedRow()
{
    ConnectionDetails details = {};
    App().adapter.GetConnectionDetails(details);
    connectedGrid.SetItemImage(1, 1, details.restricted ? iconRestricted : iconConnected);
    connectedGrid.SetItemText(1, 2, NetworkName(details.ssid, sizeof details.ssid));
    connectedGrid.SetItemImage(1, 3, details.securityKind != 0 ? iconSecure : -1);
    connectedGrid.SetItemImage(1, 4, SignalLevel(details.quality));
    connectedGrid.SetItemImage(1, infoColumn, iconInfo);
    connectedGrid.Invalidate();
}

NetworkSummary CModeDlg::MakeNetworkSummary(int index) const
{
    NetworkSummary summary = {};
    if (index < 0 || index >= MaxNetworks)
        return summary;
    const NetworkRecord& record = scanSnapshot.records[index];
    ToLocalIfUtf8(record.ssid, sizeof record.ssid, summary.ssid, sizeof summary.ssid);
    std::string security;
    Utf16ToLocal(SecurityKindName(App().language, CAdapterWirelessZadidar::GetSecurityKind(record)), security);
    std::snprintf(summary.securityName, sizeof summary.securityName, "%s", security.c_str());
    summary.channel = record.channel;
    summary.quality = record.quality;
    std::snprintf(summary.bssidText, sizeof summary.bssidText, "%02X:%02X:%02X:%02X:%02X:%02X", record.bssid[0],
                  record.bssid[1], record.bssid[2], record.bssid[3], record.bssid[4], record.bssid[5]);
    return summary;
}

void CModeDlg::OnTimer(int timerId)
{
    CApplicationApp& app = App();
    switch (timerId) {
    case scanTimer:
        OnScanTimer();
        break;
    case redrawTimer:
        if (app.shownAdapterState == AdapterReady && app.currentMode == ModeStation && radioShownOn && idle &&
            app.shownLinkState == LinkDisconnected)
            UpdateList();
        break;
    case radioTimer:
        OnRadioTimer();
        break;
    case lostLinkScanTimer:
        KillTimer(lostLinkScanTimer);
        RequestScan();
        SetTimer(lostLinkRedrawTimer, 5000ms);
        break;
    case lostLinkRedrawTimer:
        KillTimer(lostLinkRedrawTimer);
        UpdateList();
        break;
    default:
        break;
    }
}

void CModeDlg::OnScanTimer()
{
    UpdateList();
    bool radioFoundOff = false;
    if (snapshotCount == 0) {
        RequestScan();
        ++scanTicks;
        if (recheckRadio) {
            if (ReadRadio()) {
                scanTicks = 5;
                radioFoundOff = true;
            }
            recheckRadio = false;
        }
        if (scanTicks < 5)
            return;
    }
    FinishScan(radioFoundOff);
}

void CModeDlg::FinishScan(bool radioFoundOff)
{
    scanAnimation.Stop();
    scanAnimation.Show(false);
    scanning = false;
    networkGrid.Show(true);
    refreshButton.Show(true);
    statusLabel.SetText(App().language.Text(u"Select a network..."));
    EnableControls(true);
    EnableTabs(true);
    scanTicks = 0;
    KillTimer(scanTimer);
    if (radioFoundOff) {
        refreshButton.Enable(false);
        manualAddLink.Enable(false);
        EnableTabs(false);
    }
}

void CModeDlg::OnRadioButton()
{
    ShowRadioButtonImage(!radioShownOn);
    EnableControls(false);
    App().adapter.BeginRadioChange(!radioShownOn);
    radioChangePending = true;
    SetTimer(radioTimer, 4000ms);
    CChangeWaitDlg busy(4, radioShownOn ? WaitClosing : WaitStarting, this);
    RunModalPopup(busy);
}

void CModeDlg::ShowRadioOff()
{
    networkGrid.DeleteNonFixedRows();
    networkGrid.Invalidate();
    connectedGrid.Show(false);
    refreshButton.Enable(false);
    ShowRadioButtonImage(false);
}

void CModeDlg::OnRadioTimer()
{
    radioShownOn = !ReadRadio();
    EnableControls(true);
    if (!radioShownOn) {
        ShowRadioOff();
        ApplyLayout(false);
        manualAddLink.Enable(false);
        EnableTabs(false);
    } else {
        KillTimer(scanTimer);
        scanTicks = 0;
        scanning = false;
        StartScan();
        ShowRadioButtonImage(true);
        EnableTabs(true);
    }
    radioChangePending = false;
    KillTimer(radioTimer);
}

int CModeDlg::CheckRadio()
{
    if (radioChangePending)
        return 1;
    const bool on = !ReadRadio();
    if (on != radioShownOn) {
        radioShownOn = on;
        if (!on) {
            ShowRadioOff();
        } else {
            StartScan();
            ShowRadioButtonImage(true);
        }
    }
    return on ? 1 : 0;
}

int CModeDlg::CheckLink()
{
    CApplicationApp& app = App();
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    const int link = app.adapter.QueryLink(ssid, bssid);
    if (link == app.shownLinkState)
        return link;
    UpdateList();
    if (link == LinkDisconnected && !userDisconnected)
        SetTimer(lostLinkScanTimer, 3000ms);
    userDisconnected = false;
    return link;
}

void CModeDlg::OnCommand(int commandId)
{
    switch (commandId) {
    case commandRadio:
        OnRadioButton();
        break;
    case commandRefresh:
        StartScan();
        break;
    case commandConnectedRow:
        OnConnectedRowClick();
        break;
    case commandList:
        OnListClick();
        break;
    case commandManualAdd:
        OnManualAdd();
        break;
    default:
        break;
    }
}

void CModeDlg::OnConnectedRowClick()
{
    if (connectedGrid.clickedCell.row <= 0)
        return;
    CModeDisconnectDlg details(this);
    if (RunModalPopup(details) == ResultOk) {
        userDisconnected = true;
        App().adapter.Disconnect();
        connectedGrid.Show(false);
    }
    networkGrid.SetFocus();
}

void CModeDlg::OnListClick()
{
    const CGridCtrl::CCellId cell = networkGrid.clickedCell;
    if (cell.row <= 0 || cell.row >= networkGrid.RowCount())
        return;
    CAdapterWirelessZadidar& adapter = App().adapter;
    idle = false;
    adapter.scanAllowed = false;
    if (ConnectFromList(int(networkGrid.ItemData(cell.row, 0)), cell.column))
        UpdateList();
    networkGrid.SetFocus();
    idle = true;
    adapter.scanAllowed = true;
}

void CModeDlg::OnManualAdd()
{
    CAdapterWirelessZadidar& adapter = App().adapter;
    idle = false;
    adapter.scanAllowed = false;
    if (ManualAdd())
        UpdateList();
    networkGrid.SetFocus();
    idle = true;
    adapter.scanAllowed = true;
}

void CModeDlg::OnMouseMove(CPoint point)
{
    if (point.y >= focusBandTop && point.y <= focusBandBottom)
        networkGrid.SetFocus();
}

int CModeDlg::WaitSeconds() const
{
    return App().osKind <= 4 ? 15 : 12;
}
