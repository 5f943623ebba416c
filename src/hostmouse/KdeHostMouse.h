#pragma once
#include "hostmouse/HostMousePlatform.h"
#include "hostmouse/KdeConfigFile.h"

#include <QDBusConnection>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace orb
{

// A pointer device as KWin lists it, with its live settings.
struct KWinPointer {
    QString sysName; // "event5": the object /org/kde/KWin/InputDevice/event5
    QString name;
    quint32 vendor = 0;
    quint32 product = 0;
    double acceleration = 0; // libinput's speed, -1..1
    bool adaptive = false;
    bool flat = false;
};

// Whether KWin's device is a mouse, the devices GNOME's mouse settings
// take: a pointer that is no touchpad, touchscreen, tablet tool or pad, nor a
// pointing stick (which KWin does not mark; libinput scrolls with a stick's
// button held by default, and its name says so).
bool IsKWinMouse(const QVariantMap& properties);

// KWin's input devices on the session bus (service org.kde.KWin, objects
// under /org/kde/KWin/InputDevice), as Plasma's own mouse settings use them.
// A listing waits for KWin's answers at most a fraction of a second in all:
// a KWin that does not answer by then is no KWin.
class KWinInputDevices
{
  public:
    explicit KWinInputDevices(QDBusConnection bus) : bus_(std::move(bus)) {}
    // The mice; nothing when KWin does not answer.
    std::optional<std::vector<KWinPointer>> pointers() const;
    // False when KWin did not take the value.
    bool set(const QString& sysName, const char* property, const QVariant& value) const;

  private:
    QDBusConnection bus_;
};

// KDE Plasma 5.27 and 6.
//  - Wayland: pointer speed and profile (adaptive on, flat off) on every
//    mouse KWin lists; KWin keeps what it takes in kcminputrc itself, so
//    the file is left to it. The devices are listed once per refresh().
//  - X11: speed and profile on the X server's libinput mice (through the
//    X11 binding given), kept in kcminputrc [Mouse] under the keys of the
//    user's choice (XLbInptPointerAcceleration, XLbInptAccelProfileFlat;
//    the X11LibInput* keys are the server's defaults, rewritten at login).
//  - Both: double-click interval and wheel lines in kdeglobals [KDE]
//    (DoubleClickInterval, WheelScrollLines), then, once per apply, the
//    signal KDE applications take mouse settings again on
//    (org.kde.KGlobalSettings notifyChange on /KGlobalSettings).
// KDE has no "one screen at a time": wheel lines -1 is not taken.
class KdeHostMouseSystem final : public HostMouseSystem
{
  public:
    enum class Session { Wayland, X11 };
    // `configDir`: where kdeglobals and kcminputrc live ($XDG_CONFIG_HOME);
    // `x11`: the X server's pointers, in an X11 session.
    KdeHostMouseSystem(Session session, QDBusConnection bus, const QString& configDir,
                       std::unique_ptr<HostMouseSystem> x11 = nullptr);

    bool setMouseSpeed(int sensitivity) override;
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(int lines) override;
    bool refresh() override;
    std::vector<HostSetting> finishApply() override;
    // "MouseSensitivity" and the acceleration from the first pointer device,
    // "DoubleClickSpeed" and "WheelScrollLines" from kdeglobals (KDE's own
    // defaults, 400 ms and 3 lines, where it has none).
    std::optional<QString> currentValue(const QString& name) override;
    bool reaches(HostSetting setting) const override;

  private:
    bool setOnEveryPointer(const char* property, const QVariant& value);

    Session session_;
    QDBusConnection bus_;
    KWinInputDevices kwin_;
    KdeConfigFile kdeglobals_;
    KdeConfigFile kcminputrc_;
    std::unique_ptr<HostMouseSystem> x11_;
    // KWin's mice at the last refresh (Wayland); nothing when it did not answer.
    std::optional<std::vector<KWinPointer>> pointers_;
    // Written to kdeglobals in this apply; KDE's applications are told at its end.
    std::vector<HostSetting> toAnnounce_;
};

} // namespace orb
