#include "hostmouse/HostMouseSettings.h"
#include "hostmouse/FakeHostMouse.h"

#include <gtest/gtest.h>

#include <functional>

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
    EXPECT_EQ(system.calls, QStringList{"doubleclick 480"}); // the speed was sent already

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

// What an X server with `xset m 3/2 5` and GNOME's 400 ms double-click read
// as: neither is a step of its own.
const std::map<QString, QString> kLiveDesktop = {
    {"MouseSpeed", "1"}, {"MouseThreshold1", "5"}, {"MouseThreshold2", "10"}, {"DoubleClickSpeed", "400"}};

TEST_F(HostMouseSettingsTest, TheDesktopsLiveValuesWinAndAnUnchangedApplyLeavesThemAlone)
{
    system.current = kLiveDesktop;
    // Kept by an earlier run; the desktop has been changed since.
    store.mouse = {{"MouseThreshold1", "7"}, {"DoubleClickSpeed", "900"}, {"MouseSensitivity", "17"}};
    store.desktop = {{"WheelScrollLines", "5"}};
    settings.RefreshMouseSystemParameterA();
    settings.RefreshMouseSystemParameterB();
    EXPECT_TRUE(state.IsControl);
    EXPECT_EQ(state.AccelThreshold1, 5);
    EXPECT_EQ(state.DoubleClickTime, 400);
    EXPECT_EQ(state.DoubleClickStep, 9);
    // Where the desktop has no value, the store's is shown.
    EXPECT_EQ(state.SpeedStep, 9);
    EXPECT_EQ(state.ScrollStep, 5);

    // Applied again and again (every write of the mouse), nothing read goes back rounded to a step.
    for (int apply = 0; apply < 2; ++apply) {
        const HostApplyResult result = settings.ApplyHostMouseSettings();
        EXPECT_TRUE(store.writes.isEmpty()) << qPrintable(store.writes.join(' '));
        EXPECT_TRUE(system.calls.isEmpty()) << qPrintable(system.calls.join(' '));
        EXPECT_TRUE(result.hint().isEmpty());
    }
}

