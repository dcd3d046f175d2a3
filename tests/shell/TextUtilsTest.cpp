#include <gtest/gtest.h>

#include "shell/TextUtils.h"

namespace {

TEST(TextUtilsTest, SignalLevelBoundaries)
{
    struct Case { int quality, level; };
    for (Case c : {Case{-5, 0}, {0, 0}, {1, 1}, {35, 1}, {36, 2}, {60, 2}, {61, 3}, {100, 3}, {101, 0}})
        EXPECT_EQ(SignalLevel(c.quality), c.level) << "quality " << c.quality;
}

TEST(TextUtilsTest, IsHexText)
{
    EXPECT_TRUE(IsHexText(u""));
    EXPECT_TRUE(IsHexText(u"0123456789abcdefABCDEF"));
    EXPECT_FALSE(IsHexText(u"12g4"));
    EXPECT_FALSE(IsHexText(u"12 4"));
}

TEST(TextUtilsTest, CountCjkCountsOnlyTheUnifiedIdeographBlock)
{
    EXPECT_EQ(CountCjk(u"\u4E00\u9FA5"), 2);
    EXPECT_EQ(CountCjk(u"\u9FA6\u4DFF\uFF0C\u3002ab"), 0); // beyond the block, full-width punctuation
    EXPECT_EQ(CountCjk(u"网络 Wi-Fi"), 2);
}

} // namespace
