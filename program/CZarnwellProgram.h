#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "shell/CApplicationApp.h"

class CApplicationDlg;
class CSimMachine;
class CUi;

// The whole program on a simulated machine, started the way the executable
// starts it: the application object over the machine's library and services,
// its start-up (CApplicationApp::StartUp, the install folder from the system's
// module path), the control socket once this process may run, and the main
// window's loop until Exit, with plug and unplug reaching the window as the
// system's notification would. main() runs it on the real clock; whole-program
// tests run it on a mock clock.
class CZarnwellProgram {
public:
    explicit CZarnwellProgram(CSimMachine& machine);
    CZarnwellProgram(const CZarnwellProgram&) = delete;
    CZarnwellProgram& operator=(const CZarnwellProgram&) = delete;

    // Start-up and the main window's run (InitInstance); returns when the
    // main window's loop has ended, or at once when start-up ends the process.
    void Run(const std::vector<std::string>& arguments);

    // From any thread (a stop signal): every open window loop ends, modal
    // ones included, and Run returns as when the user confirms Exit. An end
    // asked for before the main window runs ends it as it starts.
    void RequestEnd();

    // Where zarnwell-sim reaches the world; empty: no control socket.
    std::string controlPath;
    // On the UI thread, once the main window exists and before its loop runs.
    std::function<void(CUi&, CApplicationDlg&)> onMainWindow;

    CApplicationApp app;

private:
    void RunMainWindow();

    CSimMachine& machine;
    std::mutex mutex;
    CUi* ui = nullptr;         // guarded by mutex, set while the main window runs
    bool endRequested = false; // guarded by mutex
};
