#include "app/base/ClickLabel.h"

#include "app/base/AccessibilityTeller.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>

#include <algorithm>

namespace orb
{

namespace
{
QList<ClickLabel*> visibleMenuItems(QWidget* window)
{
    QList<ClickLabel*> items;
    for (ClickLabel* l : window->findChildren<ClickLabel*>())
        if (l->access().role == ControlRole::MenuItem && l->isVisible())
            items << l;
    return items;
}

// The top entry of the left-most menu among `items`.
ClickLabel* firstOf(const QList<ClickLabel*>& items)
{
    const auto it =
        std::min_element(items.begin(), items.end(), [](const ClickLabel* a, const ClickLabel* b) {
            const QPoint pa = a->mapToGlobal(QPoint(0, 0)), pb = b->mapToGlobal(QPoint(0, 0));
            return std::pair(pa.x(), pa.y()) < std::pair(pb.x(), pb.y());
        });
    return it == items.end() ? nullptr : *it;
}
} // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    // Reached by Tab; a pointer click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void ClickLabel::setAccess(ControlAccess access)
{
    access_ = std::move(access);
    setFocusPolicy(access_.role == ControlRole::Hidden ? Qt::NoFocus : Qt::TabFocus);
}

bool ClickLabel::reachable() const
{
    if (!isVisible() || !isEnabled())
        return false;
    QWidget* top = window();
    const QWidget* hit = top->childAt(mapTo(top, rect().center()));
    return hit == this || isAncestorOf(hit);
}

bool ClickLabel::activate()
{
    if (!reachable())
        return false;
    QWidget* top = window();
    QList<ClickLabel*> before;
    if (access_.role == ControlRole::MenuButton)
        before = visibleMenuItems(top);
    const bool checkable = access_.checked != nullptr;
    const bool was = checkable && access_.checked();
    emit pressed();
    emit released();
    emit clicked();
    if (checkable && access_.checked() != was) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent ev(this, changed);
        TellAccessibility(&ev);
    }
    if (access_.role == ControlRole::MenuButton) {
        // The menu it opened takes the focus, at its first entry.
        QList<ClickLabel*> opened = visibleMenuItems(top);
        opened.removeIf([&](ClickLabel* l) { return before.contains(l); });
        if (ClickLabel* first = firstOf(opened)) {
            top->setProperty("menuOpener", QVariant::fromValue(static_cast<QObject*>(this)));
            first->setFocus(Qt::TabFocusReason);
        }
    }
    return true;
}

bool ClickLabel::moveInMenu(int key)
{
    QList<ClickLabel*> items = visibleMenuItems(window());
    const QPoint me = mapToGlobal(QPoint(0, 0));
    ClickLabel* target = nullptr;
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        QList<ClickLabel*> column;
        for (ClickLabel* l : items)
            if (l->parentWidget() == parentWidget())
                column << l;
        std::sort(column.begin(), column.end(), [](ClickLabel* a, ClickLabel* b) { return a->y() < b->y(); });
        const qsizetype i = column.indexOf(this);
        if (i < 0 || column.size() < 2)
            return false;
        target = column[(i + (key == Qt::Key_Down ? 1 : column.size() - 1)) % column.size()];
    } else {
        // The nearest menu to that side; the entry closest to this one's height.
        const bool right = key == Qt::Key_Right;
        int bestDx = 0, bestDy = 0;
        for (ClickLabel* l : items) {
            if (l->parentWidget() == parentWidget())
                continue;
            const QPoint p = l->mapToGlobal(QPoint(0, 0));
            const int dx = right ? p.x() - me.x() : me.x() - p.x();
            const int dy = std::abs(p.y() - me.y());
            if (dx <= 0)
                continue;
            if (!target || dx < bestDx || (dx == bestDx && dy < bestDy)) {
                target = l;
                bestDx = dx;
                bestDy = dy;
            }
        }
        if (target && right) // a submenu is entered at its top
            for (ClickLabel* l : items)
                if (l->parentWidget() == target->parentWidget() && l->y() < target->y())
                    target = l;
    }
    if (!target)
        return false;
    target->setFocus(Qt::TabFocusReason);
    return true;
}

void ClickLabel::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            break;
        if (!e->isAutoRepeat())
            activate();
        e->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (access_.role == ControlRole::MenuItem && moveInMenu(e->key())) {
            e->accept();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(e);
}

void ClickLabel::focusInEvent(QFocusEvent* e)
{
    QLabel::focusInEvent(e);
    // An entry with the focus is the one pointed at: its look, its submenu.
    if (access_.role == ControlRole::MenuItem)
        emit entered();
}

void ClickLabel::focusOutEvent(QFocusEvent* e)
{
    QLabel::focusOutEvent(e);
    if (access_.role == ControlRole::MenuItem && e->reason() != Qt::PopupFocusReason)
        emit left();
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit pressed();
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    emit released();
    if (rect().contains(e->position().toPoint()))
        emit clicked();
    e->accept();
}

void ClickLabel::enterEvent(QEnterEvent* e)
{
    emit entered();
    QLabel::enterEvent(e);
}

void ClickLabel::leaveEvent(QEvent* e)
{
    emit left();
    QLabel::leaveEvent(e);
}

} // namespace orb
