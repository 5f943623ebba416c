#pragma once
#include "app/base/EngineerLink.h"
#include "app/base/Page.h"
#include "lighting/ColourDialog.h"
#include "lighting/CpiLevels.h"
#include "skin/LayoutText.h"

#include <QPointer>

namespace orb
{

class EngineerControls;
class FireKeyFields;
class HostMouseStore;
class HostMouseSystem;
class HostSettingsPanel;
class LedColourDialog;

// The advanced page (gbPage2, option rb_4): CPI levels, fire key, option
// pictures and the host pointer settings. The AIM bar on it belongs to the
// key page, which owns the AIM value. The CPI rows and the engineering
// tab's level controls show one model and are mirrored at once.
class AdvancedPage : public Page
{
  public:
    AdvancedPage(const PageContext& context, HostMouseStore& hostStore, HostMouseSystem& hostSystem);
    ~AdvancedPage() override;

    // The engineering tab's level controls, once they exist.
    void ConnectEngineer(const EngineerLink& engineer);

    // RefreshUI steps: what the page shows of the settings.
    void RefreshCpiLevelsView(); // level rows, bars, colours, current level
    // After the engineering tab's step change: the same, each swatch
    // keeping the colour that changed last.
    void FollowCpiStep();
    void RefreshFireFields();     // Edt_Repeat1, Edt_DelayTime1
    void RefreshOptionPictures(); // paired options and tick boxes
    // The page's controls into the section buffers (UIToDataBuf step).
    void UIToDataBuf();
    // The host pointer settings, before every write.
    void ApplyHostMouseSettings();

    // --- Level handlers; one per level in the form, the level n here an argument ---
    void cb_CPIStepChange(); // cb_CPIStep changed on the engineering tab
    void cb_CurrentCPIChange();
    void CurrentDPI_OnClick(int n);            // Img_DPIn
    void DPILevel_OnClick(int n);              // lbl_DPIn
    void DPIVlaue_OnClick(int n, int k);       // DPI1Vlaue_OnClick..: segment k of row n
    void cb_CPIChange(int n);                  // cb_CPI1Change..
    void cb_CPIColorChange(int n);             // cb_CPI1ColorChange..
    void edt_CPIRgbChange(int n, int channel); // edt_CPI1RChange..edt_CPI7BChange
    void lbl_DPIColClick(int n);               // lbl_DPI1ColClick..
    void RefreshNormalLEDColor();              // the colour dialog's confirm
    void TLEnableLEDCPIParam(int n);           // TLEnableLEDCPI3Param..
    void TLDisableLEDCPIParam(int n);          // TLDisableLEDCPI3Param..
    void PaintValueBar(int n, int v);

    const CpiLevels& levels() const { return Levels; }
    HostSettingsPanel& hostSettings() const { return *hostSettings_; }
    // Edt_Repeat1, Edt_DelayTime1 and their engineering mirrors.
    FireKeyFields& fireFields() const { return *fire_; }
    ColourDialogState& colourDialogState() { return ColourState; }
    LedColourDialog* colourDialog() const; // the open LED colour dialog, if any

    void ApplyLayout(const LayoutText& section) override;
    void Retranslate() override;
    void DeviceLost() override;

  private:
    HostSettingsPanel* hostSettings_; // the pointer settings' bars and switches
    FireKeyFields* fire_ = nullptr;

    void build();
    // The model into both views: the rows of this page and the engineering controls.
    void showLevels();
    void showRow(int n);
    void showEngineerLevels();
    QString ledTypeShown() const;

    EngineerLink engineer_;
    CpiLevels Levels;
    ColourDialogState ColourState;
    QPointer<LedColourDialog> dialog_;
    Rgb activeColour_{255, 0, 0};
    Rgb inactiveColour_{255, 255, 255};
};

} // namespace orb
