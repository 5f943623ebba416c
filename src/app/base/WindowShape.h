#pragma once
#include <QBitmap>
#include <QColor>
#include <QPixmap>

class QWidget;

namespace orb
{

// Borderless windows that show only their picture. Where the platform
// composites (Wayland, X11 with a compositor) the see-through pixels are
// transparent in the window's own pixels; the mask is set as well, which
// shapes the window on X11 without a compositor and is the input region
// elsewhere. Pictures without alpha mark their see-through pixels with the
// skin's colour key.
namespace WindowShape
{

inline const QColor kColourKey{128, 0, 0};

// Before the window is first shown: its own background stays transparent.
void MakeTranslucent(QWidget* window);
// `picture` with its colour-key pixels transparent; a picture with alpha as it is.
QPixmap Keyed(const QPixmap& picture);
// The see-through pixels of `picture` (alpha, or the colour key) as a mask.
QBitmap Mask(const QPixmap& picture);
// A window that is not a child of `over` still stays above it, takes the
// keyboard with it and goes away with it (Wayland places it by this alone).
void KeepOver(QWidget* window, QWidget* over);

} // namespace WindowShape
} // namespace orb
