#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <tuple>

#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "platform/CRegistry.h"
#include "platform/CSystem.h"
#include "platform/MockClock.h"
#include "platform/ProcessInfo.h"
#include "shell/CApplicationApp.h"
#include "tests/adapter/AdapterFixture.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

class CScriptedSystem : public CSystem {
public:
    std::string ModulePath() override { return modulePath; }
    COsVersionInfo OsVersion() override { return version; }
    bool IsWow64() override { return false; }
    bool IsElevated() override { return elevated; }
    void RelaunchElevated(const std::string& exe, const std::vector<std::string>& args,
                          const std::string& dir) override
    {
        relaunches.push_back({exe, args, dir});
    }
    uint32_t DefaultLocaleId() override { return locale; }

    struct Relaunch {
        std::string exe;
        std::vector<std::string> args;
        std::string dir;
    };
    std::string modulePath = ::ModulePath();
    COsVersionInfo version{2, 10, 0};
    uint32_t locale = 1033;
    bool elevated = true;
    std::vector<Relaunch> relaunches;
};

class ApplicationStartTest : public ::testing::Test {
protected:
    ApplicationStartTest()
    {
        setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
        clock.Participate();
    }
    ~ApplicationStartTest() override
    {
        app.reset();
        clock.Leave();
    }
    CApplicationApp& Make()
    {
        app = std::make_unique<CApplicationApp>(library, services);
        return *app;
    }

    CTempDir runtime;
    CTempDir state;
    CMockClock clock;
    CRegistry registry{state.Path()};
    CScriptedSystem system;
    CScriptedLibrary library;
    CFixedSystemAdapters systemAdapters;
    CLauncher launcher;
    CNoSharingService sharing;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CApplicationApp> app;
};

TEST_F(ApplicationStartTest, HideOnlyForTheSingleExactArgument)
{
    struct Case {
        std::vector<std::string> args;
        int hidden;
    };
    for (const Case& c : {Case{{"hide"}, 1}, Case{{}, 0}, Case{{"Hide"}, 0}, Case{{" hide"}, 0},
                          Case{{"hide", "x"}, 0}, Case{{"hide "}, 0}}) {
        CApplicationApp& a = Make();
        ASSERT_TRUE(a.StartUp(c.args));
        EXPECT_EQ(a.startHidden, c.hidden) << (c.args.empty() ? "" : c.args[0]) << " x" << c.args.size();
        app.reset();
    }
}

TEST_F(ApplicationStartTest, SecondInstanceInTheSameSessionEndsAtOnce)
{
    CApplicationApp& first = Make();
    ASSERT_TRUE(first.StartUp({}));
    CApplicationApp second(library, services);
    EXPECT_FALSE(second.StartUp({}));
    EXPECT_FALSE(second.adapter.workers[CAdapterWirelessZadidar::SlotTicker].HasThread());
    EXPECT_TRUE(first.adapter.workers[CAdapterWirelessZadidar::SlotTicker].HasThread());
}

TEST_F(ApplicationStartTest, WithoutAnyLockFileItEndsWithAMessageInsteadOfRunningUnguarded)
{
    CSavedEnvironment environment{"ZARNWELL_STATE_DIR"};
    std::ofstream(runtime.File("file")) << "x";
    setenv("XDG_RUNTIME_DIR", runtime.File("missing").c_str(), 1);
    setenv("ZARNWELL_STATE_DIR", runtime.File("file/state").c_str(), 1);
    bool servicesStarted = false;
    CApplicationApp& a = Make();
    a.startServices = [&] { servicesStarted = true; };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(a.StartUp({}));
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("zarnwell: cannot make the single-instance lock file"), std::string::npos) << message;
    EXPECT_NE(a.exitStatus, 0);
    EXPECT_FALSE(servicesStarted);
    EXPECT_FALSE(a.adapter.workers[CAdapterWirelessZadidar::SlotTicker].HasThread());
}

