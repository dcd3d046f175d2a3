#include "ui/CApplicationDlg.h"

#include "shell/CApplicationApp.h"
#include "ui/CAboutNewDlg.h"
#include "ui/CExitDlg.h"
#include "ui/ModalPopup.h"
#include "ui/TrayIconChoice.h"
#include "ui/WindowTexts.h"
#include "ui/framework/CDesktop.h"
#include "ui/framework/CMenu.h"
#include "ui/framework/CUi.h"

using namespace std::chrono_literals;

namespace {

constexpr int commandClose = 1001;
constexpr int commandMinimise = 1002;
constexpr int commandInfo = 1004;
constexpr int commandStationTab = 1005;
constexpr int commandSoftApTab = 1006;
constexpr int commandExit = 32772;
constexpr int commandLaunch = 32773;
constexpr int commandWps = 32774; // the WPS window's entry, handled once that window exists
constexpr int commandAbout = 32775;
constexpr int commandInfoExit = 32776;
constexpr int trayMenu = 129;
constexpr int infoMenu = 136;
constexpr char16_t productName[] = u"Kavlo Network Adapter";

} // namespace

CApplicationDlg::CApplicationDlg()
    : CTDialog(templateId, nullptr), stationPanel(this, stationTabButton, softApTabButton), noAdapterPanel(this), tray([this](int message) { OnTrayNotify(message); })
{
    BindTitleBar();
    Bind(1002, minimiseButton);
    Bind(1004, infoButton);
    Bind(1005, stationTabButton);
    Bind(1006, softApTabButton);
    currentTrayIcon = App().skin.trayStaDisconnect;
}

CApplicationDlg::~CApplicationDlg()
{
    UpdateTray(CTrayIcon::TrayDelete);
}

bool CApplicationDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    CUi::Instance().SetApplicationIdentity(app.language.Text(productName), app.skin.mainIcon);
    InitSkinnedWindow(app.skin.mainBack);

    stationPanel.Create();
    PlacePanel(stationPanel);
    noAdapterPanel.Create();
    UpdateTray(CTrayIcon::TrayAdd);

    minimiseButton.SetImages(app.skin.btnMinNormal, app.skin.btnMinMove, "");
    minimiseButton.Show(false);
    infoButton.SetImages(app.skin.btnInfoNormal, app.skin.btnInfoMove, "");
    struct Tab { CTButtonPicture& button; const std::string& normal; const std::string& down; };
    for (Tab tab : {Tab{stationTabButton, app.skin.btnModeNormal, app.skin.btnModeDown},
                    Tab{softApTabButton, app.skin.btnWifiNormal, app.skin.btnWifiDown}}) {
        tab.button.SetBitmaps(tab.normal, tab.normal, tab.down, tab.normal);
        tab.button.fontFace = settings.fontName;
        tab.button.fontWeight = settings.btnFontWeight;
        tab.button.fontHeight = settings.btnFontHeight;
        tab.button.normalColor = settings.textBlackColor;
        tab.button.hotColor = settings.textOrangeColor;
        tab.button.textAlign = 0x100;
        tab.button.textMargin = 40;
    }

    OnCommand(app.currentMode == ModeStation ? commandStationTab : commandSoftApTab);

    // Off the visible area until the first tick decides what shows.
    CRect area = CDesktop::WorkArea();
    CSize size = ClientSize();
    Move({area.Right(), area.Bottom(), size.width, size.height});
    SetTimer(pollTimer, 2000ms);
    return true;
}

void CApplicationDlg::OnCommand(int commandId)
{
    CApplicationApp& app = App();
    switch (commandId) {
    case commandClose:
    case commandMinimise:
        HideToTray();
        break;
    case commandInfo:
        ShowMenu(infoMenu);
        break;
    case commandStationTab:
        stationTabButton.selected = true;
        softApTabButton.selected = false;
        stationTabButton.Invalidate();
        softApTabButton.Invalidate();
        SelectTab(2);
        break;
    case commandSoftApTab:
        softApTabButton.selected = true;
        stationTabButton.selected = false;
        stationTabButton.Invalidate();
        softApTabButton.Invalidate();
        for (CWindow* panel : {static_cast<CWindow*>(&stationPanel), panels.softAp, panels.stationSoftAp})
            if (panel)
                panel->Show(false);
        app.softApTabActive = 1;
        if (panels.softAp)
            panels.softAp->Show(true);
        break;
    case commandLaunch:
        OnTrayNotify(CTrayIcon::LeftButtonDown);
        break;
    case commandExit:
    case commandInfoExit: {
        CExitDlg exitDialog(this);
        if (RunModalPopup(exitDialog) == ResultOk)
            EndDialog(ResultOk);
        break;
    }
    case commandAbout: {
        CAboutNewDlg about(this);
        RunModalPopup(about);
        break;
    }
    default:
        break;
    }
}

