#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "platform/WorkerThread.h"
#include "ui/CTDialog.h"
#include "ui/framework/CDialog.h"
#include "ui/framework/CMenu.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

const char* const panel = R"(
[Dialog]
Size=100,80
Style=popup
Caption=Panel
[Control1]
Id=1001
Class=Button
Rect=10,10,30,12
Text=OK
[Control2]
Id=1002
Class=Edit
Rect=10,30,60,12
Text=typed
[Control3]
Id=1003
Class=Static
Rect=10,50,40,9
Text=Label
Style=notify
[Control4]
Id=1004
Class=ComboBox
Rect=50,10,40,40
[Control5]
Id=1005
Class=Static
Rect=60,60,10,10
Style=hidden
)";

class CPanel : public CTDialog {
public:
    CPanel(CWindow* parent = nullptr) : CTDialog(9001, parent) {}
    void OnTimer(int id) override { fired.push_back({id, CUi::Instance().Clock().Now()}); }
    void OnCommand(int id) override
    {
        commands.push_back(id);
        if (id == 1001)
            EndDialog(ResultOk);
    }
    void OnDeviceChange(uint32_t event, const void* data) override
    {
        uint32_t record[2] = {};
        if (data)
            std::memcpy(record, data, sizeof record);
        devices.push_back({event, record[1]});
    }
    std::vector<std::pair<int, std::chrono::milliseconds>> fired;
    std::vector<int> commands;
    std::vector<std::pair<uint32_t, uint32_t>> devices;
};

class FrameworkTest : public UiFixture {
protected:
    FrameworkTest() { WriteTemplate(9001, panel); }
};

TEST(DialogUnits, ConvertWithTheBaseUnitsRoundingHalvesUp)
{
    struct Case { int dlu, x, y; };
    for (Case c : {Case{0, 0, 0}, {1, 2, 2}, {12, 18, 20}, {90, 135, 146}, {172, 258, 280}, {183, 275, 297},
                   {23, 35, 37}, {280, 420, 455}})
    {
        EXPECT_EQ(DluToPixelsX(c.dlu), c.x) << c.dlu;
        EXPECT_EQ(DluToPixelsY(c.dlu), c.y) << c.dlu;
    }
}

TEST_F(FrameworkTest, ControlsComeFromTheTemplateByIdWithClassTextAndPixelRectangle)
{
    CPanel dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.ClientSize(), (CSize{150, 130}));
    EXPECT_EQ(dialog.Text(), u"Panel");
    struct Case { int id; const char* className; CRect rect; const char16_t* text; bool visible; };
    dialog.Show(true);
    for (Case c : {Case{1001, "Button", {15, 16, 45, 20}, u"OK", true},
                   {1002, "Edit", {15, 49, 90, 20}, u"typed", true},
                   {1003, "Static", {15, 81, 60, 15}, u"Label", true},
                   {1005, "Static", {90, 98, 15, 16}, u"", false}}) {
        CWindow* control = dialog.Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(control->ClassName(), c.className);
        EXPECT_EQ(control->Rect(), c.rect) << c.id;
        EXPECT_EQ(control->Text(), c.text);
        EXPECT_EQ(control->IsVisible(), c.visible) << c.id;
    }
    EXPECT_EQ(dialog.Control(4242), nullptr);
}

TEST_F(FrameworkTest, TimersFireOnTheClockByIdAndStopWhenKilled)
{
    CPanel dialog;
    dialog.Create();
    dialog.SetTimer(1000, 2000ms);
    dialog.SetTimer(4000, 500ms);
    driver->RunFor(499ms);
    EXPECT_TRUE(dialog.fired.empty());
    driver->RunFor(1ms);
    ASSERT_EQ(dialog.fired.size(), 1u);
    EXPECT_EQ(dialog.fired[0].first, 4000);
    dialog.KillTimer(4000);
    driver->RunFor(1499ms);
    EXPECT_EQ(dialog.fired.size(), 1u);
    driver->RunFor(1ms);
    ASSERT_EQ(dialog.fired.size(), 2u);
    EXPECT_EQ(dialog.fired[1], std::make_pair(1000, 2000ms));
    driver->RunFor(4000ms);
    EXPECT_EQ(dialog.fired.size(), 4u);
    EXPECT_EQ(dialog.fired[3].second, 6000ms);
}

TEST_F(FrameworkTest, ModalLoopRunsTimersAndEndsWithTheResultOfItsButton)
{
    CPanel dialog;
    driver->After(3000ms, [&] { driver->Click(*dialog.Control(1001)); });
    driver->Post([&] { dialog.SetTimer(7, 1000ms); });
    EXPECT_EQ(dialog.DoModal(), CDialog::ResultOk);
    EXPECT_EQ(clock.Now(), 3000ms);
    EXPECT_EQ(dialog.fired.size(), 3u);
    EXPECT_FALSE(dialog.Exists());
    EXPECT_EQ(dialog.commands, std::vector<int>{1001});
}

