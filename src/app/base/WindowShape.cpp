#include "app/base/WindowShape.h"

#include <QObject>
#include <QPalette>
#include <QWidget>
#include <QWindow>

namespace orb::WindowShape
{

void MakeTranslucent(QWidget* window)
{
    window->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Qt::transparent);
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
