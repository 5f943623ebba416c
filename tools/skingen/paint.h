#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <functional>
#include <map>
#include <string>

namespace skin
{

// One palette for every picture so the whole skin reads as one piece.
namespace pal
{
inline const QColor deep{14, 16, 19};
inline const QColor base{24, 27, 32};
inline const QColor graphite{33, 37, 44};
inline const QColor panel{40, 45, 53};
inline const QColor raised{52, 58, 68};
inline const QColor line{58, 65, 76};
inline const QColor lineLight{84, 93, 106};
// Pointer-over faces: lighter and neutral, so they never read as the accent-filled pressed state.
inline const QColor hoverTop{74, 83, 97};
inline const QColor hoverBottom{48, 54, 64};
inline const QColor mark{150, 160, 172};
inline const QColor accent{34, 199, 236};
inline const QColor accentLight{128, 228, 250};
inline const QColor accentDeep{12, 128, 160};
inline const QColor accentDark{8, 92, 116};
inline const QColor danger{200, 52, 63};
inline const QColor dangerDark{140, 30, 40};
} // namespace pal

QColor withAlpha(QColor c, int alpha);
QColor mix(const QColor& a, const QColor& b, double t);

// A picture of w x h points, painted at the current pixel scale (1 or 2).
QImage newImage(int w, int h, bool alpha = true);
void setPixelScale(int scale);
void setupPainter(QPainter& p);

// A rectangle with its corners cut off at 45 degrees; cut per corner: tl, tr, br, bl.
QPainterPath chamfered(const QRectF& r, double tl, double tr, double br, double bl);
QPainterPath rounded(const QRectF& r, double radius);

void fillVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom);
void strokePath(QPainter& p, const QPainterPath& path, const QColor& c, double width);
// A horizontal line that fades out towards both ends.
void fadedLine(QPainter& p, double x1, double x2, double y, const QColor& c, double width);
void glow(QPainter& p, const QPointF& centre, double rx, double ry, const QColor& c);
// The decorative orb mark used as logo (no lettering).
void orbMark(QPainter& p, const QPointF& centre, double radius, const QColor& ring, const QColor& core);

// name (without ".png") -> picture
using Catalogue = std::map<std::string, QImage>;

void addParts(Catalogue& out);
void addPages(Catalogue& out);
// The application icon painted at size x size pixels.
QImage appIconAt(int size);

} // namespace skin
