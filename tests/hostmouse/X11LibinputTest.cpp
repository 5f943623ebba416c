// X11 pointers driven by libinput: speed and profile go to the devices'
// properties, the core pointer's acceleration only where no device has them.
#include "hostmouse/FakeHostMouse.h"
#include "hostmouse/HostMouseSettings.h"
#include "hostmouse/LinuxHostMouse.h"

#include "XvfbServer.h"

#include <gtest/gtest.h>

extern "C" int XGetPointerControl(_XDisplay*, int*, int*, int*);
extern "C" int XChangePointerControl(_XDisplay*, int, int, int, int, int);
extern "C" _XDisplay* XOpenDisplay(const char*);
extern "C" int XCloseDisplay(_XDisplay*);

namespace orb
{
namespace
{

using Device = FakePointerDevices::Device;

// The page's logic over an X11 desktop whose devices are the fake's; no X
// server behind it unless one is named.
struct Libinput : ::testing::Test {
    FakePointerDevices* devices = nullptr;
    std::unique_ptr<X11HostMouseSystem> system;
    FakeHostMouseStore store;
    std::unique_ptr<HostMouseSettings> settings;

    void start(std::map<int, Device> pointers, QByteArray display = ":4711")
    {
        auto fake = std::make_unique<FakePointerDevices>();
        fake->devices = std::move(pointers);
        devices = fake.get();
        system = std::make_unique<X11HostMouseSystem>(display, std::move(fake));
        settings = std::make_unique<HostMouseSettings>(store, *system);
        settings->RefreshMouseSystemParameterA();
        settings->RefreshMouseSystemParameterB();
        settings->FillUnknownSteps();
    }
};

TEST_F(Libinput, BarsShowTheFirstDevicesLiveValues)
{
    struct Case {
        float speed;
        bool adaptive;
        int step;
    };
    for (const Case c :
         {Case{0.2f, false, 7}, Case{-1.0f, true, 1}, Case{0.55f, true, 9}, Case{1.0f, false, 11}}) {
        SCOPED_TRACE(c.speed);
        start({{4, Device{}},
               {6, FakePointerDevices::libinputMouse(c.speed, c.adaptive)},
               {8, FakePointerDevices::libinputMouse(-0.6f, !c.adaptive)}});
        EXPECT_EQ(settings->state().SpeedStep, c.step);
        EXPECT_EQ(settings->state().IsControl, c.adaptive);
        // Nothing changed on the page: an Apply leaves every device as it is.
        const HostApplyResult result = settings->ApplyHostMouseSettings();
        EXPECT_TRUE(devices->sets.isEmpty()) << qPrintable(devices->sets.join(", "));
        EXPECT_EQ(result.notApplied, (QStringList{"double-click time", "wheel lines"}));
    }
}

// Mice only: a touchpad and a pointing stick keep their own settings.
TEST_F(Libinput, SpeedAndProfileGoToEveryLibinputMouseOnly)
{
    Device noFlat = FakePointerDevices::libinputMouse(0, true);
    noFlat.bytes[kLibinputAccelProfilesAvailable] = {1, 0};
    start({{3, FakePointerDevices::touchpad(0.5f, true)},
           {4, Device{}}, // evdev: no libinput properties
           {5, FakePointerDevices::pointingStick(0.5f, true)},
           {6, FakePointerDevices::libinputMouse(0, true)},
           {7, FakePointerDevices::libinputMouse(0.4f, true, true)},
           {9, noFlat}});
    EXPECT_EQ(settings->state().SpeedStep, 6); // the first mouse's, not the touchpad's

    HostApplyResult result = settings->MseSpd_OnClick(7);
    EXPECT_EQ(devices->sets, (QStringList{"6 libinput Accel Speed 0.2", "7 libinput Accel Speed 0.2",
                                          "9 libinput Accel Speed 0.2"}));
    EXPECT_FALSE(result.notApplied.contains("pointer speed"));

    // Sent once: the profile's click sends the profile alone.
    const auto profileSets = [this] { return devices->sets.filter(QStringLiteral("Profile")); };
    devices->sets.clear();
    result = settings->lbl_IsControlClick(); // adaptive read, so now off: flat
    EXPECT_EQ(profileSets(), (QStringList{"6 libinput Accel Profile Enabled 0 1",
                                          "7 libinput Accel Profile Enabled 0 1 0"}));
    EXPECT_FALSE(result.notApplied.contains("pointer acceleration"));
    EXPECT_EQ(profileSets(), devices->sets);
    EXPECT_EQ(devices->devices[9].bytes[kLibinputAccelProfileEnabled], (std::vector<std::uint8_t>{1, 0}));

    devices->sets.clear();
    settings->lbl_IsControlClick();
    EXPECT_EQ(profileSets(),
              (QStringList{"6 libinput Accel Profile Enabled 1 0", "7 libinput Accel Profile Enabled 1 0 0",
                           "9 libinput Accel Profile Enabled 1 0"}));
    for (int untouched : {3, 5}) {
        EXPECT_FLOAT_EQ(devices->devices[untouched].floats[kLibinputAccelSpeed].front(), 0.5f);
        EXPECT_EQ(devices->devices[untouched].bytes[kLibinputAccelProfileEnabled],
                  (std::vector<std::uint8_t>{1, 0}));
    }
}

TEST_F(Libinput, ADeviceThatRefusesIsNotReportedApplied)
{
    Device refusing = FakePointerDevices::libinputMouse(0, true);
    refusing.refuses = true;
    start({{6, FakePointerDevices::libinputMouse(0, true)}, {7, refusing}});
    EXPECT_TRUE(settings->MseSpd_OnClick(8).notApplied.contains("pointer speed"));
    EXPECT_TRUE(settings->lbl_IsControlClick().notApplied.contains("pointer acceleration"));
    // The device that took it has it.
    EXPECT_FLOAT_EQ(devices->devices[6].floats[kLibinputAccelSpeed].front(), 0.4f);
}

// Under Xvfb, whose pointers have no libinput properties, the switch reaches
// the core pointer as before; with libinput devices it leaves it alone.
TEST_F(Libinput, CorePointerOnlyWhereNoDeviceHasLibinput)
{
    test::XvfbServer server;
    if (!server.ok())
        GTEST_SKIP() << server.why().toStdString();
    const auto pointerControl = [&](std::optional<XPointerControl> set = std::nullopt) {
        XPointerControl c;
        _XDisplay* dpy = XOpenDisplay(server.display().constData());
        if (set)
            XChangePointerControl(dpy, 1, 1, set->numerator, set->denominator, set->threshold);
        XGetPointerControl(dpy, &c.numerator, &c.denominator, &c.threshold);
        XCloseDisplay(dpy);
        return c;
    };
    const XPointerControl before = pointerControl();
    struct Case {
        const char* what;
        bool libinput;
        XPointerControl afterOn;
        QStringList sets;
    };
    const Case cases[] = {
        {"libinput", true, {1, 1, 0}, {"6 libinput Accel Profile Enabled 1 0"}},
        {"evdev only", false, {2, 1, 6}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pointerControl(XPointerControl{1, 1, 0});
        std::map<int, Device> pointers{{4, Device{}}};
        if (c.libinput)
            pointers[6] = FakePointerDevices::libinputMouse(0, false);
        start(pointers, server.display());
        ASSERT_FALSE(settings->state().IsControl);
        const HostApplyResult result = settings->lbl_IsControlClick();
        EXPECT_FALSE(result.notApplied.contains("pointer acceleration"));
        EXPECT_EQ(pointerControl(), c.afterOn);
        EXPECT_EQ(devices->sets, c.sets);
        EXPECT_EQ(system->reaches(HostSetting::Speed), c.libinput);
    }
    // The real devices of Xvfb have none of libinput's properties.
    X11HostMouseSystem real(server.display());
    EXPECT_FALSE(real.reaches(HostSetting::Speed));
    EXPECT_FALSE(real.setMouseSpeed(10));
    pointerControl(before);
    // Closed while the server is still there.
    settings.reset();
    system.reset();
}

} // namespace
} // namespace orb
