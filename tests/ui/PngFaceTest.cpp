#include <gtest/gtest.h>

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CPainter.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

constexpr Colour white = Rgb(255, 255, 255);

class CFacePanel : public CTDialog {
public:
    CFacePanel() : CTDialog(9200, nullptr)
    {
        Bind(1010, label);
        Bind(1011, button);
        fillBackground = true;
    }
    void OnCommand(int id) override { commands.push_back(id); }
    CTStaticPng label;
    CTButtonPng button;
    std::vector<int> commands;
};

// The bounding box of the pixels that differ from the background.
CRect Ink(const CSurface& s, Colour background)
{
    int left = s.Width(), top = s.Height(), right = -1, bottom = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.PixelColour(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? CRect{} : CRect{left, top, right - left + 1, bottom - top + 1};
}

bool Inside(const CRect& ink, const CRect& box)
{
    return ink.x >= box.x - 1 && ink.y >= box.y - 1 && ink.Right() <= box.Right() + 1 &&
           ink.Bottom() <= box.Bottom() + 1;
}

class PngFaceTest : public UiFixture {
protected:
    PngFaceTest()
    {
        // The label is 150 x 65 pixels, the button 45 x 20.
        WriteTemplate(9200, "[Dialog]\nSize=140,80\nStyle=popup\n"
                            "[Control1]\nId=1010\nClass=Static\nRect=10,10,100,40\n"
                            "[Control2]\nId=1011\nClass=Button\nRect=10,60,30,12\n");
        panel.Create();
        panel.Move({0, 0, 210, 130});
        panel.Show(true);
        driver->RunFor(0ms);
    }

    std::string SolidPng(const std::string& name, Colour colour)
    {
        CSurface surface(45, 20, colour);
        std::string path = temp.File(name);
        surface.SavePng(path);
        return path;
    }

    CFacePanel panel;
};

TEST_F(PngFaceTest, AlignmentCodesPlaceTheTextBlockAndItsLines)
{
    const CSize size = panel.label.ClientSize();
    const int W = size.width, H = size.height;
    CFont font(18, 0, u"Microsoft YaHei");
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(font);
    const int w = measure.TextWidth(u"Wide"), w2 = measure.TextWidth(u"ab"), h = measure.LineHeight();
    enum { L, R, C };
    struct Case { int code; int column; int firstY; };
    const int middle = (H - 2 * h) / 2, bottom = H - 2 * h;
    for (Case c : {Case{0, L, 0}, {1, R, 0}, {2, L, 0}, {3, L, bottom}, {4, C, middle}, {5, L, middle},
                   {6, R, middle}, {7, C, 0}, {8, C, bottom}, {9, L, 0}, {-1, L, 0}}) {
        panel.label.alignment = c.code;
        panel.label.lineSpacing = 3;
        panel.label.SetText(u"Wide\nab");
        CSurface shown = driver->Grab(panel.label);
        auto x = [&](int width) { return c.column == L ? 0 : c.column == R ? W - width : (W - width) / 2; };
        CRect first{x(w), c.firstY, w, h};
        CRect second{x(w2), c.firstY + h + 3, w2, h};
        CRect firstInk = Ink(shown, white), all = firstInk;
        ASSERT_GT(all.width, 0) << c.code;
        EXPECT_TRUE(Inside(all, {std::min(first.x, second.x), first.y, std::max(first.Right(), second.Right()) -
                                     std::min(first.x, second.x), second.Bottom() - first.y}))
            << "code " << c.code;
        // The second line sits in its own column.
        CSurface lower(W, H, white);
        {
            CPainter copy(lower);
            copy.CopySurfacePart(0, second.y, shown, {0, second.y, W, H - second.y});
        }
        EXPECT_TRUE(Inside(Ink(lower, white), second)) << "code " << c.code;
    }
}

TEST_F(PngFaceTest, BlocksTallerThanTheControlStartAtTheTop)
{
    // Six lines do not fit: middle and bottom start at the top.
    const std::u16string tall = u"1\n2\n3\n4\n5\n6";
    panel.label.SetText(tall);
    panel.label.alignment = 0;
    const CRect top = Ink(driver->Grab(panel.label), white);
    for (int code : {4, 6, 8, 3}) {
        panel.label.alignment = code;
        panel.label.Invalidate();
        EXPECT_EQ(Ink(driver->Grab(panel.label), white).y, top.y) << code;
    }
}

TEST_F(PngFaceTest, LinesBreakAtLineFeedsAndBeforeTheCharacterThatWouldOverflow)
{
    CFont font(18, 0, u"Microsoft YaHei");
    EXPECT_EQ(CTPngFace::BreakLines(u"one\ntwo", 500, font), (std::vector<std::u16string>{u"one", u"two"}));
    EXPECT_EQ(CTPngFace::BreakLines(u"a\r\nb\n", 500, font), (std::vector<std::u16string>{u"a", u"b"}));
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(font);
    const std::u16string text = u"wrap these words here";
    const int width = measure.TextWidth(u"wrap th");
    std::vector<std::u16string> lines = CTPngFace::BreakLines(text, width, font);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], u"wrap th");
    std::u16string joined;
    for (const auto& line : lines) {
        EXPECT_LE(measure.TextWidth(line), width);
        joined += line;
    }
    EXPECT_EQ(joined, text);
    // Narrower than a character: one character a line.
    EXPECT_EQ(CTPngFace::BreakLines(u"WW", 1, font), (std::vector<std::u16string>{u"W", u"W"}));
}

