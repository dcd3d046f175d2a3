#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/TempDir.h"
#include "tests/support/ZarnwellProcess.h"

namespace {

TEST(DesktopProcessTest, WithoutAnyDesktopItSaysSoInOneLineAndFails)
{
    CTempDir home;
    // No DISPLAY, no WAYLAND_DISPLAY, no platform asked for.
    CZarnwellProcess process(home, {}, {"QT_QPA_PLATFORM="});
    EXPECT_EQ(process.WaitForExit(), 1) << process.output;
    EXPECT_EQ(std::count(process.output.begin(), process.output.end(), '\n'), 1) << process.output;
    EXPECT_NE(process.output.find("DISPLAY"), std::string::npos) << process.output;
    EXPECT_NE(process.output.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << process.output;
    EXPECT_EQ(process.output.find("zarnwell: running"), std::string::npos) << process.output;
}

} // namespace
