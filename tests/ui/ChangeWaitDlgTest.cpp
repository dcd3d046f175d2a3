#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "platform/CRegistry.h"
#include "shell/CApplicationApp.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/CNoSystemAdapters.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/CSilentDriverLibrary.h"
#include "tests/ui/UiFixture.h"
#include "ui/softap/CChangeWaitDlg.h"

using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

// A driver whose link the test sets: its state and whether the link has an
// address.
class CLinkLibrary : public CSilentDriverLibrary {
public:
    void RT_GetStatusLinkInfo(int& state, int&, char* ssid, int ssidSize, uint8_t (&bssid)[6]) override
    {
        state = linkState;
        if (state == DriverLinkNone)
            return;
        std::strncpy(ssid, "Kavlo", std::size_t(ssidSize));
        bssid[0] = 0x02;
    }
    bool GetIpInformation(const MacAddressBuffer&, IpInformation& info) override
    {
        if (!addressed)
            return false;
        std::strcpy(info.address1, "192.168.10.20");
        return true;
    }
    std::atomic<int> linkState{DriverLinkNone};
    std::atomic<bool> addressed{false};
};

class ChangeWaitDlgTest : public UiFixture {
protected:
    explicit ChangeWaitDlgTest(uint32_t locale = 1033) : UiFixture(true)
    {
        app = std::make_unique<CApplicationApp>(library, services);
        const std::string resources = Repository() + "resources/";
        app->language.Load(resources, locale);
        app->settings.LoadSettings(resources, app->language.lcid);
        app->skin.BuildSkinPaths(resources, app->language.lcid, 6);
    }
    ~ChangeWaitDlgTest() override { app.reset(); }

    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CLinkLibrary library;
    CNoSystemAdapters adapters;
    CLauncher launcher;
    CNoSharingService sharing;
    CPlatformServices services{clock, system, registry, adapters, launcher, sharing};
    std::unique_ptr<CApplicationApp> app;
};

// What the adapter reports from a moment on.
struct Step {
    milliseconds at;
    int linkState;
    bool addressed;
    bool modeSwitching;
};

struct EndCase {
    const char* name;
    int waitKind;
    int osKind;
    int timeoutSeconds;
    std::vector<Step> steps;
    const char16_t* text;
    milliseconds ends;
};

TEST_F(ChangeWaitDlgTest, EndsWhenTheAdapterSaysSoOrWhenItsTimeIsUp)
{
    constexpr int none = DriverLinkNone, linked = DriverLinkStation, associating = DriverLinkAssociating;
    const std::vector<EndCase> cases = {
        {"a link with an address ends a connect", WaitConnecting, 13, 12, {{2500ms, linked, true, false}},
         u"Connecting...", 3000ms},
        {"since Vista a link without a usable address ends it too", WaitConnecting, 13, 12,
         {{2500ms, linked, false, false}}, u"Connecting...", 3000ms},
        {"on XP a link without a usable address is not enough: timeout and all 20 grace ticks", WaitConnecting, 4,
         15, {{2500ms, linked, false, false}}, u"Connecting...", 34000ms},
        {"on XP the address coming in the grace ends it", WaitConnecting, 4, 15,
         {{2500ms, linked, false, false}, {20500ms, linked, true, false}}, u"Connecting...", 21000ms},
        {"after the timeout, four readings of a down link end it", WaitConnecting, 13, 12,
         {{0ms, none, false, false}}, u"Connecting...", 15000ms},
        {"the four readings must come in a row", WaitConnecting, 13, 12,
         {{0ms, none, false, false}, {13500ms, associating, false, false}, {14500ms, none, false, false}},
         u"Connecting...", 18000ms},
        {"an association that never links ends after the grace", WaitConnecting, 13, 12,
         {{0ms, associating, false, false}}, u"Connecting...", 31000ms},
        {"starting runs its full time, linked or not", WaitStarting, 13, 4, {{0ms, linked, true, false}},
         u"Starting...", 4000ms},
        {"closing runs its full time", WaitClosing, 13, 4, {{0ms, none, false, false}}, u"Closing...", 4000ms},
        {"sharing ends when the switch is done", WaitSharing, 13, 120,
         {{0ms, none, false, true}, {7500ms, none, false, false}}, u"Sharing...", 8000ms},
        {"sharing whose switch never ends runs its 120 s", WaitSharing, 13, 120, {{0ms, linked, true, true}},
         u"Sharing...", 120000ms},
        {"shifting ends at the first tick after the switch", WaitShifting, 13, 120, {{0ms, none, false, false}},
         u"Shifting...", 1000ms},
        {"an unknown kind shows Shifting and waits for its timeout", 9, 13, 3, {{0ms, linked, true, false}},
         u"Shifting...", 3000ms},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        const milliseconds start = clock.Now();
        app->osKind = c.osKind;
        library.linkState = DriverLinkNone;
        library.addressed = false;
        app->adapter.modeSwitching = false;
        for (const Step& step : c.steps)
            driver->At(start + step.at, [&, step] {
                library.linkState = step.linkState;
                library.addressed = step.addressed;
                app->adapter.modeSwitching = step.modeSwitching;
            });
        CChangeWaitDlg panel(c.timeoutSeconds, c.waitKind);
        std::u16string shown;
        driver->At(start + 500ms, [&] { shown = panel.text.Text(); });
        EXPECT_EQ(panel.DoModal(), CDialog::ResultOk);
        EXPECT_EQ(clock.Now() - start, c.ends);
        EXPECT_EQ(shown, c.text);
        EXPECT_FALSE(ui->HasTimer(&panel, CChangeWaitDlg::tickTimer));
        // Nothing of this case may reach the next one.
        driver->RunFor(c.steps.back().at + 1ms);
    }
}

