#pragma once

#include "platform/CSystemAdapters.h"

// A system with no network adapter at all.
class CNoSystemAdapters : public CSystemAdapters {
public:
    bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) override
    {
        out.clear();
        return false;
    }
};
