#pragma once
#include "app/Page.h"

namespace orb
{

class HostMouseStore;
class HostMouseSystem;
class HostSettingsPanel;
class FireKeyFields;

// The advanced page (gbPage2, option rb_4): CPI levels, fire key, option
// pictures and the host pointer settings. The AIM bar on it belongs to the
// key page, which owns the AIM value. The CPI, fire-key and host-settings
// work fills the steps below.
class AdvancedPage : public Page
{
  public:
    AdvancedPage(const PageContext& context, HostMouseStore& hostStore, HostMouseSystem& hostSystem);

    void ApplyLayout(const LayoutText& section) override;
    void Retranslate() override;

    // RefreshUI steps: what the page shows of the settings.
    void RefreshCpiLevelsView();  // level rows, bars, colours, current level
    void RefreshFireFields();     // Edt_Repeat1, Edt_DelayTime1
    void RefreshOptionPictures(); // paired options and tick boxes
    // The page's controls into the section buffers (UIToDataBuf step).
    void UIToDataBuf();
    // The host pointer settings, before every write.
    void ApplyHostMouseSettings();
    HostSettingsPanel& hostSettings() const { return *hostSettings_; }
    // Edt_Repeat1, Edt_DelayTime1 and their engineering mirrors.
    FireKeyFields& fireFields() const { return *fire_; }

  private:
    HostSettingsPanel* hostSettings_; // the pointer settings' bars and switches
    FireKeyFields* fire_ = nullptr;
};

} // namespace orb
