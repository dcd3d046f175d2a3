#include <gtest/gtest.h>

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPicture.h"
#include "ui/framework/CPainter.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

class CTabPanel : public CTDialog {
public:
    CTabPanel() : CTDialog(9400, nullptr)
    {
        Bind(1005, tab);
        fillBackground = true;
        fillColor = Rgb(0, 0, 0);
    }
    void OnCommand(int id) override { commands.push_back(id); }
    CTButtonPicture tab;
    std::vector<int> commands;
};

constexpr Colour red = Rgb(255, 0, 0), green = Rgb(0, 255, 0), blue = Rgb(0, 0, 255), grey = Rgb(128, 128, 128);

class ButtonPictureTest : public UiFixture {
protected:
    ButtonPictureTest()
    {
        // The tab is 135 x 37 pixels.
        WriteTemplate(9400, "[Dialog]\nSize=120,60\nStyle=popup\n"
                            "[Control1]\nId=1005\nClass=Button\nRect=1,22,90,23\n");
        panel.Create();
        panel.Move({0, 0, 180, 100});
        panel.Show(true);
        driver->RunFor(0ms);
    }

    std::string Bitmap(const std::string& name, int width, int height, Colour colour)
    {
        CSurface surface(width, height, colour);
        surface.SavePng(temp.File(name));
        return temp.File(name);
    }

    void SetFourBitmaps(int width, int height)
    {
        panel.tab.SetBitmaps(Bitmap("n.png", width, height, red), Bitmap("h.png", width, height, green),
                             Bitmap("p.png", width, height, blue), Bitmap("d.png", width, height, grey));
    }

    Colour Look(int x = 5, int y = 5) { return driver->Grab(panel.tab).PixelColour(x, y); }

    CTabPanel panel;
};

TEST_F(ButtonPictureTest, LargerBitmapsShrinkToTheButtonSmallerOnesSitTopLeftOverTheUnderlay)
{
    SetFourBitmaps(300, 100);
    EXPECT_EQ(Look(134, 36), red);
    SetFourBitmaps(20, 10);
    EXPECT_EQ(Look(5, 5), red);
    EXPECT_EQ(Look(60, 30), Rgb(0, 0, 0)); // the captured underlay
}

TEST_F(ButtonPictureTest, HoverPollsEveryTenMillisecondsAndLeavingRestoresTheNormalLook)
{
    SetFourBitmaps(135, 37);
    driver->MoveMouse(panel.tab, {10, 10});
    EXPECT_TRUE(panel.tab.mouseInside);
    EXPECT_EQ(Look(), green);
    EXPECT_TRUE(ui->HasTimer(&panel.tab, CTButtonPicture::hoverTimer));
    driver->MoveMouseAway(panel);
    EXPECT_TRUE(panel.tab.mouseInside);
    driver->RunFor(10ms);
    EXPECT_FALSE(panel.tab.mouseInside);
    EXPECT_FALSE(ui->HasTimer(&panel.tab, CTButtonPicture::hoverTimer));
    EXPECT_EQ(Look(), red);
}

TEST_F(ButtonPictureTest, PressedWithFocusShowsThePressedBitmapAndClickIsACommand)
{
    SetFourBitmaps(135, 37);
    driver->MoveMouse(panel.tab, {10, 10});
    driver->Press(panel.tab, {10, 10});
    EXPECT_TRUE(panel.tab.HasFocus());
    EXPECT_EQ(panel.tab.drawState, 2);
    EXPECT_EQ(Look(), blue);
    driver->Release(panel.tab, {10, 10});
    EXPECT_EQ(panel.commands, std::vector<int>{1005});
}

TEST_F(ButtonPictureTest, DisabledShowsItsBitmapAndStartsNoHoverTracking)
{
    SetFourBitmaps(135, 37);
    panel.tab.Enable(false);
    driver->RunFor(0ms);
    EXPECT_EQ(Look(), grey);
    EXPECT_FALSE(panel.tab.enabled);
    driver->MoveMouse(panel.tab, {10, 10});
    EXPECT_FALSE(panel.tab.mouseInside);
    EXPECT_FALSE(ui->HasTimer(&panel.tab, CTButtonPicture::hoverTimer));
    EXPECT_EQ(Look(), grey);
}

TEST_F(ButtonPictureTest, SelectedKeepsThePressedBitmapAndBoldTextWhateverTheMouseDoes)
{
    SetFourBitmaps(135, 37);
    panel.tab.SetText(u"Station Mode");
    panel.tab.hotColor = Rgb(255, 255, 255);
    panel.tab.selected = true;
    panel.tab.Invalidate();
    EXPECT_EQ(Look(), blue);
    driver->MoveMouse(panel.tab, {10, 10});
    EXPECT_EQ(Look(), blue);
    driver->MoveMouseAway(panel);
    driver->RunFor(10ms);
    CSurface shown = driver->Grab(panel.tab);
    EXPECT_EQ(shown.PixelColour(5, 5), blue);
    EXPECT_GT(shown.CountColour({0, 0, 135, 37}, Rgb(255, 255, 255)), 20);
}

TEST_F(ButtonPictureTest, TextPlacementCodesWithTheMargin)
{
    SetFourBitmaps(135, 37);
    panel.tab.SetText(u"Mode");
    panel.tab.textMargin = 40;
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(CFont(16, 0, u"Arial"));
    const int tw = measure.TextWidth(u"Mode"), th = measure.LineHeight();
    const int W = 135, H = 37;
    struct Case { int code; CPoint at; };
    for (Case c : {Case{0x100, {42, (H - th) / 2}}, {0x200, {W - 40 - tw - 2, (H - th) / 2}},
                   {0x300, {(W - tw) / 2, (H - th) / 2}}, {0x700, {(W - tw) / 2, 0}}, {0x800, {0, H - th}},
                   {0xB00, {(W - tw) / 2, H - th}}, {0x400, {0, 0}}}) {
        panel.tab.textAlign = c.code;
        panel.tab.Invalidate();
        driver->RunFor(0ms);
        EXPECT_EQ(panel.tab.textPos, c.at) << std::hex << c.code;
    }
}

} // namespace
