#include "hostmouse/LinuxHostMouse.h"

#include "hostmouse/GnomeHostMouse.h"
#include "hostmouse/KdeHostMouse.h"

#ifndef _WIN32

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstring>

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

namespace
{
// A property's atom when the server knows the name; a name it does not know
// is on no device.
Atom PropertyAtom(Display* dpy, const char* name)
{
    return XInternAtom(dpy, name, True);
}

// The raw values of a device property of the given type and format.
std::optional<std::vector<unsigned char>> GetProperty(Display* dpy, int device, const char* name, Atom type,
                                                      int format)
{
    const Atom property = PropertyAtom(dpy, name);
    if (property == None)
        return std::nullopt;
    const XErrorScope errors(dpy);
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    // libinput's properties hold a few values; 64 units is more than any.
    const Status status = XIGetProperty(dpy, device, property, 0, 64, False, AnyPropertyType, &actualType,
                                        &actualFormat, &items, &after, &data);
    std::optional<std::vector<unsigned char>> values;
    if (errors.ok() && status == Success && actualType == type && actualFormat == format && data)
        values.emplace(data, data + items * static_cast<unsigned long>(format / 8));
    if (data)
        XFree(data);
    return values;
}

bool ChangeProperty(Display* dpy, int device, const char* name, Atom type, int format, const void* values,
                    int count)
{
    const Atom property = PropertyAtom(dpy, name);
    if (property == None)
        return false;
    const XErrorScope errors(dpy);
    XIChangeProperty(dpy, device, property, type, format, PropModeReplace,
                     static_cast<unsigned char*>(const_cast<void*>(values)), count);
    return errors.ok();
}
} // namespace

std::vector<int> XInputPointerProperties::pointerDevices()
{
    std::vector<int> ids;
    Display* dpy = connection_ ? connection_() : nullptr;
    if (!dpy)
        return ids;
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error))
        return ids;
    const XErrorScope errors(dpy);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &count);
    names_.clear();
    for (int i = 0; info && i < count; ++i)
        if (info[i].use == XISlavePointer && info[i].enabled) {
            ids.push_back(info[i].deviceid);
            names_[info[i].deviceid] = info[i].name ? info[i].name : "";
        }
    if (info)
        XIFreeDeviceInfo(info);
    if (!errors.ok())
        ids.clear();
    return ids;
}

std::string XInputPointerProperties::name(int device)
{
    const auto it = names_.find(device);
    return it == names_.end() ? std::string() : it->second;
}

std::optional<std::vector<float>> XInputPointerProperties::floats(int device, const char* property)
{
    Display* dpy = connection_ ? connection_() : nullptr;
    if (!dpy)
        return std::nullopt;
    const auto raw = GetProperty(dpy, device, property, XInternAtom(dpy, "FLOAT", False), 32);
    if (!raw || raw->empty())
        return std::nullopt;
    std::vector<float> values(raw->size() / sizeof(float));
    std::memcpy(values.data(), raw->data(), values.size() * sizeof(float));
    return values;
}

std::optional<std::vector<std::uint8_t>> XInputPointerProperties::bytes(int device, const char* property)
{
    Display* dpy = connection_ ? connection_() : nullptr;
    if (!dpy)
        return std::nullopt;
    const auto raw = GetProperty(dpy, device, property, XA_INTEGER, 8);
    if (!raw || raw->empty())
        return std::nullopt;
    return std::vector<std::uint8_t>(raw->begin(), raw->end());
}

bool XInputPointerProperties::setFloats(int device, const char* property, const std::vector<float>& values)
{
    Display* dpy = connection_ ? connection_() : nullptr;
    return dpy && ChangeProperty(dpy, device, property, XInternAtom(dpy, "FLOAT", False), 32, values.data(),
                                 static_cast<int>(values.size()));
}

bool XInputPointerProperties::setBytes(int device, const char* property,
                                       const std::vector<std::uint8_t>& values)
{
    Display* dpy = connection_ ? connection_() : nullptr;
    return dpy && ChangeProperty(dpy, device, property, XA_INTEGER, 8, values.data(),
                                 static_cast<int>(values.size()));
}

X11HostMouseSystem::X11HostMouseSystem(QByteArray displayName,
                                       std::unique_ptr<PointerDeviceProperties> devices)
    : display_(std::move(displayName)), devices_(std::move(devices))
{
    if (!devices_)
        devices_ = std::make_unique<XInputPointerProperties>([this] { return connection(); });
}

X11HostMouseSystem::~X11HostMouseSystem()
{
    // The devices may use the connection; they go first.
    devices_.reset();
    if (dpy_)
        XCloseDisplay(dpy_);
}

