#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ui/framework/CDialogTemplate.h"

// The dialog templates in resources/dialogs: each loads, has a size, and
// every control has a class and lies inside its dialog, ids unique.
namespace {

const std::string folder =
    std::string(ZARNWELL_SOURCE_DIR) + "resources/dialogs/";

TEST(ShippedTemplates, EveryControlHasAClassAndLiesInsideItsDialog)
{
    const std::set<std::string> classes = {"Static", "Button", "Edit", "ComboBox", "MFCGridCtrl"};
    int dialogs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("Dialog", 0) != 0)
            continue;
        int id = std::stoi(name.substr(6));
        CDialogTemplate dialog;
        ASSERT_TRUE(dialog.Load(folder, id)) << name;
        ++dialogs;
        EXPECT_GT(dialog.size.width, 0) << name;
        EXPECT_GT(dialog.size.height, 0) << name;
        std::set<int> ids;
        for (const CDialogTemplate::Control& control : dialog.controls) {
            EXPECT_TRUE(classes.count(control.className)) << name << " " << control.id;
            EXPECT_GE(control.rect.x, 0) << name << " " << control.id;
            EXPECT_GE(control.rect.y, 0) << name << " " << control.id;
            EXPECT_LE(control.rect.Right(), dialog.size.width) << name << " " << control.id;
            // A combo box's height is its dropped list's; its field is one line.
            int bottom = control.className == "ComboBox" ? control.rect.y + 14 : control.rect.Bottom();
            EXPECT_LE(bottom, dialog.size.height) << name << " " << control.id;
            if (control.id != -1)
                EXPECT_TRUE(ids.insert(control.id).second) << name << " repeats " << control.id;
        }
    }
    EXPECT_GE(dialogs, 12);
}

TEST(ShippedTemplates, TheMainWindowHasTheRectanglesItIsLaidOutWith)
{
    CDialogTemplate main;
    ASSERT_TRUE(main.Load(folder, 102));
    EXPECT_EQ(main.size, (CSize{183, 280}));
    ASSERT_EQ(main.controls.size(), 6u);
    EXPECT_EQ(main.controls[4].id, 1005);
    EXPECT_EQ(main.controls[4].rect, (CRect{1, 22, 90, 23}));
    EXPECT_EQ(main.controls[4].text, u"Station Mode");
    EXPECT_EQ(DluToPixels(main.controls[5].rect), (CRect{138, 36, 135, 37}));
    EXPECT_TRUE(main.controls[1].Has("hidden"));
}

} // namespace
