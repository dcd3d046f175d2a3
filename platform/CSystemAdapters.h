#pragma once

#include <string>
#include <vector>

// One network adapter of the system with its IPv4 addresses.
struct CSystemAdapterInfo {
    std::string adapterName;
    std::vector<std::string> ipAddresses;
};

// The system's list of network adapters.
class CSystemAdapters {
public:
    virtual ~CSystemAdapters() = default;
    virtual bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) = 0;
};