void CApplicationDlg::OnClose()
{
    HideToTray();
}

void CApplicationDlg::HideToTray()
{
    // Without a tray on the desktop a hidden window could never come back.
    if (!CTrayIcon::Available())
        return;
    Show(false);
    UpdateTray(CTrayIcon::TrayModify);
}

void CApplicationDlg::SelectTab(int tab)
{
    CApplicationApp& app = App();
    for (CWindow* panel : {static_cast<CWindow*>(&stationPanel), panels.softAp, panels.stationSoftAp})
        if (panel)
            panel->Show(false);
    CWindow* shown = &stationPanel;
    if (tab == 2) {
        app.softApTabActive = 0;
        if (app.currentMode == ModeSoftAp || app.currentMode == ModeSoftApDown) {
            if (panels.showOfferStation)
                panels.showOfferStation();
            shown = panels.stationSoftAp;
        }
    } else if (tab == 3) {
        app.softApTabActive = 1;
        shown = panels.softAp;
    } else {
        app.softApTabActive = 0;
    }
    if (shown)
        shown->Show(true);
}

// Below the tabs, a little smaller than its template.
void CApplicationDlg::PlacePanel(CDialog& panel)
{
    const CSize size = panel.Template().size;
    panel.Move({1, 82, DluToPixelsX(size.width) - 1, DluToPixelsY(size.height) - 5});
    panel.Show(false);
}

void CApplicationDlg::PlaceTopMostOnce(CWindow& window, bool& neverRaised)
{
    window.Raise();
    if (!neverRaised)
        return;
    neverRaised = false;
    window.SetTopMost(true);
    SetTimer(topMostTimer, 500ms);
}

void CApplicationDlg::ShowForAdapterState(bool show)
{
    CApplicationApp& app = App();
    const int state = app.shownAdapterState;
    CRect area = CDesktop::WorkArea();
    if (!show || state == AdapterInitialising) {
        Show(false);
        UpdateTray(CTrayIcon::TrayModify);
        noAdapterPanel.Show(false);
        return;
    }
    if (state == AdapterReady) {
        CSize size = ClientSize();
        Move({area.Right() - size.width - 80, area.y + 80, size.width, size.height});
        Show(true);
        PlaceTopMostOnce(*this, mainNeverRaised);
        noAdapterPanel.Show(false);
        return;
    }
    Show(false);
    UpdateTray(CTrayIcon::TrayModify);
    CSize size = noAdapterPanel.ClientSize();
    noAdapterPanel.Move({area.Right() - size.width, area.Bottom() - size.height, size.width, size.height});
    noAdapterPanel.SetCardState(state);
    noAdapterPanel.Show(true);
    PlaceTopMostOnce(noAdapterPanel, panelNeverRaised);
}

bool CApplicationDlg::UpdateTray(CTrayIcon::Operation operation)
{
    return tray.Update(operation, currentTrayIcon, App().language.Text(u"Application"));
}

void CApplicationDlg::OnTrayNotify(int mouseMessage)
{
    CApplicationApp& app = App();
    if (mouseMessage == CTrayIcon::LeftButtonDown) {
        ShowForAdapterState(true);
        if (CDialog* popup = ActivePopup();
            popup && app.shownAdapterState == AdapterReady && app.currentMode != ModeStation) {
            popup->CentreOver(this);
            popup->Show(true);
        }
    } else if (mouseMessage == CTrayIcon::RightButtonDown) {
        ShowMenu(trayMenu);
    }
}

void CApplicationDlg::OnTaskbarCreated()
{
    CApplicationApp& app = App();
    UpdateTray(CTrayIcon::TrayDelete);
    currentTrayIcon =
        ChooseTrayIcon(app.skin, {TrayHostReturned, app.shownAdapterState, app.currentMode == ModeStation});
    UpdateTray(CTrayIcon::TrayAdd);
    Show(false);
    UpdateTray(CTrayIcon::TrayModify);
    noAdapterPanel.Show(false);
}

