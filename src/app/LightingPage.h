#pragma once
#include "app/Page.h"

namespace orb
{

class KeyModeMemory;

// The lighting page (gbPage3, option rb_5): light type, LED modes and their
// bars. The lighting work fills the steps below.
class LightingPage : public Page
{
  public:
    explicit LightingPage(const PageContext& context);

    // What the page shows of the settings (RefreshUI and the engineering handlers).
    void RefreshLightTypeView(); // the items of the light type
    void RefreshMcuModeView();   // the mode options
    void RefreshLedPictures();   // LED mode pictures and bars
    // The page's controls into the section buffers (UIToDataBuf step).
    void UIToDataBuf();
    void ApplyLayout(const LayoutText& section) override;

    // Img_SaveKeyMode / Img_NoSaveKeyMode and the key-mode memory's handlers.
    KeyModeMemory& keyModeMemory() const { return *keyModeMemory_; }

  private:
    KeyModeMemory* keyModeMemory_ = nullptr;
};

} // namespace orb
