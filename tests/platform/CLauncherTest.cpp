#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/CLauncher.h"
#include "platform/CProgramHost.h"
#include "tests/support/TempDir.h"

namespace {

// Everything a started program writes into the pipe at `path`, up to its
// end; nullopt when nothing came within 10 s.
std::optional<std::string> ReadPipe(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::string data;
    char buffer[256];
    while (true) {
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, 10000) != 1)
            break;
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0) {
            close(fd);
            return data;
        }
        if (got > 0)
            data.append(buffer, got);
    }
    close(fd);
    return std::nullopt;
}

// Child processes of this process, zombies included.
std::vector<pid_t> Children()
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    while (const dirent* entry = proc ? readdir(proc) : nullptr) {
        std::string stat;
        std::getline(std::ifstream(std::string("/proc/") + entry->d_name + "/stat"), stat);
        size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        // "pid (name) state ppid ..."
        char state;
        int parent;
        if (sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == getpid())
            children.push_back(atoi(entry->d_name));
    }
    if (proc)
        closedir(proc);
    return children;
}

// Waits, without sleeping, until `done` holds or 10 s passed.
template <typename Condition>
bool Eventually(Condition done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// Quotes an argument for SplitCommandLine (no backslashes in ours).
std::string Quote(const std::string& arg)
{
    std::string quoted = "\"";
    for (char c : arg)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

class CLauncherTest : public ::testing::Test {
protected:
    CLauncherTest() { mkfifo(pipePath.c_str(), 0600); }

    CTempDir temp;
    std::string pipePath = temp.File("pipe");
    CLauncher launcher;
};

TEST_F(CLauncherTest, ArgumentReachesTheProgramAsOneLiteral)
{
    const std::string arg = "a \"q\" b; $(touch " + temp.File("p1") + ") `touch " + temp.File("p2")
                          + "` && touch " + temp.File("p3") + " | x > " + temp.File("p4") + " 'c' %1 *";
    ASSERT_TRUE(launcher.StartHidden("/bin/sh -c \"printf %s \\\"$1\\\" > \\\"$2\\\"\" x " + Quote(arg) + " "
                                     + pipePath));
    EXPECT_EQ(ReadPipe(pipePath), arg);
    for (const char* file : {"p1", "p2", "p3", "p4"})
        EXPECT_FALSE(std::filesystem::exists(temp.File(file))) << file;
    EXPECT_TRUE(Eventually([] { return Children().empty(); })) << "a zombie stayed";
}

TEST_F(CLauncherTest, ProgramRunsWithoutStandardStreams)
{
    ASSERT_TRUE(launcher.StartHidden(
        "/bin/sh -c \"fds=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2); echo \\\"$fds\\\" > \\\"$1\\\"\" x "
        + pipePath));
    EXPECT_EQ(ReadPipe(pipePath), "/dev/null\n/dev/null\n/dev/null\n");
    EXPECT_TRUE(Eventually([] { return Children().empty(); }));
}

TEST_F(CLauncherTest, ProgramThatCannotStartFails)
{
    EXPECT_FALSE(launcher.StartHidden(""));
    EXPECT_FALSE(launcher.StartHidden("   "));
    EXPECT_FALSE(launcher.StartHidden("\"\" x"));
    EXPECT_FALSE(launcher.StartHidden(temp.File("no-such-program") + " -q"));
    EXPECT_FALSE(launcher.StartHidden("C:\\Windows\\System32\\ipconfig.exe /renew"));
}

TEST_F(CLauncherTest, ListsAndTerminatesRealProcesses)
{
    ASSERT_TRUE(launcher.StartHidden("/bin/sh -c \"echo $$ > \\\"$1\\\"; exec tail -f /dev/null\" x " + pipePath));
    std::optional<std::string> pidText = ReadPipe(pipePath);
    ASSERT_TRUE(pidText);
    uint32_t pid = std::stoul(*pidText);

    auto listed = [&](uint32_t wanted, const std::string& image) {
        for (const CProcessEntry& entry : launcher.Processes()) {
            if (entry.pid == wanted)
                return entry.imageName == image;
        }
        return false;
    };
    EXPECT_TRUE(Eventually([&] { return listed(pid, "tail"); }));
    EXPECT_TRUE(listed(getpid(), "platform_CLauncherTest"));

    EXPECT_TRUE(launcher.TerminateProcess(pid));
    EXPECT_TRUE(Eventually([&] { return !std::filesystem::exists("/proc/" + std::to_string(pid)); }));
    EXPECT_FALSE(launcher.TerminateProcess(pid));
    EXPECT_FALSE(launcher.TerminateProcess(0));          // would be our own process group
    EXPECT_FALSE(launcher.TerminateProcess(0xFFFFFFFF)); // would be every process
}

class CFakeHost : public CProgramHost {
public:
    bool Start(const std::vector<std::string>& argv) override
    {
        started.push_back(argv);
        running.push_back({0x7F000000u + static_cast<uint32_t>(started.size()), "DORAVEZ.exe"});
        return true;
    }
    void ListProcesses(std::vector<CProcessEntry>& out) override
    {
        out.insert(out.end(), running.begin(), running.end());
    }
    bool Terminate(uint32_t pid) override
    {
        std::erase_if(running, [pid](const CProcessEntry& entry) { return entry.pid == pid; });
        terminated.push_back(pid);
        return true;
    }

    std::vector<std::vector<std::string>> started;
    std::vector<CProcessEntry> running;
    std::vector<uint32_t> terminated;
};

TEST_F(CLauncherTest, HostedProgramsRunInTheirHost)
{
    CFakeHost dhcp;
    CFakeHost ipconfig;
    launcher.Host("DORAVEZ", &dhcp);
    launcher.Host("ipconfig.exe", &ipconfig);

    using Args = std::vector<std::string>;
    EXPECT_TRUE(launcher.StartHidden(
        "/opt/zarnwell/DORAVEZ -v -ip 192.168.159.1 -range 192.168.159.2-192.168.159.254"));
    EXPECT_TRUE(launcher.StartHidden("\"C:\\Program Files\\Zarnwell\\doravez.EXE\" -q"));
    EXPECT_TRUE(launcher.StartHidden("ipconfig /release \"Wi-Fi 2\""));
    ASSERT_EQ(dhcp.started.size(), 2u);
    EXPECT_EQ(dhcp.started[0], (Args{"/opt/zarnwell/DORAVEZ", "-v", "-ip", "192.168.159.1", "-range",
                                     "192.168.159.2-192.168.159.254"}));
    EXPECT_EQ(dhcp.started[1], (Args{"C:\\Program Files\\Zarnwell\\doravez.EXE", "-q"}));
    EXPECT_EQ(ipconfig.started, (std::vector<Args>{{"ipconfig", "/release", "Wi-Fi 2"}}));

    std::vector<CProcessEntry> processes = launcher.Processes();
    auto hosted = std::count_if(processes.begin(), processes.end(),
                                [](const CProcessEntry& entry) { return entry.imageName == "DORAVEZ.exe"; });
    EXPECT_EQ(hosted, 3); // both hosts list theirs

    EXPECT_TRUE(launcher.TerminateProcess(0x7F000001u));
    EXPECT_EQ(dhcp.terminated, (std::vector<uint32_t>{0x7F000001u}));
    EXPECT_TRUE(ipconfig.terminated.empty());

    // No longer hosted: the real program would run, and there is none here.
    launcher.Host("doravez", nullptr);
    EXPECT_FALSE(launcher.StartHidden("/opt/zarnwell/DORAVEZ -q"));
    EXPECT_EQ(dhcp.started.size(), 2u);
    // A name that merely contains a hosted one is not hosted.
    EXPECT_FALSE(launcher.StartHidden("/opt/zarnwell/myipconfig"));
}

} // namespace
