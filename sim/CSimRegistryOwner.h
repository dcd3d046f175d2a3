#pragma once

#include "platform/CRegistryOwner.h"

class CSimWorld;

// The system's key of the simulated adapter's network connection,
// "SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}\<device name>\Connection",
// whose value "Name" is the connection's name ("Wireless Network Connection 2").
class CSimRegistryOwner final : public CRegistryOwner {
public:
    explicit CSimRegistryOwner(CSimWorld& world) : world(world) {}

    bool Owns(RegistryHive hive, const std::string& key) override;
    bool QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                     std::string& out) override;

private:
    CSimWorld& world;
};
