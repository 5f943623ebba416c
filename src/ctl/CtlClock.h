#pragma once
#include "core/Clock.h"

namespace orb::ctl
{

// Wall-clock time for the command-line tool. It has no event loop: the
// protocol's pauses are plain sleeps, a pump does nothing, and timers never
// tick (the tool drives the procedures itself, so the device timer the
// session creates must stay quiet). Each mouse's worker thread has its own.
class CtlClock final : public Clock
{
  public:
    void sleepMs(int ms) override;
    void pumpEvents() override {}
    std::int64_t nowMs() const override;
    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTick) override;
};

} // namespace orb::ctl
