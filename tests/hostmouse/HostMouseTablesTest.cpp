#include "hostmouse/HostMouseTables.h"

#include <gtest/gtest.h>

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
