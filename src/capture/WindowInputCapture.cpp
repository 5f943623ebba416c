#include "capture/WindowInputCapture.h"

#include "capture/KeyMapping.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace orb
{
namespace
{
int VirtualKey(const QKeyEvent& key)
{
#ifdef _WIN32
    if (key.nativeVirtualKey() != 0)
        return static_cast<int>(key.nativeVirtualKey());
#else
    // X11 and Wayland give the keysym as the native virtual key.
    if (int vk = VkFromKeysym(key.nativeVirtualKey()))
        return vk;
#endif
    return VkFromQtKey(key.key());
}

// The physical key: its scan code where the platform gives one.
int PhysicalKey(const QKeyEvent& key)
{
    return key.nativeScanCode() != 0 ? static_cast<int>(key.nativeScanCode()) : -key.key();
}
} // namespace

WindowInputCapture::~WindowInputCapture()
{
    stop();
}

bool WindowInputCapture::start()
{
    if (running_)
        return true;
    if (!QCoreApplication::instance())
        return false;
    forgetHeldKeys();
    QCoreApplication::instance()->installEventFilter(this);
    running_ = true;
    return true;
}

void WindowInputCapture::stop()
{
    if (!running_)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    running_ = false;
    forgetHeldKeys();
}

bool WindowInputCapture::eventFilter(QObject* watched, QEvent* event)
{
    // Input reaches a window first and then its widgets, which may pass it
    // on to their parents: taking it at the window sees each event once.
    if (!running_ || !watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto time = static_cast<std::uint32_t>(key->timestamp());
        if (event->type() == QEvent::KeyPress)
            keyDown(PhysicalKey(*key), VirtualKey(*key), time);
        else if (!key->isAutoRepeat())
            keyUp(PhysicalKey(*key), VirtualKey(*key), time);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool down = event->type() != QEvent::MouseButtonRelease;
        const auto time = static_cast<std::uint32_t>(mouse->timestamp());
        switch (mouse->button()) {
        case Qt::LeftButton:
            button(MouseButton::Left, down, time);
            break;
        case Qt::MiddleButton:
            button(MouseButton::Middle, down, time);
            break;
        case Qt::RightButton:
            button(MouseButton::Right, down, time);
            break;
        case Qt::BackButton:
            button(MouseButton::Backward, down, time);
            break;
        case Qt::ForwardButton:
            button(MouseButton::Forward, down, time);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return false; // input is only watched, never taken away
}

} // namespace orb
