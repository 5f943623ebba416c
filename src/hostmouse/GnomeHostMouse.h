#pragma once
#include "hostmouse/HostMousePlatform.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace orb
{

// Where GIO's functions come from. GIO brings GObject, libmount, libblkid
// and more with it, so it is loaded at run time and only for a GNOME session.
class GioLoader
{
  public:
    virtual ~GioLoader() = default;
    // The function of that name; null when GIO or the function is not there.
    virtual QFunctionPointer resolve(const char* name) = 0;
};

// libgio-2.0.so.0, loaded at the first look-up and never unloaded (GObject's
// types cannot be unregistered). A library that fails to load is not tried again.
class LibraryGioLoader final : public GioLoader
{
  public:
    explicit LibraryGioLoader(const QString& name = QStringLiteral("gio-2.0"), int version = 0);
    QFunctionPointer resolve(const char* name) override;

  private:
    QLibrary library_;
    bool failed_ = false;
};

// The program's loader of the installed GIO.
GioLoader& SystemGioLoader();

// GIO's functions the binding calls, all found or none.
struct GioFunctions;

// GNOME, on Wayland or X11: its compositor applies the GSettings schema
// org.gnome.desktop.peripherals.mouse to every mouse at once. The steps map
// to it as follows:
//   pointer speed step 1..11  <-> "speed" -1.0 .. 1.0, 0.2 apart, step 6 at 0
//                                 (GNOME's default); a value between steps
//                                 reads as the nearest
//   enhance pointer precision <-> "accel-profile" 'adaptive' (on) / 'flat'
//                                 (off); 'default' reads as on, libinput's
//                                 own profile for mice being adaptive
//   double-click step         <-> "double-click" in ms, the step table's
//                                 900 .. 200 (read back by the same table)
// GNOME has no wheel-lines setting. The schema is looked up before every
// use: without it (or one of its keys) a call answers false and a value is
// unknown; GLib is never asked for a schema it does not have, which would
// end the program. Without GIO (or one of its functions) it is the same.
class GnomeHostMouseSystem final : public HostMouseSystem
{
  public:
    // Empty: the schemas the system has ($GSETTINGS_SCHEMA_DIR, $XDG_DATA_DIRS);
    // otherwise only the compiled schemas in that folder.
    explicit GnomeHostMouseSystem(QString schemaDir = {}, GioLoader& gio = SystemGioLoader());
    ~GnomeHostMouseSystem() override;
    static bool schemaInstalled(const QString& schemaDir = {}, GioLoader& gio = SystemGioLoader());

    bool setMouseSpeed(int sensitivity) override;
    bool setMouseAcceleration(int threshold1, int threshold2, int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(int) override { return false; }
    // "MouseSensitivity", "MouseSpeed", "MouseThreshold1", "MouseThreshold2"
    // and "DoubleClickSpeed" from GNOME's values, in the store's units.
    std::optional<QString> currentValue(const QString& name) override;
    bool reaches(HostSetting setting) const override;

  private:
    QString schemaDir_;
    // Null when GIO could not be loaded or lacks a function.
    std::unique_ptr<const GioFunctions> gio_;
};

} // namespace orb
