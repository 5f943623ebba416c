#include "app/base/ClickLabel.h"

#include <QMouseEvent>

namespace orb
{

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
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
