#include "app/frame/LoadingWindow.h"

#include "app/base/WindowShape.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace orb
{

namespace
{
constexpr int kFrames = 24;

QPixmap drawFrame(int frame)
{
    QPixmap pm(200, 192);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(100, 96);
    // A ring of dots whose brightness runs round: the classic busy spinner.
    for (int i = 0; i < 12; ++i) {
        const double angle = (i * 30.0 - 90.0) * M_PI / 180.0;
        const int age = ((frame / 2) - i + 12) % 12;
        const int alpha = 255 - age * 18;
        const QPointF pos = c + QPointF(std::cos(angle) * 54, std::sin(angle) * 54);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 200, 255, std::max(alpha, 40)));
        p.drawEllipse(pos, 9 - age * 0.4, 9 - age * 0.4);
    }
    // A slow outer arc, so the frames differ even in a still picture.
    QPen arc(QColor(255, 140, 0), 4);
    arc.setCapStyle(Qt::RoundCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 78, c.y() - 78, 156, 156), -frame * 15 * 16, 90 * 16);
    return pm;
}
} // namespace

LoadingWindow::LoadingWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFormLoadingUI"));
    setFixedSize(206, 196);
    WindowShape::MakeTranslucent(this);
    setWindowOpacity(0.9);
    waitGif_ = new QLabel(this);
    waitGif_->setObjectName(QStringLiteral("WaitGif"));
    waitGif_->setGeometry(3, 2, 200, 192);
    waitGif_->setPixmap(drawFrame(0));
    animation_.setInterval(60);
    connect(&animation_, &QTimer::timeout, this, &LoadingWindow::advance);
    // Only the spinner is visible; the mask where nothing composites.
    QRegion ring(QRect(3 + 10, 2 + 6, 180, 180), QRegion::Ellipse);
    setMask(ring);
}

void LoadingWindow::centreOver(const QRect& over, int extraDown)
{
    move(over.left() + (over.width() - width()) / 2, over.top() + (over.height() - height()) / 2 + extraDown);
}

void LoadingWindow::advance()
{
    frame_ = (frame_ + 1) % (kFrames * 2);
    waitGif_->setPixmap(drawFrame(frame_));
}

void LoadingWindow::showEvent(QShowEvent* e)
{
    animation_.start();
    raise();
    QWidget::showEvent(e);
}

void LoadingWindow::hideEvent(QHideEvent* e)
{
    animation_.stop();
    QWidget::hideEvent(e);
}

} // namespace orb