TEST_F(HostMouseSettingsTest, OnlyTheSettingChangedOnThePageSinceTheLastApplyIsSent)
{
    struct Case {
        const char* what;
        std::function<void(HostMouseSettings&)> change;
        QStringList writes;
        QStringList calls;
    };
    const auto step = [](HostApplyResult (HostMouseSettings::*click)(int), int n) {
        return [click, n](HostMouseSettings& s) { (s.*click)(n); };
    };
    const auto toggle = [](HostApplyResult (HostMouseSettings::*click)()) {
        return [click](HostMouseSettings& s) { (s.*click)(); };
    };
    const Case cases[] = {
        {"nothing", [](HostMouseSettings&) {}, {}, {}},
        {"speed", step(&HostMouseSettings::MseSpd_OnClick, 6), {"Mouse/MouseSensitivity=10"}, {"speed 10"}},
        {"precision",
         toggle(&HostMouseSettings::lbl_IsControlClick),
         {"Mouse/MouseSpeed=0", "Mouse/MouseThreshold1=0", "Mouse/MouseThreshold2=0"},
         {"accel 0 0 0"}},
        {"double-click",
         step(&HostMouseSettings::MseDbSpd_OnClick, 7),
         {"Mouse/DoubleClickSpeed=480"},
         {"doubleclick 480"}},
        {"wheel",
         step(&HostMouseSettings::MseScrSpd_OnClick, 4),
         {"Desktop/WheelScrollLines=4"},
         {"wheel 4"}},
        {"one screen",
         toggle(&HostMouseSettings::lbl_IsScreenClick),
         {"Desktop/WheelScrollLines=-1"},
         {"wheel -1"}},
        {"not a step", step(&HostMouseSettings::MseSpd_OnClick, 12), {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHostMouseStore store;
        FakeHostMouseSystem system;
        system.current = kLiveDesktop;
        store.mouse = {{"MouseSensitivity", "10"}};
        store.desktop = {{"WheelScrollLines", "3"}};
        HostMouseSettings settings(store, system);
        settings.RefreshMouseSystemParameterA();
        settings.RefreshMouseSystemParameterB();
        settings.FillUnknownSteps();
        c.change(settings);                // applied at once
        settings.ApplyHostMouseSettings(); // not again by the next write of the mouse
        EXPECT_EQ(store.writes, c.writes);
        EXPECT_EQ(system.calls, c.calls);

        // Read again, the value is the desktop's once more and no longer written.
        store.writes.clear();
        system.calls.clear();
        settings.RefreshMouseSystemParameterA();
        settings.RefreshMouseSystemParameterB();
        settings.ApplyHostMouseSettings();
        EXPECT_TRUE(store.writes.isEmpty()) << qPrintable(store.writes.join(' '));
        EXPECT_TRUE(system.calls.isEmpty()) << qPrintable(system.calls.join(' '));
    }
}

// A value off the table shows the nearest step; one never read shows none
// (unknown) instead of a default that looks like the desktop's.
TEST_F(HostMouseSettingsTest, ABarWithoutAStepShowsTheNearestStepOrNone)
{
    struct Case {
        const char* what;
        std::map<QString, QString> mouse, desktop;
        int speed, doubleClick, wheel, lastWheel;
    };
    const Case cases[] = {
        {"nothing known", {}, {}, 0, 0, 0, 0},
        {"on the table",
         {{"MouseSensitivity", "17"}, {"DoubleClickSpeed", "500"}},
         {{"WheelScrollLines", "5"}},
         9,
         7,
         5,
         5},
        {"above it",
         {{"MouseSensitivity", "21"}, {"DoubleClickSpeed", "1000"}},
         {{"WheelScrollLines", "40"}},
         11,
         1,
         11,
         11},
        {"below it",
         {{"MouseSensitivity", "-4"}, {"DoubleClickSpeed", "50"}},
         {{"WheelScrollLines", "0"}},
         1,
         11,
         1,
         1},
        {"not a number; one screen", {{"MouseSensitivity", "x"}}, {{"WheelScrollLines", "-1"}}, 0, 0, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHostMouseStore store;
        FakeHostMouseSystem system;
        store.mouse = c.mouse;
        store.desktop = c.desktop;
        HostMouseSettings settings(store, system);
        settings.RefreshMouseSystemParameterA();
        settings.RefreshMouseSystemParameterB();
        settings.FillUnknownSteps();
        const HostMouseState& s = settings.state();
        EXPECT_EQ(s.SpeedStep, c.speed);
        EXPECT_EQ(s.DoubleClickStep, c.doubleClick);
        EXPECT_EQ(s.ScrollStep, c.wheel);
        EXPECT_EQ(s.LastScrollStep, c.lastWheel);
        // Shown, not chosen: nothing goes back.
        settings.ApplyHostMouseSettings();
        EXPECT_TRUE(store.writes.isEmpty()) << qPrintable(store.writes.join(' '));
        EXPECT_TRUE(system.calls.isEmpty()) << qPrintable(system.calls.join(' '));
    }
}

TEST_F(HostMouseSettingsTest, ASettingTheDesktopLacksIsKeptAndNamedWithoutACall)
{
    system.unreached = {HostSetting::WheelLines};
    EXPECT_EQ(settings.DesktopReach().notApplied, QStringList{"wheel lines"});
    // Named as not taken, not as unknown.
    EXPECT_EQ(settings.Unknown(), (std::vector<HostSetting>{HostSetting::Speed, HostSetting::Acceleration,
                                                            HostSetting::DoubleClick}));

    HostApplyResult result = settings.MseSpd_OnClick(6);
    EXPECT_EQ(system.calls, QStringList{"speed 10"});
    EXPECT_EQ(result.notApplied, QStringList{"wheel lines"});

    result = settings.MseScrSpd_OnClick(4);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "4");
    EXPECT_TRUE(result.desktopKeyWritten);
    EXPECT_TRUE(system.calls.filter("wheel").isEmpty());
    EXPECT_EQ(result.hint(),
              "This desktop does not take wheel lines from this program; the values are kept.");

    system.unreached = {HostSetting::Speed, HostSetting::Acceleration, HostSetting::DoubleClick,
                        HostSetting::WheelLines};
    EXPECT_EQ(settings.DesktopReach().hint(2),
              "此桌面不接受本程式設定的指標速度、指標加速、按兩下速度、滾輪捲動行數；這些值已保留。");
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
    EXPECT_FALSE(settings.MseSpd_OnClick(4).mouseKeyWritten);
    result = settings.MseScrSpd_OnClick(2);
    EXPECT_TRUE(result.mouseKeyWritten); // nothing of it to write there
    EXPECT_FALSE(result.desktopKeyWritten);
    EXPECT_EQ(state.ScrollStep, 2);
}

TEST_F(HostMouseSettingsTest, HintNamesWhatTheDesktopDidNotTake)
{
    system.accepts = false;
    // Each click sends its own setting, and its result names it.
    EXPECT_EQ(settings.MseSpd_OnClick(3).notApplied, QStringList{"pointer speed"});
    EXPECT_EQ(settings.MseDbSpd_OnClick(3).notApplied, QStringList{"double-click time"});
    EXPECT_EQ(settings.lbl_IsControlClick().notApplied, QStringList{"pointer acceleration"});
    EXPECT_TRUE(settings.MseScrSpd_OnClick(3).desktopKeyWritten);
    // An apply that changed all four, refused.
    HostApplyResult result;
    result.notApplied =
        QStringList{"pointer speed", "pointer acceleration", "double-click time", "wheel lines"};
    EXPECT_EQ(result.hint(),
              "This desktop does not take pointer speed, pointer acceleration, double-click time, "
              "wheel lines from this program; the values are kept.");
    EXPECT_EQ(result.hint(1),
              "此桌面不接受本程序设置的指针速度、指针加速、双击速度、滚轮滚动行数；这些值已保留。");
}

} // namespace
} // namespace orb
