// KDE Plasma's pointer settings: KWin's input devices on a private session
// bus served by a stand-in KWin, KDE's files in a temporary folder.
#ifndef _WIN32

#include "hostmouse/KdeHostMouse.h"
#include "hostmouse/FakeHostMouse.h"
#include "hostmouse/HostMouseSettings.h"
#include "hostmouse/LinuxHostMouse.h"

#include "StandInKWin.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orb
{
namespace
{

using Device = test::StandInKWin::Device;

// A mouse, this program's mouse (flat), and a touchpad, a pointing stick
// and a keyboard, which the mouse settings leave alone.
std::vector<Device> PlasmaDevices()
{
    return {
        {"event3", "Logitech G Pro", 1133, 16495, true, false, 0.2, true},
        {"event7", "ORB5610 Gaming Mouse", 0x1209, 0x08A0, true, false, -0.6, false},
        {"event9", "SynPS/2 Synaptics TouchPad", 2, 7, true, true, 0.0, true},
        {"event11", "TPPS/2 Elan TrackPoint", 2, 10, true, false, -0.4, true, true},
        {"event2", "AT Translated Set 2 keyboard", 1, 1, false, false, 0.0, true},
    };
}

struct Kde : ::testing::Test {
    test::PrivateSessionBus bus;
    std::unique_ptr<test::StandInKWin> kwin;
    QDBusConnection program{QString()};
    QTemporaryDir config;
    FakeHostMouseStore store;
    std::unique_ptr<KdeHostMouseSystem> system;
    std::unique_ptr<HostMouseSettings> settings;
    FakePointerDevices* xDevices = nullptr;

    void SetUp() override
    {
        if (!bus.ok())
            GTEST_SKIP() << bus.why().toStdString();
        program = bus.connect(QStringLiteral("program"));
        ASSERT_TRUE(program.isConnected());
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("program")); }

    // Plasma on Wayland with KWin serving `devices` (none: no KWin at all).
    void startWayland(std::optional<std::vector<Device>> devices = PlasmaDevices(), bool answers = true)
    {
        if (devices) {
            kwin = std::make_unique<test::StandInKWin>(bus, *devices, answers);
            ASSERT_TRUE(kwin->ok());
        }
        system = std::make_unique<KdeHostMouseSystem>(KdeHostMouseSystem::Session::Wayland, program,
                                                      config.path());
        refresh();
    }
    // Plasma on X11: one libinput mouse on the X server.
    void startX11()
    {
        kwin = std::make_unique<test::StandInKWin>(bus, std::vector<Device>{});
        auto devices = std::make_unique<FakePointerDevices>();
        devices->devices[6] = FakePointerDevices::libinputMouse(-0.2f, false);
        devices->devices[7] = FakePointerDevices::touchpad(0.5f, true);
        devices->devices[8] = FakePointerDevices::pointingStick(0.5f, true);
        xDevices = devices.get();
        system = std::make_unique<KdeHostMouseSystem>(
            KdeHostMouseSystem::Session::X11, program, config.path(),
            std::make_unique<X11HostMouseSystem>(":4711", std::move(devices)));
        refresh();
    }
    HostApplyResult shown; // what the page was told when shown
    void refresh()
    {
        settings = std::make_unique<HostMouseSettings>(store, *system);
        shown = settings->Refresh();
    }
    QString file(const QString& name) const { return config.filePath(name); }
    QStringList notifications() const { return kwin ? kwin->notifications(program) : QStringList(); }
    // What KDE itself reads from a file; KdeConfigFile when kreadconfig5 is not installed.
    QString kread(const QString& name, const QStringList& group, const QString& key) const
    {
        if (QStandardPaths::findExecutable(QStringLiteral("kreadconfig5")).isEmpty())
            return KdeConfigFile(file(name)).read(group, key).value_or(QString());
        QStringList args{QStringLiteral("--file"), file(name)};
        for (const QString& g : group)
            args << QStringLiteral("--group") << g;
        args << QStringLiteral("--key") << key;
        QProcess p;
        p.start(QStringLiteral("kreadconfig5"), args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
};

TEST_F(Kde, BarsShowKWinsAndKdeglobalsLiveValues)
{
    {
        QFile kdeglobals(file("kdeglobals"));
        ASSERT_TRUE(kdeglobals.open(QIODevice::WriteOnly));
        kdeglobals.write("[KDE]\nDoubleClickInterval=480\nWheelScrollLines=7\n");
    }
    startWayland();
    const HostMouseState& s = settings->state();
    EXPECT_EQ(s.SpeedStep, 7); // 0.2 on the first pointer
    EXPECT_TRUE(s.IsControl);  // adaptive
    EXPECT_EQ(s.DoubleClickStep, 7);
    EXPECT_EQ(s.ScrollStep, 7);
    EXPECT_TRUE(settings->DesktopReach().notApplied.isEmpty());

    // Without kdeglobals values KDE's own defaults are what it uses.
    QFile::remove(file("kdeglobals"));
    refresh();
    EXPECT_EQ(settings->state().DoubleClickTime, 400);
    EXPECT_EQ(settings->state().DoubleClickStep, 9);
    EXPECT_EQ(settings->state().ScrollStep, 3);
}

TEST_F(Kde, AnUntouchedApplySetsNothing)
{
    startWayland();
    const HostApplyResult result = settings->ApplyHostMouseSettings();
    EXPECT_TRUE(result.notApplied.isEmpty()) << qPrintable(result.notApplied.join(", "));
    EXPECT_TRUE(kwin->sets().isEmpty()) << qPrintable(kwin->sets().join(", "));
    EXPECT_TRUE(notifications().isEmpty());
    EXPECT_FALSE(QFile::exists(file("kdeglobals")));
    EXPECT_FALSE(QFile::exists(file("kcminputrc")));
}

// The mice only, not the touchpad or the pointing stick; KWin keeps what it
// takes in kcminputrc itself, so the file is not written beside it.
TEST_F(Kde, SpeedGoesLiveToEveryMouseOnlyAndKWinKeepsIt)
{
    startWayland();
    const HostApplyResult result = settings->MseSpd_OnClick(9);
    EXPECT_TRUE(result.notApplied.isEmpty()) << qPrintable(result.notApplied.join(", "));
    EXPECT_EQ(kwin->sets(),
              (QStringList{"event3 pointerAcceleration 0.6", "event7 pointerAcceleration 0.6"}));
    EXPECT_DOUBLE_EQ(kwin->device("event7").acceleration, 0.6);
    EXPECT_DOUBLE_EQ(kwin->device("event9").acceleration, 0.0);
    EXPECT_DOUBLE_EQ(kwin->device("event11").acceleration, -0.4);
    EXPECT_FALSE(QFile::exists(file("kcminputrc")));
    EXPECT_TRUE(notifications().isEmpty());
    EXPECT_FALSE(QFile::exists(file("kdeglobals")));
}

// KWin is listed once when the page is shown and once per apply that
// changes something, never per value; one that does not answer is said.
TEST_F(Kde, KWinIsListedOncePerShowAndPerApply)
{
    startWayland();
    EXPECT_EQ(kwin->listings(), 1);
    EXPECT_TRUE(shown.desktopAnswered);
    settings->MseSpd_OnClick(9);
    EXPECT_EQ(kwin->listings(), 2);
    settings->ApplyHostMouseSettings(); // nothing changed since
    EXPECT_EQ(kwin->listings(), 2);
    settings->lbl_IsControlClick();
    EXPECT_EQ(kwin->listings(), 3);
    refresh();
    EXPECT_EQ(kwin->listings(), 4);

    kwin.reset();
    startWayland(PlasmaDevices(), false);
    EXPECT_FALSE(shown.desktopAnswered);
    EXPECT_EQ(settings->state().SpeedStep, 0); // unknown, not a default
    EXPECT_TRUE(kwin->sets().isEmpty());
}

TEST_F(Kde, PrecisionSwitchChoosesTheProfile)
{
    startWayland();
    ASSERT_TRUE(settings->state().IsControl);
    settings->lbl_IsControlClick();
    EXPECT_EQ(kwin->sets(), (QStringList{"event3 pointerAccelerationProfileFlat true",
                                         "event7 pointerAccelerationProfileFlat true"}));
    EXPECT_FALSE(QFile::exists(file("kcminputrc")));
    EXPECT_FALSE(kwin->device("event3").adaptive);
    EXPECT_TRUE(kwin->device("event11").adaptive);

    kwin->clearSets();
    settings->lbl_IsControlClick();
    EXPECT_EQ(kwin->sets(), (QStringList{"event3 pointerAccelerationProfileAdaptive true",
                                         "event7 pointerAccelerationProfileAdaptive true"}));
    EXPECT_TRUE(kwin->device("event7").adaptive);
}

// Running applications are told once per apply that wrote kdeglobals.
TEST_F(Kde, DoubleClickAndWheelLinesAreAnnouncedOncePerApply)
{
    startWayland();
    settings->MseDbSpd_OnClick(7);
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "DoubleClickInterval"), "480");
    EXPECT_EQ(notifications(), QStringList{"3 0"});

    settings->MseScrSpd_OnClick(5); // the wheel lines alone: the double-click was sent already
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "WheelScrollLines"), "5");
    EXPECT_EQ(notifications(), (QStringList{"3 0", "3 0"}));
    EXPECT_TRUE(kwin->sets().isEmpty());

    // KDE has no "one screen at a time": not taken, not announced, the lines kept.
    const HostApplyResult result = settings->lbl_IsScreenClick();
    EXPECT_TRUE(result.notApplied.contains("wheel lines"));
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "WheelScrollLines"), "5");
    EXPECT_EQ(notifications().size(), 2);
}

