#include <gtest/gtest.h>

#include "shell/CLanguageCatalog.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>

namespace {

class CLanguageCatalogTest : public ::testing::Test {
protected:
    std::string ExeDir() const { return dir.Path() + "/"; }

    void WriteLanguageFile(const std::string& name, const std::string& text)
    {
        std::filesystem::create_directories(dir.File("Languages"));
        std::ofstream(dir.File("Languages/" + name), std::ios::binary) << text;
    }

    // An index for 2052 and 1031, and a Chinese file with the cases under test.
    void WriteLanguages()
    {
        WriteLanguageFile("Language.ini", "[LCID]\n1033=English\n2052=Chinese\n1031=\n1036=  French  \n");
        WriteLanguageFile("Chinese.lng",
                          "\xEF\xBB\xBF[ProgramOutStr]\n"
                          "CONNECT=\xE8\xBF\x9E\xE6\x8E\xA5\n"                // 连接, key in capitals
                          "two lines=first\\nsecond\n"
                          "windows lines=first\\r\\nsecond\n"
                          "hidden=[~NullInfoPexwo~]\n"
                          "blank=[~Null~]\n"
                          "mixed=a[~Null~]b[~NullInfoPexwo~]c\\n\n"
                          "empty=\n"
                          "same=same\n"
                          "long=" + std::string(1500, 'x') + "\n");
    }

    CLanguageCatalog Loaded(uint32_t systemLocaleId)
    {
        CLanguageCatalog catalog;
        catalog.Load(ExeDir(), systemLocaleId);
        return catalog;
    }

