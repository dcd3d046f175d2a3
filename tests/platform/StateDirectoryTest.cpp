#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sys/stat.h>

#include "platform/StateDirectory.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

class StateDirectoryTest : public ::testing::Test {
protected:
    StateDirectoryTest()
    {
        for (const char* name : {"ZARNWELL_STATE_DIR", "XDG_STATE_HOME", "HOME"})
            unsetenv(name);
    }

    CSavedEnvironment environment{"ZARNWELL_STATE_DIR", "XDG_STATE_HOME", "HOME"};
    CTempDir temp;
};

TEST_F(StateDirectoryTest, PathFollowsEnvironmentAndUser)
{
    struct Case {
        const char* stateDir;
        const char* xdgStateHome;
        const char* home;
        bool asRoot;
        const char* expected;
    } cases[] = {
        {"/x/state", "/xdg", "/home/u", true, "/x/state"},
        {"/x/state", "/xdg", "/home/u", false, "/x/state"},
        {"", "/xdg", "/home/u", true, "/var/lib/zarnwell"},
        {nullptr, "/xdg", "/home/u", false, "/xdg/zarnwell"},
        {"", "", "/home/u", false, "/home/u/.local/state/zarnwell"},
        {nullptr, "relative", "/home/u", false, "/home/u/.local/state/zarnwell"},
    };
    for (const Case& c : cases) {
        auto set = [](const char* name, const char* value) {
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        };
        set("ZARNWELL_STATE_DIR", c.stateDir);
        set("XDG_STATE_HOME", c.xdgStateHome);
        set("HOME", c.home);
        EXPECT_EQ(StateDirectoryPath(c.asRoot), c.expected) << c.expected;
    }
}

TEST_F(StateDirectoryTest, CreatesPrivateFolderWithParents)
{
    std::string path = temp.File("a/b/state");
    setenv("ZARNWELL_STATE_DIR", path.c_str(), 1);
    EXPECT_EQ(StateDirectory(), path);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // An existing folder is fine.
    EXPECT_EQ(StateDirectory(), path);
}

TEST_F(StateDirectoryTest, FolderThatCannotBeMadeGivesEmptyPath)
{
    std::ofstream(temp.File("file")) << "x";
    setenv("ZARNWELL_STATE_DIR", temp.File("file/state").c_str(), 1);
    EXPECT_EQ(StateDirectory(), "");
    setenv("ZARNWELL_STATE_DIR", temp.File("file").c_str(), 1);
    EXPECT_EQ(StateDirectory(), "");
}

} // namespace
