// The virtual clock's behaviour the window tests rely on: timers fire in
// order, pumped waits run them, and a timer may stop itself or another
// from inside a callback.
#include "core/VirtualClock.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace orb;

TEST(VirtualClock, TimersFireInOrderOfTheirDueTimes)
{
    VirtualClock clock;
    std::string fired;
    auto slow = clock.createTimer(300, [&] { fired += 'S'; });
    auto fast = clock.createTimer(100, [&] { fired += 'F'; });
    slow->setEnabled(true);
    fast->setEnabled(true);
    clock.advance(99);
    EXPECT_EQ(fired, "");
    clock.advance(601);
    // 100 F, 200 F, 300 S and F (made first, fires first), 400 F ... 700 F.
    EXPECT_EQ(fired, "FFSFFFSFF");
    EXPECT_EQ(clock.nowMs(), 700);
}

TEST(VirtualClock, SleepAloneFiresNothingAndAPumpFiresWhatIsDue)
{
    VirtualClock clock;
    int ticks = 0;
    auto t = clock.createTimer(200, [&] { ++ticks; });
    t->setEnabled(true);
    clock.sleepMs(1000);
    EXPECT_EQ(ticks, 0);
    clock.pumpEvents(); // overdue: once, and the next interval starts now
    EXPECT_EQ(ticks, 1);
    clock.advance(199);
    EXPECT_EQ(ticks, 1);
    clock.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST(VirtualClock, PumpedWaitInsideACallbackRunsTheOtherTimers)
{
    // The device tick waits 2.1 s with the queue pumped; the caption timer
    // keeps running meanwhile, and the tick does not re-enter itself.
    VirtualClock clock;
    int device = 0;
    int caption = 0;
    auto deviceTimer = clock.createTimer(3500, [&] {
        ++device;
        clock.waitPumped(21, 100);
    });
    auto captionTimer = clock.createTimer(200, [&] { ++caption; });
    deviceTimer->setEnabled(true);
    captionTimer->setEnabled(true);
    clock.advance(3500);
    EXPECT_EQ(device, 1);
    EXPECT_EQ(clock.nowMs(), 3500 + 2100);
    // 200 ... 3400 before the tick, then 3600 ... 5600 inside its wait.
    EXPECT_EQ(caption, 17 + 11);
    EXPECT_EQ(clock.pumpCount(), 21);
}

TEST(VirtualClock, TimerStoppedInItsOwnCallbackOrByAnotherDoesNotFire)
{
    VirtualClock clock;
    int once = 0;
    int victim = 0;
    std::unique_ptr<Timer> self;
    self = clock.createTimer(100, [&] {
        ++once;
        self->setEnabled(false);
    });
    // Made before its victim and due at the same time: it runs first in the
    // round that would fire both, so only the firing loop can skip the victim.
    std::unique_ptr<Timer> stopped;
    auto stopper = clock.createTimer(100, [&] { stopped->setEnabled(false); });
    stopped = clock.createTimer(100, [&] { ++victim; });
    self->setEnabled(true);
    stopper->setEnabled(true);
    stopped->setEnabled(true);
    clock.advance(1000);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(victim, 0);
    EXPECT_FALSE(self->isEnabled());
    EXPECT_FALSE(stopped->isEnabled());
}

TEST(VirtualClock, EnablingARunningTimerKeepsItsDueTimeAndRestartingGivesAFullInterval)
{
    VirtualClock clock;
    int ticks = 0;
    auto t = clock.createTimer(100, [&] { ++ticks; });
    t->setEnabled(true);
    clock.advance(60);
    t->setEnabled(true); // already running: still due at 100
    clock.advance(40);
    EXPECT_EQ(ticks, 1);
    clock.advance(30);
    t->setEnabled(false);
    t->setEnabled(true); // a stopped timer starts a full interval: due at 230
    clock.advance(99);
    EXPECT_EQ(ticks, 1);
    clock.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST(VirtualClock, TimerDestroyedByAnotherCallbackIsSkipped)
{
    VirtualClock clock;
    int later = 0;
    // The killer is made first and both are due at 100: it runs first in
    // that round, while the round's copy of the timers still holds the
    // doomed one.
    std::unique_ptr<Timer> doomed;
    auto killer = clock.createTimer(100, [&] { doomed.reset(); });
    doomed = clock.createTimer(100, [&] { ++later; });
    killer->setEnabled(true);
    doomed->setEnabled(true);
    clock.advance(100);
    EXPECT_FALSE(doomed);
    EXPECT_EQ(later, 0);
    clock.advance(100);
    EXPECT_EQ(later, 0);
}

TEST(VirtualClock, SleepOfAnotherThreadLeavesTheTimeAndGoesToTheHook)
{
    VirtualClock clock;
    clock.advance(100);
    std::vector<int> foreign;
    clock.setForeignSleepHook([&](int ms) { foreign.push_back(ms); });
    std::thread worker([&] {
        clock.sleepMs(5);
        clock.sleepMs(0);
    });
    worker.join();
    EXPECT_EQ(clock.nowMs(), 100);
    EXPECT_EQ(foreign, (std::vector<int>{5, 0}));

    clock.sleepMs(5); // the clock's own thread moves the time
    EXPECT_EQ(clock.nowMs(), 105);
    EXPECT_EQ(foreign.size(), 2u);
}
