#include "hostmouse/LinuxHostMouse.h"

#include "hostmouse/GnomeHostMouse.h"

#ifndef _WIN32

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>

#include <X11/Xlib.h>

#include <algorithm>

namespace orb
{
namespace
{
QString Group(HostKey key)
{
    return key == HostKey::Mouse ? QStringLiteral("Mouse") : QStringLiteral("Desktop");
}

// Xlib's default error handler ends the process; an error of ours (a value
// the server refuses) must only fail the call.
bool gXError = false;
int RecordXError(Display*, XErrorEvent*)
{
    gXError = true;
    return 0;
}

// Our error handler in place while a request is made and answered.
class XErrorScope
{
  public:
    explicit XErrorScope(Display* dpy) : dpy_(dpy), previous_(XSetErrorHandler(RecordXError))
    {
        gXError = false;
    }
    ~XErrorScope() { XSetErrorHandler(previous_); }
    XErrorScope(const XErrorScope&) = delete;
    XErrorScope& operator=(const XErrorScope&) = delete;
    // Waits for the server's answer so that a refused request is seen.
    bool ok() const
    {
        XSync(dpy_, False);
        return !gXError;
    }

  private:
    Display* dpy_;
    XErrorHandler previous_;
};
} // namespace

QString FileHostMouseStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ORB5610/HostMouse.ini");
}

bool FileHostMouseStore::canOpen(HostKey)
{
    const QFileInfo file(path_);
    if (file.exists())
        return file.isFile() && file.isReadable();
    // The file appears with the first write; its folder must be there or creatable.
    return QDir().mkpath(file.absolutePath());
}

std::optional<QString> FileHostMouseStore::read(HostKey key, const QString& name)
{
    QSettings settings(path_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = settings.value(Group(key) + QLatin1Char('/') + name);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

bool FileHostMouseStore::write(HostKey key, const QString& name, const QString& value)
{
    if (!canOpen(key))
        return false;
    QSettings settings(path_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.isWritable())
        return false;
    settings.setValue(Group(key) + QLatin1Char('/') + name, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

XPointerControl PointerControlForAccel(int threshold1, int threshold2, int speed)
{
    if (speed <= 0)
        return {1, 1, 0};
    if (speed == 1)
        return {2, 1, std::max(threshold1, 0)};
    return {4, 1, std::max(threshold2, 0)};
}

AccelTriple AccelForPointerControl(const XPointerControl& control)
{
    if (control.denominator <= 0 || control.numerator <= control.denominator)
        return AccelForPrecision(false);
    return {1, control.threshold, std::max(control.threshold, 10)};
}

X11HostMouseSystem::~X11HostMouseSystem()
{
    if (dpy_)
        XCloseDisplay(dpy_);
}

Display* X11HostMouseSystem::connection()
{
    if (!dpy_)
        dpy_ = XOpenDisplay(display_.isEmpty() ? nullptr : display_.constData());
    return dpy_;
}

bool X11HostMouseSystem::setMouseAcceleration(int threshold1, int threshold2, int speed)
{
    Display* dpy = connection();
    if (!dpy)
        return false;
    const XErrorScope errors(dpy);
    const XPointerControl control = PointerControlForAccel(threshold1, threshold2, speed);
    XChangePointerControl(dpy, True, True, control.numerator, control.denominator, control.threshold);
    return errors.ok();
}

std::optional<QString> X11HostMouseSystem::currentValue(const QString& name)
{
    const bool wanted = name == QLatin1String("MouseSpeed") || name == QLatin1String("MouseThreshold1") ||
                        name == QLatin1String("MouseThreshold2");
    if (!wanted)
        return std::nullopt;
    Display* dpy = connection();
    if (!dpy)
        return std::nullopt;
    const XErrorScope errors(dpy);
    XPointerControl control;
    XGetPointerControl(dpy, &control.numerator, &control.denominator, &control.threshold);
    if (!errors.ok())
        return std::nullopt;
    const AccelTriple accel = AccelForPointerControl(control);
    if (name == QLatin1String("MouseSpeed"))
        return QString::number(accel.speed);
    if (name == QLatin1String("MouseThreshold1"))
        return QString::number(accel.threshold1);
    return QString::number(accel.threshold2);
}

std::unique_ptr<HostMouseStore> CreateHostMouseStore()
{
    return std::make_unique<FileHostMouseStore>(FileHostMouseStore::defaultPath());
}

HostDesktop ChooseHostDesktop(const QString& platformName, bool hasXDisplay, const QString& currentDesktop,
                              const std::function<bool()>& gnomeSchemaInstalled)
{
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive) && gnomeSchemaInstalled())
        return HostDesktop::Gnome;
    // Under Wayland an X server, if any, serves only its own clients' pointer.
    if (platformName == QLatin1String("wayland") || !hasXDisplay)
        return HostDesktop::Unreachable;
    return HostDesktop::X11;
}

std::unique_ptr<HostMouseSystem> CreateHostMouseSystem(const QString& platformName, bool hasXDisplay,
                                                       const QString& currentDesktop, GioLoader& gio)
{
    const auto schemaInstalled = [&gio] { return GnomeHostMouseSystem::schemaInstalled({}, gio); };
    switch (ChooseHostDesktop(platformName, hasXDisplay, currentDesktop, schemaInstalled)) {
    case HostDesktop::Gnome:
        return std::make_unique<GnomeHostMouseSystem>(QString(), gio);
    case HostDesktop::X11:
        return std::make_unique<X11HostMouseSystem>();
    case HostDesktop::Unreachable:
        break;
    }
    return std::make_unique<NoHostMouseSystem>();
}

std::unique_ptr<HostMouseSystem> CreateHostMouseSystem()
{
    return CreateHostMouseSystem(QGuiApplication::platformName(), !qEnvironmentVariableIsEmpty("DISPLAY"),
                                 qEnvironmentVariable("XDG_CURRENT_DESKTOP"), SystemGioLoader());
}

} // namespace orb

#endif
