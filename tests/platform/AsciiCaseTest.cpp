#include <gtest/gtest.h>

#include "platform/AsciiCase.h"

namespace {

TEST(AsciiCaseTest, OnlyAsciiCapitalsFold)
{
    EXPECT_EQ(FoldAscii("Software\\Kavlo\\ZARNWELL@[`{"), "software\\kavlo\\zarnwell@[`{");
    EXPECT_EQ(FoldAscii(std::string("A\0B", 3)), std::string("a\0b", 3));
    // UTF-8 bytes of "ÄI" stay as they are: no locale's rule applies.
    EXPECT_EQ(FoldAscii("\xC3\x84I"), "\xC3\x84i");
    EXPECT_EQ(FoldAscii(u"ProgramOutStr \u00C4\u0130\uFF21"), u"programoutstr \u00C4\u0130\uFF21");
    EXPECT_EQ(FoldAscii('Q'), 'q');
    EXPECT_EQ(FoldAscii(u'Z'), u'z');
    EXPECT_EQ(FoldAscii(""), "");
}

} // namespace
