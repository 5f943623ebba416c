#include "capture/X11InputCapture.h"

#ifndef _WIN32

#include "capture/KeyMapping.h"

#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace orb
{
namespace
{
Display* OpenDisplay(const QByteArray& name)
{
    return XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
}

// The XInput opcode when the server offers 2.1 or later (2.2 requested);
// raw events reach the root window only from 2.1 on.
bool QueryXInput(Display* dpy, int& opcode)
{
    int event = 0, error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error))
        return false;
    int major = 2, minor = 2;
    if (XIQueryVersion(dpy, &major, &minor) != Success)
        return false;
    return major > 2 || (major == 2 && minor >= 1);
}
} // namespace

X11InputCapture::X11InputCapture(QByteArray displayName) : displayName_(std::move(displayName)) {}

X11InputCapture::~X11InputCapture()
{
    stop();
}

bool X11InputCapture::isAvailable(const QByteArray& displayName)
{
    Display* dpy = OpenDisplay(displayName);
    if (!dpy)
        return false;
    int opcode = 0;
    const bool ok = QueryXInput(dpy, opcode);
    XCloseDisplay(dpy);
    return ok;
}

bool X11InputCapture::start()
{
    if (dpy_)
        return true;
    error_.clear();
    // A connection of our own: the toolkit's connection must not see or lose these events.
    Display* dpy = OpenDisplay(displayName_);
    if (!dpy) {
        error_ = QStringLiteral("no X server");
        return false;
    }
    if (!QueryXInput(dpy, xiOpcode_)) {
        XCloseDisplay(dpy);
        error_ = QStringLiteral("the X server has no XInput 2.1");
        return false;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    dpy_ = dpy;
    watchKeyboard();
    XSync(dpy, False);

    forgetHeldKeys();
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readEvents(); });
    // Events already read into Xlib's queue by the sync would not wake the notifier.
    readEvents();
    return true;
}

void X11InputCapture::watchKeyboard()
{
    xkbEventBase_ = -1;
    numLock_ = false;
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(dpy_, &opcode, &xkbEventBase_, &error, &major, &minor)) {
        xkbEventBase_ = -1;
        return;
    }
    XkbSelectEventDetails(dpy_, XkbUseCoreKbd, XkbStateNotify, XkbModifierLockMask, XkbModifierLockMask);
    const unsigned long keymap = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(dpy_, XkbUseCoreKbd, keymap, keymap);
    numLockMask_ = XkbKeysymToModifiers(dpy_, XK_Num_Lock);
    XkbStateRec state{};
    if (XkbGetState(dpy_, XkbUseCoreKbd, &state) == Success)
        numLock_ = (state.locked_mods & numLockMask_) != 0;
}

int X11InputCapture::KeyVk(_XDisplay* dpy, unsigned keycode, bool numLock)
{
    const auto code = static_cast<KeyCode>(keycode);
    return VkFromKeyLevels(static_cast<std::uint32_t>(XkbKeycodeToKeysym(dpy, code, 0, 0)),
                           static_cast<std::uint32_t>(XkbKeycodeToKeysym(dpy, code, 0, 1)), numLock);
}

void X11InputCapture::stop()
{
    if (!dpy_)
        return;
    notifier_.reset();
    // Closing the connection ends the selection; the server needs no other word.
    XCloseDisplay(dpy_);
    dpy_ = nullptr;
    forgetHeldKeys();
}

void X11InputCapture::readEvents()
{
    // A handler may stop the capture, which closes the connection.
    while (dpy_ && XPending(dpy_) > 0) {
        XEvent event;
        XNextEvent(dpy_, &event);
        if (xkbEventBase_ >= 0 && event.type == xkbEventBase_) {
            auto* xkb = reinterpret_cast<XkbEvent*>(&event);
            if (xkb->any.xkb_type == XkbStateNotify) {
                numLock_ = (xkb->state.locked_mods & numLockMask_) != 0;
            } else if (xkb->any.xkb_type == XkbNewKeyboardNotify || xkb->any.xkb_type == XkbMapNotify) {
                XkbRefreshKeyboardMapping(&xkb->map);
                numLockMask_ = XkbKeysymToModifiers(dpy_, XK_Num_Lock);
            }
            continue;
        }
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode_ || !XGetEventData(dpy_, cookie))
            continue;
        const XIRawEvent raw = *static_cast<const XIRawEvent*>(cookie->data);
        const int type = cookie->evtype;
        XFreeEventData(dpy_, cookie);
        const auto time = static_cast<std::uint32_t>(raw.time);
        switch (type) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease: {
            const int vk = KeyVk(dpy_, static_cast<unsigned>(raw.detail), numLock_);
            if (type == XI_RawKeyPress)
                keyDown(raw.detail, vk, time);
            else
                keyUp(raw.detail, vk, time);
            break;
        }
        case XI_RawButtonPress:
        case XI_RawButtonRelease: {
            const bool down = type == XI_RawButtonPress;
            switch (raw.detail) {
            case 1:
                button(MouseButton::Left, down, time);
                break;
            case 2:
                button(MouseButton::Middle, down, time);
                break;
            case 3:
                button(MouseButton::Right, down, time);
                break;
            case 8:
                button(MouseButton::Backward, down, time);
                break;
            case 9:
                button(MouseButton::Forward, down, time);
                break;
            default: // the wheel and extra buttons
                break;
            }
            break;
        }
        default:
            break;
        }
    }
}

} // namespace orb

#endif
