#pragma once
#include "hostmouse/HostMousePlatform.h"
#include "hostmouse/LibinputPointers.h"

#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orb
{

// Test double of the store: two maps of strings; a key can be made
// unopenable and writes can be made to fail. Every write attempt is logged.
class FakeHostMouseStore final : public HostMouseStore
{
  public:
    std::map<QString, QString> mouse, desktop;
    bool mouseOpens = true, desktopOpens = true;
    bool writesFail = false;
    QStringList writes; // "Mouse/MouseSensitivity=10"

    bool canOpen(HostKey key) override { return key == HostKey::Mouse ? mouseOpens : desktopOpens; }
    std::optional<QString> read(HostKey key, const QString& name) override
    {
        const auto& values = key == HostKey::Mouse ? mouse : desktop;
        auto it = values.find(name);
        if (it == values.end())
            return std::nullopt;
        return it->second;
    }
    bool write(HostKey key, const QString& name, const QString& value) override
    {
        writes << QStringLiteral("%1/%2=%3")
                      .arg(key == HostKey::Mouse ? QStringLiteral("Mouse") : QStringLiteral("Desktop"), name,
                           value);
        if (writesFail)
            return false;
        (key == HostKey::Mouse ? mouse : desktop)[name] = value;
        return true;
    }
};

// Test double of the system calls: records them in order and answers with
// `accepts` (false plays a desktop that refuses them); the settings in
// `unreached` play a desktop that has no such setting. A value it takes
// becomes its current one, as on a desktop; another program changes
// `current` in between.
class FakeHostMouseSystem final : public HostMouseSystem
{
  public:
    bool accepts = true;
    bool answers = true;                // false: a desktop that does not answer when asked for its picture
    int refreshes = 0;                  // times asked for its picture
    QStringList calls;                  // "speed 10", "accel 6 10 1", "doubleclick 480", "wheel -1"
    std::map<QString, QString> current; // the desktop's own values
    std::set<HostSetting> unreached;
    bool storeLive = true; // the store read where `current` has no value, as the registry on Windows

    bool storeIsLive() const override { return storeLive; }
    bool refresh() override
    {
        ++refreshes;
        return answers;
    }
    bool setMouseSpeed(int sensitivity) override
    {
        return log(QStringLiteral("speed %1").arg(sensitivity), {{"MouseSensitivity", sensitivity}});
    }
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override
    {
        return log(QStringLiteral("accel %1 %2 %3").arg(threshold1).arg(threshold2).arg(speed),
                   {{"MouseSpeed", speed}, {"MouseThreshold1", threshold1}, {"MouseThreshold2", threshold2}});
    }
    bool setDoubleClickTime(int ms) override
    {
        return log(QStringLiteral("doubleclick %1").arg(ms), {{"DoubleClickSpeed", ms}});
    }
    bool setWheelScrollLines(int lines) override
    {
        return log(QStringLiteral("wheel %1").arg(lines), {{"WheelScrollLines", lines}});
    }
    std::optional<QString> currentValue(const QString& name) override
    {
        auto it = current.find(name);
        if (it == current.end())
            return std::nullopt;
        return it->second;
    }
    bool reaches(HostSetting setting) const override { return !unreached.count(setting); }

  private:
    bool log(const QString& call, std::initializer_list<std::pair<const char*, int>> values)
    {
        calls << call;
        if (accepts)
            for (const auto& [name, value] : values)
                current[QLatin1String(name)] = QString::number(value);
        return accepts;
    }
};

// Test double of the X server's pointer devices: properties by name, each
// device able to refuse changes; every change asked for is logged.
class FakePointerDevices final : public PointerDeviceProperties
{
  public:
    struct Device {
        std::map<std::string, std::vector<float>> floats;
        std::map<std::string, std::vector<std::uint8_t>> bytes;
        bool refuses = false;
        std::string name;
    };
    std::map<int, Device> devices;
    QStringList sets; // "7 libinput Accel Speed 0.2", "7 libinput Accel Profile Enabled 0 1 0"

    // A mouse driven by libinput: its speed, adaptive or flat, and the
    // custom profile of libinput 1.23 as a third flag when `custom`.
    static Device libinputMouse(float speed, bool adaptive, bool custom = false)
    {
        Device d;
        d.floats[kLibinputAccelSpeed] = {speed};
        std::vector<std::uint8_t> enabled{std::uint8_t(adaptive), std::uint8_t(!adaptive)};
        std::vector<std::uint8_t> available{1, 1};
        if (custom) {
            enabled.push_back(0);
            available.push_back(1);
        }
        d.bytes[kLibinputAccelProfileEnabled] = enabled;
        d.bytes[kLibinputAccelProfilesAvailable] = available;
        return d;
    }

    // A touchpad and a pointing stick, as the driver shows them: both have
    // speed and profiles like a mouse.
    static Device touchpad(float speed, bool adaptive)
    {
        Device d = libinputMouse(speed, adaptive);
        d.name = "SynPS/2 Synaptics TouchPad";
        d.bytes[kLibinputTapping] = {0};
        d.bytes[kLibinputDisableWhileTyping] = {1};
        d.bytes[kLibinputScrollMethodDefault] = {1, 0, 0};
        return d;
    }
    static Device pointingStick(float speed, bool adaptive)
    {
        Device d = libinputMouse(speed, adaptive);
        d.name = "TPPS/2 Elan TrackPoint";
        d.bytes[kLibinputScrollMethodDefault] = {0, 0, 1};
        return d;
    }

    std::string name(int id) override { return devices[id].name; }
    std::vector<int> pointerDevices() override
    {
        std::vector<int> ids;
        for (const auto& [id, device] : devices)
            ids.push_back(id);
        return ids;
    }
    std::optional<std::vector<float>> floats(int id, const char* property) override
    {
        return find(devices[id].floats, property);
    }
    std::optional<std::vector<std::uint8_t>> bytes(int id, const char* property) override
    {
        return find(devices[id].bytes, property);
    }
    bool setFloats(int id, const char* property, const std::vector<float>& values) override
    {
        return set(id, devices[id].floats, property, values);
    }
    bool setBytes(int id, const char* property, const std::vector<std::uint8_t>& values) override
    {
        return set(id, devices[id].bytes, property, values);
    }

  private:
    template <class V> static std::optional<V> find(const std::map<std::string, V>& props, const char* name)
    {
        auto it = props.find(name);
        if (it == props.end())
            return std::nullopt;
        return it->second;
    }
    template <class V> bool set(int id, std::map<std::string, V>& props, const char* name, const V& values)
    {
        QStringList line{QString::number(id), QLatin1String(name)};
        for (auto v : values)
            line << QString::number(v);
        sets << line.join(QLatin1Char(' '));
        // Like the driver: only an existing property, with as many values, and
        // not on a device that refuses.
        auto it = props.find(name);
        if (devices[id].refuses || it == props.end() || it->second.size() != values.size())
            return false;
        it->second = values;
        return true;
    }
};

} // namespace orb
