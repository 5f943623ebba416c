#pragma once
// The main window on virtual time, recorded dialogs and a simulated host
// with a keyboard and (optionally plugged) the simulated mouse.
#include "app/base/ButtonHover.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/frame/FrameActions.h"
#include "app/frame/MainWindow.h"
#include "app/frame/PageMapping.h"
#include "app/pages/advanced/AdvancedPage.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/lighting/LightingPage.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "app/session/SessionHost.h"
#include "capture/FakeInputCapture.h"
#include "core/FakeServices.h"
#include "core/VirtualClock.h"
#include "device/SimMouse.h"
#include "hostmouse/FakeHostMouse.h"
#include "image/DefaultImages.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace orb::test
{

inline constexpr std::uint16_t kVendor = 0x1209;

struct AppFixture : ::testing::Test {
    VirtualClock clock;
    FakeServices services;
    SimHost host;
    SimMouse mouse;
    FakeHostMouseStore hostStore;
    FakeHostMouseSystem hostSystem;
    // The macro library file's folder, and the recording input the window made.
    QTemporaryDir macroFolder;
    FakeInputCapture* capture = nullptr;
    MacroPageDeps macros{[this] {
                             auto c = std::make_unique<FakeInputCapture>();
                             capture = c.get();
                             return c;
                         },
                         macroFolder.path() + QLatin1Char('/'), macroFolder.path() + QStringLiteral("/data")};
    std::unique_ptr<MainWindow> window;
    // The system locale the window is built with (the engineering page's texts).
    QLocale locale{QLocale::English, QLocale::UnitedStates};
    // When set before start(): the mouse's lock as the program has it, its
    // turn records in this folder and the simulated node files beside them.
    QString lockFolder;

    // Builds the window; the mouse starts plugged in or not.
    void start(bool mousePlugged)
    {
        if (auto img = LoadDefaultImage(1))
            mouse.memory = *img;
        host.addStandardSet(&mouse, kVendor);
        host.plugMouse(&mouse, mousePlugged);
        window = std::make_unique<MainWindow>(
            MainWindowDeps{clock, services, host, kVendor, hostStore, hostSystem, macros, locale});
        if (!lockFolder.isEmpty()) {
            host.setLockNodeFolder(lockFolder.toStdString());
            window->session().link().setLockFolder(lockFolder, 3000);
        }
    }
    // The mouse's node file the lock is taken on, for another program's lock.
    std::string lockNode() const { return SimHost::lockNodeIn(lockFolder.toStdString(), "sim/mouse-config"); }
    // Runs time on to the first device-timer tick and through the settle.
    void untilOpened() { clock.advance(3500); }
    // The mouse plugged in with `memory` (default image 1 when none), opened
    // and read; the traffic so far is forgotten.
    void startRead(const std::optional<ImageBytes>& memory = std::nullopt)
    {
        start(true);
        if (memory)
            mouse.memory = *memory;
        untilOpened();
        ASSERT_TRUE(window->session().link().hasDevice());
        ASSERT_FALSE(window->stack().noDeviceUI());
        mouse.clearTraffic();
    }
    template <class W = QWidget> W* find(const QString& name) const { return window->findChild<W*>(name); }
    // A control that must exist (a missing one fails the test).
    QWidget* widget(const QString& name) const
    {
        QWidget* w = find(name);
        EXPECT_TRUE(w) << qPrintable(name);
        return w;
    }
    // A left click in the middle of the control.
    void click(const QString& name) const
    {
        if (QWidget* w = widget(name))
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    // The pointer moved onto the middle of the control.
    void hover(const QString& name) const
    {
        if (QWidget* w = widget(name))
            QTest::mouseMove(w, w->rect().center());
    }
    // A text of the current language pack by key.
    QString text(const char* key) const { return window->skin().LookupText(QString::fromLatin1(key)); }
    // The device-lost message: "Str100", two carriage returns, "Str101".
    QString lostMessage() const { return text("Str100") + QStringLiteral("\r\r") + text("Str101"); }
    // All four input-blocking overlays shown.
    bool overlaysVisible() const
    {
        for (int i = 1; i <= 4; ++i)
            if (find(QStringLiteral("Disable_All_%1").arg(i))->isHidden())
                return false;
        return true;
    }
    QStringList messages() const { return services.texts(); }
};

} // namespace orb::test
