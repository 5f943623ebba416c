#pragma once
#include "capture/InputCapture.h"

#include <QObject>

namespace orb
{

// Capture where the program cannot see the whole desktop (Wayland, no X
// server): the keys and buttons that reach the program's own windows, taken
// by an application-wide event filter as each window receives them. Limited:
// input to other programs is not seen.
class WindowInputCapture final : public QObject, public InputCapture
{
    Q_OBJECT
  public:
    WindowInputCapture() = default;
    ~WindowInputCapture() override;

    bool start() override;
    void stop() override;
    bool isRunning() const override { return running_; }
    bool isLimited() const override { return true; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool running_ = false;
};

} // namespace orb
