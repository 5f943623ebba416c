#include "app/pages/engineer/EngineerModeControl.h"

#include "app/pages/engineer/PassDialog.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>

namespace orb
{

namespace
{

// The result mark of the factory reset: a green tick.
QPixmap tickPicture()
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 150, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygon({QPoint(4, 10), QPoint(8, 15), QPoint(16, 4)}));
    return pm;
}

} // namespace

EngineerModeControl::EngineerModeControl(QWidget* page, QWidget* window, QObject* parent)
    : QObject(parent), page_(page), ask_([window] { return PassDialog::ask(window); })
{
    // Right of Btn_Default; shown by the factory reset once it has written the mouse.
    auto* result = new QLabel(page);
    result->setObjectName(QStringLiteral("Img_Result"));
    result->setGeometry(726, 38, 20, 20);
    result->setPixmap(tickPicture());
    result->hide();

    if (QWidget* logo = page->findChild<QWidget*>(QStringLiteral("Img_Logo4")))
        logo->installEventFilter(this);
    ApplyState();
}

bool EngineerModeControl::eventFilter(QObject*, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        Img_Logo4DblClick();
        return true;
    }
    return false;
}

void EngineerModeControl::Img_Logo4DblClick()
{
    mode_.LogoDoubleClick(ask_);
    ApplyState();
}

void EngineerModeControl::ApplyState()
{
    const EngineerModeView view = mode_.View();
    if (auto* tabs = page_->findChild<QTabWidget*>(QStringLiteral("Pg_Parameter")))
        if (const int i = tabs->indexOf(page_->findChild<QWidget*>(QStringLiteral("ts_Engineer"))); i >= 0)
            tabs->setTabVisible(i, view.engineerTabVisible);
    if (QWidget* factory = page_->findChild<QWidget*>(QStringLiteral("Btn_Default")))
        factory->setVisible(view.defaultButtonVisible);
    // The result of a reset goes with its button.
    if (!view.defaultButtonVisible)
        if (QWidget* result = page_->findChild<QWidget*>(QStringLiteral("Img_Result")))
            result->hide();
    for (const QString& name : EngineerHardwareControls())
        if (QWidget* w = page_->findChild<QWidget*>(name))
            w->setEnabled(view.hardwareControlsEnabled);
}

} // namespace orb
