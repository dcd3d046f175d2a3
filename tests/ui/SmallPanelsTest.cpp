#include <gtest/gtest.h>

#include "ui/CAboutDlg.h"
#include "ui/CAboutNewDlg.h"
#include "ui/CApplicationDlg.h"
#include "ui/CCardNoDlg.h"
#include "ui/CExitDlg.h"
#include "ui/framework/CMessageBox.h"
#include "tests/ui/AppFixture.h"

using namespace std::chrono_literals;

namespace {

class SmallPanelsTest : public AppFixture {
protected:
    // Runs a dialog modally while `act` works on it; returns its result.
    template <class Dialog>
    int RunWith(Dialog& dialog, std::function<void(Dialog&)> act)
    {
        driver->After(10ms, [&] { act(dialog); });
        return dialog.DoModal();
    }
};

TEST_F(SmallPanelsTest, ExitEndsWithOkOnlyFromTheExitButton)
{
    struct Case { const char* name; std::function<void(CUiDriver&, CExitDlg&)> act; int result; };
    const std::vector<Case> cases = {
        {"Exit", [](CUiDriver& driver, CExitDlg& d) { driver.Click(d.exitButton); }, 1},
        {"Cancel", [](CUiDriver& driver, CExitDlg& d) { driver.Click(d.cancelButton); }, 2},
        {"close", [](CUiDriver& driver, CExitDlg& d) { driver.Click(d.closeButton); }, 2},
        {"Escape", [](CUiDriver& driver, CExitDlg& d) { driver.PressKey(d, KeyEscape); }, 2},
        {"Enter then Cancel",
         [](CUiDriver& driver, CExitDlg& d) {
             driver.PressKey(d, KeyReturn);
             EXPECT_TRUE(d.IsVisible());
             driver.Click(d.cancelButton);
         },
         2},
    };
    for (const Case& c : cases) {
        CExitDlg dialog(nullptr);
        EXPECT_EQ(RunWith<CExitDlg>(dialog, [&](CExitDlg& d) { c.act(*driver, d); }), c.result) << c.name;
    }
}

TEST_F(SmallPanelsTest, ExitIsStyledAsItsTemplateAndSettingsSay)
{
    CExitDlg dialog(nullptr);
    RunWith<CExitDlg>(dialog, [&](CExitDlg& d) {
        EXPECT_EQ(d.question.Text(), u"Sure to exit?");
        EXPECT_EQ(d.question.alignment, 4);
        EXPECT_EQ(d.title.fontWeight, 700);
        EXPECT_EQ(d.exitButton.normalColor, Rgb(255, 255, 255));
        EXPECT_EQ(d.cancelButton.normalColor, Rgb(0, 0, 0));
        EXPECT_EQ(d.closeButton.hoverImage, app->skin.btnCloseMove);
        EXPECT_TRUE(d.dragEnabled);
        EXPECT_EQ(d.cornerRadius, 10);
        EXPECT_EQ(d.ClientSize(), (CSize{258, 185}));
        d.EndDialog(2);
    });
}

TEST_F(SmallPanelsTest, EveryPanelHasTheSameTitleBar)
{
    CExitDlg exitPanel(nullptr);
    CAboutNewDlg about(nullptr);
    CCardNoDlg noAdapter(nullptr);
    CApplicationDlg main;
    for (CTDialog* panel : std::initializer_list<CTDialog*>{&exitPanel, &about, &noAdapter, &main}) {
        ASSERT_TRUE(panel->Create());
        const int id = panel->TemplateId();
        EXPECT_EQ(panel->title.Id(), 1037) << id;
        EXPECT_EQ(panel->title.Text(), u"Kavlo Network Adapter") << id;
        EXPECT_EQ(panel->title.fontWeight, 700) << id;
        EXPECT_EQ(panel->title.fontHeight, app->settings.staticFontHeight) << id;
        EXPECT_EQ(panel->title.fontFace, app->settings.fontName) << id;
        EXPECT_EQ(panel->title.normalColor, app->settings.textBlackColor) << id;
        EXPECT_EQ(panel->title.alignment, 5) << id;
        EXPECT_EQ(panel->closeButton.Id(), 1001) << id;
        EXPECT_EQ(panel->closeButton.normalImage, app->skin.btnCloseNormal) << id;
        EXPECT_EQ(panel->closeButton.hoverImage, app->skin.btnCloseMove) << id;
        EXPECT_EQ(panel->closeButton.pressedImage, app->skin.btnCloseMove) << id;
        EXPECT_EQ(panel->closeButton.cursor, CTPngFace::CursorHand) << id;
    }
}

TEST_F(SmallPanelsTest, AboutShowsTheVersionAndEndsWithCloseOrEscape)
{
    CAboutNewDlg about(nullptr);
    EXPECT_EQ(RunWith<CAboutNewDlg>(about,
                                    [&](CAboutNewDlg& d) {
                                        EXPECT_EQ(d.version.Text(), u"V1.0.0.1");
                                        EXPECT_EQ(d.contact.Text(), u"help@example.com");
                                        EXPECT_EQ(d.versionLabel.alignment, 6);
                                        EXPECT_EQ(d.notice.normalColor, Rgb(102, 102, 102));
                                        driver->PressKey(d, KeyReturn);
                                        EXPECT_TRUE(d.IsVisible());
                                        driver->Click(d.closeButton);
                                    }),
              1);
    CAboutNewDlg again(nullptr);
    EXPECT_EQ(RunWith<CAboutNewDlg>(again, [&](CAboutNewDlg& d) { driver->PressKey(d, KeyEscape); }), 2);

    CAboutDlg plain(nullptr);
    EXPECT_EQ(RunWith<CAboutDlg>(plain,
                                 [&](CAboutDlg& d) {
                                     EXPECT_EQ(d.Text(), u"About Application");
                                     driver->Click(*d.Control(1));
                                 }),
              1);
}

TEST_F(SmallPanelsTest, NoAdapterPanelShowsTheStateAndItsCloseButtonOnlyHides)
{
    CCardNoDlg panel(nullptr);
    ASSERT_TRUE(panel.Create());
    EXPECT_FALSE(panel.IsVisible());
    EXPECT_EQ(panel.buyLink.linkTarget, "https://example.com/kavlo-adapter");
    EXPECT_TRUE(panel.buyLink.clickable);
    panel.Show(true);
    panel.SetCardState(AdapterDisabled);
    EXPECT_EQ(panel.picture.normalImage, app->skin.cardDisable);
    EXPECT_FALSE(panel.buyLink.IsVisible());
    EXPECT_EQ(panel.message.Text(), u"Please check network adapter is enabled");
    panel.SetCardState(7);
    EXPECT_EQ(panel.picture.normalImage, app->skin.cardDisable);
    panel.SetCardState(AdapterNone);
    EXPECT_EQ(panel.picture.normalImage, app->skin.cardNo);
    EXPECT_TRUE(panel.buyLink.IsVisible());
    EXPECT_EQ(panel.message.Text(), u"Please insert the network adapter");
    driver->MoveMouse(panel.buyLink, {5, 5});
    EXPECT_TRUE(panel.buyLink.ShowsHandCursor());
    driver->PressKey(panel, KeyEscape);
    EXPECT_TRUE(panel.IsVisible());
    driver->Click(panel.closeButton);
    EXPECT_FALSE(panel.IsVisible());
    EXPECT_TRUE(panel.Exists());
}

TEST_F(SmallPanelsTest, NoAdapterPanelStaysWhenThereIsNoTrayToBringItBack)
{
    ui->virtualTrayHost = false;
    CCardNoDlg panel(nullptr);
    ASSERT_TRUE(panel.Create());
    panel.Show(true);
    driver->Click(panel.closeButton);
    EXPECT_TRUE(panel.IsVisible());
    panel.OnClose(); // as the window manager asks
    EXPECT_TRUE(panel.IsVisible());
    ui->virtualTrayHost = true;
    panel.OnClose();
    EXPECT_FALSE(panel.IsVisible());
}

class ChinesePanelsTest : public AppFixture {
protected:
    ChinesePanelsTest() : AppFixture(2052) {}
};

TEST_F(ChinesePanelsTest, PanelsAreTranslatedWhenTheyStart)
{
    CCardNoDlg panel(nullptr);
    panel.Create();
    EXPECT_EQ(panel.title.Text(), app->language.Text(u"Kavlo Network Adapter"));
    EXPECT_NE(panel.buyLink.Text(), u"No network adapter, to buy !");
}

TEST_F(ChinesePanelsTest, EveryTopLevelWindowCarriesTheIconAndTheProductName)
{
    CApplicationDlg main;
    ASSERT_TRUE(main.Create());
    const std::u16string product = app->language.Text(u"Kavlo Network Adapter");
    ASSERT_NE(product, u"Kavlo Network Adapter");
    EXPECT_TRUE(main.HasIcon());
    EXPECT_EQ(main.ListedTitle(), product);
    EXPECT_TRUE(main.noAdapterPanel.HasIcon());
    EXPECT_EQ(main.noAdapterPanel.ListedTitle(), product);

    struct Listed { int templateId; bool icon; std::u16string title; };
    std::vector<Listed> seen;
    auto look = [&](int templateId) {
        CDialog* dialog = driver->FindWindow(templateId);
        ASSERT_NE(dialog, nullptr) << templateId;
        seen.push_back({templateId, dialog->HasIcon(), dialog->ListedTitle()});
        dialog->EndDialog(CDialog::ResultCancel);
    };
    driver->After(10ms, [&] { look(CExitDlg::templateId); });
    CExitDlg(&main).DoModal();
    driver->After(10ms, [&] { look(CAboutNewDlg::templateId); });
    CAboutNewDlg(&main).DoModal();
    driver->After(10ms, [&] { look(CAboutDlg::templateId); });
    CAboutDlg(&main).DoModal();
    driver->After(10ms, [&] { look(CMessageBox::templateId); });
    CMessageBox::Show(&main, u"OK");
    ASSERT_EQ(seen.size(), 4u);
    for (const Listed& listed : seen)
        EXPECT_TRUE(listed.icon) << listed.templateId;
    EXPECT_EQ(seen[0].title, product);
    EXPECT_EQ(seen[1].title, product);
    EXPECT_EQ(seen[2].title, app->language.Text(u"About Application") + u" \u2014 " + product);
    EXPECT_EQ(seen[3].title, product);
}

TEST_F(ChinesePanelsTest, APanelOpenedAgainFromTheMenusIsTranslatedAgain)
{
    // Exit, Exit again, About, then Exit: each panel lives on the stack of the
    // same menu handler, so each new one may lie where the last one was.
    CApplicationDlg window;
    std::vector<std::u16string> shown;
    auto answerExit = [&] {
        auto* confirm = static_cast<CExitDlg*>(driver->FindWindow(CExitDlg::templateId));
        ASSERT_NE(confirm, nullptr);
        shown.push_back(confirm->question.Text());
        driver->Click(confirm->cancelButton);
    };
    auto closeAbout = [&] {
        auto* about = static_cast<CAboutNewDlg*>(driver->FindWindow(CAboutNewDlg::templateId));
        ASSERT_NE(about, nullptr);
        shown.push_back(about->versionLabel.Text());
        driver->Click(about->closeButton);
    };
    struct Step { int command; std::function<void()> answer; };
    const std::vector<Step> steps = {
        {32772, answerExit}, {32776, answerExit}, {32775, closeAbout}, {32772, answerExit}};
    for (std::size_t i = 0; i < steps.size(); ++i)
        driver->At(std::chrono::milliseconds(100 * (i + 1)), [&, i] {
            driver->After(10ms, steps[i].answer);
            window.OnCommand(steps[i].command);
        });
    driver->At(1000ms, [&] { window.EndDialog(CDialog::ResultCancel); });
    window.DoModal();

    const std::u16string question = app->language.Text(u"Sure to exit?");
    ASSERT_NE(question, u"Sure to exit?");
    const std::vector<std::u16string> expected = {question, question, app->language.Text(u"Version :"), question};
    EXPECT_EQ(shown, expected);
}

} // namespace
