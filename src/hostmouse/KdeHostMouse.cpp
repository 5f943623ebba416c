#ifndef _WIN32

#include "hostmouse/KdeHostMouse.h"

#include "hostmouse/HostMouseTables.h"
#include "hostmouse/LibinputPointers.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>

#include <algorithm>

namespace orb
{
namespace
{
const QString kKWinService = QStringLiteral("org.kde.KWin");
const QString kDevicesPath = QStringLiteral("/org/kde/KWin/InputDevice");
const QString kManagerInterface = QStringLiteral("org.kde.KWin.InputDeviceManager");
const QString kDeviceInterface = QStringLiteral("org.kde.KWin.InputDevice");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// KWin answers at once; one that is stuck must not hold the page long. The
// budget is for a whole listing (one call, then one per device).
constexpr int kListingBudgetMs = 300;

// KDE's defaults where kdeglobals has no value.
constexpr int kKdeDoubleClickMs = 400;
constexpr int kKdeWheelLines = 3;
// KGlobalSettings::SettingsChanged, SETTINGS_MOUSE.
constexpr int kSettingsChanged = 3;
constexpr int kSettingsMouse = 0;

const QStringList kKdeGroup{QStringLiteral("KDE")};
const QStringList kMouseGroup{QStringLiteral("Mouse")};

QString SpeedText(double speed)
{
    return QString::number(speed, 'g', 3);
}

QDBusMessage Call(const QDBusConnection& bus, const QDBusMessage& message, const QDeadlineTimer& deadline)
{
    if (deadline.hasExpired())
        return QDBusMessage::createError(QDBusError::Timeout, QString());
    return bus.call(message, QDBus::Block, std::max<int>(1, int(deadline.remainingTime())));
}

QVariantMap GetAll(const QDBusConnection& bus, const QString& path, const QString& interface,
                   const QDeadlineTimer& deadline)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(kKWinService, path, kProperties, QStringLiteral("GetAll"));
    message << interface;
    const QDBusMessage reply = Call(bus, message, deadline);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return {};
    const QVariant answer = reply.arguments().front();
    if (answer.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(answer.value<QDBusArgument>());
    return answer.toMap();
}

std::optional<int> ToInt(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString AccelValue(const QString& name, bool adaptive)
{
    const AccelTriple accel = AccelForPrecision(adaptive);
    if (name == QLatin1String("MouseSpeed"))
        return QString::number(accel.speed);
    return QString::number(name == QLatin1String("MouseThreshold1") ? accel.threshold1 : accel.threshold2);
}

bool IsAccelName(const QString& name)
{
    return name == QLatin1String("MouseSpeed") || name == QLatin1String("MouseThreshold1") ||
           name == QLatin1String("MouseThreshold2");
}
} // namespace

bool IsKWinMouse(const QVariantMap& p)
{
    const auto is = [&p](const char* property) { return p.value(QLatin1String(property)).toBool(); };
    if (!is("pointer"))
        return false;
    for (const char* other : {"touchpad", "touch", "tabletTool", "tabletPad"})
        if (is(other))
            return false;
    return !is("scrollOnButtonDownEnabledByDefault") &&
           !IsPointingStickName(p.value(QStringLiteral("name")).toString().toStdString());
}

std::optional<std::vector<KWinPointer>> KWinInputDevices::pointers() const
{
    const QDeadlineTimer deadline(kListingBudgetMs);
    const QVariantMap manager = GetAll(bus_, kDevicesPath, kManagerInterface, deadline);
    const auto names = manager.find(QStringLiteral("devicesSysNames"));
    if (names == manager.end())
        return std::nullopt;
    std::vector<KWinPointer> found;
    for (const QString& sysName : names->toStringList()) {
        // A system name becomes part of an object path; KWin's are "eventN".
        if (sysName.isEmpty() || !std::all_of(sysName.begin(), sysName.end(), [](QChar c) {
                return c.isLetterOrNumber() && c.unicode() < 128;
            }))
            continue;
        const QVariantMap p =
            GetAll(bus_, kDevicesPath + QLatin1Char('/') + sysName, kDeviceInterface, deadline);
        if (deadline.hasExpired())
            return std::nullopt; // part of the list is no list
        if (!IsKWinMouse(p))
            continue;
        KWinPointer pointer;
        pointer.sysName = sysName;
        pointer.name = p.value(QStringLiteral("name")).toString();
        pointer.vendor = p.value(QStringLiteral("vendor")).toUInt();
        pointer.product = p.value(QStringLiteral("product")).toUInt();
        pointer.acceleration = p.value(QStringLiteral("pointerAcceleration")).toDouble();
        pointer.adaptive = p.value(QStringLiteral("pointerAccelerationProfileAdaptive")).toBool();
        pointer.flat = p.value(QStringLiteral("pointerAccelerationProfileFlat")).toBool();
        found.push_back(pointer);
    }
    return found;
}

bool KWinInputDevices::set(const QString& sysName, const char* property, const QVariant& value) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        kKWinService, kDevicesPath + QLatin1Char('/') + sysName, kProperties, QStringLiteral("Set"));
    message << kDeviceInterface << QString::fromLatin1(property) << QVariant::fromValue(QDBusVariant(value));
    return Call(bus_, message, QDeadlineTimer(kListingBudgetMs)).type() == QDBusMessage::ReplyMessage;
}

