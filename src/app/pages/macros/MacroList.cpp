#include "app/pages/macros/MacroList.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace orb
{

namespace
{
const QColor kBlue(45, 114, 189);
const QColor kWhite(255, 255, 255);
constexpr int kIconSize = 20;
constexpr int kTextLeft = 45;

// An arrow from `from` to `to` with a filled head.
void arrow(QPainter& p, QPointF from, QPointF to)
{
    p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to + d * 2);
    head.lineTo(to - d * 4 + n * 4);
    head.lineTo(to - d * 4 - n * 4);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawPath(head);
}

QPixmap drawIcon(int kind)
{
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Every icon sits on the skin's blue rounded square.
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1, 1, 18, 18), 4, 4);
    switch (kind) {
    case 0: { // pause: a clock
        p.setPen(QPen(kWhite, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 10), 6, 6);
        p.drawLine(QPointF(10, 10), QPointF(10, 6));
        p.drawLine(QPointF(10, 10), QPointF(13, 11.5));
        break;
    }
    case 1: // press: down onto a bar
        arrow(p, {10, 3.5}, {10, 11});
        p.setPen(QPen(kWhite, 2));
        p.drawLine(QPointF(5, 15.5), QPointF(15, 15.5));
        break;
    case 2: // release: up from a bar
        arrow(p, {10, 12.5}, {10, 5});
        p.setPen(QPen(kWhite, 2));
        p.drawLine(QPointF(5, 15.5), QPointF(15, 15.5));
        break;
    case 3: // X, positive: right
        arrow(p, {4, 10}, {14, 10});
        break;
    case 4: // X, negative: left
        arrow(p, {16, 10}, {6, 10});
        break;
    case 5: // Y, positive: down
        arrow(p, {10, 4}, {10, 14});
        break;
    case 6: // Y, negative: up
        arrow(p, {10, 16}, {10, 6});
        break;
    case 7: { // loop start: an opening bracket with a turn
        p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(5, 4), QPointF(5, 16), QPointF(9, 16)}));
        p.drawArc(QRectF(9, 6, 7, 8), 90 * 16, -270 * 16);
        break;
    }
    case 8: // loop end: a closing bracket
        p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(8, 4), QPointF(14, 4), QPointF(14, 16), QPointF(8, 16)}));
        p.drawLine(QPointF(5, 10), QPointF(10, 10));
        break;
    default:
        break;
    }
    return pm;
}
} // namespace

QPixmap MacroLineIcon(int kind)
{
    static const std::array<QPixmap, 9> icons = [] {
        std::array<QPixmap, 9> all;
        for (int k = 0; k < 9; ++k)
            all[std::size_t(k)] = drawIcon(k);
        return all;
    }();
    if (kind < 0 || kind > 8)
        return {};
    return icons[std::size_t(kind)];
}

MacroListDelegate::MacroListDelegate(bool icons, QObject* parent) : QStyledItemDelegate(parent), icons_(icons)
{
}

void MacroListDelegate::setColours(const QColor& text, const QColor& back, const QColor& selection)
{
    text_ = text;
    back_ = back;
    selection_ = selection;
}

QSize MacroListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(rowHeight_);
    return s;
}

void MacroListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    if (!icons_) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, selected ? selection_ : back_);
    const QPixmap icon = MacroLineIcon(index.data(MacroLineKindRole).toInt());
    if (!icon.isNull()) {
        const int side = option.rect.height();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(QRect(option.rect.left(), option.rect.top(), side, side), icon);
    }
    painter->setPen(text_);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(kTextLeft, 0, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, index.data(MacroLineTextRole).toString());
    painter->restore();
}

} // namespace orb
