#include "hostmouse/HostMouseTables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orb
{
namespace
{

TEST(HostMouseTables, StepsToHostValues)
{
    struct Case {
        int step, sensitivity, doubleClick, wheel;
    };
    const Case cases[] = {{1, 1, 900, 1},  {2, 2, 830, 2},    {3, 4, 760, 3},   {6, 10, 550, 6},
                          {7, 12, 480, 7}, {10, 18, 270, 10}, {11, 20, 200, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(SensitivityForStep(c.step), c.sensitivity);
        EXPECT_EQ(DoubleClickTimeForStep(c.step), c.doubleClick);
        EXPECT_EQ(WheelLinesForStep(c.step), c.wheel);
    }
    EXPECT_EQ(WheelLinesForStep(kOneScreenStep), -1);
    for (int step : {0, 12, -2}) {
        EXPECT_FALSE(SensitivityForStep(step)) << step;
        EXPECT_FALSE(DoubleClickTimeForStep(step)) << step;
        EXPECT_FALSE(WheelLinesForStep(step)) << step;
    }
    EXPECT_FALSE(SensitivityForStep(-1));
}

TEST(HostMouseTables, HostValuesBackToSteps)
{
    const std::pair<int, std::optional<int>> sensitivity[] = {{0, 1},
                                                              {1, 1},
                                                              {2, 2},
                                                              {3, 2},
                                                              {10, 6},
                                                              {17, 9},
                                                              {19, 10},
                                                              {20, 11},
                                                              {21, std::nullopt},
                                                              {-1, std::nullopt}};
    for (auto [value, step] : sensitivity)
        EXPECT_EQ(SpeedStepForSensitivity(value), step) << value;

    const std::pair<int, std::optional<int>> doubleClick[] = {{900, 1},
                                                              {899, 2},
                                                              {830, 2},
                                                              {829, 3},
                                                              {500, 7},
                                                              {480, 7},
                                                              {479, 8},
                                                              {340, 9},
                                                              {270, 10},
                                                              {269, 11},
                                                              {200, 11},
                                                              {100, 11},
                                                              {99, std::nullopt},
                                                              {901, std::nullopt},
                                                              {1000, std::nullopt}};
    for (auto [ms, step] : doubleClick)
        EXPECT_EQ(DoubleClickStepForTime(ms), step) << ms;

    // Every step's own value reads back as that step.
    for (int step = 1; step <= kHostSteps; ++step) {
        EXPECT_EQ(SpeedStepForSensitivity(*SensitivityForStep(step)), step);
        EXPECT_EQ(DoubleClickStepForTime(*DoubleClickTimeForStep(step)), step);
    }
}

TEST(HostMouseTables, NearestStepsOfValuesOffTheTable)
{
    struct Case {
        int value, speed, doubleClick, wheel;
    };
    const Case cases[] = {{-5, 1, 11, 1},   {0, 1, 11, 1},    {17, 9, 11, 11},  {21, 11, 11, 11},
                          {99, 11, 11, 11}, {400, 11, 9, 11}, {900, 11, 1, 11}, {5000, 11, 1, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(NearestSpeedStep(c.value), c.speed);
        EXPECT_EQ(NearestDoubleClickStep(c.value), c.doubleClick);
        EXPECT_EQ(NearestWheelStep(c.value), c.wheel);
    }
    EXPECT_EQ(SensitivityForStep(kDefaultSpeedStep), 10);
    EXPECT_EQ(DoubleClickStepForTime(500), kDefaultDoubleClickStep);
    EXPECT_EQ(WheelLinesForStep(kDefaultWheelStep), 3);
}

// GNOME's pointer speed runs -1..1; the steps lie 0.2 apart with step 6 at GNOME's default 0.
TEST(HostMouseTables, GnomeSpeedBothWays)
{
    const double speeds[] = {-1.0, -0.8, -0.6, -0.4, -0.2, 0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
    for (int step = 1; step <= kHostSteps; ++step) {
        SCOPED_TRACE(step);
        EXPECT_DOUBLE_EQ(GnomeSpeedForStep(step), speeds[step - 1]);
        EXPECT_EQ(StepForGnomeSpeed(GnomeSpeedForStep(step)), step);
    }
    const std::pair<double, std::optional<int>> read[] = {{-1.0, 1},
                                                          {-0.91, 1},
                                                          {-0.9, 2},
                                                          {-0.11, 5},
                                                          {-0.1, 6},
                                                          {0.09, 6},
                                                          {0.1, 7},
                                                          {0.13, 7},
                                                          {0.95, 11},
                                                          {1.0, 11},
                                                          {1.01, std::nullopt},
                                                          {-1.5, std::nullopt},
                                                          {std::nan(""), std::nullopt}};
    for (auto [speed, step] : read)
        EXPECT_EQ(StepForGnomeSpeed(speed), step) << speed;
    EXPECT_DOUBLE_EQ(GnomeSpeedForStep(0), -1.0);
    EXPECT_DOUBLE_EQ(GnomeSpeedForStep(12), 1.0);
}

TEST(HostMouseTables, AccelerationTriples)
{
    EXPECT_EQ(AccelForPrecision(true), (AccelTriple{1, 6, 10}));
    EXPECT_EQ(AccelForPrecision(false), (AccelTriple{0, 0, 0}));
}

TEST(HostMouseTables, BarStyles)
{
    auto lit = [](int step, bool onlyChosen) {
        std::string s;
        for (bool on : BarLitSteps(step, onlyChosen))
            s += on ? 'E' : 'D';
        return s;
    };
    EXPECT_EQ(lit(3, false), "EEEDDDDDDDD");
    EXPECT_EQ(lit(3, true), "DDEDDDDDDDD");
    EXPECT_EQ(lit(11, false), "EEEEEEEEEEE");
    EXPECT_EQ(lit(1, true), "EDDDDDDDDDD");
    EXPECT_EQ(lit(0, false), "DDDDDDDDDDD");
    EXPECT_EQ(lit(kOneScreenStep, false), "DDDDDDDDDDD");
    EXPECT_STREQ(BarPicture(true), "Bar1_E");
    EXPECT_STREQ(BarPicture(false), "Bar1_D");
    EXPECT_STREQ(SwitchPicture(true), "CbS_E");
    EXPECT_STREQ(SwitchPicture(false), "CbS_D");
}

} // namespace
} // namespace orb
