#pragma once

#include <string>
#include <vector>

// One network adapter of the system with its IPv4 addresses.
struct CSystemAdapterInfo {
    std::string adapterName;
    std::vector<std::string> ipAddresses; // dotted; "0.0.0.0" when it has none
};

// The system's list of network adapters, as GetAdaptersInfo gives it.
class CSystemAdapters {
public:
    virtual ~CSystemAdapters() = default;

    // False when the list cannot be read or holds no adapter.
    virtual bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) = 0;
};
