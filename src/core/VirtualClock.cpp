#include "core/VirtualClock.h"

#include <algorithm>
#include <limits>

namespace orb
{

class VirtualClock::VTimer final : public Timer
{
  public:
    VTimer(VirtualClock& c, int interval, std::function<void()> cb)
        : clock_(c), interval_(interval), onTick_(std::move(cb))
    {
    }
    ~VTimer() override
    {
        auto& t = clock_.timers_;
        t.erase(std::remove(t.begin(), t.end(), this), t.end());
    }
    void setEnabled(bool on) override
    {
        if (on && !enabled_)
            due_ = clock_.now_ + interval_;
        enabled_ = on;
    }
    bool isEnabled() const override { return enabled_; }
    int interval() const override { return interval_; }

    VirtualClock& clock_;
    int interval_;
    std::function<void()> onTick_;
    bool enabled_ = false;
    std::int64_t due_ = 0;
};

VirtualClock::VirtualClock() = default;
VirtualClock::~VirtualClock() = default;

void VirtualClock::sleepMs(int ms)
{
    if (std::this_thread::get_id() != owner_) {
        if (foreignSleep_)
            foreignSleep_(ms);
        return;
    }
    if (ms > 0)
        now_ += ms;
}

void VirtualClock::fireDue()
{
    // Copy: a handler may create or delete timers.
    const auto snapshot = timers_;
    for (VTimer* t : snapshot) {
        if (std::find(timers_.begin(), timers_.end(), t) == timers_.end())
            continue;
        if (t->enabled_ && t->due_ <= now_) {
            t->due_ = now_ + t->interval_;
            t->onTick_();
        }
    }
}

void VirtualClock::pumpEvents()
{
    ++pumps_;
    if (pumpHook_)
        pumpHook_();
    fireDue();
}

std::unique_ptr<Timer> VirtualClock::createTimer(int intervalMs, std::function<void()> onTick)
{
    auto t = std::make_unique<VTimer>(*this, intervalMs, std::move(onTick));
    timers_.push_back(t.get());
    return t;
}

void VirtualClock::advance(std::int64_t ms)
{
    const std::int64_t end = now_ + ms;
    for (;;) {
        std::int64_t next = std::numeric_limits<std::int64_t>::max();
        for (VTimer* t : timers_)
            if (t->enabled_)
                next = std::min(next, t->due_);
        if (next > end)
            break;
        now_ = std::max(now_, next);
        fireDue();
    }
    now_ = std::max(now_, end);
}

} // namespace orb
