#pragma once

#include "platform/CSharingService.h"

class CSimWorld;

// The system's connection-sharing service on the simulated PC: its
// connections besides the adapter's, as they are now.
class CSimSharingService final : public CSharingService {
public:
    explicit CSimSharingService(CSimWorld& world) : world(world) {}

    bool EnumerateConnections(std::vector<CSharingConnection>& out) override;

private:
    CSimWorld& world;
};
