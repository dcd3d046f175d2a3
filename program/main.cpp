// The composition root: the one place that knows every layer. It puts the
// real platform (clock, system queries, registry) under the simulated
// machine and runs the program on it.
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/CDesktopRegistry.h"
#include "platform/CLinuxSystem.h"
#include "platform/CRegistry.h"
#include "platform/RealClock.h"
#include "platform/StateDirectory.h"
#include "program/CZarnwellProgram.h"
#include "sim/CSimMachine.h"
#include "sim/SimCommand.h"
#include "sim/SimWorldFile.h"
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
    CRealClock clock;
    CLinuxSystem system;
    CRegistry registry(StateDirectory());
    CDesktopRegistry desktopKeys;
    registry.AddOwner(&desktopKeys);

    // The adapter on this build: the simulated one and its world.
    CSimMachine machine(clock, system, registry);
    const std::string exePath = system.ModulePath();
    const std::string worldPath = SimWorldPath(exePath.substr(0, exePath.rfind('/') + 1));
    std::vector<std::string> problems;
    if (!machine.LoadWorld(worldPath, problems))
        fprintf(stderr, "zarnwell: cannot read the simulated world %s\n", worldPath.c_str());
    for (const std::string& problem : problems)
        fprintf(stderr, "zarnwell: %s: %s\n", worldPath.c_str(), problem.c_str());

    CZarnwellProgram program(machine);
    program.controlPath = SimSocketPath();
    program.onMainWindow = [](CUi&, CApplicationDlg&) {
        fprintf(stderr, "zarnwell: running on the simulated adapter (zarnwell-sim drives it; Ctrl+C ends)\n");
    };
    std::thread ender([&] {
        WaitForEndSignal();
        program.RequestEnd();
    });
    program.Run(arguments);
    pthread_kill(ender.native_handle(), SIGTERM);
    ender.join();
    return program.app.exitStatus;
}