TEST_F(ChangeWaitDlgTest, IsATranslucentRoundedPopupWithItsAnimationAndKeepsEnterAndEscape)
{
    CChangeWaitDlg panel(4, WaitClosing);
    driver->After(1500ms, [&] {
        EXPECT_TRUE(panel.IsVisible());
        EXPECT_EQ(panel.translucency, 102);
        EXPECT_EQ(panel.Opacity(), 200);
        EXPECT_TRUE(panel.HasRegion());
        EXPECT_TRUE(panel.animation.IsPlaying());
        EXPECT_GT(panel.animation.frames.size(), 1u);
        EXPECT_EQ(panel.text.normalColor, app->settings.textWhiteColor);
        EXPECT_EQ(panel.text.alignment, 4);
        driver->PressKey(panel, KeyReturn);
        driver->PressKey(panel, KeyEscape);
        EXPECT_TRUE(panel.Exists());
        EXPECT_EQ(panel.waitTicks, 1);
    });
    EXPECT_EQ(panel.DoModal(), CDialog::ResultOk);
    EXPECT_EQ(clock.Now(), 4000ms);
}

TEST_F(ChangeWaitDlgTest, ClosedFromOutsideItEndsAsCancelled)
{
    CChangeWaitDlg panel(12, WaitConnecting);
    driver->After(2500ms, [&] { panel.PostClose(); });
    EXPECT_EQ(panel.DoModal(), CDialog::ResultCancel);
    EXPECT_EQ(clock.Now(), 2500ms);
}

class ChangeWaitDlgChineseTest : public ChangeWaitDlgTest {
protected:
    ChangeWaitDlgChineseTest() : ChangeWaitDlgTest(2052) {}
};

TEST_F(ChangeWaitDlgChineseTest, TextsAreTranslated)
{
    struct Case { int kind; const char16_t* text; };
    for (Case c : {Case{WaitShifting, u"正在切换..."}, {WaitSharing, u"正在共享..."}, {WaitConnecting, u"正在连接..."},
                   {WaitStarting, u"正在启动..."}, {WaitClosing, u"正在关闭..."}}) {
        CChangeWaitDlg panel(1, c.kind);
        std::u16string shown;
        driver->After(500ms, [&] { shown = panel.text.Text(); });
        panel.DoModal();
        EXPECT_EQ(shown, c.text) << c.kind;
    }
}

} // namespace
