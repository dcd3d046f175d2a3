#include "sim/CSimSharingService.h"

#include "sim/CSimWorld.h"

bool CSimSharingService::EnumerateConnections(std::vector<CSharingConnection>& out)
{
    out.clear();
    std::string shared = world.Status().sharedConnection;
    for (const SimConnection& c : world.Connections())
        out.push_back({c.name, c.guid, c.device, c.Status(), uint32_t(c.media), c.characteristics, c.name == shared});
    return true;
}
