// Window background, page overlays, the application icon and the placeholder set.
#include "paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <array>

namespace skin
{
namespace
{

constexpr int WinW = 1030;
constexpr int WinH = 662;

// The window's outline; everything outside it is fully transparent.
QPainterPath windowShape()
{
    QPainterPath s;
    s.moveTo(12, 0);
    s.lineTo(WinW - 12, 0);
    s.lineTo(WinW, 12);
    s.lineTo(WinW, WinH - 24);
    s.lineTo(WinW - 24, WinH);
    s.lineTo(748, WinH);
    s.lineTo(740, WinH - 8);
    s.lineTo(470, WinH - 8);
    s.lineTo(462, WinH);
    s.lineTo(24, WinH);
    s.lineTo(0, WinH - 24);
    s.lineTo(0, 12);
    s.closeSubpath();
    return s;
}

// Alpha is kept strictly 0 or 255 at the outline: the window is cut by it, and half-transparent
// edge pixels would show the window's own colour.
void cutToShape(QImage& img, const QPainterPath& shape)
{
    QImage mask(img.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing, false);
        m.fillPath(shape, Qt::black);
    }
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
}

void dotGrid(QPainter& p, const QRectF& area, double step, const QColor& c)
{
    for (double y = area.top() + step / 2; y < area.bottom(); y += step)
        for (double x = area.left() + step / 2; x < area.right(); x += step)
            p.fillRect(QRectF(x, y, 1, 1), c);
}

void cornerBrackets(QPainter& p, const QRectF& r, double len, const QColor& c)
{
    p.save();
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(r.left(), r.top() + len), QPointF(r.left(), r.top()));
    p.drawLine(QPointF(r.left(), r.top()), QPointF(r.left() + len, r.top()));
    p.drawLine(QPointF(r.right(), r.bottom() - len), QPointF(r.right(), r.bottom()));
    p.drawLine(QPointF(r.right(), r.bottom()), QPointF(r.right() - len, r.bottom()));
    p.restore();
}

void verticalAccent(QPainter& p, double x, double y1, double y2, double width)
{
    QLinearGradient g(x, y1, x, y2);
    g.setColorAt(0, withAlpha(pal::accent, 0));
    g.setColorAt(0.5, pal::accent);
    g.setColorAt(1, withAlpha(pal::accent, 0));
    p.fillRect(QRectF(x, y1, width, y2 - y1), g);
}

