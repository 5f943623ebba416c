// The host pointer settings on the advanced page, through the real widgets
// with the fake store and desktop.
#include "AppFixture.h"

#include "app/frame/PageSelector.h"
#include "app/pages/advanced/HostSettingsPanel.h"
#include "hostmouse/HostMouseTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <map>

namespace orb::test
{
namespace
{

struct HostSettings : AppFixture {
    // The window on the screen with the advanced page shown (also without a
    // mouse, behind its overlay): the page reads the desktop each time it is shown.
    void showAdvancedPage()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->stack().showOnlyPage(2);
    }
    // A desktop that knows all four settings: speed step 6, precision on,
    // double-click step 7, 3 wheel lines.
    void knownDesktop()
    {
        hostSystem.current = {{QStringLiteral("MouseSensitivity"), QStringLiteral("10")},
                              {QStringLiteral("MouseSpeed"), QStringLiteral("1")},
                              {QStringLiteral("MouseThreshold1"), QStringLiteral("6")},
                              {QStringLiteral("MouseThreshold2"), QStringLiteral("10")},
                              {QStringLiteral("DoubleClickSpeed"), QStringLiteral("480")},
                              {QStringLiteral("WheelScrollLines"), QStringLiteral("3")}};
    }
    QString picture(const QString& name) const { return widget(name)->property("picture").toString(); }
    QString hint() const { return find<QLabel>(QStringLiteral("lbl_HostHint"))->text(); }
    // The lit steps of a bar, as "1 2 3".
    QString litSteps(const QString& bar) const
    {
        QStringList lit;
        for (int k = 1; k <= kHostSteps; ++k) {
            const QString p = picture(QStringLiteral("Img_%1%2").arg(bar).arg(k));
            EXPECT_TRUE(p == QLatin1String("Bar1_E") || p == QLatin1String("Bar1_D")) << qPrintable(p);
            if (p == QLatin1String("Bar1_E"))
                lit << QString::number(k);
        }
        return lit.join(QLatin1Char(' '));
    }
    bool wheelBarEnabled() const
    {
        bool all = true, none = true;
        for (int k = 1; k <= kHostSteps; ++k)
            for (const char* prefix : {"Img_ScrSpd", "lbl_ScrSpd"}) {
                const bool on = widget(QLatin1String(prefix) + QString::number(k))->isEnabled();
                all = all && on;
                none = none && !on;
            }
        EXPECT_TRUE(all || none) << "the wheel bar is partly enabled";
        return all;
    }
};

TEST_F(HostSettings, BarClicksWriteTheStepTablesValuesAndApplyThem)
{
    start(false);
    struct Case {
        const char* image;
        const char* store; // "Mouse/MouseSensitivity=10"
        const char* call;
        const char* bar;
        const char* lit;
    };
    const Case cases[] = {
        {"Img_Spd6", "Mouse/MouseSensitivity=10", "speed 10", "Spd", "6"},
        {"Img_Spd1", "Mouse/MouseSensitivity=1", "speed 1", "Spd", "1"},
        {"Img_Spd11", "Mouse/MouseSensitivity=20", "speed 20", "Spd", "11"},
        {"Img_DbSpd7", "Mouse/DoubleClickSpeed=480", "doubleclick 480", "DbSpd", "7"},
        {"Img_DbSpd1", "Mouse/DoubleClickSpeed=900", "doubleclick 900", "DbSpd", "1"},
        {"Img_ScrSpd3", "Desktop/WheelScrollLines=3", "wheel 3", "ScrSpd", "3"},
        {"Img_ScrSpd11", "Desktop/WheelScrollLines=11", "wheel 11", "ScrSpd", "11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        hostStore.writes.clear();
        hostSystem.calls.clear();
        click(QLatin1String(c.image));
        EXPECT_TRUE(hostStore.writes.contains(QLatin1String(c.store)))
            << qPrintable(hostStore.writes.join(' '));
        EXPECT_TRUE(hostSystem.calls.contains(QLatin1String(c.call)))
            << qPrintable(hostSystem.calls.join(' '));
        EXPECT_EQ(litSteps(QLatin1String(c.bar)), QLatin1String(c.lit));
    }
    // The acceleration was never read nor switched: it is left to the desktop.
    EXPECT_FALSE(hostStore.mouse.count(QStringLiteral("MouseSpeed")));
    EXPECT_TRUE(hostSystem.calls.filter(QStringLiteral("accel")).isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(HostSettings, PrecisionSwitchWritesAndAppliesBothTriples)
{
    start(false);
    const auto triple = [this] {
        return QStringList{hostStore.mouse[QStringLiteral("MouseSpeed")],
                           hostStore.mouse[QStringLiteral("MouseThreshold1")],
                           hostStore.mouse[QStringLiteral("MouseThreshold2")]}
            .join(QLatin1Char(' '));
    };
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_D"));

    click(QStringLiteral("lbl_IsControl"));
    EXPECT_EQ(triple(), QStringLiteral("1 6 10"));
    EXPECT_EQ(hostSystem.calls.filter(QStringLiteral("accel")), QStringList{QStringLiteral("accel 6 10 1")});
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_E"));
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("cb_IsControl"))->isChecked());
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("cb_IsControl"))->isHidden());

