#pragma once
#include <QLabel>

namespace orb
{

// A caption label that reports clicks and the pointer entering and leaving.
// Skinned buttons are such a label lying exactly over a picture label.
class ClickLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

  signals:
    void clicked();
    void pressed();
    void released();
    void entered();
    void left();

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
};

} // namespace orb
