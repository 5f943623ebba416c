#pragma once
#include "core/Clock.h"

namespace orb
{

// Wall-clock time with Qt's event loop and timers.
class RealClock final : public Clock
{
  public:
    void sleepMs(int ms) override;
    void pumpEvents() override;
    std::int64_t nowMs() const override;
    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTick) override;
};

} // namespace orb
