#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace orb
{

// A repeating timer made by a Clock. Enabling a stopped timer starts a full
// interval; enabling a running one changes nothing.
class Timer
{
  public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    virtual int interval() const = 0;
};

// Every sleep, pump of the event queue and timer of the program goes through
// this interface: real time in the program, virtual time in tests, so the
// 3500 ms device timer, the 2.1 s settle and the protocol's pauses can run
// instantly and still be measured.
class Clock
{
  public:
    virtual ~Clock() = default;
    // A plain sleep: the event queue is not pumped.
    virtual void sleepMs(int ms) = 0;
    // One pass of the event queue (due timers fire, clicks and repaints run).
    virtual void pumpEvents() = 0;
    virtual std::int64_t nowMs() const = 0;
    virtual std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTick) = 0;

    // `slices` sleeps of `sliceMs`, each followed by one pass of the queue.
    void waitPumped(int slices, int sliceMs)
    {
        for (int i = 0; i < slices; ++i) {
            sleepMs(sliceMs);
            pumpEvents();
        }
    }
};

} // namespace orb