void CApplicationDlg::ShowMenu(int menuId)
{
    CApplicationApp& app = App();
    CPoint at = CDesktop::CursorPos();
    CMenu menu;
    if (!menu.Load(CUi::Instance().TemplateFolder(), menuId))
        return;
    TranslateMenu(menu, app.language);
    // The windows' face, not the desktop's menu font.
    menu.font = CFont(app.settings.staticFontHeight, app.settings.staticFontWeight, app.settings.fontName);
    menu.SetBitmap(commandLaunch, app.skin.menuOpen);
    menu.SetBitmap(commandExit, app.skin.menuClose);
    menu.SetBitmap(commandWps, app.skin.menuWps);
    menu.SetBitmap(commandAbout, app.skin.menuAbout);
    menu.SetBitmap(commandInfoExit, app.skin.menuClose);
    Raise();
    menu.TrackPopup(*this, at);
}

void CApplicationDlg::OnDeviceChange(uint32_t event, const void* data)
{
    App().adapter.OnDeviceChange(event, data);
}

void CApplicationDlg::OnTimer(int timerId)
{
    switch (timerId) {
    case pollTimer:
        OnPollTimer();
        break;
    case softApStartTimer:
        OnSoftApStartTimer();
        break;
    case topMostTimer:
        OnTopMostTimer();
        break;
    default:
        break;
    }
}

void CApplicationDlg::OnPollTimer()
{
    if (tray.HostReturned())
        OnTaskbarCreated();
    const int state = App().adapter.adapterState;
    if (state != App().shownAdapterState)
        FollowAdapterState(state);
    if (state == AdapterReady && stationPanel.idle)
        FollowLink();
    if (firstTick)
        ShowFirstWindow(state);
}

void CApplicationDlg::FollowAdapterState(int state)
{
    CApplicationApp& app = App();
    app.shownAdapterState = state;
    Show(false);
    UpdateTray(CTrayIcon::TrayModify);
    noAdapterPanel.Show(false);
    // Without a tray nothing could bring a window back: show it at once.
    if ((!shownForState || !CTrayIcon::Available()) && app.startHidden == 0 && state != AdapterInitialising) {
        ShowForAdapterState(true);
        shownForState = true;
        showWaitOnStart = true;
    }
    if (state == AdapterNone) {
        KillTimer(softApStartTimer);
    } else if (app.currentMode == ModeStation) {
        if (state == AdapterReady)
            stationPanel.StartScan();
    } else if (state == AdapterReady) {
        SetTimer(softApStartTimer, 500ms);
    }
    SetTrayIcon({TrayAdapterChanged, state, app.currentMode == ModeStation});
    if (state == AdapterNone || state == AdapterDisabled)
        CloseActivePopup();
}

void CApplicationDlg::FollowLink()
{
    CApplicationApp& app = App();
    stationPanel.CheckRadio();
    const int link = stationPanel.CheckLink();
    const bool station = app.currentMode == ModeStation;
    if (link != app.shownLinkState) {
        app.shownLinkState = link;
        SetTrayIcon({TrayLinkChanged, AdapterReady, station, link});
    }
    if ((link == LinkConnected || link == LinkNoAddress) && station) {
        int quality = 0;
        app.adapter.GetSignalQuality(quality);
        SetTrayIcon({TraySignalRead, AdapterReady, station, link, quality});
    }
}

void CApplicationDlg::ShowFirstWindow(int state)
{
    CApplicationApp& app = App();
    if (app.startHidden == 0 || !CTrayIcon::Available()) {
        app.startHidden = 0;
        ShowForAdapterState(true);
        if (state == AdapterInitialising)
            shownForState = false;
    } else {
        app.startHidden = 0;
        Show(false);
        noAdapterPanel.Show(false);
        UpdateTray(CTrayIcon::TrayModify);
    }
    firstTick = false;
}

void CApplicationDlg::OnSoftApStartTimer()
{
    KillTimer(softApStartTimer);
    if (panels.startSoftApWait)
        panels.startSoftApWait(showWaitOnStart);
    showWaitOnStart = false;
}

void CApplicationDlg::OnTopMostTimer()
{
    KillTimer(topMostTimer);
    if (!mainNeverRaised) {
        SetTopMost(false);
        Raise();
    }
    if (!panelNeverRaised) {
        noAdapterPanel.SetTopMost(false);
        noAdapterPanel.Raise();
    }
}

void CApplicationDlg::SetTrayIcon(const TrayReading& reading)
{
    currentTrayIcon = ChooseTrayIcon(App().skin, reading);
    UpdateTray(CTrayIcon::TrayModify);
}
