#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/CRegistry.h"
#include "platform/ProcessInfo.h"
#include "platform/RealClock.h"
#include "program/CEndSignals.h"
#include "program/CZarnwellProgram.h"
#include "sim/CSimMachine.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZarnwellProcess.h"
#include "ui/CApplicationDlg.h"
#include "ui/ModalPopup.h"
#include "ui/framework/CUi.h"
#include "ui/framework/QtThreadSanitizer.h"

using namespace std::chrono_literals;

namespace {

constexpr const char* childRole = "ZARNWELL_END_SIGNALS_CHILD";

// The child: the whole program on the real clock, its stop signals taken as
// the executable takes them, with the exit panel open.
void RunProgramWithTheExitPanelOpen()
{
    CEndSignals::Block(); // first: no thread exists yet
    CTempDir home;
    setenv("XDG_RUNTIME_DIR", home.Path().c_str(), 1);
    CRealClock clock;
    CQuietSystem system;
    CRegistry registry(home.Path());
    CSimMachine machine(clock, system, registry);
    std::vector<std::string> problems;
    machine.LoadWorld(std::string(getenv("ZARNWELL_BIN_DIR")) + "/Sim/World.ini", problems);
    CZarnwellProgram program(machine);
    program.onMainWindow = [&](CUi& ui, CApplicationDlg& window) {
        ui.Post([&] {
            ui.At(clock.Now() + 100ms, [] {
                if (ActivePopup())
                    printf("exit panel open\n");
                fflush(stdout);
            });
            window.OnCommand(32772);
        });
    };
    {
        CEndSignals signals([&](int) { program.RequestEnd(); });
        program.Run({});
    }
    printf("run ended\n");
    fflush(stdout);
}

// The test runs itself again as the child, and signals it as a logout,
// a shutdown or Ctrl+C would.
TEST(EndSignalsTest, SignalsWhileAModalWindowIsOpenEndTheProcessCleanly)
{
    if (getenv(childRole)) {
        RunProgramWithTheExitPanelOpen();
        return;
    }
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string thisTest = std::string(info->test_suite_name()) + "." + info->name();
    struct Case {
        const char* name;
        std::vector<int> signals;
    };
    for (const Case& c : {Case{"SIGTERM", {SIGTERM}}, Case{"Ctrl+C", {SIGINT}},
                          Case{"SIGHUP, then SIGTERM", {SIGHUP, SIGTERM}}}) {
        CChildProcess child(ModulePath(), {"--gtest_filter=" + thisTest},
                            {std::string(childRole) + "=1", "PATH=/usr/bin:/bin"});
        ASSERT_TRUE(child.WaitForOutput("exit panel open")) << c.name << "\n" << child.output;
        for (int signal : c.signals)
            child.Signal(signal);
        EXPECT_EQ(child.WaitForExit(10000), 0) << c.name << "\n" << child.output;
        EXPECT_NE(child.output.find("run ended"), std::string::npos) << c.name << "\n" << child.output;
    }
}

// The executable itself: two stop signals in a row end it cleanly, not by the second.
TEST(EndSignalsTest, TheProgramEndsCleanlyWhenTheyComeTwice)
{
    CTempDir home;
    CZarnwellProcess process(home, {});
    ASSERT_TRUE(process.WaitForOutput("zarnwell: running")) << process.output;
    process.Signal(SIGHUP);
    process.Signal(SIGINT);
    EXPECT_EQ(process.WaitForExit(10000), 0) << process.output;
}

} // namespace
