#include "core/RealClock.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace orb
{

namespace
{
class QtTimer final : public Timer
{
  public:
    QtTimer(int interval, std::function<void()> cb)
    {
        timer_.setInterval(interval);
        QObject::connect(&timer_, &QTimer::timeout, std::move(cb));
    }
    void setEnabled(bool on) override
    {
        if (on && !timer_.isActive())
            timer_.start();
        else if (!on)
            timer_.stop();
    }
    bool isEnabled() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

  private:
    QTimer timer_;
};
} // namespace

void RealClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void RealClock::pumpEvents()
{
    QCoreApplication::processEvents();
}

std::int64_t RealClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::unique_ptr<Timer> RealClock::createTimer(int intervalMs, std::function<void()> onTick)
{
    return std::make_unique<QtTimer>(intervalMs, std::move(onTick));
}

} // namespace orb
