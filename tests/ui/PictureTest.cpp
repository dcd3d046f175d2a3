#include <gtest/gtest.h>

#include <random>

#include "ui/CTDialog.h"
#include "ui/controls/CTPicture.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

// Palette of the test GIFs: index 0 black, 1 red, 2 green, 3 blue.
struct GifFrame {
    int left, top, width, height, colourIndex;
    int delay = -1;   // no control extension
    int disposal = 0;
};

void Word(std::vector<uint8_t>& out, int value)
{
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t(value >> 8 & 0xFF));
}

// Solid frames, coded with a clear code every two pixels so the LZW codes
// stay three bits wide.
std::vector<uint8_t> MakeGif(int width, int height, const std::vector<GifFrame>& frames, bool comment = true)
{
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Word(out, width);
    Word(out, height);
    out.insert(out.end(), {0x81, 0, 0}); // global table of 4 colours
    out.insert(out.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    if (comment)
        out.insert(out.end(), {0x21, 0xFE, 3, 'z', 'w', 'l', 0});
    out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
    for (const GifFrame& f : frames) {
        if (f.delay >= 0) {
            out.insert(out.end(), {0x21, 0xF9, 4, uint8_t(f.disposal << 2)});
            Word(out, f.delay);
            out.insert(out.end(), {0, 0});
        }
        out.push_back(0x2C);
        Word(out, f.left);
        Word(out, f.top);
        Word(out, f.width);
        Word(out, f.height);
        out.push_back(0);
        out.push_back(2); // code size
        std::vector<int> codes;
        int pixels = f.width * f.height;
        for (int i = 0; i < pixels; ++i) {
            if (i % 2 == 0)
                codes.push_back(4);
            codes.push_back(f.colourIndex);
        }
        codes.push_back(5);
        std::vector<uint8_t> bytes;
        uint32_t bits = 0;
        int count = 0;
        for (int code : codes) {
            bits |= uint32_t(code) << count;
            count += 3;
            while (count >= 8) {
                bytes.push_back(uint8_t(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        }
        if (count > 0)
            bytes.push_back(uint8_t(bits));
        for (std::size_t i = 0; i < bytes.size(); i += 255) {
            std::size_t n = std::min<std::size_t>(255, bytes.size() - i);
            out.push_back(uint8_t(n));
            out.insert(out.end(), bytes.begin() + long(i), bytes.begin() + long(i + n));
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}

class CPicturePanel : public CTDialog {
public:
    CPicturePanel() : CTDialog(9300, nullptr) { Bind(1087, picture); }
    CTPicture picture;
};

class PictureTest : public UiFixture {
protected:
    PictureTest()
    {
        WriteTemplate(9300, "[Dialog]\nSize=60,60\nStyle=popup\n[Control1]\nId=1087\nClass=Static\nRect=2,2,10,10\n");
        panel.Create();
        panel.Show(true);
    }
    Colour At(int x, int y) { return panel.picture.Canvas().PixelColour(x, y); }
    CPicturePanel panel;
};

constexpr Colour red = Rgb(255, 0, 0), green = Rgb(0, 255, 0), blue = Rgb(0, 0, 255);

TEST_F(PictureTest, WalkFindsFramesWithTheirDelaysDisposalsAndPlaces)
{
    std::vector<uint8_t> gif = MakeGif(20, 10, {{0, 0, 20, 10, 1, 0, 1}, {5, 2, 4, 3, 2, 7, 2}, {1, 1, 2, 2, 3}});
    CTPicture::GifLayout layout;
    ASSERT_TRUE(CTPicture::WalkGif(gif.data(), gif.size(), layout));
    EXPECT_EQ(layout.width, 20);
    EXPECT_EQ(layout.height, 10);
    ASSERT_EQ(layout.frames.size(), 3u);
    EXPECT_EQ(layout.frames[0].delay, 0);
    EXPECT_EQ(layout.frames[0].disposal, 1);
    EXPECT_EQ(layout.frames[1].delay, 7);
    EXPECT_EQ(layout.frames[1].disposal, 2);
    EXPECT_EQ((CRect{layout.frames[1].left, layout.frames[1].top, layout.frames[1].width, layout.frames[1].height}),
              (CRect{5, 2, 4, 3}));
    EXPECT_EQ(layout.frames[2].delay, -1);
    EXPECT_EQ(layout.frames[2].disposal, 0);
}

TEST_F(PictureTest, LoadSizesTheControlAndAStillPictureShowsOnPlay)
{
    std::vector<uint8_t> gif = MakeGif(12, 8, {{0, 0, 12, 8, 3}});
    ASSERT_TRUE(panel.picture.LoadMemory(gif.data(), gif.size()));
    EXPECT_EQ(panel.picture.ClientSize(), (CSize{12, 8}));
    EXPECT_TRUE(panel.picture.frames.empty());
    panel.picture.Play();
    EXPECT_FALSE(panel.picture.IsPlaying());
    EXPECT_EQ(At(6, 4), blue);
    driver->RunFor(0ms);
    EXPECT_EQ(driver->Grab(panel.picture).PixelColour(6, 4), blue);

    // A picture that is not a GIF is one still picture of its own size.
    ASSERT_TRUE(panel.picture.LoadFile(Skin("grid_info.bmp")));
    EXPECT_FALSE(panel.picture.isGif);
    EXPECT_EQ(panel.picture.ClientSize(), (CSize{14, 18}));
}

TEST_F(PictureTest, FramesPlayWithTheirDelaysShortOnesAt100MsAndTheCanvasIsClearedAfterTheLast)
{
    // Top half red with delay 2 (too short: 100 ms), bottom half green with 5 (50 ms).
    std::vector<uint8_t> gif = MakeGif(10, 10, {{0, 0, 10, 5, 1, 2, 1}, {0, 5, 10, 5, 2, 5, 1}});
    ASSERT_TRUE(panel.picture.LoadMemory(gif.data(), gif.size()));
    ASSERT_EQ(panel.picture.frames.size(), 2u);
    panel.picture.Play();
    driver->RunFor(0ms);
    EXPECT_EQ(At(5, 2), red);
    EXPECT_EQ(At(5, 8), panel.picture.backColor);
    driver->RunFor(99ms);
    EXPECT_EQ(panel.picture.currentFrame, 0);
    driver->RunFor(1ms);
    EXPECT_EQ(panel.picture.currentFrame, 1);
    EXPECT_EQ(At(5, 8), green);
    EXPECT_EQ(At(5, 2), red); // disposal 1 leaves the first frame
    EXPECT_EQ(driver->Grab(panel.picture).PixelColour(5, 8), green);
    driver->RunFor(49ms);
    EXPECT_EQ(panel.picture.currentFrame, 1);
    driver->RunFor(1ms);
    EXPECT_EQ(panel.picture.currentFrame, 0);
    // After the last frame the canvas was cleared, then frame 0 drawn again.
    EXPECT_EQ(At(5, 8), panel.picture.backColor);
    EXPECT_EQ(At(5, 2), red);
    panel.picture.Stop();
    EXPECT_FALSE(panel.picture.IsPlaying());
    driver->RunFor(500ms);
    EXPECT_EQ(panel.picture.currentFrame, 0);
    // Playing again goes on from the frame that was showing.
    driver->RunFor(0ms);
    panel.picture.Play();
    driver->RunFor(100ms);
    EXPECT_EQ(panel.picture.currentFrame, 1);
}

TEST_F(PictureTest, DisposalTwoFillsTheFrameAreaWithTheBackColour)
{
    std::vector<uint8_t> gif = MakeGif(10, 10, {{0, 0, 10, 10, 1, 10, 1}, {0, 0, 4, 4, 3, 10, 2}, {6, 6, 4, 4, 2, 10, 1}});
    ASSERT_TRUE(panel.picture.LoadMemory(gif.data(), gif.size()));
    panel.picture.Play();
    driver->RunFor(100ms);
    EXPECT_EQ(At(1, 1), blue);
    driver->RunFor(100ms);
    EXPECT_EQ(At(1, 1), panel.picture.backColor);
    EXPECT_EQ(At(8, 8), green);
    EXPECT_EQ(At(5, 5), red);
    panel.picture.Unload();
    EXPECT_FALSE(panel.picture.ready);
}

TEST_F(PictureTest, TruncatedAndGarbageFilesLoadNothingAndNeverCrash)
{
    std::vector<uint8_t> gif = MakeGif(16, 16, {{0, 0, 16, 16, 1, 3}, {2, 2, 8, 8, 2, 3}});
    for (std::size_t length = 0; length < gif.size(); ++length) {
        bool loaded = panel.picture.LoadMemory(gif.data(), length);
        if (loaded) {
            panel.picture.Play();
            driver->RunFor(150ms);
            panel.picture.Stop();
        }
        EXPECT_EQ(loaded, panel.picture.ready) << length;
    }
    EXPECT_FALSE(panel.picture.LoadMemory(gif.data(), 20));

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> junk = gif;
        for (int i = 0; i < 12; ++i)
            junk[13 + random() % (junk.size() - 13)] = uint8_t(random());
        if (round % 3 == 0)
            junk[6] = junk[7] = junk[8] = junk[9] = 0xFF; // a huge logical screen
        if (panel.picture.LoadMemory(junk.data(), junk.size())) {
            panel.picture.Play();
            driver->RunFor(120ms);
        }
        panel.picture.Unload();
    }
    const uint8_t garbage[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xFF, 0, 0};
    EXPECT_FALSE(panel.picture.LoadMemory(garbage, sizeof garbage));
    EXPECT_FALSE(panel.picture.LoadFile(temp.File("missing.gif")));
    const uint8_t notAPicture[] = "plain text, not a picture";
    EXPECT_FALSE(panel.picture.LoadMemory(notAPicture, sizeof notAPicture));
}

// Frames claiming to be far larger than the screen are cut to it, and a file
// claiming more pixels than any skin has loads nothing, instead of asking for
// gigabytes.
TEST_F(PictureTest, FramesLargerThanTheScreenAreCutToIt)
{
    std::vector<uint8_t> gif = MakeGif(16, 16, {{0, 0, 4, 4, 1, 3}, {2, 2, 4, 4, 2, 3}});
    for (std::size_t i = 13; i + 9 < gif.size(); ++i) {
        if (gif[i] == 0x2C && gif[i + 9] == 0 && gif[i + 10] == 2) // an image descriptor, its code size follows
            gif[i + 5] = gif[i + 6] = gif[i + 7] = gif[i + 8] = 0xFF;
    }
    ASSERT_TRUE(panel.picture.LoadMemory(gif.data(), gif.size()));
    ASSERT_EQ(panel.picture.frames.size(), 2u);
    EXPECT_EQ(panel.picture.frames[0].width, 16);
    EXPECT_EQ(panel.picture.frames[1].width, 14);
    EXPECT_EQ(panel.picture.frames[1].height, 14);

    std::vector<uint8_t> huge = MakeGif(4096, 4097, {{0, 0, 1, 1, 1, 3}, {0, 0, 1, 1, 2, 3}});
    EXPECT_FALSE(panel.picture.LoadMemory(huge.data(), huge.size()));
}

TEST_F(PictureTest, ShippedAnimationsLoadAndPlay)
{
    for (const char* name : {"search_wait.gif", "change_wait.gif", "change_shift.gif", "wps_connect_wait.gif"}) {
        CPicturePanel another;
        another.Create();
        ASSERT_TRUE(another.picture.LoadFile(Skin(name))) << name;
        EXPECT_GE(another.picture.frames.size(), 2u) << name;
        another.picture.Play();
        driver->RunFor(1000ms);
        EXPECT_TRUE(another.picture.IsPlaying());
    }
}

} // namespace
