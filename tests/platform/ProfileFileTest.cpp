#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <random>

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void TearDown() override { SetLocalCodePage(""); }

    std::string Write(const std::string& bytes)
    {
        std::string path = dir.File("test.ini");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    CProfileFile OpenBytes(const std::string& bytes)
    {
        CProfileFile file;
        EXPECT_TRUE(file.Open(Write(bytes)));
        return file;
    }

    static std::string Utf16Bytes(std::u16string_view text, bool bigEndian)
    {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t c : text) {
            char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    }

    CTempDir dir;
};

TEST_F(ProfileFileTest, LookupRules)
{
    CProfileFile file = OpenBytes(
        "; comment=not a key\r\n"
        "  [ Setting ]  trailing text\r\n"
        "APDefaultSSID = Kavlo_ \r\n"
        "Empty=\r\n"
        "formula = a=b=c\n"
        "quoted=\"  spaced  \"\n"
        "half=\"open\n"
        "no equals sign here\n"
        "apdefaultssid=second occurrence\n"
        "\t tabbed\t=\tvalue\t\n"
        "[Other]\r"
        "key=other\r"
        "[setting]\n"
        "late=in a repeated section\n");

    struct Case { std::u16string section, key, expected; };
    for (const Case& c : std::vector<Case>{
             {u"Setting", u"APDefaultSSID", u"Kavlo_"},
             {u"SETTING", u"apdefaultSSID", u"Kavlo_"},   // first occurrence wins, case ignored
             {u"Setting", u"Empty", u""},                 // present but empty is not the default
             {u"Setting", u"Missing", u"default"},
             {u"Nowhere", u"APDefaultSSID", u"default"},
             {u"Setting", u"formula", u"a=b=c"},          // the first equals sign separates
             {u"Setting", u"quoted", u"  spaced  "},
             {u"Setting", u"half", u"\"open"},
             {u"Setting", u"no equals sign here", u"default"},
             {u"Setting", u"; comment", u"default"},
             {u"Setting", u"tabbed", u"value"},
             {u"Other", u"key", u"other"},               // bare carriage returns end lines too
             {u"Setting", u"late", u"in a repeated section"},
         })
        EXPECT_EQ(file.GetString(c.section, c.key, u"default", 64), c.expected)
            << std::string(c.key.begin(), c.key.end());
}

TEST_F(ProfileFileTest, ValuesAreCutToTheBuffer)
{
    CProfileFile file = OpenBytes("[s]\nk=0123456789\n");
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 5), u"0123");
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 11), u"0123456789");
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 0), u"");
    EXPECT_EQ(file.GetString(u"s", u"missing", u"defaults too", 9), u"defaults");
}

TEST_F(ProfileFileTest, MissingFileGivesDefaults)
{
    CProfileFile file;
    EXPECT_FALSE(file.Open(dir.File("absent.ini")));
    EXPECT_EQ(file.GetString(u"s", u"k", u"fallback", 64), u"fallback");
    EXPECT_EQ(file.GetInt(u"s", u"k", 7), 7);
    EXPECT_TRUE(file.Sections().empty());
}

TEST_F(ProfileFileTest, ReopeningForgetsThePreviousFile)
{
    CProfileFile file = OpenBytes("[s]\nk=1\n");
    EXPECT_FALSE(file.Open(dir.File("absent.ini")));
    EXPECT_EQ(file.GetString(u"s", u"k", u"gone", 64), u"gone");
}

TEST_F(ProfileFileTest, GetIntFollowsTheProfileRule)
{
    CProfileFile file = OpenBytes("[n]\nplain=12\nunit=12px\nneg=-5\nplus=+7\nwords=abc\nempty=\n"
                                  "wrap=4294967297\nspaced= 42 \n");
    struct Case { std::u16string key; int expected; };
    for (const Case& c : std::vector<Case>{{u"plain", 12}, {u"unit", 12}, {u"neg", -5}, {u"plus", 7},
                                           {u"words", 0}, {u"empty", 99}, {u"missing", 99},
                                           {u"wrap", 1}, {u"spaced", 42}})
        EXPECT_EQ(file.GetInt(u"n", c.key, 99), c.expected) << std::string(c.key.begin(), c.key.end());
}

