#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>

#include "platform/CDesktopRegistry.h"
#include "platform/CRegistry.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

const std::string CommandKey = "htmlfile\\shell\\open\\command";

// A desktop of its own: a stand-in xdg-mime first on PATH and private data
// folders.
class CDesktopRegistryTest : public ::testing::Test {
protected:
    CDesktopRegistryTest()
    {
        std::filesystem::create_directories(temp.File("bin"));
        std::filesystem::create_directories(temp.File("home/applications"));
        std::filesystem::create_directories(temp.File("system/applications"));
        setenv("PATH", temp.File("bin").c_str(), 1); // never the real xdg-mime
        setenv("XDG_DATA_HOME", temp.File("home").c_str(), 1);
        setenv("XDG_DATA_DIRS", (temp.File("none") + ":" + temp.File("system")).c_str(), 1);
    }

    // The stand-in answers only the query for web pages.
    void DefaultHandler(const std::string& desktopId)
    {
        std::string script = temp.File("bin/xdg-mime");
        std::ofstream(script) << "#!/bin/sh\n"
                              << "[ \"$*\" = \"query default text/html\" ] || exit 1\n"
                              << "echo '" << desktopId << "'\n";
        chmod(script.c_str(), 0755);
    }
    void DesktopFile(const std::string& folder, const std::string& id, const std::string& contents)
    {
        std::ofstream(temp.File(folder + "/applications/" + id)) << contents;
    }
    std::optional<std::string> Query(const std::string& key)
    {
        std::string out;
        if (!desktop.QueryString(HiveClassesRoot, key, "", out))
            return std::nullopt;
        return out;
    }

    CSavedEnvironment environment{"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    CTempDir temp;
    CDesktopRegistry desktop;
};

TEST_F(CDesktopRegistryTest, ExecLineBecomesWindowsCommandLine)
{
    struct Case {
        const char* exec;
        const char* command;
    } cases[] = {
        {"\"/opt/say\\\\\"hi\" %u", nullptr}, // a quote in the program cannot be written
        {"firefox %u", "firefox \"%1\""},
        {"/usr/bin/browser --new-window %U", "/usr/bin/browser --new-window \"%1\""},
        {"\"/opt/My Browser/run\" %i --class %c %k %F", "\"/opt/My Browser/run\" --class \"%1\""},
        {"browser %f", "browser \"%1\""},
        {"browser", "browser"},
        {"browser 100%% --url=%u", "browser 100% --url=%1"},
        {"\"a\\\\\\\\b\" \"say \\\\\"hi\\\\\"\" %u", "a\\b \"say \\\"hi\\\"\" \"%1\""},
        {"\"tail\\\\\\\\\" x", "tail\\ x"},
        {"\"with space\\\\\\\\\" x", "\"with space\\\" x"},
        {"\"/opt/odd\\\\\\\\ dir\\\\\\\\\" %u", "\"/opt/odd\\ dir\\\" \"%1\""}, // the program keeps its backslashes
        {"run \"\" %u", "run \"\" \"%1\""},
    };
    DefaultHandler("test-browser.desktop");
    for (const Case& c : cases) {
        DesktopFile("home", "test-browser.desktop",
                    std::string("[Desktop Entry]\nName=Test\nExec=") + c.exec + "\n");
        EXPECT_EQ(Query(CommandKey), c.command ? std::optional<std::string>(c.command) : std::nullopt) << c.exec;
    }
    EXPECT_EQ(Query(".htm"), std::optional<std::string>("htmlfile"));
    EXPECT_EQ(Query(".HTM"), std::optional<std::string>("htmlfile"));
    EXPECT_EQ(Query("HTMLFILE\\Shell\\Open\\Command"), std::optional<std::string>("run \"\" \"%1\""));
}

TEST_F(CDesktopRegistryTest, OnlyTheDesktopEntryGroupCounts)
{
    DefaultHandler("test-browser.desktop");
    DesktopFile("home", "test-browser.desktop",
                "[Desktop Action new-window]\nExec=wrong %u\n"
                "[Desktop Entry]\nTryExec=wrong\nExec[de]=wrong\n  Exec = right %u\n"
                "[Desktop Action private]\nExec=wrong --private %u\n");
    EXPECT_EQ(Query(CommandKey), std::optional<std::string>("right \"%1\""));
}

TEST_F(CDesktopRegistryTest, UserFolderWinsOverSystemFolders)
{
    DefaultHandler("test-browser.desktop");
    DesktopFile("system", "test-browser.desktop", "[Desktop Entry]\nExec=system %u\n");
    EXPECT_EQ(Query(CommandKey), std::optional<std::string>("system \"%1\""));
    DesktopFile("home", "test-browser.desktop", "[Desktop Entry]\nExec=user %u\n");
    EXPECT_EQ(Query(CommandKey), std::optional<std::string>("user \"%1\""));
}

TEST_F(CDesktopRegistryTest, MissingHandlerFailsTheQueries)
{
    EXPECT_EQ(Query(".htm"), std::nullopt); // no xdg-mime
    DefaultHandler("");
    EXPECT_EQ(Query(".htm"), std::nullopt);
    DefaultHandler("gone.desktop");
    EXPECT_EQ(Query(".htm"), std::nullopt);
    EXPECT_EQ(Query(CommandKey), std::nullopt);
    DesktopFile("home", "gone.desktop", "[Desktop Entry]\nName=No command\n");
    EXPECT_EQ(Query(CommandKey), std::nullopt);
    DefaultHandler("../home/applications/gone.desktop");
    EXPECT_EQ(Query(CommandKey), std::nullopt);
}

TEST_F(CDesktopRegistryTest, OwnsTheAssociationKeysOfTheClassesRoot)
{
    for (const char* key : {".htm", ".Htm", "htmlfile", "HTMLFILE\\shell", CommandKey.c_str()})
        EXPECT_TRUE(desktop.Owns(HiveClassesRoot, key)) << key;
    for (const char* key : {".html", "htmlfile2", "Software\\.htm", ""})
        EXPECT_FALSE(desktop.Owns(HiveClassesRoot, key)) << key;
    EXPECT_FALSE(desktop.Owns(HiveLocalMachine, ".htm"));

    DefaultHandler("test-browser.desktop");
    DesktopFile("home", "test-browser.desktop", "[Desktop Entry]\nExec=browser %u\n");
    std::string out;
    EXPECT_FALSE(desktop.QueryString(HiveClassesRoot, ".htm", "Content Type", out));
    EXPECT_FALSE(desktop.QueryString(HiveClassesRoot, "htmlfile\\shell", "", out));
    EXPECT_FALSE(desktop.QueryString(HiveLocalMachine, ".htm", "", out));
}

TEST_F(CDesktopRegistryTest, RegistryAnswersThroughTheDesktop)
{
    DefaultHandler("test-browser.desktop");
    DesktopFile("home", "test-browser.desktop", "[Desktop Entry]\nExec=browser %u\n");
    CRegistry registry(temp.Path());
    registry.AddOwner(&desktop);
    std::string progId;
    std::string command;
    ASSERT_TRUE(registry.QueryString(HiveClassesRoot, ".htm", "", progId));
    ASSERT_TRUE(registry.QueryString(HiveClassesRoot, progId + "\\shell\\open\\command", "", command));
    EXPECT_EQ(command, "browser \"%1\"");
    EXPECT_FALSE(registry.SetString(HiveClassesRoot, CommandKey, "", "evil \"%1\""));
}

} // namespace
