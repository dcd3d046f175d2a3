#include "sim/CSimProgramHost.h"

#include "platform/AsciiCase.h"
#include "platform/CLauncher.h"
#include "sim/CSimWorld.h"

namespace {

// Above any pid_max Linux allows (2^22), so no real process is shadowed.
constexpr uint32_t firstPid = 5000000;

std::string ProgramName(const std::string& program)
{
    std::string name = FoldAscii(program.substr(program.find_last_of("\\/") + 1));
    if (name.size() > 4 && name.ends_with(".exe"))
        name.resize(name.size() - 4);
    return name;
}

// What follows `option` on the command line, if anything.
bool OptionValue(const std::vector<std::string>& argv, const char* option, std::string& value)
{
    for (size_t i = 1; i + 1 < argv.size(); ++i) {
        if (FoldAscii(argv[i]) == option) {
            value = argv[i + 1];
            return true;
        }
    }
    return false;
}

} // namespace

void CSimProgramHost::HostIn(CLauncher& launcher)
{
    launcher.Host("ipconfig", this);
    launcher.Host("DORAVEZ", this);
}

bool CSimProgramHost::Start(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return false;
    std::string program = ProgramName(argv[0]);
    if (program == "ipconfig")
        return RunIpconfig(argv);
    if (program == "doravez")
        return RunDhcpServer(argv);
    return false;
}

bool CSimProgramHost::RunIpconfig(const std::vector<std::string>& argv)
{
    if (argv.size() < 2)
        return true; // prints the configuration and ends
    std::string command = FoldAscii(argv[1]);
    if (command != "/release" && command != "/renew")
        return true;
    // Without a name (or with an empty one) ipconfig works on every connection.
    std::string connection = argv.size() > 2 && !argv[2].empty() ? argv[2] : world.ConnectionName();
    if (command == "/release")
        world.ReleaseAddress(connection);
    else
        world.RenewAddress(connection);
    return true;
}

bool CSimProgramHost::RunDhcpServer(const std::vector<std::string>& argv)
{
    for (size_t i = 1; i < argv.size(); ++i) {
        if (FoldAscii(argv[i]) == "-q") {
            // The running server quits; the asking process ends at once.
            std::lock_guard lock(mutex);
            serverPid = 0;
            world.StopDhcpServer();
            return true;
        }
    }
    std::string server;
    std::string range;
    size_t dash = std::string::npos;
    bool valid = OptionValue(argv, "-ip", server) && OptionValue(argv, "-range", range) &&
                 (dash = range.find('-')) != std::string::npos && !server.empty() && dash > 0 &&
                 dash + 1 < range.size();
    std::lock_guard lock(mutex);
    ++lastPid;
    // A wrong command line, or the server's port already taken: the new process ends at once.
    if (!valid || (serverPid && world.DhcpServerRunning()))
        return true;
    serverPid = firstPid + lastPid;
    world.StartDhcpServer(server, range.substr(0, dash), range.substr(dash + 1));
    return true;
}

void CSimProgramHost::ListProcesses(std::vector<CProcessEntry>& out)
{
    std::lock_guard lock(mutex);
    if (serverPid && world.DhcpServerRunning())
        out.push_back({serverPid, "DORAVEZ.exe"});
}

bool CSimProgramHost::Terminate(uint32_t pid)
{
    std::lock_guard lock(mutex);
    if (!pid || pid != serverPid || !world.DhcpServerRunning())
        return false;
    serverPid = 0;
    world.StopDhcpServer();
    return true;
}
