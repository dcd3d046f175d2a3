#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

// A process a test starts with exactly the environment `env` ("NAME=value"),
// its standard output and error read together; it is ended (SIGKILL) when
// this object goes, if it has not ended by itself.
class CChildProcess {
public:
    CChildProcess(std::string exe, const std::vector<std::string>& args, std::vector<std::string> env)
    {
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
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        EXPECT_EQ(posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        outputFd = fds[0];
    }
    ~CChildProcess()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(outputFd);
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Reads the process's output until `text` shows; false when the output
    // closes or stays silent for the timeout.
    bool WaitForOutput(const std::string& text, int timeoutMs = 20000)
    {
        while (output.find(text) == std::string::npos)
            if (!ReadSome(timeoutMs))
                return false;
        return true;
    }
    // The exit status once the process has ended by itself (its output
    // closed), or -1 when it is still running after the timeout or was ended
    // by a signal.
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
    void Signal(int signal) { kill(pid, signal); }
    void Terminate() { Signal(SIGTERM); }
    bool Running() { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

    std::string output;

private:
    bool ReadSome(int timeoutMs)
    {
        pollfd p{outputFd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return false;
        char buffer[256];
        ssize_t n = read(outputFd, buffer, sizeof buffer);
        if (n <= 0) {
            closed = true;
            return false;
        }
        output.append(buffer, n);
        return true;
    }

    bool closed = false;
    pid_t pid = -1;
    int outputFd = -1;
};

// The real executable, started as a user would, with its own state, runtime
// and socket folders on the offscreen platform (`changed` replaces any of
// those settings, "NAME=value"); every process is ended by the test.
class CZarnwellProcess : public CChildProcess {
public:
    CZarnwellProcess(const CTempDir& home, const std::vector<std::string>& args,
                     const std::vector<std::string>& changed = {})
        : CChildProcess(std::string(getenv("ZARNWELL_BIN_DIR")) + "/zarnwell", args, Environment(home, changed))
    {
    }

private:
    static std::vector<std::string> Environment(const CTempDir& home, const std::vector<std::string>& changed)
    {
        std::vector<std::string> env = {"ZARNWELL_STATE_DIR=" + home.Path(), "XDG_RUNTIME_DIR=" + home.Path(),
                                        "ZARNWELL_SIM_SOCKET=" + home.File("sim.sock"), "PATH=/usr/bin:/bin",
                                        "QT_QPA_PLATFORM=offscreen"};
        for (const std::string& setting : changed) {
            std::string name = setting.substr(0, setting.find('=') + 1);
            std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
            env.push_back(setting);
        }
        return env;
    }
};