TEST_F(PngFaceTest, ImagesFollowTheMouseStatesAndMissingOnesFallBack)
{
    const std::string red = SolidPng("red.png", Rgb(255, 0, 0));
    const std::string green = SolidPng("green.png", Rgb(0, 255, 0));
    const std::string blue = SolidPng("blue.png", Rgb(0, 0, 255));
    CTButtonPng& button = panel.button;
    auto centre = [&] { return driver->Grab(button).PixelColour(20, 10); };
    struct Case { std::string hover, pressed; Colour hoverLook, pressedLook; };
    for (const Case& c : {Case{green, blue, Rgb(0, 255, 0), Rgb(0, 0, 255)}, Case{"", "", Rgb(255, 0, 0), Rgb(255, 0, 0)},
                          Case{green, "", Rgb(0, 255, 0), Rgb(0, 255, 0)}}) {
        button.SetImages(red, c.hover, c.pressed);
        driver->MoveMouseAway(panel);
        EXPECT_EQ(centre(), Rgb(255, 0, 0));
        driver->MoveMouse(button, {5, 5});
        EXPECT_TRUE(button.hovering);
        EXPECT_EQ(centre(), c.hoverLook);
        driver->Press(button, {5, 5});
        EXPECT_EQ(centre(), c.pressedLook);
        driver->Release(button, {5, 5});
        EXPECT_EQ(centre(), c.hoverLook);
        driver->MoveMouseAway(panel);
        EXPECT_FALSE(button.hovering);
        EXPECT_EQ(centre(), Rgb(255, 0, 0));
    }
    EXPECT_EQ(panel.commands, (std::vector<int>{1011, 1011, 1011}));
    EXPECT_TRUE(button.ShowsHandCursor());
    EXPECT_FALSE(panel.label.ShowsHandCursor());
}

TEST_F(PngFaceTest, MissingImageShowsTheUnderlayCapturedOnce)
{
    // The underlay is what the white panel painted under the button first.
    panel.button.SetImages(temp.File("missing.png"), "", "");
    EXPECT_EQ(driver->Grab(panel.button).PixelColour(20, 10), white);
    // A later look of the parent does not reach the button.
    panel.fillColor = Rgb(0, 0, 255);
    panel.Invalidate();
    panel.button.Invalidate();
    EXPECT_EQ(driver->Grab(panel).PixelColour(5, 5), Rgb(0, 0, 255));
    EXPECT_EQ(driver->Grab(panel.button).PixelColour(20, 10), white);
}

TEST_F(PngFaceTest, ClickableStaticReportsClicksOnlyOnceMadeClickable)
{
    driver->Click(panel.label);
    EXPECT_TRUE(panel.commands.empty());
    panel.label.MakeClickable();
    panel.label.MakeClickable();
    driver->Click(panel.label);
    EXPECT_EQ(panel.commands, std::vector<int>{1010});
}

TEST(OpenLinkHandler, CommandLineIsCutAtThePlaceholderAndTakesTheTargetAsOneArgument)
{
    struct Case { const char* line; std::vector<std::string> expected; };
    const std::string target = "https://example.com/a b;$(x)";
    for (const Case& c : {
             Case{"\"/usr/bin/firefox\" -osint -url \"%1\" --extra", {"/usr/bin/firefox", "-osint", "-url", target}},
             Case{"browser %1 tail", {"browser", target}},
             Case{"/opt/my browser/run", {"/opt/my", "browser/run", target}},
             Case{"\"/opt/my browser/run\"", {"/opt/my browser/run", target}},
             Case{"", {}},
             Case{"\"%1\"", {}},
         })
        EXPECT_EQ(CTPngFace::HandlerArguments(c.line, target), c.expected) << c.line;
}

} // namespace
