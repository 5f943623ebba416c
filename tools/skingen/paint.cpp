#include "paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace skin
{

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    auto ch = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()),
                  ch(a.alpha(), b.alpha()));
}

namespace
{
int pixelScale = 1;
}

void setPixelScale(int scale)
{
    pixelScale = scale;
}

QImage newImage(int w, int h, bool alpha)
{
    QImage img(w * pixelScale, h * pixelScale,
               alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    img.setDevicePixelRatio(pixelScale);
    img.fill(alpha ? Qt::transparent : pal::base);
    return img;
}

void setupPainter(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setPen(Qt::NoPen);
}

QPainterPath chamfered(const QRectF& r, double tl, double tr, double br, double bl)
{
    QPainterPath path;
    path.moveTo(r.left() + tl, r.top());
    path.lineTo(r.right() - tr, r.top());
    path.lineTo(r.right(), r.top() + tr);
    path.lineTo(r.right(), r.bottom() - br);
    path.lineTo(r.right() - br, r.bottom());
    path.lineTo(r.left() + bl, r.bottom());
    path.lineTo(r.left(), r.bottom() - bl);
    path.lineTo(r.left(), r.top() + tl);
    path.closeSubpath();
    return path;
}

QPainterPath rounded(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void fillVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom)
{
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(path, g);
}

void strokePath(QPainter& p, const QPainterPath& path, const QColor& c, double width)
{
    p.save();
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void fadedLine(QPainter& p, double x1, double x2, double y, const QColor& c, double width)
{
    QLinearGradient g(x1, y, x2, y);
    g.setColorAt(0, withAlpha(c, 0));
    g.setColorAt(0.5, c);
    g.setColorAt(1, withAlpha(c, 0));
    p.fillRect(QRectF(x1, y - width / 2, x2 - x1, width), g);
}

void glow(QPainter& p, const QPointF& centre, double rx, double ry, const QColor& c)
{
    p.save();
    p.translate(centre);
    p.scale(1.0, ry / rx);
    QRadialGradient g(QPointF(0, 0), rx);
    g.setColorAt(0, c);
    g.setColorAt(1, withAlpha(c, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), rx, rx);
    p.restore();
}

void orbMark(QPainter& p, const QPointF& centre, double radius, const QColor& ring, const QColor& core)
{
    p.save();
    const double w = std::max(1.5, radius * 0.22);
    QPen pen(ring, w, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Two arcs with gaps at the diagonals give the ring a sense of motion.
    p.drawArc(box, 60 * 16, 150 * 16);
    p.drawArc(box, 240 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(centre, radius * 0.38, radius * 0.38);
    p.restore();
}

} // namespace skin
