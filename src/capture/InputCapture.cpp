#include "capture/InputCapture.h"

#include "capture/WindowInputCapture.h"
#include "capture/X11InputCapture.h"

#include <QGuiApplication>

namespace orb
{

void InputCapture::keyDown(int code, int vk, std::uint32_t timeMs)
{
    const bool wasHeld = !held_.insert(code).second;
    if (onKey_)
        onKey_({vk, wasHeld ? KeyState::Held : KeyState::Down, timeMs});
}

void InputCapture::keyUp(int code, int vk, std::uint32_t timeMs)
{
    if (held_.erase(code) == 0)
        return;
    if (onKey_)
        onKey_({vk, KeyState::Up, timeMs});
}

void InputCapture::button(MouseButton which, bool down, std::uint32_t timeMs)
{
    if (onButton_)
        onButton_({which, down, timeMs});
}

std::unique_ptr<InputCapture> CreateInputCapture()
{
#ifndef _WIN32
    // Under Wayland an X server, if any, sees only its own clients' input.
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (!wayland && X11InputCapture::isAvailable())
        return std::make_unique<X11InputCapture>();
#endif
    return std::make_unique<WindowInputCapture>();
}

} // namespace orb
