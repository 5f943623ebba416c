#pragma once
#include "hostmouse/HostMousePlatform.h"

#include <QStringList>
#include <map>
#include <set>
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
// `unreached` play a desktop that has no such setting.
class FakeHostMouseSystem final : public HostMouseSystem
{
  public:
    bool accepts = true;
    QStringList calls;                  // "speed 10", "accel 6 10 1", "doubleclick 480", "wheel -1"
    std::map<QString, QString> current; // the desktop's own values
    std::set<HostSetting> unreached;

    bool setMouseSpeed(int sensitivity) override { return log(QStringLiteral("speed %1").arg(sensitivity)); }
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override
    {
        return log(QStringLiteral("accel %1 %2 %3").arg(threshold1).arg(threshold2).arg(speed));
    }
    bool setDoubleClickTime(int ms) override { return log(QStringLiteral("doubleclick %1").arg(ms)); }
    bool setWheelScrollLines(int lines) override { return log(QStringLiteral("wheel %1").arg(lines)); }
    std::optional<QString> currentValue(const QString& name) override
    {
        auto it = current.find(name);
        if (it == current.end())
            return std::nullopt;
        return it->second;
    }
    bool reaches(HostSetting setting) const override { return !unreached.count(setting); }

  private:
    bool log(const QString& call)
    {
        calls << call;
        return accepts;
    }
};

} // namespace orb
