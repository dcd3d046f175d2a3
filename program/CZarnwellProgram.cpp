#include "program/CZarnwellProgram.h"

#include <cstdio>

#include "sim/CSimMachine.h"
#include "ui/CApplicationDlg.h"
#include "ui/framework/CUi.h"

CZarnwellProgram::CZarnwellProgram(CSimMachine& machine) : app(machine.library, machine.services), machine(machine)
{
}

void CZarnwellProgram::Run(const std::vector<std::string>& arguments)
{
    app.startServices = [this] {
        if (!controlPath.empty() && !machine.StartControl(controlPath))
            fprintf(stderr, "zarnwell: zarnwell-sim cannot reach this instance (%s)\n", controlPath.c_str());
        machine.SetDeviceChangeListener(
            [this](uint32_t type, const void* data) { app.adapter.OnDeviceChange(type, data); });
    };
    app.runMainWindow = [this] { RunMainWindow(); };
    app.InitInstance(arguments);
    // No more world changes from outside while the application goes away.
    machine.StopControl();
    machine.SetDeviceChangeListener(nullptr);
}

void CZarnwellProgram::RunMainWindow()
{
    CUi windows(machine.services.clock, app.exeDir + "dialogs/");
    CApplicationDlg mainWindow;
    // Plugging and unplugging reach the main window as the system's notification would.
    machine.SetDeviceChangeListener(
        [&](uint32_t type, const void* data) { windows.PostDeviceChange(mainWindow, type, data); });
    {
        std::lock_guard lock(mutex);
        ui = &windows;
        if (endRequested)
            windows.EndAllLoops();
    }
    if (onMainWindow)
        onMainWindow(windows, mainWindow);
    mainWindow.DoModal();
    {
        std::lock_guard lock(mutex);
        ui = nullptr;
    }
    machine.SetDeviceChangeListener(nullptr);
}

void CZarnwellProgram::RequestEnd()
{
    std::lock_guard lock(mutex);
    endRequested = true;
    // Every loop ends, the modal ones inside the main window's first, so that
    // no open dialog holds the program.
    if (ui)
        ui->EndAllLoops();
}
