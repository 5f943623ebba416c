#pragma once
#include "capture/InputCapture.h"

namespace orb
{

// Test double: the test feeds key and button events; while the capture runs
// they are delivered at once, keys through the same held-key rules as a real
// source (a second press is Held, a release of a key not held is dropped).
class FakeInputCapture final : public InputCapture
{
  public:
    bool limited = false;
    bool startFails = false;
    int starts = 0, stops = 0;

    bool start() override
    {
        if (startFails)
            return false;
        if (!running_)
            ++starts;
        running_ = true;
        return true;
    }
    void stop() override
    {
        if (running_)
            ++stops;
        running_ = false;
        forgetHeldKeys();
    }
    bool isRunning() const override { return running_; }
    bool isLimited() const override { return limited; }

    void pressKey(int vk, std::uint32_t timeMs, int code = -1)
    {
        if (running_)
            keyDown(code < 0 ? vk : code, vk, timeMs);
    }
    void releaseKey(int vk, std::uint32_t timeMs, int code = -1)
    {
        if (running_)
            keyUp(code < 0 ? vk : code, vk, timeMs);
    }
    void click(MouseButton which, bool down, std::uint32_t timeMs)
    {
        if (running_)
            button(which, down, timeMs);
    }

  private:
    bool running_ = false;
};

} // namespace orb