    hostSystem.calls.clear();
    click(QStringLiteral("lbl_IsControl"));
    EXPECT_EQ(triple(), QStringLiteral("0 0 0"));
    EXPECT_EQ(hostSystem.calls.filter(QStringLiteral("accel")), QStringList{QStringLiteral("accel 0 0 0")});
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_D"));
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("cb_IsControl"))->isChecked());
}

TEST_F(HostSettings, OneScreenSwitchDisablesTheWheelBarAndRestoresItsLastStep)
{
    start(false);
    click(QStringLiteral("Img_ScrSpd5"));
    ASSERT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("5"));

    click(QStringLiteral("lbl_IsScreen"));
    EXPECT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("-1"));
    EXPECT_EQ(hostSystem.calls.last(), QStringLiteral("wheel -1"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsScreen")), QStringLiteral("CbS_E"));
    EXPECT_TRUE(find<QCheckBox>(QStringLiteral("cb_IsScreen"))->isChecked());
    EXPECT_FALSE(wheelBarEnabled());
    EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QString());
    // Dimmed in grey, not in the window's maroon colour key.
    const QColor shade =
        widget(QStringLiteral("Img_ScrSpd1"))->palette().color(QPalette::Disabled, QPalette::Window);
    EXPECT_EQ(shade.red(), shade.green());

    // A disabled step takes no click.
    click(QStringLiteral("Img_ScrSpd8"));
    EXPECT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("-1"));

    click(QStringLiteral("lbl_IsScreen"));
    EXPECT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("5"));
    EXPECT_EQ(hostSystem.calls.last(), QStringLiteral("wheel 5"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsScreen")), QStringLiteral("CbS_D"));
    EXPECT_FALSE(find<QCheckBox>(QStringLiteral("cb_IsScreen"))->isChecked());
    EXPECT_TRUE(wheelBarEnabled());
    EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QStringLiteral("5"));
}

TEST_F(HostSettings, PageStartsFromTheStoredValuesWithoutApplyingThem)
{
    hostStore.mouse = {{QStringLiteral("MouseSensitivity"), QStringLiteral("17")},
                       {QStringLiteral("DoubleClickSpeed"), QStringLiteral("500")},
                       {QStringLiteral("MouseSpeed"), QStringLiteral("1")},
                       {QStringLiteral("MouseThreshold1"), QStringLiteral("6")},
                       {QStringLiteral("MouseThreshold2"), QStringLiteral("10")}};
    hostStore.desktop = {{QStringLiteral("WheelScrollLines"), QStringLiteral("-1")}};
    start(false);
    showAdvancedPage();
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QStringLiteral("9"));
    EXPECT_EQ(litSteps(QStringLiteral("DbSpd")), QStringLiteral("7"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_E"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsScreen")), QStringLiteral("CbS_E"));
    EXPECT_FALSE(wheelBarEnabled());
    EXPECT_TRUE(hostStore.writes.isEmpty());
    EXPECT_TRUE(hostSystem.calls.isEmpty());

    // Switching one screen off after reading it leaves wheel step 1.
    click(QStringLiteral("lbl_IsScreen"));
    EXPECT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("1"));
    EXPECT_TRUE(wheelBarEnabled());
}