TEST_F(ApplicationStartTest, WithoutElevationOnlyAnElevatedCopyIsAskedFor)
{
    system.elevated = false;
    bool servicesStarted = false;
    CApplicationApp& a = Make();
    a.startServices = [&] { servicesStarted = true; };
    EXPECT_FALSE(a.StartUp({"hide"}));
    EXPECT_FALSE(servicesStarted);
    EXPECT_FALSE(a.adapter.workers[CAdapterWirelessZadidar::SlotTicker].HasThread());
    EXPECT_FALSE(a.adapter.workers[CAdapterWirelessZadidar::SlotDeviceWatch].HasThread());
    ASSERT_EQ(system.relaunches.size(), 1u);
    EXPECT_EQ(system.relaunches[0].exe, a.exePath);
    EXPECT_EQ(system.relaunches[0].args, std::vector<std::string>{"hide"});
    EXPECT_EQ(system.relaunches[0].dir, a.exeDir);

    // The mutex was let go, so the elevated copy can run.
    app.reset();
    system.elevated = true;
    EXPECT_TRUE(Make().StartUp({}));
}

TEST_F(ApplicationStartTest, OlderSystemsSkipTheElevationCheck)
{
    system.elevated = false;
    system.version = {2, 5, 1}; // XP
    CApplicationApp& a = Make();
    EXPECT_TRUE(a.StartUp({}));
    EXPECT_EQ(a.osKind, 3);
    EXPECT_TRUE(system.relaunches.empty());
}

TEST_F(ApplicationStartTest, StoredModeDecidesTheModeShown)
{
    const std::string root = "Software\\Kavlo\\Zarnwell";
    registry.CreateKey(HiveLocalMachine, root);
    for (auto [stored, mode] : {std::pair{1u, ModeSoftAp}, {5u, ModeSoftAp}, {0u, ModeStation}}) {
        registry.SetNumber(HiveLocalMachine, root, "NetworkMode", stored);
        CApplicationApp& a = Make();
        ASSERT_TRUE(a.StartUp({}));
        EXPECT_EQ(a.currentMode, mode) << stored;
        EXPECT_EQ(a.adapter.networkMode, mode == ModeSoftAp ? 1 : 0);
        app.reset();
    }
    registry.DeleteValue(HiveLocalMachine, root, "NetworkMode");
    EXPECT_TRUE(Make().StartUp({}));
    EXPECT_EQ(app->currentMode, ModeStation);
}

TEST_F(ApplicationStartTest, PathsAndVersionOfTheRunningExecutable)
{
    CApplicationApp& a = Make();
    ASSERT_TRUE(a.StartUp({}));
    EXPECT_EQ(a.exeDir.back(), '/');
    EXPECT_EQ(a.exePath.rfind(a.exeDir, 0), 0u);
    EXPECT_EQ(a.versionText, "V"); // test executables carry no version record
    EXPECT_EQ(&App(), &a);
}

TEST_F(ApplicationStartTest, TheInstallFolderIsTheSystemsModulePathsAndTheAdapterGetsWhatItNeedsFromIt)
{
    const std::string bin = std::string(getenv("ZARNWELL_BIN_DIR")) + "/";
    system.modulePath = bin + "zarnwell";
    for (auto [locale, lcid, prefix] : {std::tuple{1033u, 1033u, "Kavlo_"}, {2052u, 0x0804u, "Kavlo_"}}) {
        system.locale = locale;
        CApplicationApp& a = Make();
        ASSERT_TRUE(a.StartUp({}));
        EXPECT_EQ(a.exePath, bin + "zarnwell");
        EXPECT_EQ(a.exeDir, bin);
        EXPECT_EQ(a.versionText, "V" ZARNWELL_TEST_VERSION); // the built program's record
        EXPECT_EQ(a.language.lcid, lcid);
        EXPECT_EQ(a.skin.mainBack, bin + "Skin/main_back.bmp");
        // Handed to the adapter before its workers started.
        EXPECT_EQ(a.adapter.exeDir, bin);
        EXPECT_EQ(a.adapter.lcid, lcid);
        EXPECT_STREQ(a.adapter.apDefaultSsid, prefix);
        EXPECT_EQ(a.adapter.osKind, a.osKind);
        app.reset();
    }
}

} // namespace
