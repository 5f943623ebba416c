#pragma once
#include "app/base/ControlAccess.h"

#include <QLabel>

namespace orb
{

// A caption label that reports clicks and the pointer entering and leaving.
// Skinned buttons are such a label lying exactly over a picture label.
// From the keyboard it is reached by Tab and clicked with Space or Enter;
// what it is to a screen reader is its ControlAccess (DescribeControl).
class ClickLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

    const ControlAccess& access() const { return access_; }
    void setAccess(ControlAccess access);
    // A click from the keyboard or an assistive tool: it lands only where a
    // pointer click in the middle of the label would (not under an overlay,
    // not while hidden or disabled). True when it landed.
    bool activate();

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
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    bool reachable() const;
    // Up/Down within a menu, Right into the menu this entry opened, Left back.
    bool moveInMenu(int key);
    ControlAccess access_;
};

} // namespace orb
