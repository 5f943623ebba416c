#pragma once
#include <array>
#include <optional>

namespace orb
{

// The three eleven-step bars of the host settings and the values each step
// stands for. Steps run 1..11; the wheel bar also has -1 for "one screen at
// a time". Every lookup answers nothing for a step or value outside its range.

constexpr int kHostSteps = 11;
constexpr int kOneScreenStep = -1;

// Pointer speed step -> "MouseSensitivity" (1, 2, 4, ... 20).
std::optional<int> SensitivityForStep(int step);
// Double-click step -> "DoubleClickSpeed" in ms (900 down to 200 by 70).
std::optional<int> DoubleClickTimeForStep(int step);
// Wheel step -> "WheelScrollLines" (the step itself; -1 for one screen at a time).
std::optional<int> WheelLinesForStep(int step);

// Read back: a stored sensitivity 0..20 -> its step; anything else has none.
std::optional<int> SpeedStepForSensitivity(int value);
// Read back: a stored double-click time 100..900 ms -> its step; anything else has none.
std::optional<int> DoubleClickStepForTime(int ms);

// A bar shows a step whenever a value is known: a value off the table shows
// the nearest end of it.
int NearestSpeedStep(int sensitivity);
int NearestDoubleClickStep(int ms);
int NearestWheelStep(int lines);

// What a bar shows when neither the desktop nor the store has a value: the
// settings a new Windows user account starts with (sensitivity 10, 500 ms,
// 3 lines).
constexpr int kDefaultSpeedStep = 6;
constexpr int kDefaultDoubleClickStep = 7;
constexpr int kDefaultWheelStep = 3;

// GNOME's pointer speed, -1 (slowest) .. 1 (fastest), 0 its default: the
// eleven steps spread evenly over it, step 6 at 0 and 0.2 apart.
double GnomeSpeedForStep(int step); // a step outside 1..11 is clamped
// Back: each step covers 0.1 either side of its own speed, a half going up;
// nothing for a value outside -1..1.
std::optional<int> StepForGnomeSpeed(double speed);

// libinput's pointer speed, which GNOME and KDE pass on as it is: the same
// scale and steps.
inline double LibinputSpeedForStep(int step)
{
    return GnomeSpeedForStep(step);
}
inline std::optional<int> StepForLibinputSpeed(double speed)
{
    return StepForGnomeSpeed(speed);
}

// "MouseSpeed", "MouseThreshold1", "MouseThreshold2".
struct AccelTriple {
    int speed = 0;
    int threshold1 = 0;
    int threshold2 = 0;
    bool operator==(const AccelTriple&) const = default;
};
// Enhance pointer precision on: 1, 6, 10; off: 0, 0, 0.
AccelTriple AccelForPrecision(bool on);

// Which of the eleven step pictures of a bar are lit for the chosen step.
// `onlyChosenLit` is the layout option DPILED_Status = 1. No step is lit for
// a step outside 1..11 (none chosen, or one screen at a time).
std::array<bool, kHostSteps> BarLitSteps(int chosenStep, bool onlyChosenLit);

// Picture names: "Bar1_E" / "Bar1_D" for a step, "CbS_E" / "CbS_D" for a switch.
const char* BarPicture(bool lit);
const char* SwitchPicture(bool on);

} // namespace orb
