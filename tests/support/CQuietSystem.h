#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CSystem.h"

// A current, elevated system that starts nothing, in the locale the test
// gives (English unless told). Its module path is the build's executable, so
// a start-up finds the data folders the build puts beside it.
class CQuietSystem : public CSystem {
public:
    explicit CQuietSystem(uint32_t locale = 1033) : locale(locale) {}

    std::string ModulePath() override { return std::string(std::getenv("ZARNWELL_BIN_DIR")) + "/zarnwell"; }
    COsVersionInfo OsVersion() override { return {2, 10, 0}; }
    bool IsWow64() override { return false; }
    bool IsElevated() override { return true; }
    void RelaunchElevated(const std::string&, const std::vector<std::string>&, const std::string&) override {}
    uint32_t DefaultLocaleId() override { return locale; }

    uint32_t locale;
};
