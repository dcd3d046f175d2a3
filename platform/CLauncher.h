#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/CProcessEntry.h"

class CProgramHost;

// Starting programs hidden, the process list and process termination.
//
// A program may be hosted: command lines whose program (its directory, a
// ".exe" ending and letter case ignored) has a host go to that host instead
// of being executed, and the host's processes are listed and terminated
// with the real ones.
class CLauncher {
public:
    // Splits the line (SplitCommandLine) and starts the program with those
    // arguments, never through a shell, with stdin, stdout and stderr on
    // /dev/null; not waited for, and reaped when it ends.
    bool StartHidden(const std::string& commandLine);
    // Real processes from /proc, then the hosts' processes.
    std::vector<CProcessEntry> Processes();
    // Ends the process at once (SIGKILL), or asks its host.
    bool TerminateProcess(uint32_t pid);

    // The host must outlive this object; nullptr stops hosting the program.
    void Host(const std::string& program, CProgramHost* host);

private:
    CProgramHost* HostOf(const std::string& program);
    std::vector<CProgramHost*> AllHosts();

    std::mutex mutex;
    std::map<std::string, CProgramHost*> hosts; // by folded program name; guarded by mutex
};
