#pragma once

#include "platform/CSystemAdapters.h"

class CSimWorld;

// The system's adapter list on the simulated machine: the USB adapter, while
// it is plugged in and enabled, under its device name with its address.
class CSimSystemAdapters final : public CSystemAdapters {
public:
    explicit CSimSystemAdapters(CSimWorld& world) : world(world) {}

    bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) override;

private:
    CSimWorld& world;
};
