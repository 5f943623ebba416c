#include "hostmouse/LinuxHostMouse.h"
#include "hostmouse/FakeHostMouse.h"
#include "hostmouse/HostMouseSettings.h"

#include "XvfbServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

extern "C" int XGetPointerControl(_XDisplay*, int*, int*, int*);
extern "C" int XChangePointerControl(_XDisplay*, int, int, int, int, int);

namespace orb
{
namespace
{

// The server's pointer acceleration, read and set as xset reads and sets it.
XPointerControl PointerControl(const QByteArray& display, std::optional<XPointerControl> set = std::nullopt)
{
    XPointerControl c;
    _XDisplay* dpy = XOpenDisplay(display.constData());
    if (!dpy)
        return c;
    if (set)
        XChangePointerControl(dpy, 1, 1, set->numerator, set->denominator, set->threshold);
    XGetPointerControl(dpy, &c.numerator, &c.denominator, &c.threshold);
    XCloseDisplay(dpy);
    return c;
}

// The acceleration a test found, put back when it ends, however it ends.
class PointerControlKept
{
  public:
    explicit PointerControlKept(QByteArray display)
        : display_(std::move(display)), before_(PointerControl(display_))
    {
    }
    ~PointerControlKept() { PointerControl(display_, before_); }
    PointerControlKept(const PointerControlKept&) = delete;
    PointerControlKept& operator=(const PointerControlKept&) = delete;

