#include "app/base/Captions.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace orb
{

QString captionOf(const QWidget* w)
{
    if (!w)
        return {};
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return w->property("text").toString();
}

void setCaption(QWidget* w, const QString& text)
{
    if (!w)
        return;
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else
        w->setProperty("text", text);
}

} // namespace orb
