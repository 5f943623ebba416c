#pragma once
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace orb
{

// The two places the host settings live: "Control Panel\Mouse" (sensitivity,
// acceleration, double-click time) and "Control Panel\Desktop" (wheel lines).
enum class HostKey { Mouse, Desktop };

// The four settings the page sets on the host, in the order they are applied.
enum class HostSetting { Speed, Acceleration, DoubleClick, WheelLines };

// Where the host settings are kept for the current user: the registry on
// Windows, a settings file in the user's configuration folder elsewhere.
// Values are strings of decimal digits ("-1" for one screen at a time).
// Nothing here may throw or block: failures come back as results.
class HostMouseStore
{
  public:
    virtual ~HostMouseStore() = default;
    // Whether the key can be opened (it is never created by opening).
    virtual bool canOpen(HostKey key) = 0;
    // A value of an openable key; nothing when the value does not exist.
    virtual std::optional<QString> read(HostKey key, const QString& name) = 0;
    // False when the value could not be written.
    virtual bool write(HostKey key, const QString& name, const QString& value) = 0;
};

// The running desktop's pointer settings. Each call answers whether the
// desktop took the value; a desktop that has no such setting answers false
// and says so in `reaches`.
class HostMouseSystem
{
  public:
    virtual ~HostMouseSystem() = default;
    // Takes the desktop's current picture (its pointer devices and their
    // values) once: when the page is shown and at the start of an apply that
    // changes something. Reads and sets until the next call use it, so a slow
    // desktop is asked once, not per value. False when it did not answer;
    // then what it alone knows is unknown.
    virtual bool refresh() { return true; }
    // Pointer speed, 1..20.
    virtual bool setMouseSpeed(int sensitivity) = 0;
    // Acceleration: speed 1 doubles the motion above threshold1, speed 2 also
    // quadruples it above threshold2; 0, 0, 0 is none.
    virtual bool setMouseAcceleration(int threshold1, int threshold2, int speed) = 0;
    virtual bool setDoubleClickTime(int ms) = 0;
    // Lines per wheel notch; -1 scrolls one screen.
    virtual bool setWheelScrollLines(int lines) = 0;
    // The desktop's own current value of a stored name ("MouseSpeed", ...),
    // in the store's units; it wins over the store's. Nothing when the desktop
    // has no such value (then the store's is all there is).
    virtual std::optional<QString> currentValue(const QString& /*name*/) { return std::nullopt; }
    // After the calls of one apply: a desktop that tells its applications
    // once for several settings does it here. The settings whose change did
    // not reach them after all come back.
    virtual std::vector<HostSetting> finishApply() { return {}; }
    // Whether the store holds the desktop's own current values (the registry
    // on Windows). Otherwise the store is only this program's record, read
    // for a setting the desktop lacks; where the desktop has the setting but
    // does not tell its value, the value is unknown.
    virtual bool storeIsLive() const { return false; }
    // Whether this desktop has the setting at all. One it lacks is never set;
    // the page keeps its value and names it in the hint.
    virtual bool reaches(HostSetting) const { return true; }
};

// The store and the system calls of the platform the program runs on.
std::unique_ptr<HostMouseStore> CreateHostMouseStore();
std::unique_ptr<HostMouseSystem> CreateHostMouseSystem();

} // namespace orb
