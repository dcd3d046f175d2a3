#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The DHCP server program for the adapter's clients, as a process of the
// simulated PC: started by its command line, listed while it runs, asked to
// quit or terminated. Part of the world's state: used only under the world's
// mutex.
class CSimDhcpServer {
public:
    // A new server process with this id; false when one runs already (the
    // new one finds its port taken and ends at once).
    bool Start(uint32_t pid, std::string_view server, std::string_view first, std::string_view last);
    // Ends the running server, if any.
    void Stop() { *this = CSimDhcpServer{}; }
    bool Running() const { return pid != 0; }
    uint32_t Pid() const { return pid; }
    // The address it listens on.
    const std::string& Server() const { return server; }
    // "first-last".
    std::string Range() const { return first + "-" + last; }
    // The first address of its range that is not taken; empty when the range
    // is malformed or used up.
    std::string FreeAddress(const std::vector<std::string>& taken) const;

private:
    uint32_t pid = 0;
    std::string server;
    std::string first;
    std::string last;
};
