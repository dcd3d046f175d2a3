#pragma once

#include <string>
#include <vector>

#include "platform/CProcessEntry.h"

// Runs a program of the simulated world in place of a real process. Its
// process ids should lie outside the system's (above its pid_max), so that
// they never shadow a real process.
class CProgramHost {
public:
    virtual ~CProgramHost() = default;

    // `argv` is the split command line; argv[0] the program as written.
    virtual bool Start(const std::vector<std::string>& argv) = 0;
    // Appends the host's running processes.
    virtual void ListProcesses(std::vector<CProcessEntry>& out) = 0;
    virtual bool Terminate(uint32_t pid) = 0;
};
