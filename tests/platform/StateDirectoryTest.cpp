#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

// A restored backup or a copied home may bring a looser folder.
TEST_F(StateDirectoryTest, ExistingLooseFolderIsTightened)
{
    std::string path = temp.File("state");
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    setenv("ZARNWELL_STATE_DIR", path.c_str(), 1);
    EXPECT_EQ(StateDirectory(), path);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(StateDirectoryTest, FolderOfAnotherUserIsRefusedWithAMessage)
{
    // Root gives a folder away; anyone else finds one in "/".
    std::string path = "/";
    if (geteuid() == 0) {
        path = temp.File("theirs");
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        ASSERT_EQ(chmod(path.c_str(), 0755), 0);
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
    struct stat before;
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    setenv("ZARNWELL_STATE_DIR", path.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(StateDirectory(), "");
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(path + " belongs to another user"), std::string::npos) << message;
    struct stat after;
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
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
