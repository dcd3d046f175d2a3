// The composition root: the one place that knows every layer. It puts the
// real platform (clock, system queries, registry) under the simulated
// machine and runs the program on it.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/CDesktopRegistry.h"
#include "platform/CLinuxSystem.h"
#include "platform/CRegistry.h"
#include "platform/RealClock.h"
#include "platform/StateDirectory.h"
#include "program/CEndSignals.h"
#include "program/CZarnwellProgram.h"
#include "sim/CSimMachine.h"
#include "sim/SimCommand.h"
#include "sim/SimWorldFile.h"
#include "ui/framework/DesktopPlatform.h"
#include "ui/framework/QtThreadSanitizer.h"

int main(int argc, char** argv)
{
    // Before any thread starts, so that only the signal thread takes them.
    CEndSignals::Block();

    // Without a desktop the toolkit would abort with an unhelpful message.
    std::string problem;
    if (!SelectDesktopPlatform(problem)) {
        fprintf(stderr, "zarnwell: %s\n", problem.c_str());
        return 1;
    }

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
    {
        // Every signal asks for the end, however many come: a second one is
        // never left blocked, and an early one ends the main window as it starts.
        CEndSignals signals([&](int) { program.RequestEnd(); });
        program.Run(arguments);
    }
    return program.app.exitStatus;
}
