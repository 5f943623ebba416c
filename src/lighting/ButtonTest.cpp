#include "lighting/ButtonTest.h"

namespace orb
{

std::vector<int> PressedKeys(std::uint16_t bits)
{
    std::vector<int> keys;
    for (int k = 1; k <= ButtonTestKeys; ++k)
        if (bits & (1u << (k - 1)))
            keys.push_back(k);
    return keys;
}

void ButtonTestPoll(const ButtonTestIo& io, ButtonTestFlags& flags)
{
    const std::uint16_t bits = io.readKeyState ? io.readKeyState() : 0;
    for (int key : PressedKeys(bits)) {
        if (flags.stop.load())
            return;
        flags.blinking.store(true);
        for (const BlinkStep& step : BlinkSteps) {
            io.setVisible(key, step.visible);
            if (step.waitMs > 0)
                io.wait(step.waitMs);
        }
        flags.blinking.store(false);
    }
}

void RunButtonTestWorker(const ButtonTestIo& io, ButtonTestFlags& flags)
{
    while (!flags.stop.load())
        ButtonTestPoll(io, flags);
}

void ButtonTestCountdown::Start()
{
    countdown_ = 0;
    running_ = true;
}

ButtonTestCountdown::Tick ButtonTestCountdown::OnTick(const std::atomic<bool>& blinking,
                                                      const QString& normalText)
{
    Tick t;
    if (!running_) {
        t.text = normalText;
        return t;
    }
    if (!blinking.load()) {
        t.text = QString::number(5 - countdown_) + QStringLiteral("...");
        ++countdown_;
        if (countdown_ >= ButtonTestCountdownTicks) {
            running_ = false;
            t.text = normalText;
            t.ended = true;
            return t;
        }
    }
    if (blinking.load()) {
        t.text = normalText;
        countdown_ = 0;
    }
    return t;
}

} // namespace orb
