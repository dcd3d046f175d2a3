#include <gtest/gtest.h>

#include <atomic>

#include "platform/Event.h"
#include "platform/MockClock.h"
#include "platform/RealClock.h"
#include "platform/WorkerThread.h"

using namespace std::chrono_literals;

namespace {

// Sets its flag when it goes, as the worker's stack unwinds or returns.
struct CUnwindWitness {
    std::atomic<bool>& gone;
    ~CUnwindWitness() { gone = true; }
};

class WorkerThreadTest : public ::testing::Test {
protected:
    WorkerThreadTest() { clock.Participate(); }
    ~WorkerThreadTest() override { clock.Leave(); }
    CMockClock clock;
};

TEST_F(WorkerThreadTest, TimedJoinSeesAWorkerThatEndsInTime)
{
    CWorkerThread worker;
    worker.Start(clock, [&] { clock.Sleep(999ms); });
    EXPECT_TRUE(worker.WaitFor(1000ms));
    EXPECT_EQ(clock.Now(), 999ms);
    worker.Release();
    EXPECT_FALSE(worker.HasThread());
}

TEST_F(WorkerThreadTest, TimedJoinGivesUpAfterItsTimeout)
{
    CWorkerThread worker;
    worker.Start(clock, [&] { clock.Sleep(1001ms); });
    EXPECT_FALSE(worker.WaitFor(1000ms));
    EXPECT_EQ(clock.Now(), 1000ms);
    worker.Terminate();
    EXPECT_FALSE(worker.HasThread());
}

TEST_F(WorkerThreadTest, TerminatedWorkerRunsNothingAfterItsWait)
{
    std::atomic<int> after = 0;
    CEvent never(clock, CEvent::AutoReset);
    CWorkerThread worker;
    worker.Start(clock, [&] {
        never.Wait();
        after = 1;
    });
    clock.FastForwardBy(5000ms);
    worker.Terminate();
    EXPECT_EQ(after, 0);
}

TEST_F(WorkerThreadTest, TerminationUnwindsAtTheNextCheckpoint)
{
    std::atomic<bool> spinning = false;
    std::atomic<bool> unwound = false;
    std::atomic<int> after = 0;
    CWorkerThread worker;
    worker.Start(clock, [&] {
        CUnwindWitness witness{unwound};
        spinning = true;
        // Busy without ever waiting on the clock, until it is marked.
        while (!CWorkerThread::TerminationRequested(CWorkerThread::Current())) {
        }
        CWorkerThread::CheckTermination(); // stands for a driver call
        after = 1;
    });
    while (!spinning) {
    }
    worker.Terminate();
    EXPECT_TRUE(unwound);
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(worker.HasThread());
}

TEST(WorkerThreadRealClockTest, TerminationWakesARealWait)
{
    CRealClock clock;
    CEvent never(clock, CEvent::ManualReset);
    std::atomic<int> after = 0;
    CWorkerThread worker;
    worker.Start(clock, [&] {
        never.Wait();
        after = 1;
    });
    worker.Terminate();
    EXPECT_EQ(after, 0);
}

TEST(WorkerThreadRealClockTest, DestructionEndsARunningWorker)
{
    CRealClock clock;
    CEvent never(clock, CEvent::ManualReset);
    std::atomic<bool> started = false;
    std::atomic<bool> unwound = false;
    std::atomic<int> after = 0;
    {
        CWorkerThread worker;
        worker.Start(clock, [&] {
            CUnwindWitness witness{unwound};
            started = true;
            never.Wait();
            after = 1;
        });
        while (!started) {
        }
    }
    // Ended and joined before the destructor returned.
    EXPECT_TRUE(unwound);
    EXPECT_EQ(after, 0);
}

} // namespace
