#pragma once
#include <functional>

class QWidget;

namespace orb
{

class DeviceSession;
class Skin;

// The action buttons of the frame (on every user page copy, and their
// twins on the engineering page): each shows its pressed picture, refuses
// without a mouse, and runs a procedure of the device session.
class FrameActions
{
  public:
    FrameActions(QWidget* window, DeviceSession& session, Skin& skin, std::function<void()> hideAllMenu);

    void Btn_Confirm_0Click(); // write, then close the window
    void Btn_Apply_0Click();
    void Btn_Read_0Click();
    void Btn_Confirm1_1Click(); // default images 1..3
    void Btn_Confirm2_1Click();
    void Btn_Confirm3_1Click();
    void Btn_DefaultClick(); // factory reset, engineering mode
    void Btn_Save_0Click();  // the mouse's image, read afresh, into a profile file
    void Btn_Load_0Click();  // a profile file into the image and the mouse

  private:
    // What every action button does first: its pressed picture on all
    // copies, the pumped wait when it has one, and the no-mouse refusal.
    // True when a mouse is there to act on.
    bool startAction(const char* group, bool wait);

    QWidget* window_;
    DeviceSession& session_;
    Skin& skin_;
    std::function<void()> hideAllMenu_;
};

} // namespace orb
