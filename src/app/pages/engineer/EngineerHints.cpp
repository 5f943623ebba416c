#include "app/pages/engineer/EngineerHints.h"

#include "skin/EngineerTexts.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

namespace orb
{

EngineerHints::EngineerHints(QWidget* page, QLabel* hintLine, QObject* parent)
    : QObject(parent), page_(page), line_(hintLine)
{
    // Pointer moves go to the widget under the pointer, and only through the
    // application's filters when that widget does not track the mouse.
    qApp->installEventFilter(this);
}

EngineerHints::~EngineerHints()
{
    qApp->removeEventFilter(this);
}

bool EngineerHints::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::MouseMove || !watched->isWidgetType() || !page_ || !line_ || !page_->isVisible())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w != page_ && !page_->isAncestorOf(w))
        return false; // another window, a list's popup
    const QPoint at = page_->mapFromGlobal(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
    QWidget* under = page_->childAt(at);
    ShowHint(under ? under : page_.data());
    return false;
}

void EngineerHints::ShowHint(QWidget* under)
{
    QStringList chain;
    for (QWidget* w = under; w && w != page_->parentWidget(); w = w->parentWidget())
        chain << w->objectName();
    const QString hint = EngineerHintFor(chain);
    if (line_->text() != hint)
        line_->setText(hint);
}

} // namespace orb
