#include <gtest/gtest.h>

#include "ui/CAboutNewDlg.h"
#include "ui/CExitDlg.h"
#include "ui/ModalPopup.h"
#include "tests/ui/AppFixture.h"

using namespace std::chrono_literals;

namespace {

class ModalPopupTest : public AppFixture {};

TEST_F(ModalPopupTest, EachRunIsTheActivePopupUntilItIsClosedFromOutside)
{
    EXPECT_EQ(ActivePopup(), nullptr);
    CloseActivePopup(); // nothing runs: nothing happens
    for (int run = 0; run < 2; ++run) {
        CExitDlg dialog(nullptr);
        driver->After(100ms, [&] {
            EXPECT_EQ(ActivePopup(), &dialog) << run;
            EXPECT_NE(driver->FindWindow(CExitDlg::templateId), nullptr);
            CloseActivePopup();
            EXPECT_EQ(ActivePopup(), nullptr) << run;
        });
        EXPECT_EQ(RunModalPopup(dialog), CDialog::ResultCancel) << run;
        EXPECT_EQ(ActivePopup(), nullptr) << run;
        EXPECT_EQ(driver->FindWindow(CExitDlg::templateId), nullptr) << run;
    }
}

TEST_F(ModalPopupTest, APopupOpenedFromAnotherHandsTheActivePlaceBackWhenItEnds)
{
    CAboutNewDlg outer(nullptr);
    CExitDlg inner(nullptr);
    int innerResult = 0;
    driver->After(100ms, [&] {
        EXPECT_EQ(ActivePopup(), &outer);
        driver->After(100ms, [&] {
            EXPECT_EQ(ActivePopup(), &inner);
            inner.EndDialog(CDialog::ResultOk);
        });
        innerResult = RunModalPopup(inner);
        EXPECT_EQ(ActivePopup(), &outer);
        driver->After(100ms, [&] { CloseActivePopup(); });
    });
    EXPECT_EQ(RunModalPopup(outer), CDialog::ResultCancel);
    EXPECT_EQ(innerResult, CDialog::ResultOk);
    EXPECT_EQ(ActivePopup(), nullptr);
}

} // namespace