QImage background()
{
    QImage img = newImage(WinW, WinH);
    QPainter p(&img);
    setupPainter(p);
    const QPainterPath shape = windowShape();

    fillVertical(p, shape, pal::base, pal::deep);

    // Title band: engineer button at the left, logo in the middle, window buttons at the right,
    // page and language buttons on its lower half (y 50).
    QLinearGradient title(0, 0, 0, 92);
    title.setColorAt(0, pal::graphite);
    title.setColorAt(1, pal::base);
    p.fillRect(QRectF(0, 0, WinW, 92), title);
    glow(p, QPointF(WinW / 2.0, 92), 420, 18, withAlpha(pal::accent, 40));
    fadedLine(p, 10, WinW - 10, 92.5, pal::accent, 1.5);

    glow(p, QPointF(515, 24), 40, 16, withAlpha(pal::accent, 60));
    orbMark(p, QPointF(515, 24), 9, pal::accent, pal::accentLight);
    fadedLine(p, 330, 498, 24, withAlpha(pal::accent, 170), 1.0);
    fadedLine(p, 532, 700, 24, withAlpha(pal::accent, 170), 1.0);
    fadedLine(p, 380, 490, 29, withAlpha(pal::lineLight, 160), 1.0);
    fadedLine(p, 540, 650, 29, withAlpha(pal::lineLight, 160), 1.0);

    // Recessed tracks under the page buttons (110..740) and language buttons (780..1015).
    for (const QRectF& r : {QRectF(100.5, 44.5, 652, 41), QRectF(769.5, 44.5, 255, 41)}) {
        const QPainterPath track = chamfered(r, 10, 0, 10, 0);
        p.fillPath(track, withAlpha(pal::deep, 200));
        strokePath(p, track, withAlpha(pal::line, 200), 1.0);
    }

    // Content area shared by the four pages.
    const QRectF content(18.5, 100.5, 993, 448);
    const QPainterPath contentShape = chamfered(content, 14, 0, 14, 0);
    fillVertical(p, contentShape, QColor(22, 25, 30), QColor(16, 18, 22));
    p.save();
    p.setClipPath(contentShape);
    glow(p, QPointF(480, 320), 460, 230, withAlpha(pal::accent, 14));
    dotGrid(p, content, 16, QColor(255, 255, 255, 12));
    p.restore();
    strokePath(p, contentShape, pal::line, 1.0);
    cornerBrackets(p, content.adjusted(-4, -4, 4, 4), 26, withAlpha(pal::accent, 200));

    // Bottom bar: web badge (50, 575) and action buttons (y 560..627).
    QLinearGradient bottom(0, 556, 0, WinH);
    bottom.setColorAt(0, withAlpha(pal::graphite, 200));
    bottom.setColorAt(1, withAlpha(pal::deep, 0));
    p.fillRect(QRectF(0, 556, WinW, WinH - 556), bottom);
    fadedLine(p, 10, WinW - 10, 556.5, pal::lineLight, 1.0);

    // Side accents outside the content area.
    verticalAccent(p, 6, 180, 480, 3);
    verticalAccent(p, WinW - 9, 180, 480, 3);

    strokePath(p, shape, pal::lineLight, 2.0);
    p.end();
    cutToShape(img, shape);
    return img;
}

// Section panel of an overlay; an accent tab marks where its title goes.
void sectionPanel(QPainter& p, const QRectF& r, double header)
{
    const QPainterPath shape = chamfered(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 0, 10, 0);
    fillVertical(p, shape, withAlpha(pal::panel, 215), withAlpha(pal::graphite, 215));
    p.save();
    p.setClipPath(shape);
    if (header > 0) {
        p.fillRect(QRectF(r.left(), r.top(), r.width(), header), withAlpha(pal::deep, 110));
        fadedLine(p, r.left(), r.right(), r.top() + header + 0.5, withAlpha(pal::accent, 170), 1.0);
    }
    const double tab = header > 0 ? header : 24;
    p.fillRect(QRectF(r.left(), r.top() + 6, 3, tab - 10), pal::accent);
    p.restore();
    strokePath(p, shape, pal::line, 1.0);
}

void well(QPainter& p, const QRectF& r, double radius = 3)
{
    const QPainterPath shape = rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), radius);
    p.fillPath(shape, withAlpha(pal::deep, 170));
    strokePath(p, shape, withAlpha(pal::line, 170), 1.0);
}

// Stylised top view of the mouse, drawn in overlay coordinates (centre x 430, y 22..388).
struct MouseGeometry {
    QPainterPath body;
    QRectF side1{317, 188, 12, 40};
    QRectF side2{315, 236, 12, 42};
};

MouseGeometry mouseGeometry()
{
    MouseGeometry g;
    QPainterPath& b = g.body;
    b.moveTo(430, 22);
    b.cubicTo(384, 22, 352, 44, 346, 96);
    b.cubicTo(340, 150, 318, 214, 320, 282);
    b.cubicTo(322, 352, 372, 388, 430, 388);
    b.cubicTo(488, 388, 538, 352, 540, 282);
    b.cubicTo(542, 214, 520, 150, 514, 96);
    b.cubicTo(508, 44, 476, 22, 430, 22);
    b.closeSubpath();
    return g;
}

