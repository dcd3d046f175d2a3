#pragma once

#include <string>
#include <string_view>

// The DHCP server program for the adapter's clients, while it runs. Part of
// the world's state: used only under the world's mutex.
class CSimDhcpServer {
public:
    void Start(std::string_view server, std::string_view first, std::string_view last);
    void Stop() { *this = CSimDhcpServer{}; }
    bool Running() const { return running; }
    // The address it listens on.
    const std::string& Server() const { return server; }

private:
    bool running = false;
    std::string server;
    std::string first;
    std::string last;
};
