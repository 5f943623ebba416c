#pragma once
// The button test of the engineering page: a worker polls the mouse's
// pressed-button bitmap and blinks the engineering button of every pressed
// key; TestTimer counts down 5... to 0... after the last blink and ends the
// test. Both halves are plain logic here: the worker's poll takes its reads,
// waits and visibility changes as functions, and the countdown is driven by
// the ticks passed in.
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace orb
{

inline constexpr int ButtonTestKeys = 9; // bits 0..8 = keys 1..9; bits 9..15 are not used
inline constexpr int ButtonTestTickMs = 1000;
inline constexpr int ButtonTestCountdownTicks = 6; // the sixth tick without a blink ends the test

// The keys of a pressed-button bitmap (bit k-1 = key k), in blink order.
std::vector<int> PressedKeys(std::uint16_t bits);

// One blink of a key's engineering button (btn_Key101..btn_Key109): its
// visibility and the wait after it.
struct BlinkStep {
    bool visible;
    int waitMs;
};
inline constexpr std::array<BlinkStep, 4> BlinkSteps{{{false, 500}, {true, 500}, {false, 500}, {true, 0}}};

// What the worker touches. setVisible must be carried out on the user-
// interface thread (post it there); the waits stay in the worker.
struct ButtonTestIo {
    std::function<std::uint16_t()> readKeyState; // ReadKeyState; 0 when the mouse does not answer
    std::function<void(int ms)> wait;
    std::function<void(int key, bool visible)> setVisible;
};

// Flags the worker and the user-interface thread share.
struct ButtonTestFlags {
    std::atomic<bool> blinking{false}; // TestBlinking
    std::atomic<bool> stop{false};     // set when the countdown ends the test
};

// One poll: read the bitmap, then blink keys 1..9 that are pressed, in that
// order, with TestBlinking raised during each blink. A stop asked for
// between two blinks is honoured before the next.
void ButtonTestPoll(const ButtonTestIo& io, ButtonTestFlags& flags);
// The worker's loop: polls without a pause until told to stop.
void RunButtonTestWorker(const ButtonTestIo& io, ButtonTestFlags& flags);

// TestTimer's side.
class ButtonTestCountdown
{
  public:
    // The test starts: TestCountdown := 0.
    void Start();
    bool Running() const { return running_; }
    int Countdown() const { return countdown_; }

    struct Tick {
        QString text;       // what btn_TestKeys reads now
        bool ended = false; // stop the worker and wait for it, send SystemReloadCmd and EndCmd,
                            // stop TestTimer, start the device timer, enable the button
    };
    // One TestTimer tick. Without a blink the button reads (5 - TestCountdown)
    // + "..." and the countdown grows; its sixth step ends the test with the
    // normal text back. A blink seen after that (the flag is read again)
    // puts the normal text back and restarts the countdown.
    Tick OnTick(const std::atomic<bool>& blinking, const QString& normalText);

  private:
    int countdown_ = 0;
    bool running_ = false;
};

} // namespace orb
