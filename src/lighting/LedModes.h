#pragma once
// The light settings as the lighting page and the engineering tab show them:
// light type, the on/off option pairs, the MCU light's modes, LED number and
// step with their bars, the breathing step and the two key-mode colours.
// Plain state; the pages copy it into their widgets after every call.
#include "image/SettingsRules.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace orb
{

inline constexpr int McuModeCount = 7;
inline constexpr int LedNumberMin = 4;
inline constexpr int LedNumberMax = 13;
inline constexpr int LedNumberSegments = 10; // segment k stands for k + 3 LEDs
inline constexpr int LedStepMax = 7;
inline constexpr int LedStepSegments = 8; // segment k stands for step k - 1

// Item of cb_MCULEDCurrentMode for a disabled mode.
inline const QString DisabledModeItem = QStringLiteral("------");

enum class LightType { None, Normal, Mcu };
LightType LightTypeOf(PairChoice ledType); // rb_NorLED / rb_MCULED

// What each light type shows (rb_NorLEDClick / rb_MCULEDClick). With no
// light type chosen every item below is hidden.
struct LightTypeView {
    // Engineering tab.
    bool norLedSetting = false;       // gbNorLEDSetting
    bool norLedCpiColour = false;     // gbNorLEDCPIColor
    bool keyMode1ColourEdits = false; // lbl_/edt_KeyMode1R, G, B
    bool mcuControlMode = false;      // gbMCULEDControlMode
    bool mcuCurrent = false;          // gbMCULEDCurrent
    bool mcuCpiColour = false;        // gbMCULEDCPIColor
    // Lighting page.
    bool lcpiPair = false;    // Img_/lbl_LCPIOn, Img_/lbl_LCPIOff
    bool modeOptions = false; // Img_/lbl_MCULEDMode1..7, narrowed by the enabled modes
    bool bars = false;        // both bars and their captions
    bool operator==(const LightTypeView&) const = default;
};
LightTypeView LightTypeViewFor(LightType type);

// The picture pair of an option pair: "RdS_E" on the chosen option, "RdS_D"
// on the other (both "RdS_D" with neither chosen).
struct PairPictures {
    QString first;
    QString second;
    bool operator==(const PairPictures&) const = default;
};
PairPictures PairPicturesFor(PairChoice choice);

// Captions of the bars' labels: lbl_MCULEDNum_j reads j + 3, lbl_MCULEDStep_j
// reads j - 1; CaptionSegment (ValueBar.h) says under which segment it stands.
QString LedNumberCaption(int label);
QString LedStepCaption(int label);

class LedModes
{
  public:
    // Show rules: every light item of an image, then the mode list rebuilt
    // with the image's current mode selected.
    void Show(const SettingsControls& controls);
    // Store rules for the items held here; the other fields are left as given.
    void Store(SettingsControls& controls) const;

    // Light type: the engineering tab's choice; the view follows it.
    PairChoice LightTypeChoice() const { return lightType_; }
    LightType Type() const { return LightTypeOf(lightType_); }
    void SetLightType(LightType type);
    LightTypeView View() const { return LightTypeViewFor(Type()); }

    // Option pairs. Each label click and engineering click sets the choice;
    // the pictures follow.
    PairChoice LedOff() const { return ledOff_; } // rb_LEDOff / rb_LEDOn
    PairChoice Mcpi() const { return mcpi_; }     // rb_MCPIOn / rb_MCPIOff
    PairChoice Lcpi() const { return lcpi_; }     // rb_LCPIOn / rb_LCPIOff
    void SetLedOn(bool on) { ledOff_ = on ? PairChoice::Second : PairChoice::First; }
    void SetMcpiOn(bool on) { mcpi_ = on ? PairChoice::First : PairChoice::Second; }
    void SetLcpiOn(bool on) { lcpi_ = on ? PairChoice::First : PairChoice::Second; }
    PairPictures LedOnOffPictures() const; // Img_LEDOn / Img_LEDOff
    PairPictures McpiPictures() const { return PairPicturesFor(mcpi_); }
    PairPictures LcpiPictures() const { return PairPicturesFor(lcpi_); }

    // McuModeNames: the seven names, taken when the engineering texts are applied.
    void SetModeNames(const QStringList& names);
    QStringList ModeNames() const { return modeNames_; }
    // cb_Mode1..cb_Mode7 clicked: the list is rebuilt (TLRefreshMCULEDMode)
    // and its selection becomes item 0.
    void SetModeEnabled(int mode, bool enabled);
    bool ModeEnabled(int mode) const;
    // Items of cb_MCULEDCurrentMode: the name of each enabled mode, "------"
    // for a disabled one.
    QStringList CurrentModeItems() const;
    // Item index of cb_MCULEDCurrentMode (-1: none).
    int CurrentModeIndex() const { return currentMode_; }
    // cb_MCULEDCurrentModeChange.
    void SelectCurrentModeItem(int index);
    // lbl_MCULEDMode1Click for option n; a hidden option gives no click, so
    // a disabled mode changes nothing.
    void ClickModeOption(int mode);
    // Lighting-page option n: visible with the MCU light for an enabled mode,
    // "RdS_E" on the current mode.
    bool ModeOptionVisible(int mode) const;
    QString ModeOptionPicture(int mode) const;

    // edt_MCULEDNum while typing: 0, 2, 3 -> "4", above 13 -> "13", empty ->
    // "13"; a single "1" stays (it may become 10..13). Returns the text to
    // leave in the edit.
    QString EditLedNumber(const QString& text);
    // edt_MCULEDNumExit: a number below 4 becomes "4".
    QString LeaveLedNumber(const QString& text);
    // MCULEDNum_OnClick on segment k (1..10): the text for the edit.
    QString ClickLedNumberSegment(int segment);
    std::optional<int> LedNumber() const { return ledNumber_; }
    // "Bar1_E"/"Bar1_D" of the ten number segments; none lit below 4 LEDs.
    std::vector<QString> LedNumberBar(int dpiLedStatus) const;

    // edt_MCULEDCrtStep while typing: above 7 -> "7", empty -> "0".
    QString EditStep(const QString& text);
    // MCULEDStep_OnClick on segment k (1..8): the text for the edit.
    QString ClickStepSegment(int segment);
    std::optional<int> Step() const { return step_; }
    std::vector<QString> StepBar(int dpiLedStatus) const;

    // edt_NorLEDStepChange: empty -> "0", above 255 -> "255".
    QString EditNorLedStep(const QString& text);
    std::optional<int> NorLedStep() const { return norLedStep_; }

    // edt_KeyMode1RChange..edt_KeyMode2BChange (mode 1 or 2, channel 0..2):
    // empty -> "0", above 255 -> "255"; the mode's swatch follows.
    QString EditKeyModeRgb(int mode, int channel, const QString& text);
    // IB_Mode1Color_0Click / IB_Mode2Color_0Click confirmed in the picker.
    void SetKeyModeColour(int mode, const QColor& colour);
    QColor KeyModeColour(int mode) const;

  private:
    PairChoice lightType_ = PairChoice::Neither;
    PairChoice ledOff_ = PairChoice::Neither;
    PairChoice mcpi_ = PairChoice::Neither;
    PairChoice lcpi_ = PairChoice::Neither;
    QStringList modeNames_;
    std::array<bool, McuModeCount> modeEnabled_{};
    int currentMode_ = -1;
    std::optional<int> ledNumber_;
    std::optional<int> step_;
    std::optional<int> norLedStep_;
    std::array<int, 6> keyModeRgb_{};
};

} // namespace orb
