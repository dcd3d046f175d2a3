#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One network connection as the system's connection-sharing service knows it.
struct CSharingConnection {
    std::string name;       // as the system shows it
    std::string guid;       // "{...}"
    std::string deviceName; // the device behind it
    uint32_t status;        // 2 = connected
    uint32_t mediaType;     // 3 LAN, 4 modem, 6 PPPoE, 7 bridge, ...
    uint32_t characteristics;
    bool sharingEnabled;
};

// The system's connection-sharing service: the machine's network connections.
class CSharingService {
public:
    virtual ~CSharingService() = default;

    // Every connection the service knows; false when it cannot be reached.
    virtual bool EnumerateConnections(std::vector<CSharingConnection>& out) = 0;
};
