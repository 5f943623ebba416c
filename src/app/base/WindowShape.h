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

// Whether the display blends a window's see-through pixels with what lies
// under it: Wayland and Windows always, X11 while a compositing manager runs.
// Asked once; the answer stands for the program's run.
bool DisplayComposites();
// Before the window is first shown. Where the display composites, its own
// background stays transparent. Elsewhere it is opaque black: such a display
// shows see-through pixels blended over black anyway, and a window with
// alpha costs the X server and the program time at every paint; the mask
// cuts the shape there.
void MakeTranslucent(QWidget* window);
void MakeTranslucent(QWidget* window, bool displayComposites);
// `picture` with its colour-key pixels transparent; a picture with alpha as it is.
QPixmap Keyed(const QPixmap& picture);
// The see-through pixels of `picture` (alpha, or the colour key) as a mask.
QBitmap Mask(const QPixmap& picture);
// A window that is not a child of `over` still stays above it, takes the
// keyboard with it and goes away with it (Wayland places it by this alone).
void KeepOver(QWidget* window, QWidget* over);

} // namespace WindowShape
} // namespace orb
