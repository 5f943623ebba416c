#pragma once
#include "skin/LayoutText.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPalette>
#include <QScrollBar>
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

// Scroll bars in the skin's colours: a list's style sheet does not reach its
// scroll bars, which the platform style otherwise draws light on the dark
// pages.
inline void setScrollBarColours(QAbstractScrollArea* area, const QColor& back, const QColor& arrows)
{
    // Button: the groove and the handle's shades, a fifth of the way from the
    // background to the text (lighter() leaves a black one black); window:
    // the outlines.
    const auto mix = [](float b, float a) { return b + (a - b) * 0.2f; };
    const QColor button =
        QColor::fromRgbF(mix(back.redF(), arrows.redF()), mix(back.greenF(), arrows.greenF()),
                         mix(back.blueF(), arrows.blueF()));
    for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
        QPalette pal(button, back);
        pal.setColor(QPalette::Base, back);
        pal.setColor(QPalette::WindowText, arrows);
        pal.setColor(QPalette::ButtonText, arrows);
        bar->setPalette(pal);
    }
}

} // namespace orb
