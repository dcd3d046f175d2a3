#include <gtest/gtest.h>

#include "shell/COperateSystemInfo.h"

namespace {

TEST(COperateSystemInfoTest, EveryRowOfTheKindTable)
{
    struct Case {
        uint32_t platform, major, minor;
        bool wow64;
        int kind;
        const char* what;
    };
    for (Case c : {
             Case{1, 4, 0, false, 0, "Windows 95"},
             Case{1, 4, 10, false, 0, "Windows 98"},
             Case{1, 4, 89, false, 0, "9x below Me"},
             Case{1, 4, 90, false, 1, "Windows Me"},
             Case{1, 4, 95, true, 1, "Me, flag ignored"},
             Case{2, 5, 0, false, 2, "Windows 2000"},
             Case{2, 5, 0, true, 2, "Windows 2000, either"},
             Case{2, 5, 1, false, 3, "XP"},
             Case{2, 5, 2, false, 3, "Server 2003"},
             Case{2, 5, 1, true, 4, "XP 64-bit"},
             Case{2, 5, 2, true, 4, "Server 2003 64-bit"},
             Case{2, 6, 0, false, 5, "Vista"},
             Case{2, 6, 0, true, 6, "Vista 64-bit"},
             Case{2, 6, 1, false, 7, "Windows 7"},
             Case{2, 6, 1, true, 8, "Windows 7 64-bit"},
             Case{2, 6, 2, false, 9, "Windows 8"},
             Case{2, 6, 2, true, 10, "Windows 8 64-bit"},
             Case{2, 6, 3, false, 11, "Windows 8.1"},
             Case{2, 6, 3, true, 12, "Windows 8.1 64-bit"},
             Case{2, 6, 4, false, 13, "NT 6.4"},
             Case{2, 10, 0, false, 13, "Windows 10 (and this platform)"},
             Case{2, 10, 0, true, 14, "Windows 10 64-bit"},
             Case{2, 4, 0, false, 13, "NT 4"},
             Case{2, 3, 51, true, 14, "NT 3.51 64-bit flag"},
             Case{2, 5, 3, false, 13, "NT 5.3"},
             Case{0, 3, 1, false, 3, "Win32s"},
             Case{1, 3, 0, false, 3, "9x platform, version 3"},
         }) {
        EXPECT_EQ(COperateSystemInfo::Classify(c.platform, c.major, c.minor, c.wow64), c.kind) << c.what;
    }
}

} // namespace
