#pragma once
#include "app/base/EngineerLink.h"
#include "app/base/Page.h"
#include "lighting/LedModes.h"

namespace orb
{

// The lighting page (gbPage3, option rb_5): LED on/off, the switching
// options, the MCU light's modes, LED-number and step bars and the key-mode
// colour cells. The engineering tab's light controls hold the settings; the
// page shows them and its clicks set them there at once.
class LightingPage : public Page
{
  public:
    explicit LightingPage(const PageContext& context);

    // The engineering tab's light controls, once they exist.
    void ConnectEngineer(const EngineerLink& engineer);

    // What the page shows of the settings (RefreshUI and the engineering handlers).
    void RefreshLightTypeView(); // the items of the light type
    void RefreshMcuModeView();   // the mode options
    void RefreshLedPictures();   // LED mode pictures and bars
    // The page's controls into the section buffers (UIToDataBuf step).
    void UIToDataBuf();

    // --- Handlers ---
    // Engineering option buttons: the lighting page's pair follows.
    void rb_LEDOnClick();
    void rb_LEDOffClick();
    void rb_MCPIOnClick();
    void rb_MCPIOffClick();
    void rb_LCPIOnClick();
    void rb_LCPIOffClick();
    void rb_SaveClick();   // cb_KeyMode enabled again
    void rb_NoSaveClick(); // cb_KeyMode forced to key mode A and locked
    // Lighting-page option labels: pictures, then the engineering option.
    void lbl_LEDOnClick();
    void lbl_LEDOffClick();
    void lbl_MCPIOnClick();
    void lbl_MCPIOffClick();
    void lbl_LCPIOnClick();
    void lbl_LCPIOffClick();
    void lbl_SaveKeyModeClick();
    void lbl_NoSaveKeyModeClick();
    void edt_NorLEDStepChange();
    void cb_MCULEDCurrentModeChange();
    void lbl_MCULEDMode1Click(int n); // shared by lbl_MCULEDMode1..7
    void edt_MCULEDNumChange();
    void edt_MCULEDNumExit();
    void MCULEDNum_OnClick(int k);
    void edt_MCULEDCrtStepChange();
    void MCULEDStep_OnClick(int k);
    void edt_KeyModeRgbChange(int mode, int channel); // edt_KeyMode1RChange..edt_KeyMode2BChange
    void IB_ModeColor_0Click(int mode);               // IB_Mode1Color_0Click, IB_Mode2Color_0Click

    void ApplyLayout(const LayoutText& section) override;
    void Retranslate() override;

  private:
    void build();
    // The settings from the engineering controls into the helper model.
    void load();
    void showPage();
    void selectEngineer(const char* radio);
    QString edit(const QString& name) const;
    void setEdit(const QString& name, const QString& text);

    EngineerLink engineer_;
    LedModes Leds;
    // Raised while a bar click sets its edit's text, so the edit's change
    // handler leaves it alone.
    bool BarClicking = false;
};

} // namespace orb
