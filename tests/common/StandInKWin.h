#pragma once
// A private D-Bus session bus and a stand-in KWin on it, for the KDE
// binding's tests: no real KWin, no input devices, no user session touched.
#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QThread;

namespace orb::test
{

// dbus-daemon --session started for the test and stopped with it.
class PrivateSessionBus
{
  public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool ok() const { return !address_.isEmpty(); }
    QString why() const { return why_; }
    QString address() const { return address_; }
    // A connection of its own under `name` (the program's side, say).
    QDBusConnection connect(const QString& name) const;

  private:
    QProcess daemon_;
    QString address_;
    QString why_;
};

class StandInKWinObjects;

// Serves org.kde.KWin with the input device manager and one object per
// device under /org/kde/KWin/InputDevice, on its own connection and thread
// (so that the program's waiting calls are answered), and counts the
// KGlobalSettings notifyChange signals on the bus.
class StandInKWin
{
  public:
    struct Device {
        QString sysName; // "event5"
        QString name;
        quint32 vendor = 0;
        quint32 product = 0;
        bool pointer = true;
        bool touchpad = false;
        double acceleration = 0;
        bool adaptive = true;
        // libinput's default for a pointing stick: scrolling with its button held.
        bool scrollOnButtonDownByDefault = false;
    };
    // `answers` false: a KWin that holds the name and never answers (stuck).
    StandInKWin(const PrivateSessionBus& bus, std::vector<Device> devices, bool answers = true);
    ~StandInKWin();
    StandInKWin(const StandInKWin&) = delete;
    StandInKWin& operator=(const StandInKWin&) = delete;

    bool ok() const { return ok_; }
    // Property changes asked of the devices, in order: "event5 pointerAcceleration 0.2".
    QStringList sets() const;
    void clearSets();
    // A device's current values.
    Device device(const QString& sysName) const;
    // Times the device list was asked for.
    int listings() const;
    // The notifyChange signals seen so far, as "3 0". `sender` is the
    // program's connection: a call through it first, answered after any
    // signal it sent before, makes sure those are counted.
    QStringList notifications(const QDBusConnection& sender) const;

  private:
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<StandInKWinObjects> objects_;
    QString connectionName_;
    bool ok_ = false;
};

} // namespace orb::test
