#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "shell/COperateCharacter.h"

namespace {

TEST(COperateCharacterTest, SplitKeepsEveryFieldIncludingEmptyOnes)
{
    COperateCharacter c;
    std::vector<std::u16string> list;
    struct Case {
        std::u16string text;
        bool skipEmpty;
        std::vector<std::u16string> fields;
    };
    for (const Case& k : {Case{u"255,,0", false, {u"255", u"-", u"0"}}, Case{u"255,,0", true, {u"255", u"0"}},
                          Case{u"10,20", false, {u"10", u"20"}}, Case{u"a,", false, {u"a", u"-"}},
                          Case{u",a", false, {u"-", u"a"}}, Case{u"", false, {u"-"}}, Case{u"abc", false, {u"abc"}}}) {
        c.Split(k.text, u",", k.skipEmpty, u"-", list);
        EXPECT_EQ(list, k.fields);
    }
    c.Split(u"a,b", u"", false, u"-", list); // no delimiter: one field, and no endless search
    EXPECT_EQ(list, std::vector<std::u16string>{u"a,b"});
}

TEST(COperateCharacterTest, Utf8GuessByTheShareOfValidSequences)
{
    COperateCharacter c;
    struct Case {
        std::string bytes;
        bool utf8;
    };
    std::string stray30 = std::string(10, 'x');
    for (int i = 0; i < 11; ++i)
        stray30 += "\xE7\xBD\x91"; // 33 bytes in valid 3-byte sequences
    std::string thirty;
    for (int i = 0; i < 10; ++i)
        thirty += "\xE7\xBD\x91"; // exactly 30 bytes in valid sequences
    std::string stray6 = "\xE7\xBD\x91\xE7\xBD\x91\xC3\xA9\xE7\xBD\x91\xE7\xBD\x91\xE7\xBD\x91\xE7\xBD\x91\xE7\xBD\x91\xE7\xBD\x91";
    for (const Case& k : {Case{"", false}, Case{"HomeNet", false}, Case{"\xE7\xBD\x91\xE7\xBB\x9C", true},
                          Case{"Caf\xC3\xA9", true}, Case{"\xCD\xF8\xC2\xE7", false} /* GBK */,
                          Case{stray30 + "\xFF", true} /* 33*100/34 = 97, more than 30 bytes */,
                          Case{stray6 + "\xFF", false} /* 26*100/27 = 96, only 26 bytes */,
                          Case{thirty + "\xFF", false} /* 3000/31 = 96, not more than 30 bytes */}) {
        EXPECT_EQ(c.LooksLikeUtf8(k.bytes.c_str(), k.bytes.size() + 1), k.utf8) << k.bytes;
    }
    // Reading stops at the size even without a terminator.
    const char unterminated[4] = {'\xC3', '\xA9', '\xC3', '\xA9'};
    EXPECT_TRUE(c.LooksLikeUtf8(unterminated, sizeof unterminated));
}

TEST(COperateCharacterTest, ToLocalConvertsUtf8AndCopiesTheRest)
{
    SetLocalCodePage("CP936");
    char out[33];
    EXPECT_STREQ(ToLocalIfUtf8("\xE7\xBD\x91\xE7\xBB\x9C", 33, out, sizeof out), "\xCD\xF8\xC2\xE7");
    EXPECT_STREQ(ToLocalIfUtf8("\xCD\xF8\xC2\xE7", 33, out, sizeof out), "\xCD\xF8\xC2\xE7");
    char small[4];
    EXPECT_STREQ(ToLocalIfUtf8("HomeNetwork", 33, small, sizeof small), "Hom");
    SetLocalCodePage("");
}

} // namespace
