#include "hostmouse/HostMouseTables.h"

#include <algorithm>
#include <cmath>

namespace orb
{
namespace
{
bool IsStep(int step)
{
    return step >= 1 && step <= kHostSteps;
}
} // namespace

std::optional<int> SensitivityForStep(int step)
{
    if (!IsStep(step))
        return std::nullopt;
    return step == 1 ? 1 : 2 * (step - 1);
}

std::optional<int> DoubleClickTimeForStep(int step)
{
    if (!IsStep(step))
        return std::nullopt;
    return 900 - 70 * (step - 1);
}

std::optional<int> WheelLinesForStep(int step)
{
    if (step == kOneScreenStep || IsStep(step))
        return step;
    return std::nullopt;
}

std::optional<int> SpeedStepForSensitivity(int value)
{
    if (value < 0 || value > 20)
        return std::nullopt;
    // Pairs 0-1, 2-3, ... 18-19 share a step; 20 is the last one.
    return value == 20 ? kHostSteps : value / 2 + 1;
}

std::optional<int> DoubleClickStepForTime(int ms)
{
    if (ms == 900)
        return 1;
    // Each step covers its own time up to the next longer one, exclusive;
    // the last step reaches down to 100 ms.
    for (int step = 2; step <= kHostSteps - 1; ++step) {
        if (ms >= 900 - 70 * (step - 1) && ms < 900 - 70 * (step - 2))
            return step;
    }
    if (ms >= 100 && ms < 270)
        return kHostSteps;
    return std::nullopt;
}

int NearestSpeedStep(int sensitivity)
{
    return *SpeedStepForSensitivity(std::clamp(sensitivity, 0, 20));
}

int NearestDoubleClickStep(int ms)
{
    return *DoubleClickStepForTime(std::clamp(ms, 100, 900));
}

int NearestWheelStep(int lines)
{
    return std::clamp(lines, 1, kHostSteps);
}

double GnomeSpeedForStep(int step)
{
    return (std::clamp(step, 1, kHostSteps) - 6) / 5.0;
}

std::optional<int> StepForGnomeSpeed(double speed)
{
    if (!(speed >= -1.0 && speed <= 1.0)) // also NaN
        return std::nullopt;
    return std::clamp(static_cast<int>(std::floor(speed * 5.0 + 6.5)), 1, kHostSteps);
}

AccelTriple AccelForPrecision(bool on)
{
    return on ? AccelTriple{1, 6, 10} : AccelTriple{0, 0, 0};
}

std::array<bool, kHostSteps> BarLitSteps(int chosenStep, bool onlyChosenLit)
{
    std::array<bool, kHostSteps> lit{};
    if (!IsStep(chosenStep))
        return lit;
    for (int step = 1; step <= kHostSteps; ++step)
        lit[static_cast<std::size_t>(step - 1)] = onlyChosenLit ? step == chosenStep : step <= chosenStep;
    return lit;
}

const char* BarPicture(bool lit)
{
    return lit ? "Bar1_E" : "Bar1_D";
}

const char* SwitchPicture(bool on)
{
    return on ? "CbS_E" : "CbS_D";
}

} // namespace orb
