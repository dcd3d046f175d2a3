#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

extern char** environ;

namespace {

// The real executable, started as a user would, with its own state, runtime
// and socket folders (`changed` replaces any of those settings, "NAME=value");
// every process is ended by the test.
class CZarnwellProcess {
public:
    CZarnwellProcess(const CTempDir& home, const std::vector<std::string>& args,
                     const std::vector<std::string>& changed = {})
    {
        std::string exe = std::string(getenv("ZARNWELL_BIN_DIR")) + "/zarnwell";
        std::vector<std::string> env = {"ZARNWELL_STATE_DIR=" + home.Path(), "XDG_RUNTIME_DIR=" + home.Path(),
                                        "ZARNWELL_SIM_SOCKET=" + home.File("sim.sock"), "PATH=/usr/bin:/bin",
                                        "QT_QPA_PLATFORM=offscreen"};
        for (const std::string& setting : changed) {
            std::string name = setting.substr(0, setting.find('=') + 1);
            std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
            env.push_back(setting);
        }
        std::vector<char*> envp, argv{exe.data()};
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> copies = args;
        for (std::string& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        EXPECT_EQ(posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        stderrFd = fds[0];
    }
    ~CZarnwellProcess()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(stderrFd);
    }

    // Reads the process's error output until `text` shows; false when the
    // output closes or stays silent for the timeout.
    bool WaitForOutput(const std::string& text, int timeoutMs = 20000)
    {
        while (output.find(text) == std::string::npos)
            if (!ReadSome(timeoutMs))
                return false;
        return true;
    }
    // The exit status once the process has ended by itself (its output
    // closed), or -1 when it is still running after the timeout.
    int WaitForExit(int timeoutMs = 20000)
    {
        while (ReadSome(timeoutMs)) {
        }
        if (!closed)
            return -1;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid)
            return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Terminate() { kill(pid, SIGTERM); }
    bool Running() { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

    std::string output;

private:
    bool ReadSome(int timeoutMs)
    {
        pollfd p{stderrFd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return false;
        char buffer[256];
        ssize_t n = read(stderrFd, buffer, sizeof buffer);
        if (n <= 0) {
            closed = true;
            return false;
        }
        output.append(buffer, n);
        return true;
    }

    bool closed = false;
    pid_t pid = -1;
    int stderrFd = -1;
};

constexpr const char* Running = "zarnwell: running";

TEST(InstanceProcessTest, SecondCopyEndsAtOnceAndSilentlyWhileTheFirstGoesOn)
{
    CTempDir home;
    CZarnwellProcess first(home, {});
    ASSERT_TRUE(first.WaitForOutput(Running)) << first.output;

    ASSERT_TRUE(first.Running()) << first.output;
    CZarnwellProcess second(home, {"hide"});
    EXPECT_EQ(second.WaitForExit(), 0) << "first: " << first.output;
    EXPECT_EQ(second.output, "") << "first: " << first.output; // no message at all

    EXPECT_TRUE(first.Running());
    first.Terminate();
    EXPECT_EQ(first.WaitForExit(), 0); // workers stopped, clean end
}

TEST(InstanceProcessTest, ACrashedInstanceNeverBlocksTheNext)
{
    CTempDir home;
    {
        CZarnwellProcess crashed(home, {});
        ASSERT_TRUE(crashed.WaitForOutput(Running));
    } // killed with SIGKILL
    CZarnwellProcess next(home, {});
    EXPECT_TRUE(next.WaitForOutput(Running)) << next.output;
    next.Terminate();
    EXPECT_EQ(next.WaitForExit(), 0);
}

TEST(InstanceProcessTest, WithoutAnyPlaceForTheLockItEndsWithAMessageAndAFailure)
{
    CTempDir home;
    std::ofstream(home.File("file")) << "x";
    CZarnwellProcess process(home, {}, {"XDG_RUNTIME_DIR=" + home.File("missing"),
                                        "ZARNWELL_STATE_DIR=" + home.File("file/state")});
    EXPECT_EQ(process.WaitForExit(), 1) << process.output;
    EXPECT_NE(process.output.find("single-instance lock"), std::string::npos) << process.output;
    EXPECT_EQ(process.output.find(Running), std::string::npos) << process.output;
}

} // namespace
