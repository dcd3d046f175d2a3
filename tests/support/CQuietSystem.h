#pragma once

#include "platform/CSystem.h"

// A current, elevated, English system that starts nothing.
class CQuietSystem : public CSystem {
public:
    COsVersionInfo OsVersion() override { return {2, 10, 0}; }
    bool IsWow64() override { return false; }
    bool IsElevated() override { return true; }
    void RelaunchElevated(const std::string&, const std::vector<std::string>&, const std::string&) override {}
    uint32_t DefaultLocaleId() override { return 1033; }
};
