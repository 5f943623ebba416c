#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb
{

// The X server's pointer devices and their properties (XInput 2). Nothing
// here may end the program: a device gone or a property refused is an answer.
class PointerDeviceProperties
{
  public:
    virtual ~PointerDeviceProperties() = default;
    // The devices that move the pointer (XInput's slave pointers), by id.
    virtual std::vector<int> pointerDevices() = 0;
    // A device's name as the server lists it; empty when unknown.
    virtual std::string name(int /*device*/) { return {}; }
    // A property of 32-bit floats (type FLOAT); nothing when the device does
    // not have it with that type.
    virtual std::optional<std::vector<float>> floats(int device, const char* property) = 0;
    // A property of 8-bit integers.
    virtual std::optional<std::vector<std::uint8_t>> bytes(int device, const char* property) = 0;
    // False when the device refused the values or is gone.
    virtual bool setFloats(int device, const char* property, const std::vector<float>& values) = 0;
    virtual bool setBytes(int device, const char* property, const std::vector<std::uint8_t>& values) = 0;
};

// The properties of the X libinput driver (the default X input driver):
// it ignores the core pointer's acceleration and takes these instead.
inline constexpr char kLibinputAccelSpeed[] = "libinput Accel Speed"; // one float, -1..1
// One flag per profile, in libinput's order: adaptive, flat (and custom).
inline constexpr char kLibinputAccelProfileEnabled[] = "libinput Accel Profile Enabled";
inline constexpr char kLibinputAccelProfilesAvailable[] = "libinput Accel Profiles Available";
// Only touchpads have these.
inline constexpr char kLibinputTapping[] = "libinput Tapping Enabled";
inline constexpr char kLibinputDisableWhileTyping[] = "libinput Disable While Typing Enabled";
// Only tablet tools.
inline constexpr char kLibinputTabletToolPressure[] = "libinput Tablet Tool Pressurecurve";
// Two-finger, edge, button; a pointing stick scrolls with its button by default.
inline constexpr char kLibinputScrollMethodDefault[] = "libinput Scroll Method Enabled Default";

// Whether a device's name is a pointing stick's ("TPPS/2 IBM TrackPoint").
bool IsPointingStickName(const std::string& name);

// Speed and acceleration profile on every mouse libinput drives: the devices
// GNOME's mouse settings take, not touchpads, pointing sticks, tablets or
// touchscreens. Values are read from the first mouse.
class LibinputPointers
{
  public:
    explicit LibinputPointers(PointerDeviceProperties& devices) : devices_(devices) {}

    // The mice carrying libinput's speed property.
    std::vector<int> devices() const;
    bool present() const { return !devices().empty(); }

    // False when no device took it or one refused it.
    bool setSpeed(double speed);
    // The adaptive profile (on) or the flat one (off), on each device that
    // offers it; false when none took it or one refused it.
    bool setAdaptive(bool adaptive);

    std::optional<double> speed() const;
    // Nothing when neither adaptive nor flat is enabled (a custom profile).
    std::optional<bool> adaptive() const;

  private:
    PointerDeviceProperties& devices_;
};

} // namespace orb
