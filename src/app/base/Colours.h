#pragma once
#include "skin/LayoutText.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace orb
{

// Colour helpers shared by the pages: layout colours as Qt colours, style
// sheet colours, and text colours set through the palette.

// The grey of read-only fields and captions that do not apply now.
inline const QColor kGrey(114, 113, 113);

inline QColor toColour(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

inline QString cssRgb(const QColor& c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

inline void setTextColour(QWidget* w, const QColor& c)
{
    if (!w)
        return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

} // namespace orb
