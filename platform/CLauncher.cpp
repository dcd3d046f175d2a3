#include "platform/CLauncher.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <unistd.h>

#include "platform/AsciiCase.h"
#include "platform/CProgramHost.h"
#include "platform/CommandLine.h"
#include "platform/Spawn.h"

namespace {

// "C:\dir\DORAVEZ.exe" and "/opt/x/doravez" both name "doravez".
std::string ProgramName(const std::string& program)
{
    std::string name = FoldAscii(program.substr(program.find_last_of("\\/") + 1));
    if (name.size() > 4 && name.ends_with(".exe"))
        name.resize(name.size() - 4);
    return name;
}

std::string ImageName(const std::string& pidText)
{
    std::string base = "/proc/" + pidText;
    char target[PATH_MAX];
    ssize_t length = readlink((base + "/exe").c_str(), target, sizeof target - 1);
    if (length > 0) {
        std::string path(target, length);
        // A replaced executable reads "path (deleted)".
        if (path.ends_with(" (deleted)"))
            path.resize(path.size() - 10);
        return path.substr(path.rfind('/') + 1);
    }
    // Kernel threads and processes of other users: the short name.
    std::string comm;
    std::getline(std::ifstream(base + "/comm"), comm);
    return comm;
}

} // namespace

bool CLauncher::StartHidden(const std::string& commandLine)
{
    std::vector<std::string> argv = SplitCommandLine(commandLine);
    if (argv.empty() || argv[0].empty())
        return false;
    if (CProgramHost* host = HostOf(argv[0]))
        return host->Start(argv);
    pid_t pid;
    return SpawnDetached(argv, "", true, pid);
}

std::vector<CProcessEntry> CLauncher::Processes()
{
    std::vector<CProcessEntry> entries;
    if (DIR* proc = opendir("/proc")) {
        while (const dirent* entry = readdir(proc)) {
            std::string name = entry->d_name;
            if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::string image = ImageName(name);
            if (!image.empty())
                entries.push_back({static_cast<uint32_t>(std::strtoul(name.c_str(), nullptr, 10)), image});
        }
        closedir(proc);
    }
    for (CProgramHost* host : AllHosts())
        host->ListProcesses(entries);
    return entries;
}

bool CLauncher::TerminateProcess(uint32_t pid)
{
    for (CProgramHost* host : AllHosts()) {
        std::vector<CProcessEntry> hosted;
        host->ListProcesses(hosted);
        for (const CProcessEntry& entry : hosted) {
            if (entry.pid == pid)
                return host->Terminate(pid);
        }
    }
    // 0 and values that turn negative would signal whole process groups.
    if (pid == 0 || pid > static_cast<uint32_t>(INT_MAX))
        return false;
    return kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

void CLauncher::Host(const std::string& program, CProgramHost* host)
{
    std::lock_guard lock(mutex);
    if (host)
        hosts[ProgramName(program)] = host;
    else
        hosts.erase(ProgramName(program));
}

CProgramHost* CLauncher::HostOf(const std::string& program)
{
    std::lock_guard lock(mutex);
    auto found = hosts.find(ProgramName(program));
    return found == hosts.end() ? nullptr : found->second;
}

std::vector<CProgramHost*> CLauncher::AllHosts()
{
    std::lock_guard lock(mutex);
    std::vector<CProgramHost*> all;
    for (const auto& [name, host] : hosts) {
        if (std::find(all.begin(), all.end(), host) == all.end())
            all.push_back(host);
    }
    return all;
}
