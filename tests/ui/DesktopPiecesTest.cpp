#include <gtest/gtest.h>

#include "ui/CTDialog.h"
#include "ui/framework/CDesktop.h"
#include "ui/framework/CMessageBox.h"
#include "ui/framework/CToolTip.h"
#include "ui/framework/CTrayIcon.h"
#include "tests/ui/UiFixture.h"

using namespace std::chrono_literals;

namespace {

class CTipPanel : public CTDialog {
public:
    CTipPanel() : CTDialog(9600, nullptr) {}
    bool OnInitDialog() override
    {
        tip.Create(*this);
        tip.AddTool(*Control(1027), u"network name");
        return true;
    }
    CToolTip tip;
};

class DesktopPiecesTest : public UiFixture {
protected:
    DesktopPiecesTest()
    {
        WriteTemplate(9600, "[Dialog]\nSize=100,60\n[Control1]\nId=1027\nClass=Static\nRect=10,10,40,10\n"
                            "Text=name\n[Control2]\nId=1028\nClass=Static\nRect=60,10,30,10\n");
        std::filesystem::copy_file(Repository() + "resources/dialogs/Dialog65535.ini", folder + "Dialog65535.ini");
    }
};

TEST_F(DesktopPiecesTest, MessageBoxShowsTheTextWithoutCaptionAndEndsWithOk)
{
    std::u16string shownText, caption;
    bool visible = false;
    driver->After(50ms, [&] {
        CDialog* box = driver->FindWindow(CMessageBox::templateId);
        ASSERT_NE(box, nullptr);
        visible = box->IsVisible();
        shownText = box->Control(CMessageBox::messageId)->Text();
        caption = box->Text();
        driver->Click(*box->Control(CDialog::ResultOk));
    });
    EXPECT_EQ(CMessageBox::Show(nullptr, u"SSID can not be empty"), CDialog::ResultOk);
    EXPECT_TRUE(visible);
    EXPECT_EQ(shownText, u"SSID can not be empty");
    EXPECT_EQ(caption, u"");
    EXPECT_EQ(clock.Now(), 50ms);

    driver->After(10ms, [&] { driver->PressKey(*driver->FindWindow(CMessageBox::templateId), KeyReturn); });
    EXPECT_EQ(CMessageBox::Show(nullptr, u"again"), CDialog::ResultOk);
    EXPECT_EQ(driver->FindWindow(CMessageBox::templateId), nullptr);
}

TEST_F(DesktopPiecesTest, TipShowsAfterThePointerRestsHalfASecondAndHidesWhenItLeaves)
{
    CTipPanel panel;
    panel.Create();
    panel.Show(true);
    CWindow& tool = *panel.Control(1027);
    driver->MoveMouse(tool, {5, 5});
    driver->RunFor(499ms);
    EXPECT_EQ(panel.tip.Shown(), u"");
    driver->RunFor(1ms);
    EXPECT_EQ(panel.tip.Shown(), u"network name");
    panel.tip.UpdateTipText(tool, u"Kavlo");
    EXPECT_EQ(panel.tip.Shown(), u"Kavlo");
    driver->MoveMouse(*panel.Control(1028), {5, 5});
    EXPECT_EQ(panel.tip.Shown(), u"");
    driver->RunFor(1000ms);
    EXPECT_EQ(panel.tip.Shown(), u"");
}

TEST_F(DesktopPiecesTest, TrayIconCutsItsTooltipAndReportsPressesOnlyWhileAdded)
{
    std::vector<int> messages;
    CTrayIcon tray([&](int message) { messages.push_back(message); });
    tray.Press(false);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(tray.Update(CTrayIcon::TrayModify, Skin("tray_card_no.ico"), u"x"));
    EXPECT_TRUE(tray.Update(CTrayIcon::TrayAdd, Skin("tray_card_no.ico"), std::u16string(80, u'a')));
    EXPECT_FALSE(tray.Update(CTrayIcon::TrayAdd, Skin("tray_card_no.ico"), u"x"));
    EXPECT_EQ(tray.Tooltip().size(), 63u);
    EXPECT_TRUE(tray.Update(CTrayIcon::TrayModify, Skin("tray_sta_connect3.ico"), u"Application"));
    EXPECT_EQ(tray.IconPath(), Skin("tray_sta_connect3.ico"));
    tray.Press(false);
    tray.Press(true);
    EXPECT_EQ(messages, (std::vector<int>{CTrayIcon::LeftButtonDown, CTrayIcon::RightButtonDown}));
    EXPECT_TRUE(tray.Update(CTrayIcon::TrayDelete, "", u""));
    EXPECT_FALSE(tray.IsAdded());
    tray.Press(false);
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(DesktopPiecesTest, ClipboardAndWorkArea)
{
    CDesktop::SetClipboardText(u"12345670");
    EXPECT_EQ(CDesktop::ClipboardText(), u"12345670");
    CRect area = CDesktop::WorkArea();
    EXPECT_GT(area.width, 0);
    EXPECT_GT(area.height, 0);
    EXPECT_FALSE(CDesktop::StartProgram({}));
    EXPECT_FALSE(CDesktop::StartProgram({"no-such-program-zarnwell"}));
}

} // namespace
