#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "program/CZarnwellProgram.h"
#include "sim/CSimMachine.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"
#include "ui/CApplicationDlg.h"
#include "ui/framework/CUi.h"
#include "ui/framework/CUiDriver.h"
#include "ui/framework/QtThreadSanitizer.h"

// The whole program in virtual time, started the way the executable starts
// it: the simulated machine with the shipped world (the build's
// bin/Sim/World.ini), a registry in the test's own state folder, the real
// start-up against the build's install folder, and the main window's loop.
//
// Prepare the world and the store, schedule actions and checks with At (clock
// time; they run inside whatever loop runs then, modal ones included), then
// Run. The main window starts 1 ms after the adapter's workers, as it does
// after any real start-up, so its ticks (2001 ms, 4001 ms, ...) never fall on
// the instant the adapter changes state.
class ProgramFixture : public ::testing::Test {
protected:
    explicit ProgramFixture(uint32_t locale = 1033) : system(locale)
    {
        // A lock of its own: tests that run at the same time are other sessions.
        setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
        clock.Participate();
        std::vector<std::string> problems;
        EXPECT_TRUE(machine.LoadWorld(BinDir() + "Sim/World.ini", problems));
        EXPECT_TRUE(problems.empty());
        program = std::make_unique<CZarnwellProgram>(machine);
    }
    ~ProgramFixture() override
    {
        program.reset();
        clock.Leave();
    }

    static std::string BinDir() { return std::string(std::getenv("ZARNWELL_BIN_DIR")) + "/"; }

    void At(std::chrono::milliseconds when, std::function<void()> action)
    {
        actions.emplace_back(when, std::move(action));
    }

    // Runs the program until its main window's loop ends, or start-up ends it.
    // A run still going at `limit` fails the test and is ended.
    void Run(const std::vector<std::string>& arguments = {},
             std::chrono::milliseconds limit = std::chrono::minutes(10))
    {
        program->onMainWindow = [this, limit](CUi& ui, CApplicationDlg& mainWindow) {
            driver = std::make_unique<CUiDriver>(ui);
            window = &mainWindow;
            for (auto& [when, action] : actions)
                driver->At(when, std::move(action));
            actions.clear();
            driver->At(limit, [this] {
                ADD_FAILURE() << "the program still runs";
                program->RequestEnd();
            });
            driver->RunFor(std::chrono::milliseconds(1));
        };
        program->Run(arguments);
        window = nullptr;
        driver.reset();
    }

    CSavedEnvironment environment{"XDG_RUNTIME_DIR"};
    CTempDir runtime;
    CTempDir state;
    CMockClock clock;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSimMachine machine{clock, system, registry};
    std::unique_ptr<CZarnwellProgram> program;
    std::unique_ptr<CUiDriver> driver; // while the main window runs
    CApplicationDlg* window = nullptr; // while the main window runs

private:
    std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> actions;
};
