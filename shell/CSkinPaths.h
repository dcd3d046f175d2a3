#pragma once

#include <array>
#include <cstdint>
#include <string>

// Full paths of the skin pictures in Skin/ beside the executable, built once at
// start-up. Only the paths are built; each window loads its pictures itself
// and does without those that are missing.
class CSkinPaths {
public:
    static constexpr std::size_t count = 75;

    // `exeDir` ends with a slash. `osKind` above 4 (Vista or later) takes the
    // plain menu bitmaps, otherwise the "_xp" ones; language id 0x0804 takes
    // the Chinese help picture and edit button.
    void BuildSkinPaths(const std::string& exeDir, uint32_t languageId, int osKind);

    // Every path, in the order of the fields.
    std::array<const std::string*, count> Paths() const;

    // The signal picture for a signal quality 0..100 (its display level).
    const std::string& SignalPicture(int quality) const;

    std::string mainBack;
    std::string mainIcon;
    std::string btnCloseNormal;
    std::string btnCloseMove;
    std::string btnMinNormal;
    std::string btnMinMove;
    std::string btnInfoNormal;
    std::string btnInfoMove;
    std::string btnModeNormal;
    std::string btnModeDown;
    std::string btnWifiNormal;
    std::string btnWifiDown;
    std::string trayCardNo;
    std::string trayStaConnect1;
    std::string trayStaConnect2;
    std::string trayStaConnect3;
    std::string trayStaDisconnect;
    std::string trayWifiConnect;
    std::string trayWifiDisconnect;
    std::string menuClose;
    std::string menuOpen;
    std::string menuWps;
    std::string menuAbout;
    std::string aboutBack;
    std::string cardNo;
    std::string cardDisable;
    std::string corpLogo;
    std::string exitBack;
    std::string btnOk;
    std::string btnCancel;
    std::string modeBack;
    std::string modeBackConnect;
    std::string searchWait;
    std::string btnRefresh;
    std::string btnOn;
    std::string btnOff;
    std::string gridSignal0;
    std::string gridSignal1;
    std::string gridSignal2;
    std::string gridSignal3;
    std::string gridSecure;
    std::string gridInfo;
    std::string gridConnect;
    std::string gridLimit;
    std::string btnOkLong;
    std::string btnCancelLong;
    std::string btnShow;
    std::string btnShowHide;
    std::string signal0;
    std::string signal1;
    std::string signal2;
    std::string signal3;
    std::string changeBack;
    std::string changeMode;
    std::string changeWifi;
    std::string changeFailure;
    std::string changeShift;
    std::string changeWaitBack;
    std::string changeWait;
    std::string btnCancelLongDisable;
    std::string btnEdit;
    std::string connectHelpBack;
    std::string connectHelp;
    std::string wpsBack;
    std::string wpsChildBack;
    std::string wpsChildPinBack;
    std::string wpsCard;
    std::string wpsRoute;
    std::string wpsConnectWait;
    std::string wpsConnectSuccess;
    std::string wpsConnectFailure;
    std::string btnCopy;
    std::string btnCopyDown;
    std::string gridInfo2;
    std::string modeInfoBack;
};