// A bar shows a step wherever a value is known, and none where nothing
// tells it (the hint says so); what it shows without a click is never
// written back.
struct BarStart {
    const char* what;
    std::map<QString, QString> mouse, desktop, live;
    const char *speed, *doubleClick, *wheel;
};

struct HostSettingsStart : HostSettings, ::testing::WithParamInterface<BarStart> {
};

TEST_P(HostSettingsStart, EveryBarShowsAStepAndOnlyClickedOnesAreWritten)
{
    const BarStart& c = GetParam();
    hostStore.mouse = c.mouse;
    hostStore.desktop = c.desktop;
    hostSystem.current = c.live;
    startRead();
    showAdvancedPage();
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QLatin1String(c.speed));
    EXPECT_EQ(litSteps(QStringLiteral("DbSpd")), QLatin1String(c.doubleClick));
    EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QLatin1String(c.wheel));
    EXPECT_TRUE(wheelBarEnabled());
    // The precision switch is known only where the desktop has a profile.
    const bool someUnknown = QLatin1String(c.speed).isEmpty() || QLatin1String(c.doubleClick).isEmpty() ||
                             QLatin1String(c.wheel).isEmpty() || !c.live.count(QStringLiteral("MouseSpeed"));
    EXPECT_EQ(hint().contains(text("Str841")), someUnknown) << qPrintable(hint());
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    EXPECT_TRUE(hostStore.writes.isEmpty()) << qPrintable(hostStore.writes.join(' '));
    EXPECT_TRUE(hostSystem.calls.isEmpty()) << qPrintable(hostSystem.calls.join(' '));
}

const BarStart kBarStarts[] = {
    {"NothingKnown", {}, {}, {}, "", "", ""},
    {"OffTheTableOrNotANumber",
     {{QStringLiteral("MouseSensitivity"), QStringLiteral("21")},
      {QStringLiteral("DoubleClickSpeed"), QStringLiteral("1000")}},
     {{QStringLiteral("WheelScrollLines"), QStringLiteral("x")}},
     {},
     "11",
     "1",
     ""},
    {"TheDesktopsOwnOverTheKeptOnes",
     {{QStringLiteral("MouseSensitivity"), QStringLiteral("2")},
      {QStringLiteral("DoubleClickSpeed"), QStringLiteral("900")}},
     {{QStringLiteral("WheelScrollLines"), QStringLiteral("8")}},
     {{QStringLiteral("MouseSensitivity"), QStringLiteral("17")},
      {QStringLiteral("DoubleClickSpeed"), QStringLiteral("400")},
      {QStringLiteral("MouseSpeed"), QStringLiteral("0")},
      {QStringLiteral("MouseThreshold1"), QStringLiteral("0")},
      {QStringLiteral("MouseThreshold2"), QStringLiteral("0")}},
     "9",
     "9",
     "8"},
};

INSTANTIATE_TEST_SUITE_P(Values, HostSettingsStart, ::testing::ValuesIn(kBarStarts),
                         [](const auto& info) { return std::string(info.param.what); });

