#pragma once

#include "platform/CProgramHost.h"

class CLauncher;
class CSimWorld;

// The programs the system starts for the adapter, on the simulated machine:
// "ipconfig /release NAME" and "ipconfig /renew NAME" drop and renew the
// address of the adapter's connection (no name: every connection), and the
// DHCP server "DORAVEZ -v -ip A -range B-C", which runs as "DORAVEZ.exe" until
// "DORAVEZ -q" asks it to quit or it is terminated (a world may hold one that
// does neither). ipconfig and the quit request end at once and are never
// listed.
class CSimProgramHost final : public CProgramHost {
public:
    explicit CSimProgramHost(CSimWorld& world) : world(world) {}

    // Hosts ipconfig and DORAVEZ in `launcher`.
    void HostIn(CLauncher& launcher);

    bool Start(const std::vector<std::string>& argv) override;
    void ListProcesses(std::vector<CProcessEntry>& out) override;
    bool Terminate(uint32_t pid) override;

private:
    bool RunIpconfig(const std::vector<std::string>& argv);
    bool RunDhcpServer(const std::vector<std::string>& argv);

    CSimWorld& world;
};
