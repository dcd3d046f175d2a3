#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/CodePage.h"
#include "ui/CAboutDlg.h"
#include "ui/CAboutNewDlg.h"
#include "ui/CApplicationDlg.h"
#include "ui/CExitDlg.h"
#include "ui/WindowTexts.h"
#include "ui/framework/CPainter.h"
#include "tests/ui/AppFixture.h"

using namespace std::chrono_literals;

// Every shipped window in both languages, as it is built: each text fits its
// control in the control's font (a line the control does not break is no
// wider than the control, and a text it wraps has no more lines than the
// control holds; a static the toolkit draws holds its text's height), and
// each picture is no larger than its control.
namespace {

int LineHeight(const CFont& font)
{
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(font);
    return measure.LineHeight();
}

int TextWidth(const std::u16string& text, const CFont& font)
{
    CSurface scratch(1, 1, 0);
    CPainter measure(scratch);
    measure.SetFont(font);
    return measure.TextWidth(text);
}

// A window of a template that no class builds yet: its title bar and its
// statics in the common text style, as the panels style theirs.
class CTemplatePanel : public CTDialog {
public:
    CTemplatePanel(int templateId, const std::string& folder) : CTDialog(templateId, nullptr)
    {
        CDialogTemplate shape;
        shape.Load(folder, templateId);
        for (const CDialogTemplate::Control& control : shape.controls) {
            if (control.id == titleId || control.id == closeId)
                continue;
            if (control.className == "Static" && control.id != -1 && control.image.empty())
                Bind(control.id, *statics.emplace_back(std::make_unique<CTStaticPng>()));
        }
        BindTitleBar();
    }
    bool OnInitDialog() override
    {
        InitSkinnedWindow("");
        for (auto& control : statics)
            ApplyTextStyle(*control, App().settings.textBlackColor, App().settings);
        return true;
    }
    std::vector<std::unique_ptr<CTStaticPng>> statics;
};

class ShippedTextsFitTest : public AppFixture, public ::testing::WithParamInterface<uint32_t> {
protected:
    ShippedTextsFitTest() : AppFixture(GetParam()) {}

    void Check(CDialog& window, const std::string& state = "")
    {
        checked.insert(window.TemplateId());
        const std::string where = "Dialog" + std::to_string(window.TemplateId()) + state + " control ";
        // The template's controls are the window's first children, in order.
        const std::vector<CDialogTemplate::Control>& shapes = window.Template().controls;
        const std::vector<CWindow*> controls = window.Children();
        ASSERT_GE(controls.size(), shapes.size()) << where;
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const CDialogTemplate::Control& shape = shapes[i];
            CWindow* control = controls[i];
            if (!control->IsVisible())
                continue;
            const CSize size = control->ClientSize();
            if (auto* face = dynamic_cast<CTPngFace*>(control)) {
                CheckText(where + std::to_string(shape.id), face->text.empty() ? face->Text() : face->text, face->font,
                          size);
                for (const std::string& image : {face->normalImage, face->hoverImage, face->pressedImage})
                    CheckPicture(where + std::to_string(shape.id), image, size);
            } else if (shape.className == "Static") {
                // Drawn by the toolkit in its own font, wrapped at the width.
                if (control->TextHeight() > size.height)
                    problems.push_back(where + std::to_string(shape.id) + ": \"" + Utf16ToUtf8(control->Text()) +
                                       "\" is " + std::to_string(control->TextHeight()) + " pixels high in " +
                                       std::to_string(size.height));
                if (!shape.image.empty())
                    CheckPicture(where + std::to_string(shape.id), ui->TemplateFolder() + shape.image, size);
            }
        }
    }

    void CheckText(const std::string& where, const std::u16string& text, const CFont& font, CSize size)
    {
        if (text.empty())
            return;
        const std::size_t lines = CTPngFace::BreakLines(text, size.width, font).size();
        const std::size_t room = std::max(1, size.height / LineHeight(font));
        if (lines > room)
            problems.push_back(where + ": \"" + Utf16ToUtf8(text) + "\" takes " + std::to_string(lines) +
                               " lines, room for " + std::to_string(room) + " (" +
                               std::to_string(TextWidth(text, font)) + " pixels wide in " +
                               std::to_string(size.width) + ")");
    }

    void CheckPicture(const std::string& where, const std::string& path, CSize size)
    {
        CSurface picture;
        if (path.empty() || !picture.LoadFile(path))
            return;
        if (picture.Width() > size.width || picture.Height() > size.height)
            problems.push_back(where + ": " + std::filesystem::path(path).filename().string() + " is " +
                               std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()) + " in " +
                               std::to_string(size.width) + "x" + std::to_string(size.height));
    }

    // Runs a modal window and checks it from inside its loop.
    void CheckModal(CDialog& dialog)
    {
        driver->After(10ms, [&] {
            Check(dialog);
            dialog.EndDialog(CDialog::ResultCancel);
        });
        dialog.DoModal();
    }

    std::set<int> checked;
    std::vector<std::string> problems;
};

TEST_P(ShippedTextsFitTest, EveryTextAndPictureFitsItsControl)
{
    CApplicationDlg main;
    ASSERT_TRUE(main.Create());
    main.Show(true);
    Check(main);
    main.noAdapterPanel.Show(true);
    for (int state : {0, 1}) {
        main.noAdapterPanel.SetCardState(state);
        Check(main.noAdapterPanel, " state " + std::to_string(state));
    }
    CExitDlg exitPanel(&main);
    CheckModal(exitPanel);
    CAboutNewDlg about(&main);
    CheckModal(about);
    CAboutDlg plainAbout(&main);
    CheckModal(plainAbout);

    // The templates no window class builds yet, and the message box's frame.
    std::vector<int> rest;
    for (const auto& entry : std::filesystem::directory_iterator(ui->TemplateFolder())) {
        const std::string name = entry.path().stem().string();
        if (name.rfind("Dialog", 0) == 0 && !checked.count(std::stoi(name.substr(6))))
            rest.push_back(std::stoi(name.substr(6)));
    }
    for (int templateId : rest) {
        CTemplatePanel panel(templateId, ui->TemplateFolder());
        ASSERT_TRUE(panel.Create()) << templateId;
        panel.Show(true);
        Check(panel);
    }
    EXPECT_GE(checked.size(), 12u);
    std::string all;
    for (const std::string& problem : problems)
        all += problem + "\n";
    EXPECT_TRUE(problems.empty()) << all;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ShippedTextsFitTest, ::testing::Values(1033u, 2052u));

} // namespace