// An X server set with `xset m 3/2 5` reads as precision on; a user who
// never touches the switch must find the same acceleration after Apply.
TEST_F(HostSettings, AnApplyThatChangedNoPointerSettingLeavesTheDesktopAlone)
{
    hostSystem.current = {{QStringLiteral("MouseSpeed"), QStringLiteral("1")},
                          {QStringLiteral("MouseThreshold1"), QStringLiteral("5")},
                          {QStringLiteral("MouseThreshold2"), QStringLiteral("10")}};
    hostStore.mouse = {{QStringLiteral("MouseSensitivity"), QStringLiteral("10")},
                       {QStringLiteral("MouseSpeed"), QStringLiteral("0")}};
    startRead();
    showAdvancedPage();
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_E"));
    find<QComboBox>(QStringLiteral("cb_CPI1"))->setCurrentIndex(9);
    window->actions().Btn_Apply_0Click();
    EXPECT_EQ(mouse.memory[0x006], 9);
    EXPECT_TRUE(hostStore.writes.isEmpty()) << qPrintable(hostStore.writes.join(' '));
    EXPECT_TRUE(hostSystem.calls.isEmpty()) << qPrintable(hostSystem.calls.join(' '));

    // A click on one bar: that setting, and only it, goes at once; a later
    // Apply sends nothing again.
    click(QStringLiteral("Img_DbSpd4"));
    EXPECT_EQ(hostStore.writes, QStringList{QStringLiteral("Mouse/DoubleClickSpeed=690")});
    EXPECT_EQ(hostSystem.calls, QStringList{QStringLiteral("doubleclick 690")});
    hostStore.writes.clear();
    hostSystem.calls.clear();
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(hostStore.writes.isEmpty()) << qPrintable(hostStore.writes.join(' '));
    EXPECT_TRUE(hostSystem.calls.isEmpty()) << qPrintable(hostSystem.calls.join(' '));
    EXPECT_TRUE(messages().isEmpty());
}

// The user sets the speed here, later changes it in the desktop's own
// settings, then applies a CPI change here: the desktop keeps its own speed,
// and the page, shown again, shows it.
TEST_F(HostSettings, AnApplyNeverSendsAgainWhatTheDesktopChangedSince)
{
    knownDesktop();
    startRead();
    showAdvancedPage();
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QStringLiteral("6"));
    click(QStringLiteral("Img_Spd10")); // 18
    ASSERT_EQ(hostSystem.current[QStringLiteral("MouseSensitivity")], QStringLiteral("18"));

    hostSystem.current[QStringLiteral("MouseSensitivity")] = QStringLiteral("14"); // another program
    hostSystem.calls.clear();
    find<QComboBox>(QStringLiteral("cb_CPI1"))->setCurrentIndex(9);
    window->actions().Btn_Apply_0Click();
    EXPECT_EQ(mouse.memory[0x006], 9);
    EXPECT_TRUE(hostSystem.calls.isEmpty()) << qPrintable(hostSystem.calls.join(' '));
    EXPECT_EQ(hostSystem.current[QStringLiteral("MouseSensitivity")], QStringLiteral("14"));

    window->selector().Btn_Main_0Click();
    window->selector().Btn_Adv_0Click();
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QStringLiteral("8"));
    // A click on another bar sends that one alone.
    click(QStringLiteral("Img_DbSpd3"));
    EXPECT_EQ(hostSystem.calls, QStringList{QStringLiteral("doubleclick 760")});
}

// The desktop is asked for its values when the page is shown (never while the
// window is being built) and once per apply that changes something; when it
// does not answer, the page says so.
TEST_F(HostSettings, TheDesktopIsAskedWhenThePageShowsAndSaysWhenItDidNotAnswer)
{
    knownDesktop();
    startRead();
    EXPECT_EQ(hostSystem.refreshes, 0);
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QString()); // not read yet
    showAdvancedPage();
    EXPECT_EQ(hostSystem.refreshes, 1);
    window->actions().Btn_Apply_0Click(); // nothing changed
    EXPECT_EQ(hostSystem.refreshes, 1);
    click(QStringLiteral("Img_Spd3"));
    EXPECT_EQ(hostSystem.refreshes, 2);
    EXPECT_FALSE(hint().contains(text("Str840"))) << qPrintable(hint());

    hostSystem.answers = false;
    window->selector().Btn_Main_0Click();
    window->selector().Btn_Adv_0Click();
    EXPECT_EQ(hostSystem.refreshes, 3);
    EXPECT_TRUE(hint().contains(text("Str840"))) << qPrintable(hint());
    window->Btn_Lang3_0Click();
    window->selector().Btn_Adv_0Click();
    EXPECT_TRUE(hint().startsWith(QStringLiteral("The desktop did not answer"))) << qPrintable(hint());
}