TEST_F(FrameworkTest, NestedModalLoopsEndInnerFirstAndAnotherPartCanCloseThem)
{
    CPanel outer;
    CPanel inner(&outer);
    int innerResult = 0;
    driver->After(100ms, [&] { innerResult = inner.DoModal(); });
    driver->After(200ms, [&] { inner.PostClose(); });
    driver->After(300ms, [&] { outer.PostClose(); });
    EXPECT_EQ(outer.DoModal(), CDialog::ResultCancel);
    EXPECT_EQ(innerResult, CDialog::ResultCancel);
    EXPECT_EQ(clock.Now(), 300ms);
}

TEST_F(FrameworkTest, EnterAndEscapeNeverReachTheSkinnedDialog)
{
    CPanel dialog;
    int result = -1;
    driver->After(10ms, [&] {
        CWindow& edit = *dialog.Control(1002);
        driver->Type(edit, u"x");
        driver->PressKey(edit, KeyReturn);
        driver->PressKey(dialog, KeyEscape);
        EXPECT_TRUE(dialog.IsVisible());
        EXPECT_EQ(edit.Text(), u"typedx");
        driver->Click(*dialog.Control(1001));
    });
    result = dialog.DoModal();
    EXPECT_EQ(result, CDialog::ResultOk);
}

TEST_F(FrameworkTest, ClickNotifyingStaticAndButtonReportCommandsToTheParent)
{
    CPanel dialog;
    dialog.Create();
    dialog.Show(true);
    driver->Click(*dialog.Control(1003));
    dialog.Control(1001)->Enable(false);
    driver->Click(*dialog.Control(1001));
    EXPECT_EQ(dialog.commands, std::vector<int>{1003});
}

TEST_F(FrameworkTest, WorkPostedFromAWorkerAndDeviceChangesRunOnTheUiThread)
{
    CPanel dialog;
    dialog.Create();
    std::atomic<bool> onUiThread{false};
    const auto uiThread = std::this_thread::get_id();
    CWorkerThread worker;
    worker.Start(clock, [&] {
        clock.Sleep(700ms);
        ui->Post([&] { onUiThread = std::this_thread::get_id() == uiThread; });
        // The sender's record is gone before the window handles it.
        auto record = std::make_unique<uint32_t[]>(2);
        record[0] = 8;
        record[1] = 42;
        ui->PostDeviceChange(dialog, 0x8000, record.get());
    });
    driver->RunFor(699ms);
    EXPECT_FALSE(onUiThread);
    EXPECT_TRUE(dialog.devices.empty());
    driver->RunFor(1ms);
    EXPECT_TRUE(onUiThread);
    EXPECT_EQ(dialog.devices, (std::vector<std::pair<uint32_t, uint32_t>>{{0x8000, 42}}));
    EXPECT_TRUE(worker.WaitFor(0ms));
    worker.Release();
}

TEST_F(FrameworkTest, DraggingMovesTheWindowFromItsBackgroundOnly)
{
    CPanel dialog;
    dialog.Create();
    dialog.dragEnabled = true;
    dialog.Move({100, 100, 150, 130});
    dialog.Show(true);
    driver->MoveMouse(dialog, {120, 110});
    driver->Press(dialog, {120, 110});
    driver->MoveMouse(dialog, {150, 120});
    // The window followed the pointer, which is again over the pressed point.
    driver->Release(dialog, {120, 110});
    EXPECT_EQ(dialog.ScreenRect().x, 130);
    EXPECT_EQ(dialog.ScreenRect().y, 110);

    CWindow& label = *dialog.Control(1003);
    driver->Press(label, {2, 2});
    driver->MoveMouse(label, {30, 12});
    driver->Release(label, {30, 12});
    driver->MoveMouse(dialog, {50, 5});
    EXPECT_EQ(dialog.ScreenRect().x, 130);
    EXPECT_EQ(dialog.ScreenRect().y, 110);
}

TEST_F(FrameworkTest, MenusLoadTheirEntriesAndReportTheChoiceAsACommand)
{
    std::ofstream(folder + "Menu500.ini") << "[Menu]\nPopup=tray\n[Item1]\nId=32773\nText=Launch UI\n"
                                              "[Item2]\nId=0\n[Item3]\nId=32772\nText=Exit\n";
    CMenu menu;
    ASSERT_TRUE(menu.Load(folder, 500));
    EXPECT_EQ(menu.name, "tray");
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[2].text, u"Exit");
    CPanel dialog;
    dialog.Create();
    dialog.Show(true);
    driver->Post([&] {
        ASSERT_EQ(CMenu::Shown(), &menu);
        CMenu::ChooseShown(32772);
    });
    EXPECT_EQ(menu.TrackPopup(dialog, {20, 20}), 32772);
    EXPECT_EQ(CMenu::Shown(), nullptr);
    driver->RunFor(0ms);
    EXPECT_EQ(dialog.commands, std::vector<int>{32772});
}

} // namespace
