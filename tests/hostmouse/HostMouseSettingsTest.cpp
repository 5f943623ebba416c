#include "hostmouse/HostMouseSettings.h"
#include "hostmouse/FakeHostMouse.h"

#include <gtest/gtest.h>

namespace orb
{
namespace
{

class HostMouseSettingsTest : public ::testing::Test
{
  protected:
    FakeHostMouseStore store;
    FakeHostMouseSystem system;
    HostMouseSettings settings{store, system};
    HostMouseState& state = settings.state();

    QString mouse(const char* name) { return store.mouse[QString::fromLatin1(name)]; }
};

TEST_F(HostMouseSettingsTest, NothingChosenWritesAndAppliesNothing)
{
    const HostApplyResult result = settings.ApplyHostMouseSettings();
    EXPECT_TRUE(store.writes.isEmpty());
    EXPECT_TRUE(system.calls.isEmpty());
    EXPECT_TRUE(result.hint().isEmpty());
}

TEST_F(HostMouseSettingsTest, SpeedAndDoubleClickStepsWriteTheirValues)
{
    settings.MseSpd_OnClick(6);
    EXPECT_EQ(mouse("MouseSensitivity"), "10");
    EXPECT_EQ(state.SensitivityValue, 10);
    EXPECT_EQ(system.calls, QStringList{"speed 10"});

    system.calls.clear();
    settings.MseDbSpd_OnClick(7);
    EXPECT_EQ(mouse("DoubleClickSpeed"), "480");
    EXPECT_EQ(state.DoubleClickTime, 480);
    EXPECT_EQ(system.calls, (QStringList{"speed 10", "doubleclick 480"}));

    settings.MseSpd_OnClick(1);
    EXPECT_EQ(mouse("MouseSensitivity"), "1");
    settings.MseSpd_OnClick(11);
    EXPECT_EQ(mouse("MouseSensitivity"), "20");
    settings.MseSpd_OnClick(12); // not a step: the last one stays
    EXPECT_EQ(state.SpeedStep, 11);
}

TEST_F(HostMouseSettingsTest, PrecisionSwitchWritesBothTriples)
{
    settings.lbl_IsControlClick();
    EXPECT_TRUE(state.IsControl);
    EXPECT_EQ(mouse("MouseSpeed"), "1");
    EXPECT_EQ(mouse("MouseThreshold1"), "6");
    EXPECT_EQ(mouse("MouseThreshold2"), "10");
    EXPECT_EQ(system.calls.last(), "accel 6 10 1");

    settings.lbl_IsControlClick();
    EXPECT_FALSE(state.IsControl);
    EXPECT_EQ(mouse("MouseSpeed"), "0");
    EXPECT_EQ(mouse("MouseThreshold1"), "0");
    EXPECT_EQ(mouse("MouseThreshold2"), "0");
    EXPECT_EQ(system.calls.last(), "accel 0 0 0");
}

TEST_F(HostMouseSettingsTest, OneScreenSwitchAndItsRestoreOfTheLastWheelStep)
{
    settings.MseScrSpd_OnClick(4);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "4");

    settings.lbl_IsScreenClick();
    EXPECT_TRUE(state.IsScreen);
    EXPECT_EQ(state.ScrollStep, -1);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "-1");
    EXPECT_EQ(system.calls.last(), "wheel -1");

    settings.lbl_IsScreenClick();
    EXPECT_FALSE(state.IsScreen);
    EXPECT_EQ(state.ScrollStep, 4);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "4");
    EXPECT_EQ(system.calls.last(), "wheel 4");
}

TEST_F(HostMouseSettingsTest, OneScreenOffWithoutAnyWheelStepStillLeavesOneScreen)
{
    settings.lbl_IsScreenClick();
    settings.lbl_IsScreenClick();
    EXPECT_EQ(state.ScrollStep, 3);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "3");
}

