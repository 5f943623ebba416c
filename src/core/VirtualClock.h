#pragma once
#include "core/Clock.h"

#include <functional>
#include <thread>
#include <vector>

namespace orb
{

// Virtual time for tests. Sleeps only move the time on; a pump fires the
// timers that have come due (once each, as Qt coalesces missed ticks), and
// advance() lets time pass as if the event loop were idle.
class VirtualClock final : public Clock
{
  public:
    VirtualClock();
    ~VirtualClock() override;

    void sleepMs(int ms) override;
    void pumpEvents() override;
    std::int64_t nowMs() const override { return now_; }
    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTick) override;

    // Lets `ms` pass with an idle event loop, firing every timer when due.
    void advance(std::int64_t ms);
    // Extra work done on every pump (for example Qt's own event processing).
    void setPumpHook(std::function<void()> hook) { pumpHook_ = std::move(hook); }
    // Sleeps of other threads than the one that made the clock (a worker of
    // the code under test): they do not move the time, which belongs to the
    // test's thread; the hook decides how they wait (for example in turns
    // with the test). Without a hook they return at once.
    void setForeignSleepHook(std::function<void(int ms)> hook) { foreignSleep_ = std::move(hook); }
    int pumpCount() const { return pumps_; }

  private:
    class VTimer;
    friend class VTimer;
    void fireDue();
    std::vector<VTimer*> timers_;
    std::int64_t now_ = 0;
    int pumps_ = 0;
    std::function<void()> pumpHook_;
    std::function<void(int ms)> foreignSleep_;
    std::thread::id owner_ = std::this_thread::get_id();
};

} // namespace orb
