#pragma once

#include "platform/CSystem.h"

// The system queries on Linux. It reports itself as NT 10.0, a native 64-bit
// process, and elevated; the elevated relaunch goes through pkexec. The
// locale id comes from LC_ALL, then LC_MESSAGES, then LANG; a language
// without a known country gives its main locale, and "C", "POSIX", no locale
// or an unknown language give 1033.
class CLinuxSystem final : public CSystem {
public:
    std::string ModulePath() override;
    COsVersionInfo OsVersion() override;
    bool IsWow64() override;
    bool IsElevated() override;
    void RelaunchElevated(const std::string& exePath, const std::vector<std::string>& args,
                          const std::string& workDir) override;
    uint32_t DefaultLocaleId() override;
};
