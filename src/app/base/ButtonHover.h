#pragma once
#include "core/Clock.h"
#include "skin/CaptionScroll.h"

#include <QObject>
#include <memory>

namespace orb
{

class ClickLabel;
class DeviceSession;
class PageStack;
class Skin;

// The pointer pictures of the skinned caption labels and the caption
// scrolling under the pointer (the LabelRun timer).
class ButtonHover : public QObject
{
  public:
    ButtonHover(QWidget* window, Skin& skin, PageStack& stack, DeviceSession& session);
    ~ButtonHover() override;

    // Gives a skinned caption label the pointer pictures and caption
    // scrolling of its family (by name); for the labels of every page.
    void wireButtonVisuals(ClickLabel* label);
    void ButtonMouseEnter(ClickLabel* label);
    void ButtonMouseLeave(ClickLabel* label);
    void LabelRunTimer();

    // The caption that scrolls now and its own text.
    CaptionScroll& scroll() { return Scroll; }
    Timer& labelRun() { return *LabelRun_; }

  private:
    QWidget* window_;
    Skin& skin_;
    PageStack& stack_;
    DeviceSession& session_;
    CaptionScroll Scroll;
    std::unique_ptr<Timer> LabelRun_;
};

} // namespace orb
