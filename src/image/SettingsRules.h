#pragma once
// The rules that move the settings between the setting controls and the
// parameter and fire-key sections, kept apart from the widgets: the window
// reads its controls into SettingsControls, and shows what comes back.
#include "image/ConfigImage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace orb
{

// Which of a pair of radio buttons is selected.
enum class PairChoice { First, Second, Neither };

// Items of the sensor orientation list; the code is bits 6..4 of byte 0x000.
inline constexpr int SensorOriCount = 8;
// Orientation code (0..7) of a list index; nothing for an index outside the list.
std::optional<std::uint8_t> SensorOriCode(int index);
// List index of an orientation code (only its low three bits count).
int SensorOriIndex(std::uint8_t code);

// MCU LED count nibble (bits 7..4 of byte 0x003): 13 - count for 4..13 LEDs.
std::optional<std::uint8_t> LedCountNibble(int count);
// Number of LEDs a nibble stands for; nothing for nibbles 10..15.
std::optional<int> LedCountFromNibble(std::uint8_t nibble);

// The value each setting control holds. Lists hold their item index (-1 when
// nothing is selected); edits hold their integer value, or nothing when the
// text is not a number. Radio pairs name their first control in the comment.
struct SettingsControls {
    PairChoice mcpi = PairChoice::Neither;                    // rb_MCPIOn / rb_MCPIOff
    PairChoice fireFn = PairChoice::Neither;                  // rb_FireFnOn / rb_FireFnOff
    PairChoice lcpi = PairChoice::Neither;                    // rb_LCPIOn / rb_LCPIOff
    PairChoice noSave = PairChoice::Neither;                  // rb_NoSave / rb_Save
    PairChoice ledType = PairChoice::Neither;                 // rb_NorLED / rb_MCULED
    int sensorOri = -1;                                       // cb_SensorOri
    bool midPress = false;                                    // cb_MidPress
    bool cpiPress = false;                                    // cb_CPIPress
    bool gunPress = false;                                    // cb_GunPress
    int cpiStep = -1;                                         // cb_CPIStep
    PairChoice mcuScan = PairChoice::Neither;                 // rb_MCULED3Control / rb_MCULED6Control
    std::optional<int> mcuLedNum;                             // edt_MCULEDNum
    std::array<bool, 7> mcuModes{};                           // cb_Mode1..cb_Mode7
    std::optional<int> norLedStep;                            // edt_NorLEDStep
    std::array<int, 7> cpiValue{-1, -1, -1, -1, -1, -1, -1};  // cb_CPI1..cb_CPI7
    std::array<int, 7> cpiColour{-1, -1, -1, -1, -1, -1, -1}; // cb_CPI1Color..cb_CPI7Color
    std::array<std::optional<int>, 6> keyModeRgb;             // edt_KeyMode1R..edt_KeyMode2B
    std::array<std::optional<int>, 21> cpiRgb;                // edt_CPI1R, edt_CPI1G, edt_CPI1B .. edt_CPI7B
    int currentCpi = -1;                                      // cb_CurrentCPI
    bool norLedCpi = false;                                   // rb_NorLEDCPI
    int mcuCurrentMode = -1;                                  // cb_MCULEDCurrentMode
    std::optional<int> mcuStep;                               // edt_MCULEDCrtStep
    PairChoice ledOff = PairChoice::Neither;                  // rb_LEDOff / rb_LEDOn
    int keyMode = -1;                                         // cb_KeyMode
    std::optional<int> vendorId;                              // edt_VendorID
    std::optional<int> productId;                             // edt_ProductID
    int fireCount = -1;                                       // cb_FireCount
    std::optional<int> fireTime;                              // edt_FireTime
};

// Stores the controls into the sections. Values go in as their low 8 bits;
// a pair with neither button selected, an edit without a number and the
// out-of-range cases of the individual fields leave their bits as they were.
// The checksums are left to JoinImage.
void StoreSettings(const SettingsControls& controls, ParameterABytes& a, ParameterBBytes& b,
                   FireKeyBytes& fire);

// Shows the sections in the controls. Fields the bytes say nothing about
// (an LED count nibble of 10..15, a smart-LED state other than CPI breathing)
// keep the value they came in with. A level count outside 2..7 shows as the
// nearest of them.
void ShowSettings(const ParameterABytes& a, const ParameterBBytes& b, const FireKeyBytes& fire,
                  SettingsControls& controls);

} // namespace orb
