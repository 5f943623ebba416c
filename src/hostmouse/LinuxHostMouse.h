#pragma once
#include "hostmouse/HostMousePlatform.h"
#include "hostmouse/HostMouseTables.h"
#include "hostmouse/LibinputPointers.h"

#include <QByteArray>

#include <functional>
#include <map>
#include <memory>
#include <string>

struct _XDisplay; // Xlib's Display

namespace orb
{

// The host settings kept in an INI file of the user's configuration folder,
// in the groups "Mouse" and "Desktop" with the same value names and digit
// strings the registry uses on Windows.
class FileHostMouseStore final : public HostMouseStore
{
  public:
    explicit FileHostMouseStore(QString path) : path_(std::move(path)) {}
    // <configuration folder>/ORB5610/HostMouse.ini
    static QString defaultPath();

    bool canOpen(HostKey key) override;
    std::optional<QString> read(HostKey key, const QString& name) override;
    bool write(HostKey key, const QString& name, const QString& value) override;

  private:
    QString path_;
};

// The pointer devices of an X server through XInput 2, on a connection
// owned by someone else (null when there is none).
class XInputPointerProperties final : public PointerDeviceProperties
{
  public:
    explicit XInputPointerProperties(std::function<::_XDisplay*()> connection)
        : connection_(std::move(connection))
    {
    }
    std::vector<int> pointerDevices() override;
    std::string name(int device) override;
    std::optional<std::vector<float>> floats(int device, const char* property) override;
    std::optional<std::vector<std::uint8_t>> bytes(int device, const char* property) override;
    bool setFloats(int device, const char* property, const std::vector<float>& values) override;
    bool setBytes(int device, const char* property, const std::vector<std::uint8_t>& values) override;

  private:
    std::function<::_XDisplay*()> connection_;
    std::map<int, std::string> names_; // at the last listing
};

// X11. Where pointer devices are driven by libinput (the default X input
// driver), speed and the acceleration profile go to its properties on every
// such device: the driver ignores the core pointer's acceleration. Where no
// device has them (evdev), the acceleration and threshold go to the core
// pointer (XChangePointerControl), which every X server has, and there is
// no speed. Double-click time and wheel lines have no X server setting;
// desktops keep them in their own settings daemons (XSETTINGS is owned by
// that daemon and read-only to other clients), so they are not applied and
// say so. A missing or vanished X server is a false answer, never a stall
// or an exit.
class X11HostMouseSystem final : public HostMouseSystem
{
  public:
    // Empty display name: $DISPLAY. Without `devices`, XInput 2 on this
    // system's own connection.
    explicit X11HostMouseSystem(QByteArray displayName = {},
                                std::unique_ptr<PointerDeviceProperties> devices = nullptr);
    ~X11HostMouseSystem() override;
    X11HostMouseSystem(const X11HostMouseSystem&) = delete;
    X11HostMouseSystem& operator=(const X11HostMouseSystem&) = delete;

    bool setMouseSpeed(int sensitivity) override;
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override;
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(int) override { return false; }
    // "MouseSensitivity" from libinput's speed; "MouseSpeed",
    // "MouseThreshold1", "MouseThreshold2" from its profile, or else from the
    // core pointer's control.
    std::optional<QString> currentValue(const QString& name) override;
    bool reaches(HostSetting setting) const override;

  private:
    // The connection, opened at the first call and kept: the page reads
    // three values at a time, and each connection costs the server a handshake.
    ::_XDisplay* connection();
    QByteArray display_;
    ::_XDisplay* dpy_ = nullptr;
    std::unique_ptr<PointerDeviceProperties> devices_;
};

// A desktop the program cannot reach (no X server): nothing is applied.
class NoHostMouseSystem final : public HostMouseSystem
{
  public:
    bool setMouseSpeed(int) override { return false; }
    bool setMouseAcceleration(int, int, int) override { return false; }
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(int) override { return false; }
    bool reaches(HostSetting) const override { return false; }
};

// Which desktop the pointer settings go to. GNOME needs its schema and a
// GNOME session: the schema comes with GTK on most desktops (Plasma, Xfce,
// sway), where nothing reads it. KDE Plasma is told by its session, Wayland
// or X11 by the session type or Qt's platform.
enum class HostDesktop { Gnome, KdeWayland, KdeX11, X11, Unreachable };
// `currentDesktop` is $XDG_CURRENT_DESKTOP ("ubuntu:GNOME"); `platformName`
// Qt's ("xcb", "wayland"); `sessionType` $XDG_SESSION_TYPE (a program run
// through XWayland still has a Wayland session). The schema is asked for
// only in a GNOME session, since asking loads GIO.
HostDesktop ChooseHostDesktop(const QString& platformName, bool hasXDisplay, const QString& currentDesktop,
                              const std::function<bool()>& gnomeSchemaInstalled,
                              const QString& sessionType = {});

class GioLoader;
// CreateHostMouseSystem() for the session given: GIO comes from `gio`, and
// only when the session is GNOME's; the session bus is used only in KDE's.
std::unique_ptr<HostMouseSystem> CreateHostMouseSystem(const QString& platformName, bool hasXDisplay,
                                                       const QString& currentDesktop, GioLoader& gio,
                                                       const QString& sessionType = {});

// The X pointer control for the acceleration triple: none is 1/1 at
// threshold 0; speed 1 doubles above threshold1; speed 2 quadruples above
// threshold2 (X has only one threshold).
struct XPointerControl {
    int numerator = 1;
    int denominator = 1;
    int threshold = 0;
    bool operator==(const XPointerControl&) const = default;
};
XPointerControl PointerControlForAccel(int threshold1, int threshold2, int speed);
// Back to a triple: any acceleration above 1 reads as speed 1 at its threshold.
AccelTriple AccelForPointerControl(const XPointerControl& control);

} // namespace orb
