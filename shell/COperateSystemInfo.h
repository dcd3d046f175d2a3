#pragma once

#include <cstdint>

class CSystem;

// The operating-system kind, classified once at start-up. Codes above 4 mean
// Vista or later (elevation check, normal menu bitmaps); 7 or more, Windows 7
// or later.
class COperateSystemInfo {
public:
    explicit COperateSystemInfo(CSystem& system);
    virtual ~COperateSystemInfo() = default;

    // platformId 2 is NT, 1 the 9x family.
    static int Classify(uint32_t platformId, uint32_t major, uint32_t minor, bool isWow64);

    bool isWow64 = false;
    int osKind = 0;
};
