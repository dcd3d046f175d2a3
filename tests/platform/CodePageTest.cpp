#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "platform/CodePage.h"

namespace {

// Keeps the locale variables as they were.
class CodePageTest : public ::testing::Test {
protected:
    CodePageTest()
    {
        for (const char* name : Names) {
            const char* value = std::getenv(name);
            saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~CodePageTest() override
    {
        for (size_t i = 0; i < std::size(Names); ++i) {
            if (saved[i])
                setenv(Names[i], saved[i]->c_str(), 1);
            else
                unsetenv(Names[i]);
        }
        SetLocalCodePage("");
    }
    static void ClearLocale()
    {
        for (const char* name : Names)
            unsetenv(name);
    }

    static constexpr const char* Names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::vector<std::optional<std::string>> saved;
};

TEST_F(CodePageTest, LocalCodePageFollowsTheLocale)
{
    struct Case {
        const char* lcAll;
        const char* lang;
        const char* expected;
    } cases[] = {
        {nullptr, "zh_CN.GBK", "GBK"},
        {nullptr, "zh_CN.UTF-8", "UTF-8"},
        {"de_DE.ISO-8859-15@euro", "zh_CN.GBK", "ISO-8859-15"},
        {nullptr, "zh_CN", "CP936"},
        {nullptr, "zh_TW", "CP950"},
        {nullptr, "zh_HK", "CP950"},
        {nullptr, "ja_JP", "CP932"},
        {nullptr, "ru_RU", "CP1251"},
        {nullptr, "fr_FR", "CP1252"},
        {"C", nullptr, "CP1252"},
        {nullptr, "POSIX", "CP1252"},
        {"", "", "CP1252"},
        {nullptr, nullptr, "CP1252"},
    };
    for (const Case& c : cases) {
        ClearLocale();
        if (c.lcAll)
            setenv("LC_ALL", c.lcAll, 1);
        if (c.lang)
            setenv("LANG", c.lang, 1);
        EXPECT_EQ(LocalCodePage(), c.expected) << (c.lcAll ? c.lcAll : "-") << " / " << (c.lang ? c.lang : "-");
    }
}

TEST_F(CodePageTest, OverrideWinsUntilCleared)
{
    ClearLocale();
    setenv("LANG", "zh_CN.UTF-8", 1);
    SetLocalCodePage("CP936");
    EXPECT_EQ(LocalCodePage(), "CP936");
    SetLocalCodePage("");
    EXPECT_EQ(LocalCodePage(), "UTF-8");
}

TEST_F(CodePageTest, ConvertsBothWays)
{
    struct Case {
        const char* codePage;
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"CP936", "\xD6\xD0\xCE\xC4 ab", u"\u4E2D\u6587 ab"},
        {"GBK", "\xD6\xD0", u"\u4E2D"},
        {"CP950", "\xA4\xA4", u"\u4E2D"},
        {"CP1252", "\x80 caf\xE9", u"\u20AC caf\u00E9"},
        {"UTF-8", "\xE4\xB8\xAD\xF0\x9F\x98\x80", u"\u4E2D\U0001F600"},
        {"CP1252", "", u""},
    };
    for (const Case& c : cases) {
        SetLocalCodePage(c.codePage);
        std::u16string text;
        EXPECT_TRUE(LocalToUtf16(c.bytes, text)) << c.codePage;
        EXPECT_EQ(text, c.text) << c.codePage;
        std::string bytes;
        EXPECT_TRUE(Utf16ToLocal(c.text, bytes)) << c.codePage;
        EXPECT_EQ(bytes, c.bytes) << c.codePage;
    }
}

TEST_F(CodePageTest, InvalidBytesBecomeReplacementCharacters)
{
    struct Case {
        const char* codePage;
        std::string bytes;
        std::u16string text;
        bool clean;
    } cases[] = {
        {"CP936", "a\xD6", u"a\uFFFD", false}, // lead byte cut off at the end
        {"CP936", "\xD6\xD0\xFF", u"\u4E2D\uFFFD", false},
        {"UTF-8", "a\xFF" "b", u"a\uFFFD" "b", false},
        {"UTF-8", std::string("x\0y", 3), std::u16string(u"x\0y", 3), true}, // embedded zero kept
    };
    for (const Case& c : cases) {
        SetLocalCodePage(c.codePage);
        std::u16string text;
        EXPECT_EQ(LocalToUtf16(c.bytes, text), c.clean) << c.codePage;
        EXPECT_EQ(text, c.text) << c.codePage;
    }
}

TEST_F(CodePageTest, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    std::string bytes;
    SetLocalCodePage("CP1252");
    EXPECT_FALSE(Utf16ToLocal(u"a\u4E2Db", bytes));
    EXPECT_EQ(bytes, "a?b");

    // A character beyond the basic plane is one question mark, not two.
    SetLocalCodePage("CP936");
    EXPECT_FALSE(Utf16ToLocal(u"\u4E2D\U0001F600!", bytes));
    EXPECT_EQ(bytes, "\xD6\xD0?!");

    // So is an unpaired surrogate.
    SetLocalCodePage("UTF-8");
    EXPECT_FALSE(Utf16ToLocal(std::u16string(u"a") + char16_t(0xD800) + u"b", bytes));
    EXPECT_EQ(bytes, "a?b");
}

TEST_F(CodePageTest, UnknownCodePageFails)
{
    SetLocalCodePage("NO-SUCH-CODESET");
    std::u16string text = u"stale";
    std::string bytes = "stale";
    EXPECT_FALSE(LocalToUtf16("abc", text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(Utf16ToLocal(u"abc", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(Utf8Test, ValidTextRoundTrips)
{
    std::string utf8 = "ascii \xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80";
    std::u16string text = u"ascii \u00E9 \u4E2D \U0001F600";
    EXPECT_EQ(Utf8ToUtf16(utf8), text);
    EXPECT_EQ(Utf16ToUtf8(text), utf8);
}

TEST(Utf8Test, InvalidInputIsReplaced)
{
    struct Case {
        std::string utf8;
        std::u16string text;
    } cases[] = {
        {"a\xFF" "b", u"a\uFFFD" "b"},
        {"a\xE4\xB8", u"a\uFFFD"},             // cut off at the end
        {"\xE4\xB8" "z", u"\uFFFD" "z"},       // cut off by an ASCII byte, which is kept
        {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong lead bytes are never valid
        {"\xE0\x80\xAF", u"\uFFFD"},           // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},       // beyond U+10FFFF
        {"\x80", u"\uFFFD"},                   // lone continuation byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.text) << ::testing::PrintToString(c.utf8);

    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"a") + char16_t(0xDC00) + char16_t(0xD800)), "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(CodePageTest, ConversionsRunInParallel)
{
    SetLocalCodePage("CP936");
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&failures, t] {
            for (int i = 0; i < 500; ++i) {
                std::u16string text;
                std::string bytes;
                if (!LocalToUtf16("\xD6\xD0", text) || text != u"\u4E2D" || !Utf16ToLocal(text, bytes)
                    || bytes != "\xD6\xD0")
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

} // namespace