// Wheel lines on GNOME, or everything on a Wayland desktop without it: the
// bar keeps the stored value and the hint says so from the start.
TEST_F(HostSettings, ASettingTheDesktopLacksKeepsItsStoredStepAndTheHintSaysSo)
{
    hostSystem.unreached = {HostSetting::WheelLines};
    hostStore.desktop = {{QStringLiteral("WheelScrollLines"), QStringLiteral("5")}};
    knownDesktop();
    hostSystem.current.erase(QStringLiteral("WheelScrollLines"));
    start(false);
    showAdvancedPage();
    EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QStringLiteral("5"));
    EXPECT_EQ(hint(), QStringLiteral("此桌面不接受本程序设置的滚轮滚动行数；这些值已保留。"));
    window->Btn_Lang3_0Click();
    EXPECT_EQ(hint(), QStringLiteral(
                          "This desktop does not take wheel lines from this program; the values are kept."));

    click(QStringLiteral("Img_ScrSpd4"));
    EXPECT_EQ(hostStore.desktop[QStringLiteral("WheelScrollLines")], QStringLiteral("4"));
    EXPECT_TRUE(hostSystem.calls.filter(QStringLiteral("wheel")).isEmpty());
    EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QStringLiteral("4"));
    EXPECT_TRUE(hint().contains(QStringLiteral("wheel lines"))) << qPrintable(hint());
    // The settings it has still reach it, and their clicks leave the hint as it was.
    click(QStringLiteral("Img_Spd7"));
    EXPECT_EQ(hostSystem.calls, QStringList{QStringLiteral("speed 12")});
    EXPECT_TRUE(hint().contains(QStringLiteral("wheel lines"))) << qPrintable(hint());
    window->Btn_Lang2_0Click();
    EXPECT_EQ(hint(), QStringLiteral("此桌面不接受本程式設定的滾輪捲動行數；這些值已保留。"));
}

TEST_F(HostSettings, BarStyleFollowsTheOption)
{
    start(false);
    struct Case {
        int dpiLedStatus;
        const char* lit;
    };
    for (const Case& c : {Case{1, "3"}, Case{0, "1 2 3"}}) {
        SCOPED_TRACE(c.dpiLedStatus);
        window->skin().org().DPILED_Status = c.dpiLedStatus;
        click(QStringLiteral("Img_ScrSpd3"));
        EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QLatin1String(c.lit));
        click(QStringLiteral("Img_Spd3"));
        EXPECT_EQ(litSteps(QStringLiteral("Spd")), QLatin1String(c.lit));
        click(QStringLiteral("Img_DbSpd3"));
        EXPECT_EQ(litSteps(QStringLiteral("DbSpd")), QLatin1String(c.lit));
    }
    // A language change redraws with the option as it is then.
    window->skin().org().DPILED_Status = 1;
    window->Btn_Lang3_0Click();
    EXPECT_EQ(litSteps(QStringLiteral("Spd")), QStringLiteral("3"));
}

