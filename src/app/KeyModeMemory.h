#pragma once
#include <QObject>

#include <functional>

class QComboBox;
class QRadioButton;
class QWidget;

namespace orb
{

class LayoutText;
class Skin;

// Whether the mouse remembers its key mode over a power cycle: rb_Save /
// rb_NoSave on the engineering page, offered on the lighting page as the
// radio pictures Img_SaveKeyMode / Img_NoSaveKeyMode with their labels.
// "No save" puts cb_KeyMode on key mode A and locks it until "save" is
// chosen again. Also the fire function option (rb_FireFnOn / rb_FireFnOff),
// whose click only closes the menus.
class KeyModeMemory : public QObject
{
  public:
    KeyModeMemory(QWidget* lightingPage, Skin& skin, std::function<void()> hideAllMenu);

    void ConnectEngineerControls(QWidget* engineerPage);
    // SaveKeyMode_, NoSaveKeyMode_: picture and label at (X, Y).
    void ApplyLayout(const LayoutText& section);

    void rb_SaveClick();
    void rb_NoSaveClick();
    // The labels choose as the radio buttons do, with their effect on the
    // key-mode list, so both ways leave the same state.
    void lbl_SaveKeyModeClick();
    void lbl_NoSaveKeyModeClick();

  private:
    // Pictures and the list's lock as the pair shows them (also after
    // RefreshUI, which keeps the key mode the image holds).
    void showChoice();

    Skin& skin_;
    std::function<void()> hideAllMenu_;
    QRadioButton* save_ = nullptr;
    QRadioButton* noSave_ = nullptr;
    QComboBox* keyMode_ = nullptr;
};

} // namespace orb
