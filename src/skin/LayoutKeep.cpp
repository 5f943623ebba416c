#include "skin/LayoutKeep.h"

namespace orb
{

LayoutKeep ReadLayoutKeep(const LayoutText& s)
{
    LayoutKeep k;
    k.frontInset = s.intValue(QStringLiteral("Btn_Space_F"));
    k.backInset = s.intValue(QStringLiteral("Btn_Space_B"));
    k.levelActiveColour = s.colour(QStringLiteral("Color_D_Selected_"));
    k.levelInactiveColour = s.colour(QStringLiteral("Color_D_notSelected_"));
    k.menuLabelColour = s.colour(QStringLiteral("Color_G_"));
    k.menuHoverFontColour = s.colour(QStringLiteral("Color_G_SF_"));
    k.menuHoverBackColour = s.colour(QStringLiteral("Color_G_SP_"));
    k.macroCaptionColour = s.colour(QStringLiteral("Color_F_"));
    k.macroTextColour = s.colour(QStringLiteral("Color_F_Font_"));
    k.macroButtonBackColour = s.colour(QStringLiteral("Color_F_Back_"));
    k.listRowHeight = s.intValue(QStringLiteral("MacroNameHeight"));
    return k;
}

} // namespace orb
