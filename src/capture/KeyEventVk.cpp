#include "capture/KeyEventVk.h"

#include "capture/KeyMapping.h"

#include <QGuiApplication>
#include <QKeyEvent>

#ifndef _WIN32
#include "capture/X11InputCapture.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace orb
{

int VkFromKeyEvent(const QKeyEvent& e)
{
    _XDisplay* dpy = nullptr;
#if QT_CONFIG(xcb)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        dpy = x11->display();
#endif
    return VkFromKeyEvent(e, dpy);
}

int VkFromKeyEvent(const QKeyEvent& e, _XDisplay* dpy)
{
#ifndef _WIN32
    if (dpy && e.nativeScanCode() != 0) {
        const bool numLock = (e.nativeModifiers() & XkbKeysymToModifiers(dpy, XK_Num_Lock)) != 0;
        if (const int vk = X11InputCapture::KeyVk(dpy, e.nativeScanCode(), numLock))
            return vk;
    }
#else
    (void)dpy;
#endif
    if (const int vk = VkFromKeysym(e.nativeVirtualKey()))
        return vk;
    return VkFromQtKey(e.key());
}

} // namespace orb