TEST_F(ProfileFileTest, Utf16WithByteOrderMarkInBothOrders)
{
    const std::u16string text = u"[ProgramOutStr]\r\nconnect=\u8FDE\u63A5\r\n";
    for (bool bigEndian : {false, true}) {
        CProfileFile file = OpenBytes(Utf16Bytes(text, bigEndian));
        EXPECT_EQ(file.GetString(u"programoutstr", u"Connect", u"", 1023), u"\u8FDE\u63A5") << bigEndian;
    }
}

TEST_F(ProfileFileTest, Utf16WithAnOddLastByteKeepsTheRest)
{
    CProfileFile file = OpenBytes(Utf16Bytes(u"[s]\nk=v\n", false) + "\x41");
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 64), u"v");
}

TEST_F(ProfileFileTest, Utf8WithByteOrderMark)
{
    CProfileFile file = OpenBytes("\xEF\xBB\xBF[s]\nk=\xE8\xBF\x9E\xE6\x8E\xA5\n");
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 64), u"\u8FDE\u63A5");
}

TEST_F(ProfileFileTest, LocalCodePageFiles)
{
    SetLocalCodePage("CP936");
    CProfileFile file = OpenBytes("[s]\nk=\xC1\xAC\xBD\xD3\n"); // GBK for 连接
    EXPECT_EQ(file.GetString(u"s", u"k", u"", 64), u"\u8FDE\u63A5");
    EXPECT_EQ(file.GetLocalString(u"s", u"k", u"", 64), "\xC1\xAC\xBD\xD3");
}

TEST_F(ProfileFileTest, SectionsAndKeysInFileOrderEachOnce)
{
    CProfileFile file = OpenBytes("[B]\nz=1\na=2\n[a]\nk=1\n[b]\nZ=3\nm=4\n");
    EXPECT_EQ(file.Sections(), (std::vector<std::u16string>{u"B", u"a"}));
    EXPECT_EQ(file.Keys(u"b"), (std::vector<std::u16string>{u"z", u"a", u"m"}));
    EXPECT_TRUE(file.Keys(u"none").empty());
}

TEST_F(ProfileFileTest, HugeFilesAreReadOnlyUpToTheBound)
{
    std::string bytes = "[s]\nfirst=1\n";
    std::string filler = "filler=" + std::string(90, 'x') + "\n";
    while (bytes.size() + filler.size() < CProfileFile::maxFileBytes - 200)
        bytes += filler;
    bytes += "pad=" + std::string(CProfileFile::maxFileBytes - 20 - bytes.size() - 5, 'x') + "\n";
    bytes += "cut=0123456789012345678901234567890123456789\n"; // crosses the bound
    bytes += "beyond=1\n";
    while (bytes.size() < 2 * CProfileFile::maxFileBytes)
        bytes += filler;

    CProfileFile file = OpenBytes(bytes);
    EXPECT_EQ(file.GetInt(u"s", u"first", 0), 1);
    EXPECT_EQ(file.GetString(u"s", u"cut", u"dropped", 64), u"dropped");
    EXPECT_EQ(file.GetString(u"s", u"beyond", u"dropped", 64), u"dropped");
    EXPECT_EQ(file.Keys(u"s"), (std::vector<std::u16string>{u"first", u"filler", u"pad"}));
}

TEST_F(ProfileFileTest, AHugeFileWithoutLineBreaksGivesNothing)
{
    CProfileFile file = OpenBytes("[s]" + std::string(2 * CProfileFile::maxFileBytes, 'k'));
    EXPECT_TRUE(file.Sections().empty());
}

TEST_F(ProfileFileTest, OverlongLinesCountOnlyTheirStart)
{
    std::string longValue(CProfileFile::maxLineChars * 3, 'v');
    CProfileFile file = OpenBytes("[s]\nlong=" + longValue + "\nnext=ok\n");
    std::u16string value = file.GetString(u"s", u"long", u"", 100000);
    EXPECT_EQ(value.size(), CProfileFile::maxLineChars - 5); // the line's start holds "long="
    EXPECT_EQ(file.GetString(u"s", u"next", u"", 64), u"ok");
}

TEST_F(ProfileFileTest, BinaryFilesDoNotBreakTheReader)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096 + round * 977, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        if (round % 2)
            bytes.replace(0, 2, "\xFF\xFE");
        bytes += "\n[s]\nk=v\n"; // in a UTF-16 file this is just more garbage
        CProfileFile file = OpenBytes(bytes);
        if (round % 2 == 0) {
            EXPECT_EQ(file.GetString(u"s", u"k", u"", 64), u"v") << round;
        }
        file.Sections();
    }
}

} // namespace
