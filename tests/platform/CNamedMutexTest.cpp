#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/CNamedMutex.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

class CNamedMutexTest : public ::testing::Test {
protected:
    CNamedMutexTest()
    {
        const char* value = std::getenv("XDG_RUNTIME_DIR");
        saved = value ? std::optional<std::string>(value) : std::nullopt;
        setenv("XDG_RUNTIME_DIR", temp.Path().c_str(), 1);
    }
    ~CNamedMutexTest() override
    {
        if (saved)
            setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    // What a second process sees: 0 free (it got the mutex), 1 already
    // existed, 2 failure.
    static int OtherProcessSees(const std::string& name)
    {
        pid_t child = fork();
        if (child == 0) {
            CNamedMutex mutex;
            bool existed = false;
            _exit(!mutex.Create(name, existed) ? 2 : existed ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::optional<std::string> saved;
    CTempDir temp;
};

TEST_F(CNamedMutexTest, SecondHolderSeesItUntilClosed)
{
    CNamedMutex mutex;
    bool existed = true;
    ASSERT_TRUE(mutex.Create("Application_Q7K2X", existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("Application_Q7K2X.lock")));
    EXPECT_EQ(OtherProcessSees("Application_Q7K2X"), 1);
    EXPECT_EQ(OtherProcessSees("Other"), 0);

    // In the same process too, as with a second handle.
    CNamedMutex second;
    ASSERT_TRUE(second.Create("Application_Q7K2X", existed));
    EXPECT_TRUE(existed);

    mutex.Close();
    EXPECT_EQ(OtherProcessSees("Application_Q7K2X"), 0);
}

TEST_F(CNamedMutexTest, CrashedHolderReleasesIt)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        CNamedMutex mutex;
        bool existed = false;
        char byte = mutex.Create("Application_Q7K2X", existed) && !existed ? 'y' : 'n';
        if (write(ready[1], &byte, 1) != 1)
            _exit(1);
        pause(); // until killed
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    EXPECT_EQ(byte, 'y');

    CNamedMutex mutex;
    bool existed = false;
    EXPECT_TRUE(mutex.Create("Application_Q7K2X", existed));
    EXPECT_TRUE(existed);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(mutex.Create("Application_Q7K2X", existed));
    EXPECT_FALSE(existed);
}

TEST_F(CNamedMutexTest, BadNamesAndFoldersFail)
{
    CNamedMutex mutex;
    bool existed = true;
    EXPECT_FALSE(mutex.Create("", existed));
    EXPECT_FALSE(mutex.Create("../escape", existed));
    EXPECT_FALSE(existed);
}

TEST_F(CNamedMutexTest, RuntimeFolderThatCannotHoldTheFileFallsBackToTheStateFolder)
{
    CSavedEnvironment environment{"ZARNWELL_STATE_DIR"};
    setenv("ZARNWELL_STATE_DIR", temp.File("state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", temp.File("missing").c_str(), 1);
    CNamedMutex mutex;
    bool existed = true;
    ASSERT_TRUE(mutex.Create("Application_Q7K2X", existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("state/Application_Q7K2X.lock")));
    EXPECT_EQ(OtherProcessSees("Application_Q7K2X"), 1);

    // Neither folder can hold it: no lock at all.
    mutex.Close();
    std::ofstream(temp.File("file")) << "x";
    setenv("ZARNWELL_STATE_DIR", temp.File("file/state").c_str(), 1);
    EXPECT_FALSE(mutex.Create("Application_Q7K2X", existed));
}

TEST_F(CNamedMutexTest, WithoutRuntimeFolderUsesStateFolder)
{
    unsetenv("XDG_RUNTIME_DIR");
    const char* state = std::getenv("ZARNWELL_STATE_DIR");
    std::optional<std::string> savedState = state ? std::optional<std::string>(state) : std::nullopt;
    setenv("ZARNWELL_STATE_DIR", temp.File("state").c_str(), 1);
    CNamedMutex mutex;
    bool existed = true;
    EXPECT_TRUE(mutex.Create("Application_Q7K2X", existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("state/Application_Q7K2X.lock")));
    mutex.Close();
    if (savedState)
        setenv("ZARNWELL_STATE_DIR", savedState->c_str(), 1);
    else
        unsetenv("ZARNWELL_STATE_DIR");
}

} // namespace
