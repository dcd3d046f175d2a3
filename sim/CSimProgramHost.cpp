#include "sim/CSimProgramHost.h"

#include "platform/AsciiCase.h"
#include "platform/CLauncher.h"
#include "sim/CSimWorld.h"

namespace {

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
            // The running server is asked to quit; the asking process ends at once.
            world.QuitDhcpServer();
            return true;
        }
    }
    std::string server;
    std::string range;
    size_t dash = std::string::npos;
    bool valid = OptionValue(argv, "-ip", server) && OptionValue(argv, "-range", range) &&
                 (dash = range.find('-')) != std::string::npos && !server.empty() && dash > 0 &&
                 dash + 1 < range.size();
    // A wrong command line: the new process ends at once.
    if (valid)
        world.StartDhcpServer(server, range.substr(0, dash), range.substr(dash + 1));
    return true;
}

void CSimProgramHost::ListProcesses(std::vector<CProcessEntry>& out)
{
    if (uint32_t pid = world.DhcpServerPid())
        out.push_back({pid, "DORAVEZ.exe"});
}

bool CSimProgramHost::Terminate(uint32_t pid)
{
    return world.TerminateDhcpServer(pid);
}
