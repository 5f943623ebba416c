// Buttons, marks, bar segments, frames and dialog backgrounds.
#include "paint.h"

#include <QLinearGradient>

namespace skin
{
namespace
{

enum class State { Normal, Over, Pressed };

const char* suffix(State s)
{
    switch (s) {
    case State::Normal:
        return "_01";
    case State::Over:
        return "_02";
    case State::Pressed:
        return "_03";
    }
    return "";
}

// Shared look of every captioned button: the caption sits centred on it, so the face stays plain.
void buttonFace(QPainter& p, const QPainterPath& shape, State s)
{
    const QRectF b = shape.boundingRect();
    switch (s) {
    case State::Normal:
        fillVertical(p, shape, pal::raised, pal::graphite);
        strokePath(p, shape, pal::line, 1.0);
        break;
    case State::Over:
        fillVertical(p, shape, pal::hoverTop, pal::hoverBottom);
        strokePath(p, shape, pal::accent, 1.0);
        break;
    case State::Pressed:
        fillVertical(p, shape, pal::accentDeep, pal::accentDark);
        strokePath(p, shape, pal::accentLight, 1.0);
        break;
    }
    // A soft top highlight gives the face some depth without a visible gradient band.
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(b.left(), b.top() + 1, b.width(), 1),
               QColor(255, 255, 255, s == State::Pressed ? 50 : 22));
    if (s == State::Over)
        fadedLine(p, b.left() + 6, b.right() - 6, b.bottom() - 1.5, pal::accent, 1.5);
    p.restore();
}

QImage actionButton(int w, int h, State s, bool angular)
{
    QImage img = newImage(w, h);
    QPainter p(&img);
    setupPainter(p);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    buttonFace(p, angular ? chamfered(r, 6, 0, 6, 0) : rounded(r, 4), s);
    return img;
}

QImage pageButton(State s)
{
    QImage img = newImage(110, 30);
    QPainter p(&img);
    setupPainter(p);
    const QRectF r(0.5, 0.5, 109, 29);
    const QPainterPath shape = chamfered(r, 8, 0, 8, 0);
    switch (s) {
    case State::Normal:
        fillVertical(p, shape, withAlpha(pal::panel, 235), withAlpha(pal::base, 235));
        strokePath(p, shape, pal::line, 1.0);
        break;
    case State::Over:
        fillVertical(p, shape, pal::hoverTop, pal::hoverBottom);
        strokePath(p, shape, withAlpha(pal::accent, 220), 1.0);
        break;
    case State::Pressed:
        fillVertical(p, shape, pal::accentDeep, pal::accentDark);
        strokePath(p, shape, pal::accent, 1.0);
        break;
    }
    p.setClipPath(shape);
    if (s != State::Normal) {
        // Underline marks hover (thin) and the current page (bright).
        const QColor c = s == State::Pressed ? pal::accentLight : pal::accent;
        fadedLine(p, 4, 106, 28, c, s == State::Pressed ? 2.5 : 1.5);
    }
    p.fillRect(QRectF(8, 1, 101, 1), QColor(255, 255, 255, s == State::Pressed ? 45 : 18));
    return img;
}

QImage keyButton(State s)
{
    QImage img = newImage(170, 27);
    QPainter p(&img);
    setupPainter(p);
    const QRectF r(0.5, 0.5, 169, 26);
    const QPainterPath shape = rounded(r, 4);
    const bool over = s != State::Normal;
    if (over) {
        fillVertical(p, shape, pal::hoverTop, pal::hoverBottom);
        strokePath(p, shape, pal::accent, 1.0);
    } else {
        fillVertical(p, shape, withAlpha(pal::panel, 240), withAlpha(pal::graphite, 240));
        strokePath(p, shape, pal::line, 1.0);
    }
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(0, 0, 3, 27), over ? pal::accent : pal::accentDeep);
    p.fillRect(QRectF(4, 1, 165, 1), QColor(255, 255, 255, 20));
    p.restore();
    // Small chevron: the caption opens a menu.
    QPainterPath chevron;
    chevron.moveTo(158, 9.5);
    chevron.lineTo(162, 13.5);
    chevron.lineTo(158, 17.5);
    p.setPen(QPen(over ? pal::accentLight : pal::mark, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chevron);
    return img;
}

void tile(QPainter& p, int size, const QColor& fill, const QColor& border)
{
    p.fillRect(QRect(0, 0, size, size), fill);
    p.setPen(QPen(border, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
    p.setPen(Qt::NoPen);
}

// Exit has no alpha: the tile fills its whole square.
QImage exitButton(State s)
{
    QImage img = newImage(20, 20, false);
    QPainter p(&img);
    setupPainter(p);
    QColor cross = pal::mark;
    switch (s) {
    case State::Normal:
        tile(p, 20, pal::graphite, pal::line);
        break;
    case State::Over:
        tile(p, 20, pal::danger, mix(pal::danger, Qt::white, 0.35));
        cross = Qt::white;
        break;
    case State::Pressed:
        tile(p, 20, pal::dangerDark, pal::danger);
        cross = QColor(235, 235, 235);
        break;
    }
    p.setPen(QPen(cross, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 6), QPointF(14, 14));
    p.drawLine(QPointF(14, 6), QPointF(6, 14));
    return img;
}

QImage miniButton(State s)
{
    QImage img = newImage(20, 20);
    QPainter p(&img);
    setupPainter(p);
    QColor bar = pal::mark;
    if (s == State::Normal) {
        tile(p, 20, pal::graphite, pal::line);
    } else {
        tile(p, 20, pal::accentDeep, pal::accent);
        bar = Qt::white;
    }
    p.setPen(QPen(bar, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 13.5), QPointF(14, 13.5));
    return img;
}

void globe(QPainter& p, const QPointF& c, double r, const QColor& col)
{
    p.save();
    p.setPen(QPen(col, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x() - r * 0.86, c.y() - r * 0.5), QPointF(c.x() + r * 0.86, c.y() - r * 0.5));
    p.drawLine(QPointF(c.x() - r * 0.86, c.y() + r * 0.5), QPointF(c.x() + r * 0.86, c.y() + r * 0.5));
    p.restore();
}

// The web badge: logo mark, globe and a "go" chevron. The program shows "_03" under the pointer
// and "_02" when clicked, so "_03" is the light one and "_02" the filled one.
QImage webButton(int variant)
{
    QImage img = newImage(200, 66);
    QPainter p(&img);
    setupPainter(p);
    const QRectF r(0.5, 0.5, 199, 65);
    const QPainterPath shape = chamfered(r, 14, 0, 14, 0);
    QColor markCol = pal::accent;
    QColor iconCol = pal::mark;
    if (variant == 1) {
        fillVertical(p, shape, withAlpha(pal::panel, 235), withAlpha(pal::base, 235));
        strokePath(p, shape, pal::line, 1.0);
    } else if (variant == 3) {
        fillVertical(p, shape, pal::hoverTop, pal::hoverBottom);
        strokePath(p, shape, pal::accent, 1.0);
        iconCol = pal::accentLight;
        markCol = pal::accentLight;
    } else {
        fillVertical(p, shape, pal::accentDeep, pal::accentDark);
        strokePath(p, shape, pal::accentLight, 1.0);
        iconCol = Qt::white;
        markCol = Qt::white;
    }
    p.save();
    p.setClipPath(shape);
    glow(p, QPointF(40, 33), 34, 30, withAlpha(pal::accent, variant == 1 ? 40 : 70));
    p.restore();
    orbMark(p, QPointF(40, 33), 15, markCol, markCol);
    p.fillRect(QRectF(72, 14, 1, 38), withAlpha(iconCol, 90));
    globe(p, QPointF(112, 33), 15, iconCol);
    QPainterPath go;
    for (double x : {150.0, 162.0}) {
        go.moveTo(x, 24);
        go.lineTo(x + 9, 33);
        go.lineTo(x, 42);
    }
    p.setPen(QPen(iconCol, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(go);
    return img;
}

QImage checkMark(bool on)
{
    QImage img = newImage(16, 16);
    QPainter p(&img);
    setupPainter(p);
    const QPainterPath box = rounded(QRectF(0.5, 0.5, 15, 15), 3);
    if (on) {
        fillVertical(p, box, pal::accent, pal::accentDeep);
        strokePath(p, box, pal::accentLight, 1.0);
        QPainterPath tick;
        tick.moveTo(4, 8.2);
        tick.lineTo(6.8, 11);
        tick.lineTo(12, 5);
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    } else {
        fillVertical(p, box, pal::deep, pal::base);
        strokePath(p, box, pal::lineLight, 1.0);
    }
    return img;
}

QImage optionMark(bool on)
{
    QImage img = newImage(15, 15);
    QPainter p(&img);
    setupPainter(p);
    const QPointF c(7.5, 7.5);
    p.setBrush(pal::deep);
    p.setPen(QPen(on ? pal::accent : pal::lineLight, 1.2));
    p.drawEllipse(c, 6.6, 6.6);
    if (on) {
        p.setPen(Qt::NoPen);
        glow(p, c, 6, 6, withAlpha(pal::accent, 110));
        p.setBrush(pal::accentLight);
        p.drawEllipse(c, 3.4, 3.4);
    }
    return img;
}

QImage barSegment(int w, int h, bool lit)
{
    QImage img = newImage(w, h);
    QPainter p(&img);
    setupPainter(p);
    // Inset on both sides so neighbouring segments placed edge to edge still read as separate.
    const QPainterPath seg = rounded(QRectF(2.5, 2.5, w - 5, h - 5), 2);
    if (lit) {
        glow(p, QPointF(w / 2.0, h / 2.0), w / 2.0, h / 2.0, withAlpha(pal::accent, 90));
        fillVertical(p, seg, pal::accentLight, pal::accentDeep);
        strokePath(p, seg, withAlpha(pal::accentLight, 200), 1.0);
    } else {
        fillVertical(p, seg, pal::graphite, pal::deep);
        strokePath(p, seg, pal::line, 1.0);
    }
    return img;
}

// Frame over a colour swatch: grey only, with a clear window in the middle.
QImage colourFrame()
{
    QImage img = newImage(32, 40);
    QPainter p(&img);
    setupPainter(p);
    QPainterPath outer;
    outer.addRect(QRectF(0, 0, 32, 40));
    QPainterPath inner = rounded(QRectF(4, 4, 24, 32), 2);
    const QPainterPath ring = outer.subtracted(inner);
    fillVertical(p, ring, QColor(176, 176, 176), QColor(92, 92, 92));
    strokePath(p, rounded(QRectF(0.5, 0.5, 31, 39), 1), QColor(40, 40, 40), 1.0);
    strokePath(p, inner, QColor(30, 30, 30, 220), 1.0);
    p.fillRect(QRectF(5, 1.5, 22, 1), QColor(230, 230, 230, 120));
    return img;
}

// Dialog background without alpha: the dialog takes its exact rectangle.
QImage dialogBase()
{
    QImage img = newImage(530, 200, false);
    QPainter p(&img);
    setupPainter(p);
    QLinearGradient g(0, 0, 0, 200);
    g.setColorAt(0, pal::graphite);
    g.setColorAt(0.28, pal::base);
    g.setColorAt(1, pal::deep);
    p.fillRect(img.rect(), g);
    p.fillRect(QRectF(0, 0, 530, 54), withAlpha(pal::panel, 150));
    fadedLine(p, 0, 530, 54.5, pal::accent, 1.5);
    glow(p, QPointF(265, 54), 200, 16, withAlpha(pal::accent, 30));
    p.setPen(QPen(pal::lineLight, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 529, 199));
    // Accent corner brackets.
    p.setPen(QPen(pal::accent, 2.0));
    p.drawLine(QPointF(1, 1), QPointF(22, 1));
    p.drawLine(QPointF(1, 1), QPointF(1, 22));
    p.drawLine(QPointF(529, 199), QPointF(508, 199));
    p.drawLine(QPointF(529, 199), QPointF(529, 178));
    return img;
}

QImage insertBase(bool keyVariant)
{
    QImage img = newImage(207, 162);
    QPainter p(&img);
    setupPainter(p);
    const QPainterPath shape = rounded(QRectF(0.5, 0.5, 206, 161), 6);
    fillVertical(p, shape, withAlpha(pal::panel, 245), withAlpha(pal::base, 245));
    strokePath(p, shape, pal::line, 1.0);
    p.setClipPath(shape);
    fadedLine(p, 6, 201, 1.5, pal::accent, 1.5);
    // Separators fall between the rows the insert box places on this base.
    const QColor sep = withAlpha(pal::lineLight, 120);
    if (keyVariant) {
        fadedLine(p, 10, 197, 89.5, sep, 1.0);
        fadedLine(p, 10, 197, 123.5, sep, 1.0);
        p.fillRect(QRectF(0, 91, 3, 31), withAlpha(pal::danger, 150));
    } else {
        fadedLine(p, 10, 197, 112.5, sep, 1.0);
        p.fillRect(QRectF(0, 38, 3, 32), withAlpha(pal::accent, 150));
    }
    return img;
}

} // namespace

void addParts(Catalogue& out)
{
    for (State s : {State::Normal, State::Over, State::Pressed}) {
        const std::string suf = suffix(s);
        out["BtnS" + suf] = actionButton(110, 27, s, false);
        out["SetS" + suf] = pageButton(s);
        out["ExitS" + suf] = exitButton(s);
        out["MacroS" + suf] = actionButton(110, 27, s, true);
        out["MacroBtnS" + suf] = actionButton(44, 27, s, true);
    }
    out["KeyS_01"] = keyButton(State::Normal);
    out["KeyS_02"] = keyButton(State::Over);
    out["MiniS_01"] = miniButton(State::Normal);
    out["MiniS_02"] = miniButton(State::Over);
    out["WebS_01"] = webButton(1);
    out["WebS_02"] = webButton(2);
    out["WebS_03"] = webButton(3);
    out["CbS_D"] = checkMark(false);
    out["CbS_E"] = checkMark(true);
    out["RdS_D"] = optionMark(false);
    out["RdS_E"] = optionMark(true);
    out["Bar1_D"] = barSegment(26, 18, false);
    out["Bar1_E"] = barSegment(26, 18, true);
    out["Bar2_D"] = barSegment(20, 18, false);
    out["Bar2_E"] = barSegment(20, 18, true);
    out["Col_F"] = colourFrame();
    out["Msg"] = dialogBase();
    out["InsertDelayBase"] = insertBase(false);
    out["InsertKeyBase"] = insertBase(true);
}

} // namespace skin
