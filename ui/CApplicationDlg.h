#pragma once

#include <functional>
#include <string>

#include "ui/CCardNoDlg.h"
#include "ui/CTDialog.h"
#include "ui/TrayIconChoice.h"
#include "ui/controls/CTButtonPicture.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/station/CModeDlg.h"
#include "ui/framework/CTrayIcon.h"

// The top-level window: title, title buttons, the Station and SoftAP tabs over
// the panel area, the tray icon and its menus. Timer 1000 polls the adapter
// every 2 s and decides which window shows (main window when ready, the
// no-adapter panel when there is none or it is disabled, nothing while it
// initialises) and which tray icon. Closing only hides; Exit ends the loop.
class CApplicationDlg : public CTDialog {
public:
    static constexpr int templateId = 102;
    static constexpr int pollTimer = 1000;
    static constexpr int softApStartTimer = 3000;
    static constexpr int topMostTimer = 4000;

    // What the main window asks of the SoftAP pages (the SoftAP tab's and
    // the Station tab's while the adapter is not in Station mode); without
    // them, those tabs show no panel.
    struct TabPanels {
        CWindow* softAp = nullptr;
        CWindow* stationSoftAp = nullptr;
        std::function<void()> showOfferStation; // ShowState(PanelOfferStation) of the Station tab's SoftAP page
        std::function<void(bool)> startSoftApWait;
    };

    CApplicationDlg();
    ~CApplicationDlg() override;

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    void OnTimer(int timerId) override;
    void OnClose() override;
    void OnDeviceChange(uint32_t event, const void* data) override;
    // The tray callback: the mouse message of a press on the icon.
    void OnTrayNotify(int mouseMessage);
    // The desktop's tray came back (a restarted shell): the icon again.
    void OnTaskbarCreated();

    void SelectTab(int tab);
    void ShowForAdapterState(bool show);
    bool UpdateTray(CTrayIcon::Operation operation);
    void ShowMenu(int menuId);

    CTButtonPng minimiseButton;
    CTButtonPng infoButton;
    CTButtonPicture stationTabButton;
    CTButtonPicture softApTabButton;
    CModeDlg stationPanel;
    CCardNoDlg noAdapterPanel;
    CTrayIcon tray;
    TabPanels panels;

    std::string currentTrayIcon;
    bool firstTick = true;
    bool shownForState = true;
    bool showWaitOnStart = false;
    bool mainNeverRaised = true;
    bool panelNeverRaised = true;

private:
    // Timer 1000 in its steps: the adapter's state, the link, the first tick.
    void OnPollTimer();
    void FollowAdapterState(int state);
    void FollowLink();
    void ShowFirstWindow(int state);
    void OnSoftApStartTimer();
    void OnTopMostTimer();
    void SetTrayIcon(const TrayReading& reading);
    void HideToTray();
    void PlacePanel(CDialog& panel);
    void PlaceTopMostOnce(CWindow& window, bool& neverRaised);
};
