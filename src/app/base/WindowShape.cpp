#include "app/base/WindowShape.h"

#include <QObject>
#include <QPalette>
#include <QWidget>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <QGuiApplication>
// After Qt's headers: Xlib's macros would clash with their names.
#include <X11/Xlib.h>
#endif

namespace orb::WindowShape
{

bool DisplayComposites()
{
#if QT_CONFIG(xcb)
    // XWayland's windows are composited by the Wayland compositor, whoever
    // owns the selection below.
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        static const bool composites = [] {
            auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            Display* dpy = x11 ? x11->display() : nullptr;
            if (!dpy)
                return true; // as before the question was asked
            // A compositing manager owns the selection _NET_WM_CM_S<screen>.
            const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(dpy));
            return XGetSelectionOwner(dpy, XInternAtom(dpy, name.constData(), False)) != 0;
        }();
        return composites;
    }
#endif
    return true;
}

void MakeTranslucent(QWidget* window)
{
    MakeTranslucent(window, DisplayComposites());
}

void MakeTranslucent(QWidget* window, bool displayComposites)
{
    window->setAttribute(Qt::WA_TranslucentBackground, displayComposites);
    if (!displayComposites)
        window->setAttribute(Qt::WA_NoSystemBackground, false); // a see-through window had set it
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, displayComposites ? QColor(Qt::transparent) : QColor(Qt::black));
    window->setPalette(pal);
}

QPixmap Keyed(const QPixmap& picture)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return picture;
    QPixmap keyed = picture;
    keyed.setMask(picture.createMaskFromColor(kColourKey, Qt::MaskInColor));
    return keyed;
}

QBitmap Mask(const QPixmap& picture)
{
    if (picture.isNull())
        return {};
    // A window's mask counts in points: a twice-sized picture is sampled down.
    const QPixmap points = picture.devicePixelRatio() == 1
                               ? picture
                               : picture.scaled(picture.deviceIndependentSize().toSize(),
                                                Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return points.hasAlphaChannel() ? points.mask() : points.createMaskFromColor(kColourKey, Qt::MaskInColor);
}

void KeepOver(QWidget* window, QWidget* over)
{
    if (!over)
        return;
    window->winId(); // the native window must exist to take a parent
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(over->window()->windowHandle());
    QObject::connect(over, &QObject::destroyed, window, &QWidget::close);
}

} // namespace orb::WindowShape
