#pragma once
#include "skin/LayoutPlan.h"

namespace orb
{

// Layout rows of the host pointer settings on the advanced page (group D):
// the three eleven-step bars with their numbers under each step, and the
// two switches with their click targets.
const QList<LayoutRow>& HostSettingsLayoutRows();

// The bar prefixes in the order of the page: pointer speed, double-click
// speed, wheel lines ("Spd" names Img_Spd1..11, lbl_Spd1..11 and the keys Spd_X/_Y/_D).
const QStringList& HostSettingsBars();

} // namespace orb
