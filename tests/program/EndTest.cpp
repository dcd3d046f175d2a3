#include <thread>

#include "tests/program/ProgramFixture.h"
#include "ui/CExitDlg.h"
#include "ui/ModalPopup.h"

using namespace std::chrono_literals;

namespace {

constexpr int commandExit = 32772;

using EndTest = ProgramFixture;

TEST_F(EndTest, AnEndRequestEndsEveryOpenLoopAndTheProgramStopsWithinASecond)
{
    At(2002ms, [&] { window->OnCommand(commandExit); }); // the exit panel's loop runs inside the main window's
    At(3000ms, [&] {
        ASSERT_NE(ActivePopup(), nullptr);
        EXPECT_EQ(ActivePopup()->TemplateId(), CExitDlg::templateId);
        std::thread signalThread([&] { program->RequestEnd(); }); // as the signal thread asks
        signalThread.join();
    });
    At(5000ms, [&] {
        ADD_FAILURE() << "the exit panel held the program";
        ActivePopup()->EndDialog(CDialog::ResultCancel);
        window->EndDialog(CDialog::ResultCancel);
    });
    Run();
    EXPECT_EQ(clock.Now(), 3000ms); // at the same instant, nothing more ran
    EXPECT_EQ(ActivePopup(), nullptr);
    program.reset(); // the adapter's workers stop
    EXPECT_LT(clock.Now(), 4000ms);
}

TEST_F(EndTest, AnEndAskedForBeforeTheMainWindowRunsEndsItAsItStarts)
{
    program->RequestEnd(); // a signal during start-up
    Run();
    EXPECT_LT(clock.Now(), 1000ms);
    EXPECT_EQ(program->app.exitStatus, 0);
}

} // namespace
