#pragma once

#include "platform/CSystemAdapters.h"

// The adapter list from getifaddrs: every interface but loopback, in the
// system's order, with its IPv4 addresses.
class CLinuxAdapters final : public CSystemAdapters {
public:
    bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) override;
};
