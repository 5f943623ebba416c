#pragma once
#include <QObject>

#include <array>

class QCheckBox;
class QLabel;
class QWidget;

namespace orb
{

class ClickLabel;
class LayoutText;
class Skin;

// The key page's picture tick boxes for the long presses that switch the
// key mode: Img_ComboKey1 / IB_ComboKey1 for cb_MidPress and Img_ComboKey2 /
// IB_ComboKey2 for cb_CPIPress (engineering page). A click toggles the tick
// box; the picture follows the tick box however it changes.
class ComboKeyOptions : public QObject
{
  public:
    ComboKeyOptions(QWidget* keyPage, Skin& skin);

    void ConnectEngineerControls(QWidget* engineerPage);
    // ComboKey1_, ComboKey2_: picture at (X, Y), label at (X, Y - 2);
    // font size Size_C - 1, colour Color_C_.
    void ApplyLayout(const LayoutText& section);
    void Retranslate(); // five blanks and Str700 / Str701

    void IB_ComboKey1Click() { toggle(1); }
    void IB_ComboKey2Click() { toggle(2); }

  private:
    void toggle(int option);
    void showPicture(int option);

    Skin& skin_;
    std::array<QLabel*, 2> pictures_{};
    std::array<ClickLabel*, 2> labels_{};
    std::array<QCheckBox*, 2> boxes_{}; // cb_MidPress, cb_CPIPress
};

} // namespace orb
