#pragma once

namespace orb
{

class AdvancedPage;
class EngineerPage;
class KeyPage;
class LightingPage;
class MacroPage;

// The three steps between the section buffers of the image and the pages,
// in their fixed order, each delegated to the page that owns the controls.
class PageMapping
{
  public:
    PageMapping(KeyPage& key, AdvancedPage& advanced, LightingPage& lighting, MacroPage& macro,
                EngineerPage& engineer);

    // Controls to section buffers, before JoinImage of every write.
    void UIToDataBuf();
    // The key codes from the profile section, then RefreshUI.
    void DataBufToUI();
    // Every page shows the section buffers.
    void RefreshUI();

  private:
    KeyPage& key_;
    AdvancedPage& advanced_;
    LightingPage& lighting_;
    MacroPage& macro_;
    EngineerPage& engineer_;
};

} // namespace orb
