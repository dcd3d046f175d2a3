#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/support/ZarnwellProcess.h"

namespace {

constexpr const char* Running = "zarnwell: running";

TEST(InstanceProcessTest, SecondCopyEndsAtOnceAndSilentlyWhileTheFirstGoesOn)
{
    CTempDir home;
    CZarnwellProcess first(home, {});
    ASSERT_TRUE(first.WaitForOutput(Running)) << first.output;

    ASSERT_TRUE(first.Running()) << first.output;
    CZarnwellProcess second(home, {"hide"});
    EXPECT_EQ(second.WaitForExit(), 0) << "first: " << first.output;
    EXPECT_EQ(second.output, "") << "first: " << first.output; // no message at all

    EXPECT_TRUE(first.Running());
    first.Terminate();
    EXPECT_EQ(first.WaitForExit(), 0); // workers stopped, clean end
}

TEST(InstanceProcessTest, ACrashedInstanceNeverBlocksTheNext)
{
    CTempDir home;
    {
        CZarnwellProcess crashed(home, {});
        ASSERT_TRUE(crashed.WaitForOutput(Running));
    } // killed with SIGKILL
    CZarnwellProcess next(home, {});
    EXPECT_TRUE(next.WaitForOutput(Running)) << next.output;
    next.Terminate();
    EXPECT_EQ(next.WaitForExit(), 0);
}

TEST(InstanceProcessTest, WithoutAnyPlaceForTheLockItEndsWithAMessageAndAFailure)
{
    CTempDir home;
    std::ofstream(home.File("file")) << "x";
    CZarnwellProcess process(home, {}, {"XDG_RUNTIME_DIR=" + home.File("missing"),
                                        "ZARNWELL_STATE_DIR=" + home.File("file/state")});
    EXPECT_EQ(process.WaitForExit(), 1) << process.output;
    EXPECT_NE(process.output.find("single-instance lock"), std::string::npos) << process.output;
    EXPECT_EQ(process.output.find(Running), std::string::npos) << process.output;
}

} // namespace