    CTempDir dir;
};

TEST_F(CLanguageCatalogTest, SystemLocaleWithAnIndexEntryChoosesItsFile)
{
    WriteLanguages();
    CLanguageCatalog catalog = Loaded(2052);
    EXPECT_EQ(catalog.languageName, "Chinese");
    EXPECT_EQ(catalog.lcid, CLanguageCatalog::chineseLcid);
    EXPECT_EQ(catalog.baseDir, ExeDir());
    EXPECT_EQ(catalog.languageFile, ExeDir() + "Languages/Chinese.lng");
    EXPECT_EQ(catalog.Text(u"Connect"), u"\u8FDE\u63A5");
}

TEST_F(CLanguageCatalogTest, FallsBackToEnglish)
{
    WriteLanguages();
    struct Case { uint32_t locale; const char* why; };
    for (Case c : {Case{1041, "no entry"}, Case{1031, "empty entry"}, Case{0x00020804, "whole id is the key"}}) {
        CLanguageCatalog catalog = Loaded(c.locale);
        EXPECT_EQ(catalog.languageName, "English") << c.why;
        EXPECT_EQ(catalog.lcid, 1033u) << c.why;
        EXPECT_EQ(catalog.languageFile, ExeDir() + "Languages/English.lng") << c.why;
        EXPECT_EQ(catalog.Text(u"Connect"), u"Connect") << c.why; // no English file: the source text
    }

    CTempDir empty; // no index file at all
    CLanguageCatalog catalog;
    catalog.Load(empty.Path() + "/", 2052);
    EXPECT_EQ(catalog.languageName, "English");
    EXPECT_EQ(catalog.lcid, 1033u);
}

TEST_F(CLanguageCatalogTest, IndexValuesAreTrimmedNames)
{
    WriteLanguages();
    CLanguageCatalog catalog = Loaded(1036);
    EXPECT_EQ(catalog.languageName, "French");
    EXPECT_EQ(catalog.lcid, 1036u);
    EXPECT_EQ(catalog.Text(u"Connect"), u"Connect"); // the named file does not exist
}

TEST_F(CLanguageCatalogTest, SetLanguage)
{
    WriteLanguages();
    CLanguageCatalog catalog = Loaded(1033);
    catalog.SetLanguage("Chinese");
    EXPECT_EQ(catalog.Text(u"connect"), u"\u8FDE\u63A5");
    catalog.SetLanguage("");
    EXPECT_EQ(catalog.languageName, "English");
    EXPECT_EQ(catalog.languageFile, ExeDir() + "Languages/English.lng");
    EXPECT_EQ(catalog.Text(u"Connect"), u"Connect");
}

TEST_F(CLanguageCatalogTest, TextLookupAndMarkers)
{
    WriteLanguages();
    CLanguageCatalog catalog = Loaded(2052);
    struct Case { std::u16string source, expected; };
    for (const Case& c : std::vector<Case>{
             {u"cOnNeCt", u"\u8FDE\u63A5"},              // keys ignore case
             {u"two lines", u"first\nsecond"},
             {u"windows lines", u"first\r\nsecond"},
             {u"hidden", u""},
             {u"blank", u" "},
             {u"mixed", u"a bc\n"},
             {u"empty", u"empty"},                        // an empty translation is none
             {u"Not In The File", u"Not In The File"},    // the source keeps its case
             {u"", u""},
             {u"a=b", u"a=b"},                            // such texts cannot be keys
             {u"[Connect]", u"[Connect]"},
             {u"escaped\\nsource", u"escaped\nsource"},   // fall-backs are resolved too
         })
        EXPECT_EQ(catalog.Text(c.source), c.expected) << std::string(c.source.begin(), c.source.end());
    EXPECT_EQ(catalog.Text(u"long"), std::u16string(1022, u'x'));
}

TEST_F(CLanguageCatalogTest, WindowAndMenuTextRules)
{
    WriteLanguages();
    CLanguageCatalog catalog = Loaded(2052);
    std::u16string out;

    EXPECT_TRUE(catalog.TitleTranslation(u"Connect", out));
    EXPECT_EQ(out, u"\u8FDE\u63A5");
    EXPECT_FALSE(catalog.TitleTranslation(u"same", out));   // no change, nothing to set
    EXPECT_FALSE(catalog.TitleTranslation(u"hidden", out)); // empty translations stay English
    EXPECT_FALSE(catalog.TitleTranslation(u"", out));

    EXPECT_TRUE(catalog.ControlTranslation(u"Connect", out));
    EXPECT_EQ(out, u"\u8FDE\u63A5");
    EXPECT_TRUE(catalog.ControlTranslation(u"same", out)); // controls are set even when unchanged
    EXPECT_TRUE(catalog.ControlTranslation(u"blank", out));
    EXPECT_EQ(out, u" ");                                  // one blank blanks the control
    EXPECT_FALSE(catalog.ControlTranslation(u"hidden", out));
    EXPECT_FALSE(catalog.ControlTranslation(u"...", out));
    EXPECT_FALSE(catalog.ControlTranslation(u"", out));
}

TEST_F(CLanguageCatalogTest, UserDataClassesAreKnownByExactName)
{
    for (const char* name : {"Edit", "ListBox", "SysDateTimePick32", "SysListView32", "msctls_progress32",
                             "msctls_updown32", "SysIPAddress32", "SysTreeView32"})
        EXPECT_TRUE(CLanguageCatalog::KeepsUserText(name)) << name;
    for (const char* name : {"edit", "EDIT", "ComboBox", "Static", "Button", ""})
        EXPECT_FALSE(CLanguageCatalog::KeepsUserText(name)) << name;
}

TEST_F(CLanguageCatalogTest, AWindowIsTranslatedOncePerHandle)
{
    CLanguageCatalog catalog;
    EXPECT_TRUE(catalog.MarkTranslated(7));
    EXPECT_TRUE(catalog.MarkTranslated(8));
    EXPECT_FALSE(catalog.MarkTranslated(7));
    EXPECT_FALSE(catalog.MarkTranslated(8));
}

TEST_F(CLanguageCatalogTest, Utf16LanguageFile)
{
    WriteLanguageFile("Language.ini", "[LCID]\n2052=Chinese\n");
    std::u16string text = u"[ProgramOutStr]\r\nOK=\u786E\u5B9A\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text)
        bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    WriteLanguageFile("Chinese.lng", bytes);
    EXPECT_EQ(Loaded(2052).Text(u"OK"), u"\u786E\u5B9A");
}

} // namespace
