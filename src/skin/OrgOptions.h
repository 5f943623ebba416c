#pragma once
#include "skin/LayoutText.h"

#include <QString>

namespace orb
{

// The general options [org], read once at start.
struct OrgOptions {
    int Web_Enable = 1; // 1: the web button opens Web; otherwise it only changes its picture
    QString Web;        // address the web button opens
    int Web_X = 0;      // position of the web buttons
    int Web_Y = 0;
    int Rev_Manu_ID = 0; // second accepted identity of the mouse
    int Rev_Pro_ID = 0;
    QString Path;          // folder of the macro library file; empty: the program's folder
    int TR_Enable = 0;     // 1: captions scroll under the pointer
    int DPILED_Status = 1; // value bars: 1 only the chosen segment lit, 0 all up to it
    int Num_Order = 0;     // MCU light bar captions: 0 ascending, 1 descending
};

// Reads the options from an [org] section. Every value but Web and Path is an
// integer read strictly (LayoutError naming the key when missing or not a
// number); Web and Path are texts, empty when absent. Num_Order is clamped to
// 0..1.
OrgOptions LoadOrgOptions(const LayoutText& org);
// The same from the embedded text "org".
OrgOptions LoadOrgOptions();

} // namespace orb