void drawMouse(QPainter& p, bool withLights)
{
    const MouseGeometry g = mouseGeometry();
    const QPainterPath& body = g.body;

    // Side buttons stick out of the left flank, so they go under the body.
    for (const QRectF& r : {g.side1, g.side2}) {
        const QPainterPath sb = rounded(r, 5);
        fillVertical(p, sb, pal::raised, pal::panel);
        strokePath(p, sb, pal::lineLight, 1.0);
        p.fillRect(QRectF(r.left() + 1.5, r.top() + 6, 2, r.height() - 12), withAlpha(pal::accent, 200));
    }

    QRadialGradient shell(QPointF(410, 190), 230);
    shell.setColorAt(0, QColor(54, 61, 72));
    shell.setColorAt(1, QColor(24, 27, 32));
    p.fillPath(body, shell);

    QPainterPath seamArea;
    seamArea.moveTo(290, 0);
    seamArea.lineTo(570, 0);
    seamArea.lineTo(570, 160);
    seamArea.quadTo(430, 200, 290, 160);
    seamArea.closeSubpath();
    const QPainterPath buttons = body.intersected(seamArea);
    QPainterPath channel;
    channel.addRoundedRect(QRectF(414, 44, 32, 126), 12, 12);
    QPainterPath leftHalf, rightHalf;
    leftHalf.addRect(QRectF(280, 0, 149, 220));
    rightHalf.addRect(QRectF(431, 0, 149, 220));
    const QPainterPath leftBtn = buttons.intersected(leftHalf).subtracted(channel);
    const QPainterPath rightBtn = buttons.intersected(rightHalf).subtracted(channel);
    for (const QPainterPath& btn : {leftBtn, rightBtn}) {
        fillVertical(p, btn, QColor(62, 70, 82), QColor(38, 43, 51));
        strokePath(p, btn, QColor(10, 12, 14, 200), 1.5);
    }

    p.save();
    p.setClipPath(body);
    glow(p, QPointF(395, 120), 50, 80, QColor(255, 255, 255, 26));
    p.restore();

    p.fillPath(channel, pal::deep);
    strokePath(p, channel, withAlpha(pal::accent, 150), 1.0);

    // Wheel with ridges.
    const QRectF wheel(421, 54, 18, 62);
    QLinearGradient wg(wheel.topLeft(), wheel.topRight());
    wg.setColorAt(0, QColor(30, 34, 40));
    wg.setColorAt(0.5, QColor(86, 96, 110));
    wg.setColorAt(1, QColor(30, 34, 40));
    p.fillPath(rounded(wheel, 8), wg);
    p.save();
    p.setClipPath(rounded(wheel, 8));
    for (double y = wheel.top() + 4; y < wheel.bottom() - 2; y += 5)
        p.fillRect(QRectF(wheel.left(), y, wheel.width(), 1.2), QColor(12, 14, 17, 150));
    p.restore();
    if (withLights)
        p.fillRect(QRectF(429, 58, 2, 54), withAlpha(pal::accent, 170));

    // Two buttons behind the wheel.
    for (double y : {127.0, 146.0}) {
        const QPainterPath b = rounded(QRectF(420, y, 20, 14), 4);
        fillVertical(p, b, pal::raised, pal::panel);
        strokePath(p, b, pal::lineLight, 1.0);
    }

    if (withLights) {
        // Light strips along both flanks.
        QLinearGradient strip(0, 170, 0, 360);
        strip.setColorAt(0, withAlpha(pal::accent, 0));
        strip.setColorAt(0.45, pal::accent);
        strip.setColorAt(1, withAlpha(pal::accent, 0));
        p.save();
        p.setClipRect(QRectF(0, 170, 1000, 190));
        p.setPen(QPen(QBrush(strip), 7));
        p.setOpacity(0.25);
        p.drawPath(body);
        p.setOpacity(1.0);
        p.setPen(QPen(QBrush(strip), 2.2));
        p.drawPath(body);
        p.restore();
        glow(p, QPointF(430, 300), 34, 34, withAlpha(pal::accent, 55));
    }
    orbMark(p, QPointF(430, 300), 16, withAlpha(pal::accent, 220), withAlpha(pal::accentLight, 230));
    strokePath(p, body, withAlpha(pal::lineLight, 220), 1.5);
}

