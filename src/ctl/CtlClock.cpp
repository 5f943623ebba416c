#include "ctl/CtlClock.h"

#include <chrono>
#include <thread>

namespace orb::ctl
{

namespace
{
class QuietTimer final : public Timer
{
  public:
    explicit QuietTimer(int interval) : interval_(interval) {}
    void setEnabled(bool on) override { enabled_ = on; }
    bool isEnabled() const override { return enabled_; }
    int interval() const override { return interval_; }

  private:
    int interval_;
    bool enabled_ = false;
};
} // namespace

void CtlClock::sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t CtlClock::nowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<Timer> CtlClock::createTimer(int intervalMs, std::function<void()>)
{
    return std::make_unique<QuietTimer>(intervalMs);
}

} // namespace orb::ctl
