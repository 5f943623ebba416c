#pragma once
#include "skin/LayoutText.h"

namespace orb
{

// Values the layout step keeps for the parts that colour or size controls
// later (level labels, menu hover, macro page, list rows).
struct LayoutKeep {
    int frontInset = 0;        // Btn_Space_F: page-button label inset, also for the engineer buttons
    int backInset = 0;         // Btn_Space_B
    Rgb levelActiveColour;     // Color_D_Selected_
    Rgb levelInactiveColour;   // Color_D_notSelected_
    Rgb menuLabelColour;       // Color_G_
    Rgb menuHoverFontColour;   // Color_G_SF_
    Rgb menuHoverBackColour;   // Color_G_SP_
    Rgb macroCaptionColour;    // Color_F_
    Rgb macroTextColour;       // Color_F_Font_
    Rgb macroButtonBackColour; // Color_F_Back_
    int listRowHeight = 0;     // MacroNameHeight: rows of the macro lists
    bool operator==(const LayoutKeep&) const = default;
};

// Reads the kept values from a layout section; LayoutError names a missing
// or malformed key.
LayoutKeep ReadLayoutKeep(const LayoutText& section);

} // namespace orb
