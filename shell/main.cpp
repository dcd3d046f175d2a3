#include <csignal>
#include <optional>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/CDesktopRegistry.h"
#include "platform/CLinuxSystem.h"
#include "platform/CRegistry.h"
#include "platform/ProcessInfo.h"
#include "platform/RealClock.h"
#include "platform/StateDirectory.h"
#include "shell/CApplicationApp.h"
#include "sim/CSimControlServer.h"
#include "sim/CSimDriverLibrary.h"
#include "sim/CSimRegistryOwner.h"
#include "sim/CSimSystemAdapters.h"
#include "sim/CSimWorld.h"
#include "sim/SimCommand.h"
#include "sim/SimWorldFile.h"
#include "ui/CApplicationDlg.h"
#include "ui/framework/CUi.h"
#include "ui/framework/QtThreadSanitizer.h"

namespace {

// Blocked in every thread, so that only the waiting main thread takes them.
sigset_t EndSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void WaitForEndSignal()
{
    sigset_t set = EndSignals();
    int signal = 0;
    sigwait(&set, &signal);
}

} // namespace

int main(int argc, char** argv)
{
    sigset_t endSignals = EndSignals();
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string exePath = ModulePath();
    std::string exeDir = exePath.substr(0, exePath.rfind('/') + 1);

    CRealClock clock;
    CLinuxSystem system;
    CRegistry registry(StateDirectory());
    CDesktopRegistry desktopKeys;
    registry.AddOwner(&desktopKeys);

    // The adapter on this build: the simulated one and its world.
    CSimWorld world(clock);
    std::vector<std::string> problems;
    std::string worldPath = SimWorldPath(exeDir);
    if (!LoadSimWorld(worldPath, world, problems))
        fprintf(stderr, "zarnwell: cannot read the simulated world %s\n", worldPath.c_str());
    for (const std::string& problem : problems)
        fprintf(stderr, "zarnwell: %s: %s\n", worldPath.c_str(), problem.c_str());
    CSimRegistryOwner worldKeys(world);
    registry.AddOwner(&worldKeys);
    CSimDriverLibrary library(world);
    CSimSystemAdapters systemAdapters(world);
    std::optional<CSimControlServer> control(std::in_place, world, SimSocketPath());

    CApplicationApp app(system, clock, library, registry, systemAdapters);
    app.startServices = [&] {
        if (!control->Start())
            fprintf(stderr, "zarnwell: zarnwell-sim cannot reach this instance (%s)\n", control->Path().c_str());
        world.SetDeviceChangeListener(
            [&](uint32_t type, const void* data) { app.adapter.OnDeviceChange(type, data); });
    };
    app.runMainWindow = [&] {
        fprintf(stderr, "zarnwell: running on the simulated adapter (zarnwell-sim drives it; Ctrl+C ends)\n");
        CUi ui(clock, app.exeDir + "dialogs/");
        CApplicationDlg window;
        // Plugging and unplugging reach the main window as the system's notification would.
        world.SetDeviceChangeListener(
            [&](uint32_t type, const void* data) { ui.PostDeviceChange(window, type, data); });
        std::thread ender([&] {
            WaitForEndSignal();
            ui.Post([&] { window.EndDialog(CDialog::ResultCancel); });
        });
        window.DoModal();
        world.SetDeviceChangeListener(nullptr);
        pthread_kill(ender.native_handle(), SIGTERM);
        ender.join();
    };
    app.InitInstance(arguments);
    // No more world changes from the socket while the application goes away.
    control.reset();
    world.SetDeviceChangeListener(nullptr);
    return app.exitStatus;
}