TEST_F(HostMouseSettingsTest, RefreshReadsStepsAndSwitches)
{
    store.mouse = {{"MouseSensitivity", "17"},
                   {"DoubleClickSpeed", "500"},
                   {"MouseSpeed", "1"},
                   {"MouseThreshold1", "6"},
                   {"MouseThreshold2", "10"}};
    store.desktop = {{"WheelScrollLines", "5"}};
    EXPECT_TRUE(settings.RefreshMouseSystemParameterA());
    EXPECT_TRUE(settings.RefreshMouseSystemParameterB());
    EXPECT_EQ(state.SpeedStep, 9);
    EXPECT_EQ(state.SensitivityValue, 17);
    EXPECT_EQ(state.DoubleClickStep, 7);
    EXPECT_EQ(state.DoubleClickTime, 500);
    EXPECT_TRUE(state.IsControl);
    EXPECT_EQ(state.ScrollStep, 5);
    EXPECT_EQ(state.LastScrollStep, 5);
    EXPECT_FALSE(state.IsScreen);
    EXPECT_TRUE(store.writes.isEmpty());

    // A value off the table keeps the step but is still the host's value.
    store.mouse["DoubleClickSpeed"] = "1000";
    store.mouse["MouseSensitivity"] = "25";
    settings.RefreshMouseSystemParameterA();
    EXPECT_EQ(state.DoubleClickStep, 7);
    EXPECT_EQ(state.DoubleClickTime, 1000);
    EXPECT_EQ(state.SpeedStep, 9);

    store.desktop["WheelScrollLines"] = "-1";
    settings.RefreshMouseSystemParameterB();
    EXPECT_TRUE(state.IsScreen);
    EXPECT_EQ(state.LastScrollStep, 1);
    EXPECT_EQ(state.WheelLines, -1);

    store.mouse["MouseSpeed"] = "0";
    store.mouse["MouseThreshold1"] = "0";
    store.mouse["MouseThreshold2"] = "0";
    settings.RefreshMouseSystemParameterA();
    EXPECT_FALSE(state.IsControl);
}

TEST_F(HostMouseSettingsTest, ApplyAfterRefreshGivesBackOnlyWhatWasRead)
{
    store.mouse = {{"DoubleClickSpeed", "500"}};
    settings.RefreshMouseSystemParameterA();
    settings.RefreshMouseSystemParameterB();
    settings.ApplyHostMouseSettings();
    // Step 7 is written as its own value; speed, acceleration and wheel were never known.
    EXPECT_EQ(store.writes, QStringList{"Mouse/DoubleClickSpeed=480"});
    EXPECT_EQ(system.calls, QStringList{"doubleclick 480"});
}

TEST_F(HostMouseSettingsTest, DesktopValuesFillAStoreThatHasNone)
{
    system.current = {{"MouseSpeed", "1"}, {"MouseThreshold1", "4"}, {"WheelScrollLines", "3"}};
    store.mouse = {{"MouseThreshold1", "7"}};
    settings.RefreshMouseSystemParameterA();
    settings.RefreshMouseSystemParameterB();
    EXPECT_TRUE(state.IsControl);
    EXPECT_EQ(state.AccelSpeed, 1);
    EXPECT_EQ(state.AccelThreshold1, 7); // the kept value wins
    EXPECT_EQ(state.ScrollStep, 3);
}

TEST_F(HostMouseSettingsTest, StoreThatCannotBeOpenedOrWrittenIsAResult)
{
    store.mouseOpens = false;
    store.desktopOpens = false;
    store.mouse = {{"MouseSensitivity", "17"}};
    EXPECT_FALSE(settings.RefreshMouseSystemParameterA());
    EXPECT_FALSE(settings.RefreshMouseSystemParameterB());
    EXPECT_EQ(state.SpeedStep, 0);

    HostApplyResult result = settings.MseSpd_OnClick(6);
    EXPECT_TRUE(store.writes.isEmpty());
    EXPECT_FALSE(result.mouseKeyWritten);
    EXPECT_FALSE(result.desktopKeyWritten);
    // The running desktop still gets the value.
    EXPECT_EQ(system.calls, QStringList{"speed 10"});
    EXPECT_EQ(result.hint(), "Some host mouse settings could not be saved.");
    EXPECT_EQ(result.hint(2), "部分系統滑鼠設定無法儲存。");

    store.mouseOpens = store.desktopOpens = true;
    store.writesFail = true;
    result = settings.MseScrSpd_OnClick(2);
    EXPECT_FALSE(result.mouseKeyWritten);
    EXPECT_FALSE(result.desktopKeyWritten);
    EXPECT_EQ(state.ScrollStep, 2);
}

TEST_F(HostMouseSettingsTest, HintNamesWhatTheDesktopDidNotTake)
{
    system.accepts = false;
    settings.MseSpd_OnClick(3);
    settings.MseDbSpd_OnClick(3);
    settings.lbl_IsControlClick();
    const HostApplyResult result = settings.MseScrSpd_OnClick(3);
    EXPECT_TRUE(result.mouseKeyWritten);
    EXPECT_EQ(result.notApplied,
              (QStringList{"pointer speed", "pointer acceleration", "double-click time", "wheel lines"}));
    EXPECT_EQ(result.hint(),
              "This desktop does not take pointer speed, pointer acceleration, double-click time, "
              "wheel lines from this program; the values are kept.");
    EXPECT_EQ(result.hint(1),
              "此桌面不接受本程序设置的指针速度、指针加速、双击速度、滚轮滚动行数；这些值已保留。");
}

} // namespace
} // namespace orb
