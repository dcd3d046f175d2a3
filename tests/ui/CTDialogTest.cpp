#include <gtest/gtest.h>

#include "ui/CTDialog.h"
#include "ui/framework/CPainter.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

class CTDialogTest : public UiFixture {
protected:
    CTDialogTest()
    {
        WriteTemplate(9100, "[Dialog]\nSize=40,40\nStyle=popup\n[Control1]\nId=1002\nClass=Edit\nRect=2,2,30,10\n");
    }

    // A dialog shown at (0, 0), painted twice (the rounded clip comes with
    // the second paint).
    void ShowPainted(CTDialog& dialog)
    {
        dialog.Create();
        dialog.Move({0, 0, 60, 65});
        dialog.Show(true);
        driver->RunFor(0ms);
        dialog.Invalidate();
        driver->RunFor(0ms);
    }
};

TEST_F(CTDialogTest, BackgroundBitmapIsStretchedOverTheClientArea)
{
    // Four 10 x 10 quarters, stretched over 60 x 65 pixels.
    CSurface quarters(20, 20, Rgb(255, 0, 0));
    {
        CPainter paint(quarters);
        paint.FillRect({10, 0, 10, 10}, Rgb(0, 255, 0));
        paint.FillRect({0, 10, 10, 10}, Rgb(0, 0, 255));
        paint.FillRect({10, 10, 10, 10}, Rgb(0, 0, 0));
    }
    quarters.SavePng(temp.File("back.png"));
    CTDialog dialog(9100, nullptr);
    dialog.SetBackground(temp.File("back.png"));
    ShowPainted(dialog);
    CSurface shown = driver->Grab(dialog);
    EXPECT_EQ(shown.PixelColour(1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(shown.PixelColour(28, 30), Rgb(255, 0, 0));
    EXPECT_EQ(shown.PixelColour(32, 30), Rgb(0, 255, 0));
    EXPECT_EQ(shown.PixelColour(59, 1), Rgb(0, 255, 0));
    EXPECT_EQ(shown.PixelColour(1, 64), Rgb(0, 0, 255));
    EXPECT_EQ(shown.PixelColour(59, 64), Rgb(0, 0, 0));
    // The Edit control's own area is not the background.
    EXPECT_NE(shown.PixelColour(10, 8), Rgb(255, 0, 0));
}

TEST_F(CTDialogTest, WithoutBitmapTheWhitePanelsAreFilledAndAMissingFileChangesNothing)
{
    CTDialog dialog(9100, nullptr);
    dialog.SetBackground(temp.File("missing.bmp"));
    EXPECT_TRUE(dialog.background.IsEmpty());
    dialog.SetBackground("");
    dialog.fillBackground = true;
    dialog.fillColor = Rgb(10, 200, 30);
    ShowPainted(dialog);
    CSurface shown = driver->Grab(dialog);
    EXPECT_EQ(shown.PixelColour(50, 50), Rgb(10, 200, 30));
    // Its controls still work.
    driver->Type(*dialog.Control(1002), u"ok");
    EXPECT_EQ(dialog.Control(1002)->Text(), u"ok");
}

TEST_F(CTDialogTest, CornersAreRoundedFromTheSecondPaintAndStaySquareForRadiusZero)
{
    CTDialog square(9100, nullptr);
    ShowPainted(square);
    EXPECT_FALSE(square.HasRegion());

    CTDialog round(9100, nullptr);
    round.cornerRadius = 10;
    round.Create();
    round.Show(true);
    driver->RunFor(0ms);
    EXPECT_TRUE(round.regionApplied);
    round.Invalidate();
    driver->RunFor(0ms);
    EXPECT_TRUE(round.HasRegion());
    EXPECT_EQ(round.Opacity(), 255);
}

TEST_F(CTDialogTest, AnyTranslucencyButOpaqueMakesTheWindow200Of255)
{
    for (int translucency : {0, 128, 254}) {
        CTDialog dialog(9100, nullptr);
        dialog.cornerRadius = 10;
        dialog.translucency = translucency;
        ShowPainted(dialog);
        EXPECT_EQ(dialog.Opacity(), 200) << translucency;
    }
}

} // namespace
