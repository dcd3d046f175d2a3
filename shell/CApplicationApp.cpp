#include "shell/CApplicationApp.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/CPlatformServices.h"
#include "platform/CSystem.h"
#include "platform/ProcessInfo.h"
#include "platform/StateDirectory.h"

namespace {
CApplicationApp* theApp = nullptr;
}

CApplicationApp& App()
{
    return *theApp;
}

CApplicationApp::CApplicationApp(CDriverLibrary& library, const CPlatformServices& services)
    : systemInfo(services.system), adapter(library, services), system(services.system)
{
    theApp = this;
}

CApplicationApp::~CApplicationApp()
{
    theApp = nullptr;
}

bool CApplicationApp::InitInstance(const std::vector<std::string>& arguments)
{
    if (StartUp(arguments) && runMainWindow)
        runMainWindow();
    return false;
}

bool CApplicationApp::StartUp(const std::vector<std::string>& arguments)
{
    // Another instance holding the lock ends this one silently; no lock at
    // all ends it too, with a word why, as two copies could then run.
    bool alreadyRunning = false;
    if (!instanceMutex.Create("Application_Q7K2X", alreadyRunning)) {
        fprintf(stderr,
                "zarnwell: cannot make the single-instance lock file in $XDG_RUNTIME_DIR or in the state folder "
                "(%s), so it does not start; ZARNWELL_STATE_DIR chooses another state folder\n",
                StateDirectoryPath(geteuid() == 0).c_str());
        exitStatus = 1;
        return false;
    }
    if (alreadyRunning) {
        instanceMutex.Close();
        return false; // silently: the running instance is not brought forward either
    }

    startHidden = 0;
    if (arguments.size() == 1 && arguments[0] == "hide")
        startHidden = 1;

    exePath = system.ModulePath();
    exeDir = exePath.substr(0, exePath.rfind('/') + 1);
    uint16_t version[4] = {};
    char text[32] = "V";
    if (ReadFileVersion(exePath, version))
        snprintf(text, sizeof text, "V%d.%d.%d.%d", version[0], version[1], version[2], version[3]);
    versionText = text;
    osKind = systemInfo.osKind;

    if (osKind > 4 && !system.IsElevated()) {
        instanceMutex.Close();
        system.RelaunchElevated(exePath, arguments, exeDir);
        return false;
    }

    if (startServices)
        startServices();

    // Language and settings come before the adapter's workers: the access
    // point they may bring up is named and keyed from them, and a worker
    // then never reads them half-written.
    language.Load(exeDir, system.DefaultLocaleId());
    settings.LoadSettings(exeDir, language.lcid);
    skin.BuildSkinPaths(exeDir, language.lcid, osKind);

    adapter.osKind = osKind;
    adapter.exeDir = exeDir;
    memcpy(adapter.apDefaultSsid, settings.apDefaultSsid, sizeof adapter.apDefaultSsid);
    adapter.lcid = language.lcid;
    adapter.networkMode = adapter.LoadNetworkMode();
    adapter.StartDeviceWatch();
    adapter.StartTicker();

    shownAdapterState = AdapterReady;
    shownLinkState = LinkDisconnected;
    currentMode = adapter.networkMode != 0 ? ModeSoftAp : ModeStation;
    wpsListRefresh = 0;
    softApTabActive = 0;
    return true;
}
