#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ClockMutex.h"
#include "platform/Event.h"
#include "platform/MockClock.h"
#include "platform/WorkerThread.h"

using namespace std::chrono_literals;

namespace {

class MockClockTest : public ::testing::Test {
protected:
    MockClockTest() { clock.Participate(); }
    ~MockClockTest() override { clock.Leave(); }
    CMockClock clock;
};

TEST_F(MockClockTest, TimeStandsStillUntilFastForward)
{
    EXPECT_EQ(clock.Now(), 0ms);
    clock.FastForwardBy(1999ms);
    EXPECT_EQ(clock.Now(), 1999ms);
}

TEST_F(MockClockTest, SleepingWorkerWakesExactlyAtItsDeadline)
{
    std::atomic<int> woke = 0;
    CWorkerThread worker;
    worker.Start(clock, [&] {
        clock.Sleep(1000ms);
        woke = 1;
    });
    clock.FastForwardBy(999ms);
    EXPECT_EQ(woke, 0);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(woke, 1);
    worker.Release();
}

TEST_F(MockClockTest, PeriodicWorkerTicksOncePerPeriod)
{
    std::atomic<int> ticks = 0;
    std::atomic<bool> run = true;
    CWorkerThread worker;
    worker.Start(clock, [&] {
        while (run) {
            ++ticks;
            clock.Sleep(500ms);
        }
    });
    clock.FastForwardBy(2499ms);
    EXPECT_EQ(ticks, 5); // at 0, 500, 1000, 1500, 2000
    clock.FastForwardBy(1ms);
    EXPECT_EQ(ticks, 6);
    run = false;
    EXPECT_TRUE(worker.WaitFor(1000ms));
    worker.Release();
}

TEST_F(MockClockTest, EventWaitEndsOnSignalOrTimeout)
{
    CEvent event(clock, CEvent::AutoReset);
    std::atomic<int> result = -1;
    CWorkerThread worker;
    worker.Start(clock, [&] { result = event.Wait(300ms) ? 1 : 0; });
    clock.FastForwardBy(299ms);
    EXPECT_EQ(result, -1);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(result, 0);
    worker.Release();

    worker.Start(clock, [&] { result = event.Wait(300ms) ? 1 : 0; });
    clock.FastForwardBy(100ms);
    event.Set();
    clock.FastForwardBy(0ms);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(clock.Now(), 400ms);
    worker.Release();
}

TEST_F(MockClockTest, AutoResetEventReleasesOneWaiterPerSet)
{
    CEvent event(clock, CEvent::AutoReset);
    std::atomic<int> released = 0;
    CWorkerThread a, b;
    auto body = [&] {
        if (event.Wait(1000ms))
            ++released;
    };
    a.Start(clock, body);
    b.Start(clock, body);
    clock.FastForwardBy(10ms);
    event.Set();
    clock.FastForwardBy(10ms);
    EXPECT_EQ(released, 1);
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(released, 1);
    a.Release();
    b.Release();
}

TEST_F(MockClockTest, ManualResetEventReleasesEveryWaiter)
{
    CEvent event(clock, CEvent::ManualReset);
    std::atomic<int> released = 0;
    CWorkerThread a, b;
    auto body = [&] {
        if (event.Wait())
            ++released;
    };
    a.Start(clock, body);
    b.Start(clock, body);
    clock.FastForwardBy(10ms);
    event.Set();
    clock.FastForwardBy(0ms);
    EXPECT_EQ(released, 2);
    a.Release();
    b.Release();
}

TEST_F(MockClockTest, ChainedWorkAtTheTargetRunsBeforeFastForwardReturns)
{
    CEvent event(clock, CEvent::AutoReset);
    std::atomic<int> stage = 0;
    CWorkerThread producer, consumer;
    consumer.Start(clock, [&] {
        event.Wait();
        stage = 2;
    });
    producer.Start(clock, [&] {
        clock.Sleep(500ms);
        stage = 1;
        event.Set();
    });
    clock.FastForwardBy(500ms);
    EXPECT_EQ(stage, 2);
    producer.Release();
    consumer.Release();
}

} // namespace

namespace {

TEST_F(MockClockTest, ThreadWaitingForAClockMutexLetsTimeMoveForItsHolder)
{
    CClockMutex slot(clock);
    std::atomic<int> order = 0;
    CWorkerThread holder, waiter;
    holder.Start(clock, [&] {
        std::lock_guard lock(slot);
        clock.Sleep(1000ms); // a timed wait while another thread waits for the lock
        order = 1;
    });
    clock.FastForwardBy(0ms);
    waiter.Start(clock, [&] {
        std::lock_guard lock(slot);
        order = order * 10 + 2;
    });
    clock.FastForwardBy(999ms);
    EXPECT_EQ(order, 0);
    clock.FastForwardBy(1ms);
    EXPECT_EQ(order, 12);
    holder.Release();
    waiter.Release();
}

} // namespace

namespace {

TEST_F(MockClockTest, NonParticipantWaitsNeverDriveTime)
{
    std::atomic<bool> woke = false;
    std::thread outsider([&] {
        std::unique_lock lock(clock.Mutex());
        clock.WaitLocked(lock, [] { return false; }, Ms(100)); // until 100 ms, whenever it starts
        woke = true;
    });
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(clock.Now(), 1000ms);
    outsider.join(); // woken when time passed its deadline
    EXPECT_TRUE(woke);
}

} // namespace
