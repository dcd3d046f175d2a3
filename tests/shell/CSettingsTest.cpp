#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "shell/CSettings.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

class CSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { SetLocalCodePage(""); }

    std::string ExeDir() const { return dir.Path() + "/"; }

    void WriteSettings(const std::string& text)
    {
        std::filesystem::create_directories(dir.File("Setting"));
        std::ofstream(dir.File("Setting/Setting.ini"), std::ios::binary) << text;
    }

    CSettings Load(uint32_t languageId = 1033)
    {
        CSettings settings;
        settings.LoadSettings(ExeDir(), languageId);
        return settings;
    }

    static void ExpectBuiltInLook(const CSettings& s)
    {
        EXPECT_STREQ(s.apDefaultSsid, "Kavlo_");
        EXPECT_EQ(s.filletRadian, 10);
        EXPECT_EQ(s.fontName, u"Microsoft YaHei");
        EXPECT_EQ(s.btnFontWeight, 0);
        EXPECT_EQ(s.btnFontHeight, 19);
        EXPECT_EQ(s.staticFontWeight, 0);
        EXPECT_EQ(s.staticFontHeight, 18);
        EXPECT_EQ(s.whiteBackColor, Rgb(255, 255, 255));
        EXPECT_EQ(s.gridBackColor, Rgb(255, 255, 255));
        EXPECT_EQ(s.gridLineColor, Rgb(228, 228, 228));
        EXPECT_EQ(s.gridMoveColor, Rgb(242, 242, 242));
        EXPECT_EQ(s.textBlackColor, Rgb(0, 0, 0));
        EXPECT_EQ(s.textGrayColor, Rgb(102, 102, 102));
        EXPECT_EQ(s.textGreenColor, Rgb(0, 128, 0));
        EXPECT_EQ(s.textRedColor, Rgb(255, 0, 0));
        EXPECT_EQ(s.textOrangeColor, Rgb(253, 79, 0));
        EXPECT_EQ(s.textWhiteColor, Rgb(255, 255, 255));
        EXPECT_EQ(s.listFont.height, 18);
        EXPECT_EQ(s.listFont.weight, 0);
        EXPECT_EQ(s.listFont.faceName, u"Microsoft YaHei");
        EXPECT_EQ(s.gridRowHeight, 31);
    }

    CTempDir dir;
};

TEST_F(CSettingsTest, NoFileGivesTheBuiltInLook)
{
    ExpectBuiltInLook(Load());
    ExpectBuiltInLook(Load(0x0804));
}

TEST_F(CSettingsTest, ShippedFileWritesOutTheBuiltInLook)
{
    std::filesystem::path shipped =
        std::filesystem::path(ZARNWELL_SOURCE_DIR) / "resources/Setting/Setting.ini";
    std::filesystem::create_directories(dir.File("Setting"));
    std::filesystem::copy_file(shipped, dir.File("Setting/Setting.ini"));
    ExpectBuiltInLook(Load());
    ExpectBuiltInLook(Load(0x0804));
}

TEST_F(CSettingsTest, Colours)
{
    struct Case { const char* value; uint32_t expected; };
    for (const Case& c : {Case{"10,20", Rgb(0, 0, 0)},         // two fields: left black
                          Case{"1,2,3,4", Rgb(0, 0, 0)},
                          Case{"", Rgb(0, 0, 0)},
                          Case{"300,0,0", Rgb(44, 0, 0)},      // low 8 bits
                          Case{"255,,0", Rgb(255, 0, 0)},      // an empty field is 0
                          Case{"1, 2 ,3x", Rgb(1, 2, 3)},
                          Case{"-1,abc,16", Rgb(255, 0, 16)}}) {
        WriteSettings(std::string("[Color]\ngrid_line_color=") + c.value + "\n");
        EXPECT_EQ(Load().gridLineColor, c.expected) << c.value;
    }
}

TEST_F(CSettingsTest, CornerRadius)
{
    struct Case { const char* line; int expected; };
    for (const Case& c : {Case{"fillet_radian=", 0}, Case{"fillet_radian=12px", 12}, Case{"FILLET_RADIAN = -3", -3},
                          Case{"fillet_radian=round", 0}, Case{"other=1", 10}}) {
        WriteSettings(std::string("[Setting]\n") + c.line + "\n");
        EXPECT_EQ(Load().filletRadian, c.expected) << c.line;
    }
}

TEST_F(CSettingsTest, FontSetFollowsTheLanguage)
{
    WriteSettings("[Font]\n"
                  "font_name_chinese=Noto Sans CJK SC\nbtn_font_weight_chinese=700\nbtn_font_height_chinese=21\n"
                  "static_font_weight_chinese=400\nstatic_font_height_chinese=17\n"
                  "font_name_other=DejaVu Sans\nbtn_font_weight_other=600\nbtn_font_height_other=20\n"
                  "static_font_weight_other=300\nstatic_font_height_other=16\n");
    CSettings chinese = Load(0x0804);
    EXPECT_EQ(chinese.fontName, u"Noto Sans CJK SC");
    EXPECT_EQ(chinese.btnFontWeight, 700);
    EXPECT_EQ(chinese.btnFontHeight, 21);
    EXPECT_EQ(chinese.staticFontWeight, 400);
    EXPECT_EQ(chinese.staticFontHeight, 17);
    EXPECT_EQ(chinese.listFont.height, 17);
    EXPECT_EQ(chinese.listFont.weight, 400);

    for (uint32_t other : {1033u, 1028u, 0u}) {
        CSettings s = Load(other);
        EXPECT_EQ(s.fontName, u"DejaVu Sans") << other;
        EXPECT_EQ(s.btnFontWeight, 600);
        EXPECT_EQ(s.btnFontHeight, 20);
        EXPECT_EQ(s.staticFontWeight, 300);
        EXPECT_EQ(s.staticFontHeight, 16);
        EXPECT_EQ(s.listFont.faceName, u"DejaVu Sans");
    }
}

TEST_F(CSettingsTest, LongValuesAreCut)
{
    std::string face(70, 'F');
    WriteSettings("[Setting]\nAPDefaultSSID=" + std::string(40, 'S') + "\n[Font]\nfont_name_other=" + face + "\n");
    CSettings s = Load();
    EXPECT_EQ(std::string(s.apDefaultSsid), std::string(32, 'S'));
    EXPECT_EQ(s.fontName, std::u16string(63, u'F'));
    EXPECT_EQ(s.listFont.faceName, std::u16string(31, u'F'));
}

TEST_F(CSettingsTest, SsidPrefixInTheLocalCodePageKeepsWholeCharacters)
{
    SetLocalCodePage("CP936");
    // 31 ASCII bytes, then a character of two bytes that would cross the 32-byte cap.
    WriteSettings("[Setting]\nAPDefaultSSID=" + std::string(31, 'a') + "\xCD\xF8\n");
    EXPECT_EQ(std::string(Load().apDefaultSsid), std::string(31, 'a'));

    WriteSettings("[Setting]\nAPDefaultSSID=\xCD\xF8\xC2\xE7_\n"); // 网络_
    EXPECT_STREQ(Load().apDefaultSsid, "\xCD\xF8\xC2\xE7_");
}

TEST_F(CSettingsTest, EmptySsidPrefix)
{
    WriteSettings("[Setting]\nAPDefaultSSID=\n");
    EXPECT_STREQ(Load().apDefaultSsid, "");
}

} // namespace