  private:
    QByteArray display_;
    XPointerControl before_;
};

TEST(FileHostMouseStore, KeepsValuesBetweenRuns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config/ORB5610/HostMouse.ini");
    {
        FileHostMouseStore store(path);
        EXPECT_TRUE(store.canOpen(HostKey::Mouse));
        EXPECT_FALSE(store.read(HostKey::Mouse, "MouseSensitivity"));
        EXPECT_TRUE(store.write(HostKey::Mouse, "MouseSensitivity", "10"));
        EXPECT_TRUE(store.write(HostKey::Desktop, "WheelScrollLines", "-1"));
    }
    FileHostMouseStore again(path);
    EXPECT_EQ(again.read(HostKey::Mouse, "MouseSensitivity"), "10");
    EXPECT_EQ(again.read(HostKey::Desktop, "WheelScrollLines"), "-1");
    EXPECT_FALSE(again.read(HostKey::Desktop, "MouseSensitivity"));
}

TEST(FileHostMouseStore, StoreThatCannotBeOpenedOrWritten)
{
    QTemporaryDir dir;
    // A folder that cannot be made: its parent is a file.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FileHostMouseStore underFile(dir.filePath("blocker/ORB5610/HostMouse.ini"));
    // A settings path that is a folder.
    ASSERT_TRUE(QDir(dir.path()).mkpath("isfolder.ini"));
    FileHostMouseStore isFolder(dir.filePath("isfolder.ini"));

    for (FileHostMouseStore* store : {&underFile, &isFolder}) {
        EXPECT_FALSE(store->canOpen(HostKey::Mouse));
        EXPECT_FALSE(store->write(HostKey::Mouse, "MouseSensitivity", "10"));
        EXPECT_FALSE(store->read(HostKey::Mouse, "MouseSensitivity"));

        FakeHostMouseSystem system;
        HostMouseSettings settings(*store, system);
        EXPECT_FALSE(settings.RefreshMouseSystemParameterA());
        const HostApplyResult result = settings.MseDbSpd_OnClick(7);
        EXPECT_FALSE(result.mouseKeyWritten);
        EXPECT_FALSE(result.hint().isEmpty());
    }
}

TEST(X11HostMouse, PointerControlForTheTriples)
{
    EXPECT_EQ(PointerControlForAccel(0, 0, 0), (XPointerControl{1, 1, 0}));
    EXPECT_EQ(PointerControlForAccel(6, 10, 1), (XPointerControl{2, 1, 6}));
    EXPECT_EQ(PointerControlForAccel(6, 10, 2), (XPointerControl{4, 1, 10}));
    EXPECT_EQ(AccelForPointerControl({2, 1, 6}), AccelForPrecision(true));
    EXPECT_EQ(AccelForPointerControl({1, 1, 0}), AccelForPrecision(false));
    EXPECT_EQ(AccelForPointerControl({2, 1, 4}), (AccelTriple{1, 4, 10}));
    EXPECT_EQ(AccelForPointerControl({3, 0, 4}), AccelForPrecision(false));
}

TEST(X11HostMouse, NoServerIsAFalseAnswer)
{
    X11HostMouseSystem system(":4711");
    EXPECT_FALSE(system.setMouseAcceleration(6, 10, 1));
    EXPECT_FALSE(system.currentValue("MouseSpeed"));
}

TEST(X11HostMouse, PrecisionSwitchReachesTheXServer)
{
    test::XvfbServer server;
    if (!server.ok())
        GTEST_SKIP() << server.why().toStdString();
    const PointerControlKept kept(server.display());
    X11HostMouseSystem system(server.display());
    QTemporaryDir dir;
    FileHostMouseStore store(dir.filePath("HostMouse.ini"));
    HostMouseSettings settings(store, system);

    auto pointerControl = [&] { return PointerControl(server.display()); };

    // The server's own acceleration is what the page starts from.
    EXPECT_TRUE(settings.RefreshMouseSystemParameterA());
    EXPECT_EQ(settings.state().IsControl, pointerControl().numerator > pointerControl().denominator);

    if (settings.state().IsControl)
        settings.lbl_IsControlClick();
    HostApplyResult result = settings.lbl_IsControlClick();
    EXPECT_EQ(pointerControl(), (XPointerControl{2, 1, 6}));
    EXPECT_EQ(store.read(HostKey::Mouse, "MouseThreshold1"), "6");
    EXPECT_FALSE(result.notApplied.contains("pointer acceleration"));

    result = settings.lbl_IsControlClick();
    EXPECT_EQ(pointerControl(), (XPointerControl{1, 1, 0}));

    // The X server has no speed, double-click or wheel setting: named, not failed.
    const QStringList notOnX{"pointer speed", "double-click time", "wheel lines"};
    EXPECT_EQ(settings.DesktopReach().notApplied, notOnX);
    result = settings.MseSpd_OnClick(6);
    EXPECT_TRUE(result.mouseKeyWritten);
    EXPECT_EQ(result.notApplied, notOnX);
    result = settings.MseDbSpd_OnClick(7);
    EXPECT_EQ(result.notApplied, notOnX);
    EXPECT_EQ(store.read(HostKey::Mouse, "DoubleClickSpeed"), "480");
}

// An acceleration of 3/2 above 5 pixels has no step of its own: an Apply by
// someone who never touched the switch must leave it exactly as it is.
TEST(X11HostMouse, AnAccelerationTheStepsCannotShowIsLeftAlone)
{
    test::XvfbServer server;
    if (!server.ok())
        GTEST_SKIP() << server.why().toStdString();
    const PointerControlKept kept(server.display());
    const auto pointerControl = [&](std::optional<XPointerControl> set = std::nullopt) {
        return PointerControl(server.display(), set);
    };
    ASSERT_EQ(pointerControl(XPointerControl{3, 2, 5}), (XPointerControl{3, 2, 5})); // xset m 3/2 5

    X11HostMouseSystem system(server.display());
    QTemporaryDir dir;
    FileHostMouseStore store(dir.filePath("HostMouse.ini"));
    // An earlier run kept "off"; the server's own value is what counts.
    ASSERT_TRUE(store.write(HostKey::Mouse, "MouseSpeed", "0"));
    HostMouseSettings settings(store, system);
    settings.RefreshMouseSystemParameterA();
    settings.RefreshMouseSystemParameterB();
    settings.FillUnknownSteps();
    EXPECT_TRUE(settings.state().IsControl);

    settings.ApplyHostMouseSettings();
    settings.MseSpd_OnClick(3); // another setting changed and applied
    settings.ApplyHostMouseSettings();
    EXPECT_EQ(pointerControl(), (XPointerControl{3, 2, 5}));
    EXPECT_EQ(store.read(HostKey::Mouse, "MouseSpeed"), "0");

    // Switched on the page, it takes the switch's value.
    settings.lbl_IsControlClick();
    settings.lbl_IsControlClick();
    EXPECT_EQ(pointerControl(), (XPointerControl{2, 1, 6}));
}

} // namespace
} // namespace orb
