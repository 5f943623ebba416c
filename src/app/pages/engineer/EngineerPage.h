#pragma once
#include "app/base/EngineerLink.h"
#include "app/base/Page.h"
#include "image/SettingsRules.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <cstdint>

namespace orb
{

class AdvancedPage;
class EngineerHints;
class EngineerModeControl;
class ButtonTestRunner;
class KeyPage;
class LightingPage;
class MacroPage;

// The engineering page (gbPage6, option rb_7): every setting of the image as
// a plain control, both key modes side by side, and the factory buttons.
// Its action and page buttons (Btn_Load_6, btn_Write, Btn_Main_6 ...) are
// wired by the window like the skinned ones.
class EngineerPage : public Page
{
  public:
    EngineerPage(const PageContext& context, KeyPage& keys, AdvancedPage& advanced, LightingPage& lighting,
                 MacroPage& macros);

    // Engineering-tab parts of the level-count, light-type and MCU-mode
    // handlers: the lists and groups that follow those settings.
    void cb_CPIStepChange();
    void ShowLightTypeControls();
    void TLRefreshMCULEDMode();
    void TLRefreshAIMKey();
    void TLRefreshProfile1Keys();
    void TLRefreshProfile2Keys();
    void edt_VendorIDChange();
    void edt_ProductIDChange();

    // Once at start-up: the page's texts, font and lists by the system locale.
    void ApplyEngineerTexts(const QLocale& locale);
    // McuModeNames: the MCU mode names in the page's text column.
    const QStringList& mcuModeNames() const { return McuModeNames; }
    // Engineering mode (logo double-clicks, pass phrase, unlocked controls).
    EngineerModeControl& engineerMode() const { return *mode_; }

    // --- Steps ---
    // The page's controls into the parameter sections and the fire key.
    void UIToDataBuf();
    // The image's settings into the controls; returns them as shown (the
    // key mode decides the key page's mode).
    SettingsControls RefreshUI();
    // The identity bytes as read from the mouse (edt_VendorID_Rd, edt_ProductID_Rd).
    void ShowIdentity(const std::array<std::uint8_t, 2>& bytes);
    // Light type of the last image shown: "ZKLED", "MCULED" or empty.
    const QString& ledTypeShown() const { return LedTypeShown; }
    // What the advanced and lighting pages use of this page.
    EngineerLink link();
    void DeviceLost() override; // the light type is remembered afresh
    // The button test behind btn_TestKeys.
    ButtonTestRunner& buttonTest() const { return *buttonTest_; }

  private:
    void build();

    KeyPage& keys_;
    AdvancedPage& advanced_;
    LightingPage& lighting_;
    MacroPage& macros_;
    QString LedTypeShown;
    QStringList McuModeNames;
    EngineerModeControl* mode_ = nullptr;
    EngineerHints* hints_ = nullptr;
    ButtonTestRunner* buttonTest_ = nullptr;
};

} // namespace orb
