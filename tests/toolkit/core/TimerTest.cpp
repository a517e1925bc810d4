#include <gtest/gtest.h>

#include "LxElapsedTimer.h"
#include "LxTimer.h"
#include "MessagePump.h"

namespace {

class Counter : public LxRttiObject {
public:
    void tick()
    {
        ++ticks;
        if (ticks == 1)
            firstTick = tickCount64();
        lastTick = tickCount64();
        if (stopAt && ticks == stopAt)
            timer->stop();
        if (deleteAt && ticks == deleteAt) {
            delete timer;
            timer = nullptr;
        }
    }
    LxTimer* timer = nullptr;
    int ticks = 0;
    int stopAt = 0;
    int deleteAt = 0;
    std::uint64_t firstTick = 0;
    std::uint64_t lastTick = 0;
};

TEST(LxTimer, FiresPeriodicallyUntilStopped)
{
    LxTimer timer;
    Counter counter;
    counter.timer = &timer;
    timer.timeout.connect(&counter, &Counter::tick);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.interval(), -1);
    EXPECT_EQ(timer.timerId(), -1);

    timer.start(20);
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 20);
    ASSERT_TRUE(pumpUntil([&] { return counter.ticks >= 6; }));
    // Loose: five periods cannot pass in much less than 5 x 20 ms.
    EXPECT_GE(counter.lastTick - counter.firstTick, 50u);

    timer.stop();
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.interval(), -1);
    const int ticks = counter.ticks;
    pumpFor(100);
    EXPECT_EQ(counter.ticks, ticks);

    timer.start(20);  // restart
    EXPECT_TRUE(pumpUntil([&] { return counter.ticks > ticks; }));
}

TEST(LxTimer, StartKeepsOrRenewsTheNativeTimer)
{
    LxTimer a;
    LxTimer b;
    a.start(100);
    const int first = a.timerId();
    EXPECT_GE(first, 1);
    a.start(100);  // same interval: same timer
    EXPECT_EQ(a.timerId(), first);

    b.start(100);
    EXPECT_EQ(b.timerId(), first + 1);
    a.start(200);  // another interval: stopped and started with a new id
    EXPECT_EQ(a.timerId(), first + 2);
    EXPECT_EQ(a.interval(), 200);

    a.stop();
    b.stop();
    LxTimer c;
    c.start(50);
    EXPECT_EQ(c.timerId(), first + 3);  // ids only grow
}

TEST(LxTimer, HiddenWindowLivesWhileATimerRuns)
{
    LxTimer a;
    LxTimer b;
    a.start(1000);
    LxTimerService* service = LxTimerService::existing();
    ASSERT_NE(service, nullptr);
    const HWND window = service->window();
    ASSERT_NE(window, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"LxTimerServiceWindow");
    EXPECT_FALSE(IsWindowVisible(window));

    b.start(1000);
    a.stop();
    EXPECT_TRUE(IsWindow(window));
    b.stop();
    EXPECT_EQ(service->window(), nullptr);
    EXPECT_FALSE(IsWindow(window));

    a.start(1000);
    EXPECT_NE(service->window(), nullptr);
    EXPECT_TRUE(IsWindow(service->window()));
}

TEST(LxTimer, StoppedOrDeletedInsideItsOwnTimeout)
{
    Counter oneShot;
    LxTimer timer;
    oneShot.timer = &timer;
    oneShot.stopAt = 1;
    timer.timeout.connect(&oneShot, &Counter::tick);
    timer.start(10);

    Counter deleting;
    deleting.timer = new LxTimer;
    deleting.deleteAt = 2;
    deleting.timer->timeout.connect(&deleting, &Counter::tick);
    deleting.timer->start(10);

    ASSERT_TRUE(pumpUntil([&] { return deleting.timer == nullptr; }));
    pumpFor(60);
    EXPECT_EQ(oneShot.ticks, 1);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(deleting.ticks, 2);
}

TEST(LxTimer, DestructionStopsTheTimer)
{
    Counter counter;
    {
        LxTimer timer;
        timer.timeout.connect(&counter, &Counter::tick);
        timer.start(10);
        EXPECT_EQ(LxTimerService::existing()->timerCount(), 1u);
    }
    EXPECT_EQ(LxTimerService::existing()->timerCount(), 0u);
    pumpFor(50);
    EXPECT_EQ(counter.ticks, 0);
}

} // namespace