Display* X11HostMouseSystem::connection()
{
    if (!dpy_)
        dpy_ = XOpenDisplay(display_.isEmpty() ? nullptr : display_.constData());
    return dpy_;
}

bool X11HostMouseSystem::setMouseSpeed(int sensitivity)
{
    LibinputPointers libinput(*devices_);
    const auto step = SpeedStepForSensitivity(sensitivity);
    return step && libinput.setSpeed(LibinputSpeedForStep(*step));
}

bool X11HostMouseSystem::setMouseAcceleration(int threshold1, int threshold2, int speed)
{
    LibinputPointers libinput(*devices_);
    if (libinput.present())
        return libinput.setAdaptive(speed > 0);
    Display* dpy = connection();
    if (!dpy)
        return false;
    const XErrorScope errors(dpy);
    const XPointerControl control = PointerControlForAccel(threshold1, threshold2, speed);
    XChangePointerControl(dpy, True, True, control.numerator, control.denominator, control.threshold);
    return errors.ok();
}

bool X11HostMouseSystem::reaches(HostSetting setting) const
{
    switch (setting) {
    case HostSetting::Speed:
        return LibinputPointers(*devices_).present();
    case HostSetting::Acceleration:
        return true;
    case HostSetting::DoubleClick:
    case HostSetting::WheelLines:
        break;
    }
    return false;
}

std::optional<QString> X11HostMouseSystem::currentValue(const QString& name)
{
    const LibinputPointers libinput(*devices_);
    if (name == QLatin1String("MouseSensitivity")) {
        const auto speed = libinput.speed();
        const auto step = speed ? StepForLibinputSpeed(*speed) : std::nullopt;
        if (!step)
            return std::nullopt;
        return QString::number(*SensitivityForStep(*step));
    }
    const bool wanted = name == QLatin1String("MouseSpeed") || name == QLatin1String("MouseThreshold1") ||
                        name == QLatin1String("MouseThreshold2");
    if (!wanted)
        return std::nullopt;
    AccelTriple accel;
    if (libinput.present()) {
        const auto adaptive = libinput.adaptive();
        if (!adaptive)
            return std::nullopt;
        accel = AccelForPrecision(*adaptive);
    } else {
        Display* dpy = connection();
        if (!dpy)
            return std::nullopt;
        const XErrorScope errors(dpy);
        XPointerControl control;
        XGetPointerControl(dpy, &control.numerator, &control.denominator, &control.threshold);
        if (!errors.ok())
            return std::nullopt;
        accel = AccelForPointerControl(control);
    }
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
                              const std::function<bool()>& gnomeSchemaInstalled, const QString& sessionType)
{
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive) && gnomeSchemaInstalled())
        return HostDesktop::Gnome;
    const bool wayland = platformName == QLatin1String("wayland") || sessionType == QLatin1String("wayland");
    if (desktops.contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        return wayland || !hasXDisplay ? HostDesktop::KdeWayland : HostDesktop::KdeX11;
    // Under Wayland an X server, if any, serves only its own clients' pointer.
    if (wayland || !hasXDisplay)
        return HostDesktop::Unreachable;
    return HostDesktop::X11;
}

std::unique_ptr<HostMouseSystem> CreateHostMouseSystem(const QString& platformName, bool hasXDisplay,
                                                       const QString& currentDesktop, GioLoader& gio,
                                                       const QString& sessionType)
{
    const auto schemaInstalled = [&gio] { return GnomeHostMouseSystem::schemaInstalled({}, gio); };
    const QString kdeConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    switch (ChooseHostDesktop(platformName, hasXDisplay, currentDesktop, schemaInstalled, sessionType)) {
    case HostDesktop::Gnome:
        return std::make_unique<GnomeHostMouseSystem>(QString(), gio);
    case HostDesktop::KdeWayland:
        return std::make_unique<KdeHostMouseSystem>(KdeHostMouseSystem::Session::Wayland,
                                                    QDBusConnection::sessionBus(), kdeConfig);
    case HostDesktop::KdeX11:
        return std::make_unique<KdeHostMouseSystem>(KdeHostMouseSystem::Session::X11,
                                                    QDBusConnection::sessionBus(), kdeConfig,
                                                    std::make_unique<X11HostMouseSystem>());
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
                                 qEnvironmentVariable("XDG_CURRENT_DESKTOP"), SystemGioLoader(),
                                 qEnvironmentVariable("XDG_SESSION_TYPE"));
}

} // namespace orb

#endif