TEST_F(HostSettings, ControlsArePlacedByTheLayoutSection)
{
    start(false);
    struct Case {
        const char* name;
        QPoint pos;
    };
    const Case cases[] = {
        {"Img_Spd1", {150, 300}},
        {"Img_Spd6", {150 + 5 * 26, 300}},
        {"lbl_Spd6", {150 + 5 * 26 + 4, 324}},
        {"Img_DbSpd11", {410, 374}},
        {"lbl_DbSpd1", {154, 398}},
        {"Img_ScrSpd2", {176, 448}},
        {"lbl_ScrSpd11", {414, 472}},
        {"Img_IsControl", {312, 278}},
        {"lbl_IsControl", {304, 278}},
        {"Img_IsScreen", {312, 426}},
        {"lbl_IsScreen", {310, 426}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(widget(QLatin1String(c.name))->pos(), c.pos) << c.name;
    EXPECT_EQ(widget(QStringLiteral("Img_Spd1"))->size(), QSize(26, 18));
    // The click targets cover their switch pictures.
    for (const char* s : {"IsControl", "IsScreen"})
        EXPECT_TRUE(widget(QStringLiteral("lbl_") + QLatin1String(s))
                        ->geometry()
                        .contains(widget(QStringLiteral("Img_") + QLatin1String(s))->geometry()))
            << s;
    QWidget* number = widget(QStringLiteral("lbl_ScrSpd4"));
    EXPECT_EQ(number->font().pointSize(), 9);
    EXPECT_EQ(number->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(qobject_cast<QLabel*>(number)->text(), QStringLiteral("4"));
    EXPECT_EQ(number->parentWidget(), window->page(2));
}

// The page picture carries no words: every field, bar and switch has a
// caption in the current language, clear of the controls it names, and a
// switch's caption works the switch.
TEST_F(HostSettings, FieldsBarsAndSwitchesAreCaptionedInTheCurrentLanguage)
{
    start(false);
    const auto text = [this](const char* name) { return find<QLabel>(QLatin1String(name))->text(); };
    const char* captions[] = {"lbl_TitleFireKey",   "lbl_FireCount",      "lbl_FireTime",
                              "lbl_TitleHostMouse", "lbl_TitleSpd",       "lbl_TitleDbSpd",
                              "lbl_TitleScrSpd",    "lbl_TitleIsControl", "lbl_TitleIsScreen"};
    EXPECT_EQ(text("lbl_FireCount"), QStringLiteral("连发次数"));
    window->Btn_Lang3_0Click();
    EXPECT_EQ(text("lbl_FireCount"), QStringLiteral("Fire Count"));
    EXPECT_EQ(text("lbl_TitleSpd"), QStringLiteral("Pointer Speed"));
    const QStringList controls{QStringLiteral("Edt_Repeat1"), QStringLiteral("Edt_DelayTime1"),
                               QStringLiteral("Img_IsControl"), QStringLiteral("Img_IsScreen")};
    for (const char* name : captions) {
        auto* l = find<QLabel>(QLatin1String(name));
        ASSERT_TRUE(l) << name;
        EXPECT_FALSE(l->text().isEmpty()) << name;
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << name;
        for (const QString& c : controls)
            EXPECT_FALSE(l->geometry().intersects(widget(c)->geometry()))
                << name << " over " << qPrintable(c);
        for (int k = 1; k <= kHostSteps; ++k)
            for (const char* bar : {"Img_Spd", "Img_DbSpd", "Img_ScrSpd"})
                EXPECT_FALSE(
                    l->geometry().intersects(widget(QLatin1String(bar) + QString::number(k))->geometry()))
                    << name << " over " << bar << k;
    }
    click(QStringLiteral("lbl_TitleIsControl"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsControl")), QStringLiteral("CbS_E"));
    click(QStringLiteral("lbl_TitleIsScreen"));
    EXPECT_EQ(picture(QStringLiteral("Img_IsScreen")), QStringLiteral("CbS_E"));
    EXPECT_FALSE(wheelBarEnabled());
}

// --- Apply ---

// Records, for every call to the desktop, how many commands the mouse had seen.
class OrderedSystem final : public HostMouseSystem
{
  public:
    explicit OrderedSystem(SimMouse& mouse) : mouse_(mouse) {}
    std::vector<std::size_t> commandsSeen;
    bool setMouseSpeed(int) override { return seen(); }
    bool setMouseAcceleration(int, int, int) override { return seen(); }
    bool setDoubleClickTime(int) override { return seen(); }
    bool setWheelScrollLines(int) override { return seen(); }

  private:
    bool seen()
    {
        commandsSeen.push_back(mouse_.requests().size());
        return true;
    }
    SimMouse& mouse_;
};

// Clicks apply at once; the next write of the mouse sends none of them
// again, and asks the desktop nothing.
TEST_F(HostSettings, AnApplyAfterClicksSendsNoPointerSettingAgain)
{
    OrderedSystem system(mouse);
    if (auto img = LoadDefaultImage(1))
        mouse.memory = *img;
    host.addStandardSet(&mouse, kVendor);
    host.plugMouse(&mouse, true);
    window = std::make_unique<MainWindow>(
        MainWindowDeps{clock, services, host, kVendor, hostStore, system, macros, locale});
    untilOpened();
    ASSERT_TRUE(window->session().link().hasDevice());
    ASSERT_TRUE(system.commandsSeen.empty()); // nothing applied when the page was built
    // Speed and wheel lines chosen on the page, applied at once.
    click(QStringLiteral("Img_Spd6"));
    click(QStringLiteral("Img_ScrSpd4"));
    ASSERT_EQ(system.commandsSeen.size(), 2u);
    system.commandsSeen.clear();
    hostStore.writes.clear();
    mouse.clearTraffic();

    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(system.commandsSeen.empty());
    EXPECT_TRUE(hostStore.writes.isEmpty()) << qPrintable(hostStore.writes.join(' '));
    // Nothing changed for the mouse: only the chunk of its current CPI level
    // goes (as with every Apply), with its verification.
    const auto requests = mouse.requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(), [](const auto& r) { return r[1] == WriteDataCmd; }),
              1);
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(HostSettings, AFailingStoreAndDesktopDoNotFailTheWrite)
{
    knownDesktop();
    startRead();
    showAdvancedPage();
    // A setting chosen while everything worked, then store and desktop fail.
    click(QStringLiteral("Img_Spd6"));
    ASSERT_EQ(hint(), QString());
    hostStore.writesFail = true;
    hostSystem.accepts = false;
    click(QStringLiteral("Img_Spd8"));
    // The hint speaks the window's language, and follows a change of it.
    EXPECT_EQ(hint(),
              QStringLiteral("部分系统鼠标设置无法保存。此桌面不接受本程序设置的指针速度；这些值已保留。"));
    window->Btn_Lang3_0Click();
    EXPECT_TRUE(hint().contains(QStringLiteral("could not be saved"))) << qPrintable(hint());
    EXPECT_TRUE(hint().contains(QStringLiteral("pointer speed"))) << qPrintable(hint());

    hostStore.mouseOpens = false;
    hostStore.desktopOpens = false;
    mouse.clearTraffic();
    find<QComboBox>(QStringLiteral("cb_CPI1"))->setCurrentIndex(9); // something the write must carry
    window->actions().Btn_Apply_0Click();
    EXPECT_EQ(mouse.memory[0x006], 9);
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    EXPECT_TRUE(messages().isEmpty()); // no message box for the host settings
    EXPECT_FALSE(hint().isEmpty());
    EXPECT_EQ(hostSystem.calls.last(), QStringLiteral("speed 14"));
}

TEST_F(HostSettings, ADesktopThatTakesEverythingLeavesNoHint)
{
    knownDesktop();
    start(false);
    showAdvancedPage();
    hostSystem.accepts = false;
    window->Btn_Lang3_0Click();
    click(QStringLiteral("Img_DbSpd2"));
    EXPECT_TRUE(hint().contains(QStringLiteral("double-click time"))) << qPrintable(hint());
    EXPECT_TRUE(find<QLabel>(QStringLiteral("lbl_HostHint"))->parentWidget() == window->page(2));
    hostSystem.accepts = true;
    click(QStringLiteral("Img_DbSpd3"));
    EXPECT_EQ(hint(), QString());
}

} // namespace
} // namespace orb::test
