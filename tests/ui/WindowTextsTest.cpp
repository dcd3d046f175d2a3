#include <gtest/gtest.h>

#include <fstream>

#include "shell/CLanguageCatalog.h"
#include "shell/CSettings.h"
#include "shell/CSkinPaths.h"
#include "ui/CTDialog.h"
#include "ui/WindowTexts.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CMenu.h"
#include "tests/ui/UiFixture.h"

namespace {

class CTextPanel : public CTDialog {
public:
    CTextPanel() : CTDialog(9500, nullptr) { Bind(1037, title); }
    bool OnInitDialog() override
    {
        CWindow* combo = Control(1096);
        combo->InsertItem(0, u"Open", 0);
        combo->InsertItem(1, u"Share", 1);
        combo->SetCurrentSelection(1);
        return true;
    }
};

class WindowTextsTest : public UiFixture {
protected:
    WindowTextsTest()
    {
        WriteTemplate(9500, "[Dialog]\nSize=100,100\nCaption=About Application\n"
                            "[Control1]\nId=1037\nClass=Static\nRect=0,0,50,9\nText=Kavlo Network Adapter\n"
                            "[Control2]\nId=1023\nClass=Edit\nRect=0,10,50,9\nText=Connect\n"
                            "[Control3]\nId=1096\nClass=ComboBox\nRect=0,20,50,40\n"
                            "[Control4]\nId=1050\nClass=Static\nRect=0,60,50,9\nText=...\n"
                            "[Control5]\nId=1051\nClass=Button\nRect=0,70,50,9\nText=Cancel\n"
                            "[Control6]\nId=1052\nClass=Static\nRect=0,80,50,9\nText=Blank\n");
        std::filesystem::create_directories(temp.Path() + "/app/Languages");
        std::ofstream(temp.Path() + "/app/Languages/Language.ini") << "[LCID]\n2052=Test\n";
        std::ofstream(temp.Path() + "/app/Languages/Test.lng")
            << "[ProgramOutStr]\nAbout Application=ABOUT\nkavlo network adapter=TITLE\nConnect=CONNECT\n"
               "Open=OPEN\nShare=SHARE\nCancel=CANCEL\n...=DOTS\nBlank=[~Null~]\n";
        language.Load(temp.Path() + "/app/", 2052);
    }
    CLanguageCatalog language;
};

TEST_F(WindowTextsTest, TitleControlsAndComboItemsAreTranslatedButUserTextsStay)
{
    CTextPanel panel;
    ASSERT_TRUE(panel.Create());
    TranslateWindow(panel, language);
    EXPECT_EQ(panel.Text(), u"ABOUT");
    EXPECT_EQ(panel.title.Text(), u"TITLE");
    EXPECT_EQ(panel.title.text, u"TITLE");
    EXPECT_EQ(panel.Control(1023)->Text(), u"Connect");
    CWindow& combo = *panel.Control(1096);
    ASSERT_EQ(combo.ItemCount(), 2);
    EXPECT_EQ(combo.Item(0), u"OPEN");
    EXPECT_EQ(combo.Item(1), u"SHARE");
    EXPECT_EQ(combo.ItemData(1), 1);
    EXPECT_EQ(combo.CurrentSelection(), 1);
    EXPECT_EQ(panel.Control(1050)->Text(), u"...");
    EXPECT_EQ(panel.Control(1051)->Text(), u"CANCEL");
    EXPECT_EQ(panel.Control(1052)->Text(), u" ");

    // Once per window: texts set afterwards are left alone.
    panel.Control(1051)->SetText(u"Cancel");
    TranslateWindow(panel, language);
    EXPECT_EQ(panel.Control(1051)->Text(), u"Cancel");
}

TEST_F(WindowTextsTest, AWindowMadeAgainIsTranslatedAgainEvenAtTheSameAddress)
{
    // Panels on the stack of one frame: each lands where the last one was.
    for (int round = 0; round < 3; ++round) {
        CTextPanel panel;
        ASSERT_TRUE(panel.Create());
        TranslateWindow(panel, language);
        EXPECT_EQ(panel.Text(), u"ABOUT") << round;
        EXPECT_EQ(panel.title.Text(), u"TITLE") << round;
        EXPECT_EQ(panel.Control(1051)->Text(), u"CANCEL") << round;
    }
    // The same object's window destroyed and made again is a new window too.
    CTextPanel panel;
    panel.Create();
    const uint64_t first = panel.Handle();
    panel.DestroyWindow();
    EXPECT_EQ(panel.Handle(), 0u);
    panel.Create();
    EXPECT_NE(panel.Handle(), first);
    TranslateWindow(panel, language);
    EXPECT_EQ(panel.Control(1051)->Text(), u"CANCEL");
}

TEST_F(WindowTextsTest, MenuEntriesAreTranslatedKeepingIdsAndSeparators)
{
    CMenu menu;
    menu.items.push_back({32773, u"Connect", "", nullptr});
    menu.items.push_back({0, u"", "", nullptr});
    auto sub = std::make_unique<CMenu>();
    sub->items.push_back({32772, u"Cancel", "", nullptr});
    menu.items.push_back({0, u"More", "", std::move(sub)});
    TranslateMenu(menu, language);
    EXPECT_EQ(menu.items[0].text, u"CONNECT");
    EXPECT_EQ(menu.items[0].id, 32773);
    EXPECT_EQ(menu.items[1].text, u"");
    EXPECT_EQ(menu.items[2].submenu->items[0].text, u"CANCEL");
}

TEST_F(WindowTextsTest, TextStyleSetsTheStaticFontAllColoursAndLeftMiddle)
{
    CSettings settings;
    settings.LoadSettings(temp.Path() + "/none/", 1033);
    CTextPanel panel;
    panel.Create();
    ApplyTextStyle(panel.title, settings.textOrangeColor, settings);
    EXPECT_EQ(panel.title.fontHeight, 18);
    EXPECT_EQ(panel.title.fontWeight, 0);
    EXPECT_EQ(panel.title.fontFace, u"Microsoft YaHei");
    EXPECT_EQ(panel.title.normalColor, Rgb(253, 79, 0));
    EXPECT_EQ(panel.title.hoverColor, Rgb(253, 79, 0));
    EXPECT_EQ(panel.title.pressedColor, Rgb(253, 79, 0));
    EXPECT_EQ(panel.title.alignment, 5);

    CSkinPaths skin;
    skin.BuildSkinPaths("/x/", 1033, 6);
    SetCloseButtonImages(panel.title, skin);
    EXPECT_EQ(panel.title.normalImage, "/x/Skin/btn_close_normal.png");
    EXPECT_EQ(panel.title.hoverImage, "/x/Skin/btn_close_move.png");
    EXPECT_EQ(panel.title.pressedImage, "/x/Skin/btn_close_move.png");
}

} // namespace
