#pragma once

#include "platform/CSharingService.h"

// A system whose connection-sharing service cannot be reached.
class CNoSharingService : public CSharingService {
public:
    bool EnumerateConnections(std::vector<CSharingConnection>& out) override
    {
        out.clear();
        return false;
    }
};
