#pragma once

#include <functional>
#include <string>
#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CNamedMutex.h"
#include "shell/CLanguageCatalog.h"
#include "shell/COperateCharacter.h"
#include "shell/COperateSystemInfo.h"
#include "shell/CSettings.h"
#include "shell/CSkinPaths.h"

class CSystem;
struct CPlatformServices;

enum NetworkModeUi { ModeSoftApDown = 0, ModeSoftAp = 1, ModeStation = 2 };

// The single root of the program: it owns the long-lived services and the
// user-interface state every window reads and writes, and its start-up decides
// whether this process may run at all. Reachable from everywhere through App().
class CApplicationApp {
    // First member, so that it is let go only after everything else has
    // stopped: no second instance starts while this one is still ending.
    CNamedMutex instanceMutex;

public:
    CApplicationApp(CDriverLibrary& library, const CPlatformServices& services);
    ~CApplicationApp();
    CApplicationApp(const CApplicationApp&) = delete;
    CApplicationApp& operator=(const CApplicationApp&) = delete;

    // The whole start-up and the main window's run; false in every case, and
    // the process ends when it returns.
    bool InitInstance(const std::vector<std::string>& arguments);
    // Start-up up to the main window: false when this process must not go on
    // (another instance runs, or an elevated copy was asked for). The install
    // folder is the one of the system's module path.
    bool StartUp(const std::vector<std::string>& arguments);

    // Set by main: what starts once the process may run (the simulated world's
    // control socket), and the main window's loop, which returns on Exit.
    std::function<void()> startServices;
    std::function<void()> runMainWindow;
    // The process's exit status: not 0 when start-up failed.
    int exitStatus = 0;

    CLanguageCatalog language;
    COperateSystemInfo systemInfo;
    COperateCharacter character;
    CAdapterWirelessZadidar adapter;
    std::string exePath;
    std::string exeDir;
    std::string versionText;
    int osKind = 0;
    CSettings settings;
    CSkinPaths skin;

    // Shared user-interface state; the UI thread only. The modal window that
    // runs right now is the UI layer's (ui/ModalPopup.h).
    int shownAdapterState = AdapterReady;
    int currentMode = ModeStation;
    int shownLinkState = LinkDisconnected;
    int softApTabActive = 0;
    uint8_t wpsListRefresh = 0;
    int startHidden = 0;

private:
    CSystem& system;
};

// The process's application object.
CApplicationApp& App();