KdeHostMouseSystem::KdeHostMouseSystem(Session session, QDBusConnection bus, const QString& configDir,
                                       std::unique_ptr<HostMouseSystem> x11)
    : session_(session), bus_(bus), kwin_(bus), kdeglobals_(configDir + QStringLiteral("/kdeglobals")),
      kcminputrc_(configDir + QStringLiteral("/kcminputrc")), x11_(std::move(x11))
{
}

bool KdeHostMouseSystem::refresh()
{
    if (session_ == Session::X11)
        return !x11_ || x11_->refresh();
    pointers_ = kwin_.pointers();
    return pointers_.has_value();
}

// KWin saves what it takes for the device itself.
bool KdeHostMouseSystem::setOnEveryPointer(const char* property, const QVariant& value)
{
    if (!pointers_ || pointers_->empty())
        return false;
    bool ok = true;
    for (const KWinPointer& p : *pointers_)
        ok &= kwin_.set(p.sysName, property, value);
    return ok;
}

bool KdeHostMouseSystem::setMouseSpeed(int sensitivity)
{
    const auto step = SpeedStepForSensitivity(sensitivity);
    if (!step)
        return false;
    const double speed = LibinputSpeedForStep(*step);
    if (session_ == Session::Wayland) {
        if (!setOnEveryPointer("pointerAcceleration", speed))
            return false;
        for (KWinPointer& p : *pointers_)
            p.acceleration = speed;
        return true;
    }
    const bool live = x11_ && x11_->setMouseSpeed(sensitivity);
    return kcminputrc_.write(kMouseGroup,
                             {{QStringLiteral("XLbInptPointerAcceleration"), SpeedText(speed)}}) &&
           live;
}

bool KdeHostMouseSystem::setMouseAcceleration(int threshold1, int threshold2, int speed)
{
    const bool adaptive = speed > 0;
    if (session_ == Session::Wayland) {
        if (!setOnEveryPointer(
                adaptive ? "pointerAccelerationProfileAdaptive" : "pointerAccelerationProfileFlat", true))
            return false;
        for (KWinPointer& p : *pointers_) {
            p.adaptive = adaptive;
            p.flat = !adaptive;
        }
        return true;
    }
    const bool live = x11_ && x11_->setMouseAcceleration(threshold1, threshold2, speed);
    return kcminputrc_.write(kMouseGroup, {{QStringLiteral("XLbInptAccelProfileFlat"),
                                            adaptive ? QStringLiteral("false") : QStringLiteral("true")}}) &&
           live;
}

bool KdeHostMouseSystem::setDoubleClickTime(int ms)
{
    if (ms <= 0 ||
        !kdeglobals_.write(kKdeGroup, {{QStringLiteral("DoubleClickInterval"), QString::number(ms)}}))
        return false;
    toAnnounce_.push_back(HostSetting::DoubleClick);
    return true;
}

bool KdeHostMouseSystem::setWheelScrollLines(int lines)
{
    if (lines < 1 ||
        !kdeglobals_.write(kKdeGroup, {{QStringLiteral("WheelScrollLines"), QString::number(lines)}}))
        return false;
    toAnnounce_.push_back(HostSetting::WheelLines);
    return true;
}

std::vector<HostSetting> KdeHostMouseSystem::finishApply()
{
    std::vector<HostSetting> written;
    written.swap(toAnnounce_);
    if (written.empty())
        return {};
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"),
                                   QStringLiteral("org.kde.KGlobalSettings"), QStringLiteral("notifyChange"));
    signal << kSettingsChanged << kSettingsMouse;
    // Kept in kdeglobals either way, but running applications would not know.
    if (bus_.isConnected() && bus_.send(signal))
        return {};
    return written;
}

std::optional<QString> KdeHostMouseSystem::currentValue(const QString& name)
{
    if (name == QLatin1String("DoubleClickSpeed")) {
        const auto ms = ToInt(kdeglobals_.read(kKdeGroup, QStringLiteral("DoubleClickInterval")));
        return QString::number(ms.value_or(kKdeDoubleClickMs));
    }
    if (name == QLatin1String("WheelScrollLines")) {
        const auto lines = ToInt(kdeglobals_.read(kKdeGroup, QStringLiteral("WheelScrollLines")));
        return QString::number(lines.value_or(kKdeWheelLines));
    }
    if (name != QLatin1String("MouseSensitivity") && !IsAccelName(name))
        return std::nullopt;
    if (session_ == Session::X11)
        return x11_ ? x11_->currentValue(name) : std::nullopt;
    if (!pointers_ || pointers_->empty())
        return std::nullopt;
    const KWinPointer& first = pointers_->front();
    if (IsAccelName(name)) {
        if (!first.adaptive && !first.flat)
            return std::nullopt;
        return AccelValue(name, first.adaptive);
    }
    const auto step = StepForLibinputSpeed(first.acceleration);
    if (!step)
        return std::nullopt;
    return QString::number(*SensitivityForStep(*step));
}

bool KdeHostMouseSystem::reaches(HostSetting setting) const
{
    switch (setting) {
    case HostSetting::Speed:
    case HostSetting::Acceleration:
        if (session_ == Session::X11)
            return x11_ && x11_->reaches(setting);
        return pointers_.has_value();
    case HostSetting::DoubleClick:
    case HostSetting::WheelLines:
        return true;
    }
    return false;
}

} // namespace orb

#endif
