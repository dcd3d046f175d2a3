#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The operating system's version as Windows reports it.
struct COsVersionInfo {
    uint32_t platformId = 0; // 2 NT, 1 the 9x line
    uint32_t major = 0;
    uint32_t minor = 0;
};

// The process and system queries of start-up, replaced in tests.
class CSystem {
public:
    virtual ~CSystem() = default;

    // The full path of the running executable; its folder is the install
    // folder the data folders sit in.
    virtual std::string ModulePath() = 0;

    virtual COsVersionInfo OsVersion() = 0;
    // Whether a 32-bit process runs on a 64-bit system.
    virtual bool IsWow64() = 0;
    virtual bool IsElevated() = 0;
    // Starts `exePath` with `args` again with raised rights, in `workDir`;
    // not waited for.
    virtual void RelaunchElevated(const std::string& exePath, const std::vector<std::string>& args,
                                  const std::string& workDir) = 0;
    // The user's locale as a Windows locale id (1033 en-US, 2052 zh-CN, ...).
    virtual uint32_t DefaultLocaleId() = 0;
};
