#include "shell/COperateSystemInfo.h"

#include "platform/CSystem.h"

COperateSystemInfo::COperateSystemInfo(CSystem& system)
{
    isWow64 = system.IsWow64();
    COsVersionInfo version = system.OsVersion();
    osKind = Classify(version.platformId, version.major, version.minor, isWow64);
}

int COperateSystemInfo::Classify(uint32_t platformId, uint32_t major, uint32_t minor, bool isWow64)
{
    constexpr uint32_t Windows9x = 1;
    constexpr uint32_t WindowsNt = 2;
    if (platformId == Windows9x && major == 4)
        return minor < 90 ? 0 : 1;
    if (platformId != WindowsNt)
        return 3;
    int wow = isWow64 ? 1 : 0;
    if (major == 5 && minor == 0)
        return 2;
    if (major == 5 && (minor == 1 || minor == 2))
        return 3 + wow;
    if (major == 6 && minor <= 3)
        return 5 + 2 * static_cast<int>(minor) + wow;
    return 13 + wow;
}
