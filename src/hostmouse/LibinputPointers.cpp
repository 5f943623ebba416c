#include "hostmouse/LibinputPointers.h"

#include <algorithm>
#include <cctype>

namespace orb
{
namespace
{
constexpr std::size_t kAdaptive = 0;
constexpr std::size_t kFlat = 1;
} // namespace

bool IsPointingStickName(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // The names the kernel gives them (psmouse, hid-lenovo, alps, elantech).
    for (const char* stick : {"trackpoint", "pointing stick", "pointstick", "dualpoint stick"})
        if (lower.find(stick) != std::string::npos)
            return true;
    return false;
}

std::vector<int> LibinputPointers::devices() const
{
    std::vector<int> found;
    for (int id : devices_.pointerDevices()) {
        const auto speed = devices_.floats(id, kLibinputAccelSpeed);
        if (!speed || speed->size() != 1)
            continue;
        if (devices_.bytes(id, kLibinputTapping) || devices_.bytes(id, kLibinputDisableWhileTyping) ||
            devices_.floats(id, kLibinputTabletToolPressure))
            continue;
        const auto scroll = devices_.bytes(id, kLibinputScrollMethodDefault);
        if ((scroll && scroll->size() >= 3 && (*scroll)[2]) || IsPointingStickName(devices_.name(id)))
            continue;
        found.push_back(id);
    }
    return found;
}

bool LibinputPointers::setSpeed(double speed)
{
    const float value = static_cast<float>(std::clamp(speed, -1.0, 1.0));
    const std::vector<int> ids = devices();
    bool ok = !ids.empty();
    for (int id : ids)
        ok &= devices_.setFloats(id, kLibinputAccelSpeed, {value});
    return ok;
}

bool LibinputPointers::setAdaptive(bool adaptive)
{
    const std::size_t wanted = adaptive ? kAdaptive : kFlat;
    bool took = false, refused = false;
    for (int id : devices()) {
        // The driver takes exactly as many flags as it shows, one of them set.
        const auto enabled = devices_.bytes(id, kLibinputAccelProfileEnabled);
        if (!enabled || enabled->size() <= wanted)
            continue;
        const auto available = devices_.bytes(id, kLibinputAccelProfilesAvailable);
        if (available && (available->size() <= wanted || !(*available)[wanted]))
            continue;
        std::vector<std::uint8_t> flags(enabled->size(), 0);
        flags[wanted] = 1;
        if (devices_.setBytes(id, kLibinputAccelProfileEnabled, flags))
            took = true;
        else
            refused = true;
    }
    return took && !refused;
}

std::optional<double> LibinputPointers::speed() const
{
    for (int id : devices())
        if (const auto value = devices_.floats(id, kLibinputAccelSpeed))
            return value->front();
    return std::nullopt;
}

std::optional<bool> LibinputPointers::adaptive() const
{
    for (int id : devices()) {
        const auto enabled = devices_.bytes(id, kLibinputAccelProfileEnabled);
        if (!enabled || enabled->size() <= kFlat)
            continue;
        if ((*enabled)[kAdaptive])
            return true;
        if ((*enabled)[kFlat])
            return false;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace orb