TEST_F(Kde, WithoutKWinOnlyKdeglobalsIsReached)
{
    startWayland(std::nullopt);
    EXPECT_EQ(settings->DesktopReach().notApplied, (QStringList{"pointer speed", "pointer acceleration"}));
    HostApplyResult result = settings->MseSpd_OnClick(9);
    EXPECT_TRUE(result.notApplied.contains("pointer speed"));
    EXPECT_FALSE(QFile::exists(file("kcminputrc")));
    result = settings->MseDbSpd_OnClick(3);
    EXPECT_FALSE(result.notApplied.contains("double-click time"));
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "DoubleClickInterval"), "760");
}

// The mouse only, not the touchpad or the pointing stick; kept under the keys
// of the user's choice, not the server's defaults plasma rewrites at login.
TEST_F(Kde, X11SessionSetsLibinputPropertiesAndKcminputrcMouse)
{
    startX11();
    EXPECT_EQ(settings->state().SpeedStep, 5); // -0.2
    EXPECT_FALSE(settings->state().IsControl); // flat
    HostApplyResult result = settings->MseSpd_OnClick(9);
    EXPECT_TRUE(result.notApplied.isEmpty()) << qPrintable(result.notApplied.join(", "));
    EXPECT_EQ(xDevices->sets, QStringList{"6 libinput Accel Speed 0.6"});
    EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "XLbInptPointerAcceleration"), "0.6");
    settings->lbl_IsControlClick();
    EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "XLbInptAccelProfileFlat"), "false");
    EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "X11LibInputXAccelProfileFlat"), "");
    EXPECT_EQ(xDevices->sets.last(), "6 libinput Accel Profile Enabled 1 0");
    EXPECT_EQ(xDevices->sets.size(), 2);
    result = settings->MseScrSpd_OnClick(4);
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "WheelScrollLines"), "4");
    EXPECT_EQ(notifications(), QStringList{"3 0"});
    EXPECT_TRUE(kwin->sets().isEmpty());
}

TEST(KdeChoice, PlasmaIsToldBySessionAndPlatform)
{
    struct Case {
        const char* platform;
        bool display;
        const char* desktop;
        const char* session;
        HostDesktop expected;
    };
    const Case cases[] = {
        {"wayland", true, "KDE", "wayland", HostDesktop::KdeWayland},
        {"xcb", true, "KDE", "wayland", HostDesktop::KdeWayland}, // through XWayland
        {"xcb", true, "KDE", "x11", HostDesktop::KdeX11},
        {"xcb", true, "KDE", "", HostDesktop::KdeX11},
        {"offscreen", false, "KDE", "", HostDesktop::KdeWayland},
        {"xcb", true, "XFCE", "x11", HostDesktop::X11},
        {"xcb", true, "XFCE", "wayland", HostDesktop::Unreachable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseHostDesktop(
                      c.platform, c.display, c.desktop, [] { return false; }, c.session),
                  c.expected)
            << c.platform << " " << c.desktop << " " << c.session;
}

} // namespace
} // namespace orb

#endif
