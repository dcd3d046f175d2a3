#include "shell/CSkinPaths.h"

#include "shell/TextUtils.h"

void CSkinPaths::BuildSkinPaths(const std::string& exeDir, uint32_t languageId, int osKind)
{
    const std::string skin = exeDir + "Skin/";
    const bool xp = osKind <= 4;
    const bool chinese = (languageId & 0xFFFF) == 0x0804;

    mainBack = skin + "main_back.bmp";
    mainIcon = skin + "main.ico";
    btnCloseNormal = skin + "btn_close_normal.png";
    btnCloseMove = skin + "btn_close_move.png";
    btnMinNormal = skin + "btn_min_normal.png";
    btnMinMove = skin + "btn_min_move.png";
    btnInfoNormal = skin + "btn_info_normal.png";
    btnInfoMove = skin + "btn_info_move.png";
    btnModeNormal = skin + "btn_mode_normal.bmp";
    btnModeDown = skin + "btn_mode_down.bmp";
    btnWifiNormal = skin + "btn_wifi_normal.bmp";
    btnWifiDown = skin + "btn_wifi_down.bmp";
    trayCardNo = skin + "tray_card_no.ico";
    trayStaConnect1 = skin + "tray_sta_connect1.ico";
    trayStaConnect2 = skin + "tray_sta_connect2.ico";
    trayStaConnect3 = skin + "tray_sta_connect3.ico";
    trayStaDisconnect = skin + "tray_sta_disconnect.ico";
    trayWifiConnect = skin + "tray_wifi_connect.ico";
    trayWifiDisconnect = skin + "tray_wifi_disconnect.ico";
    menuClose = skin + (xp ? "menu_close_xp.bmp" : "menu_close.bmp");
    menuOpen = skin + (xp ? "menu_open_xp.bmp" : "menu_open.bmp");
    menuWps = skin + (xp ? "menu_wps_xp.bmp" : "menu_wps.bmp");
    menuAbout = skin + (xp ? "menu_about_xp.bmp" : "menu_about.bmp");
    aboutBack = skin + "about_back.bmp";
    cardNo = skin + "card_no.png";
    cardDisable = skin + "card_disable.png";
    corpLogo = skin + "corp_logo.png";
    exitBack = skin + "exit_back.bmp";
    btnOk = skin + "btn_ok.png";
    btnCancel = skin + "btn_cancel.png";
    modeBack = skin + "mode_back.bmp";
    modeBackConnect = skin + "mode_back_connect.bmp";
    searchWait = skin + "search_wait.gif";
    btnRefresh = skin + "btn_refresh.png";
    btnOn = skin + "btn_on.png";
    btnOff = skin + "btn_off.png";
    gridSignal0 = skin + "grid_signal0.bmp";
    gridSignal1 = skin + "grid_signal1.bmp";
    gridSignal2 = skin + "grid_signal2.bmp";
    gridSignal3 = skin + "grid_signal3.bmp";
    gridSecure = skin + "grid_secure.bmp";
    gridInfo = skin + "grid_info.bmp";
    gridConnect = skin + "grid_connect.bmp";
    gridLimit = skin + "grid_limit.bmp";
    btnOkLong = skin + "btn_ok_long.png";
    btnCancelLong = skin + "btn_cancel_long.png";
    btnShow = skin + "btn_show.png";
    btnShowHide = skin + "btn_show_hide.png";
    signal0 = skin + "signal0.png";
    signal1 = skin + "signal1.png";
    signal2 = skin + "signal2.png";
    signal3 = skin + "signal3.png";
    changeBack = skin + "change_back.bmp";
    changeMode = skin + "change_mode.png";
    changeWifi = skin + "change_wifi.png";
    changeFailure = skin + "change_failure.png";
    changeShift = skin + "change_shift.gif";
    changeWaitBack = skin + "change_wait_back.bmp";
    changeWait = skin + "change_wait.gif";
    btnCancelLongDisable = skin + "btn_cancel_long_disable.png";
    btnEdit = skin + (chinese ? "btn_edit.png" : "btn_edit_other.png");
    connectHelpBack = skin + "connect_help_back.bmp";
    connectHelp = skin + (chinese ? "connect_help_chinese.png" : "connect_help_other.png");
    wpsBack = skin + "wps_back.bmp";
    wpsChildBack = skin + "wps_child_back.bmp";
    wpsChildPinBack = skin + "wps_child_pin_back.bmp";
    wpsCard = skin + "wps_card.png";
    wpsRoute = skin + "wps_route.png";
    wpsConnectWait = skin + "wps_connect_wait.gif";
    wpsConnectSuccess = skin + "wps_connect_success.png";
    wpsConnectFailure = skin + "wps_connect_failure.png";
    btnCopy = skin + "btn_copy.png";
    btnCopyDown = skin + "btn_copy_down.png";
    gridInfo2 = skin + "grid_info2.bmp";
    modeInfoBack = skin + "mode_info_back.bmp";
}

std::array<const std::string*, CSkinPaths::count> CSkinPaths::Paths() const
{
    return {
            &mainBack,
            &mainIcon,
            &btnCloseNormal,
            &btnCloseMove,
            &btnMinNormal,
            &btnMinMove,
            &btnInfoNormal,
            &btnInfoMove,
            &btnModeNormal,
            &btnModeDown,
            &btnWifiNormal,
            &btnWifiDown,
            &trayCardNo,
            &trayStaConnect1,
            &trayStaConnect2,
            &trayStaConnect3,
            &trayStaDisconnect,
            &trayWifiConnect,
            &trayWifiDisconnect,
            &menuClose,
            &menuOpen,
            &menuWps,
            &menuAbout,
            &aboutBack,
            &cardNo,
            &cardDisable,
            &corpLogo,
            &exitBack,
            &btnOk,
            &btnCancel,
            &modeBack,
            &modeBackConnect,
            &searchWait,
            &btnRefresh,
            &btnOn,
            &btnOff,
            &gridSignal0,
            &gridSignal1,
            &gridSignal2,
            &gridSignal3,
            &gridSecure,
            &gridInfo,
            &gridConnect,
            &gridLimit,
            &btnOkLong,
            &btnCancelLong,
            &btnShow,
            &btnShowHide,
            &signal0,
            &signal1,
            &signal2,
            &signal3,
            &changeBack,
            &changeMode,
            &changeWifi,
            &changeFailure,
            &changeShift,
            &changeWaitBack,
            &changeWait,
            &btnCancelLongDisable,
            &btnEdit,
            &connectHelpBack,
            &connectHelp,
            &wpsBack,
            &wpsChildBack,
            &wpsChildPinBack,
            &wpsCard,
            &wpsRoute,
            &wpsConnectWait,
            &wpsConnectSuccess,
            &wpsConnectFailure,
            &btnCopy,
            &btnCopyDown,
            &gridInfo2,
            &modeInfoBack,
    };
}

const std::string& CSkinPaths::SignalPicture(int quality) const
{
    const std::string* pictures[] = {&signal0, &signal1, &signal2, &signal3};
    return *pictures[SignalLevel(quality)];
}