double leftEdgeAt(const MouseGeometry& g, double y)
{
    for (const QRectF& r : {g.side1, g.side2})
        if (y >= r.top() + 4 && y <= r.bottom() - 4)
            return r.left();
    for (double x = 280; x < 430; x += 0.5)
        if (g.body.contains(QPointF(x, y)))
            return x;
    return 430;
}

// Key page: the nine captions sit on the left (x 50..220 of this picture, one row every ~48 px
// from y 8); the mouse sits on the right with callout lines from the caption rows.
QImage keyOverlay()
{
    QImage img = newImage(600, 400);
    QPainter p(&img);
    setupPainter(p);

    glow(p, QPointF(430, 205), 200, 205, withAlpha(pal::accent, 26));
    p.save();
    p.setPen(QPen(withAlpha(pal::accent, 34), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(430, 205), 150, 192);
    p.setPen(QPen(withAlpha(pal::accent, 20), 1.0, Qt::DashLine));
    p.drawEllipse(QPointF(430, 205), 164, 196);
    p.restore();
    glow(p, QPointF(438, 216), 125, 190, QColor(0, 0, 0, 150));

    drawMouse(p, true);

    const MouseGeometry g = mouseGeometry();
    const std::array<double, 7> rows{21.5, 69.5, 116.5, 165.5, 212.5, 260.5, 310.5};
    const std::array<double, 7> targets{48, 92, 138, 208, 257, 305, 345};
    for (size_t i = 0; i < rows.size(); ++i) {
        const QPointF start(226, rows[i]);
        const QPointF elbow(262, rows[i]);
        const QPointF end(leftEdgeAt(g, targets[i]) - 2, targets[i]);
        QPainterPath line;
        line.moveTo(start);
        line.lineTo(elbow);
        line.lineTo(end);
        p.setPen(QPen(withAlpha(pal::accent, 150), 1.2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(pal::accent, 200));
        p.drawEllipse(start, 2.2, 2.2);
        glow(p, end, 8, 8, withAlpha(pal::accent, 110));
        p.setBrush(pal::deep);
        p.drawEllipse(end, 3.8, 3.8);
        p.setBrush(pal::accentLight);
        p.drawEllipse(end, 2.2, 2.2);
    }
    return img;
}

// Advanced page (placed at 98, 128): fire-key panel top left, host pointer settings bottom left
// (three bars at y 172/246/320 of this picture), the seven CPI rows and the aim-key row on the right.
QImage advancedOverlay()
{
    QImage img = newImage(800, 374);
    QPainter p(&img);
    setupPainter(p);

    sectionPanel(p, QRectF(20, 6, 352, 104), 26);
    sectionPanel(p, QRectF(20, 118, 352, 250), 26);
    for (double y : {172.0, 246.0, 320.0})
        well(p, QRectF(50, y - 2, 290, 22));

    sectionPanel(p, QRectF(382, 6, 412, 362), 26);
    const std::array<double, 7> rowTops{38, 82, 122, 162, 202, 242, 282};
    for (size_t i = 0; i < rowTops.size(); ++i) {
        if (i % 2 == 0)
            p.fillRect(QRectF(386, rowTops[i], 404, 40), QColor(255, 255, 255, 7));
        well(p, QRectF(502, 54 + 40.0 * i - 2, 224, 22));
    }
    fadedLine(p, 390, 786, 334.5, withAlpha(pal::accent, 150), 1.0);
    p.fillRect(QRectF(386, 338, 404, 28), withAlpha(pal::accent, 14));
    well(p, QRectF(502, 344, 224, 22));
    return img;
}

// Lighting page (placed at 98, 128): switch pairs and key-mode colour in the top panel, the mode
// options in the middle, the step bar (x 192, y 295) at the bottom.
QImage lightingOverlay()
{
    QImage img = newImage(800, 374);
    QPainter p(&img);
    setupPainter(p);

    sectionPanel(p, QRectF(90, 8, 620, 152), 26);
    p.fillRect(QRectF(420, 44, 1, 108), withAlpha(pal::lineLight, 110));
    fadedLine(p, 100, 700, 94.5, withAlpha(pal::line, 200), 1.0);

    sectionPanel(p, QRectF(90, 168, 620, 102), 0);
    sectionPanel(p, QRectF(90, 278, 620, 88), 0);
    well(p, QRectF(188, 291, 255, 22));
    return img;
}

void libraryIcon(QPainter& p, const QPointF& c, const QColor& col)
{
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(c.x() - 7, c.y() - 6 + i * 5, 14, 3), withAlpha(col, 255 - i * 60));
}

void scriptIcon(QPainter& p, const QPointF& c, const QColor& col)
{
    for (int i = 0; i < 3; ++i) {
        p.fillRect(QRectF(c.x() - 8, c.y() - 6 + i * 5, 3, 3), col);
        p.fillRect(QRectF(c.x() - 3, c.y() - 6 + i * 5, 11 - i * 3, 3), withAlpha(col, 170));
    }
}

void recordIcon(QPainter& p, const QPointF& c)
{
    p.save();
    p.setPen(QPen(pal::lineLight, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::danger);
    p.drawEllipse(c, 3.5, 3.5);
    p.restore();
}

// Macro page (placed at 98, 128): library list well on the left (x 58..286), script list well in
// the middle (x 298..504), record buttons and delay / insert boxes on the right (x 512..).
QImage macroOverlay()
{
    QImage img = newImage(800, 374);
    QPainter p(&img);
    setupPainter(p);

    sectionPanel(p, QRectF(30, 6, 760, 362), 34);
    p.fillRect(QRectF(292, 12, 1, 350), withAlpha(pal::line, 200));
    p.fillRect(QRectF(508, 12, 1, 350), withAlpha(pal::line, 200));
    well(p, QRectF(58, 44, 228, 314));
    well(p, QRectF(298, 44, 204, 314));
    libraryIcon(p, QPointF(270, 24), pal::accent);
    scriptIcon(p, QPointF(488, 24), pal::accent);
    recordIcon(p, QPointF(768, 24));
    return img;
}

QImage appIcon(int size = 256)
{
    QImage img = newImage(size, size);
    QPainter p(&img);
    setupPainter(p);
    // Drawn on a 256-unit grid and painted at the size asked for, not scaled afterwards.
    p.scale(size / 256.0, size / 256.0);
    const QPainterPath tileShape = rounded(QRectF(8, 8, 240, 240), 52);
    fillVertical(p, tileShape, pal::raised, pal::deep);
    p.save();
    p.setClipPath(tileShape);
    glow(p, QPointF(128, 140), 120, 120, withAlpha(pal::accent, 70));
    p.restore();
    strokePath(p, tileShape, withAlpha(pal::accent, 200), 3.0);

    p.save();
    const double s = 0.56;
    p.translate(128, 132);
    p.scale(s, s);
    p.translate(-430, -205);
    drawMouse(p, true);
    p.restore();
    return img;
}

QImage placeholder()
{
    QImage img = newImage(23, 4);
    img.fill(pal::base);
    return img;
}

} // namespace

void addPages(Catalogue& out)
{
    const QImage bg = background();
    const QImage back1 = keyOverlay();
    const QImage back2 = advancedOverlay();
    const QImage back3 = lightingOverlay();
    const QImage back4 = macroOverlay();
    // Sets 1 and 3 share the artwork; set 2 is only a placeholder.
    for (const char* set : {"L1_", "L3_"}) {
        const std::string s = set;
        out[s + "BackGround"] = bg;
        out[s + "Back1"] = back1;
        out[s + "Back2"] = back2;
        out[s + "Back3"] = back3;
        out[s + "Back4"] = back4;
    }
    for (const char* name : {"BackGround", "Back1", "Back2", "Back3", "Back4"})
        out[std::string("L2_") + name] = placeholder();
    out["AppIcon"] = appIcon();
}

QImage appIconAt(int size)
{
    return appIcon(size);
}

} // namespace skin
