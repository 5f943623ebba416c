#pragma once
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace orb
{

// The busy window shown while the mouse's memory is read or written: a small
// top-most borderless window with a running animation.
class LoadingWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit LoadingWindow(QWidget* owner = nullptr);
    // Places the window centred over `over` (optionally shifted down).
    void centreOver(const QRect& over, int extraDown = 0);
    int frame() const { return frame_; }

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    void advance();
    QLabel* waitGif_;
    QTimer animation_;
    int frame_ = 0;
};

} // namespace orb
