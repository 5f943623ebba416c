#include "skin/OrgOptions.h"

#include <algorithm>

namespace orb
{

OrgOptions LoadOrgOptions(const LayoutText& org)
{
    OrgOptions o;
    o.Web_Enable = org.intValue(QStringLiteral("Web_Enable"));
    o.Web = org.text(QStringLiteral("Web"));
    o.Web_X = org.intValue(QStringLiteral("Web_X"));
    o.Web_Y = org.intValue(QStringLiteral("Web_Y"));
    o.Rev_Manu_ID = org.intValue(QStringLiteral("Rev_Manu_ID"));
    o.Rev_Pro_ID = org.intValue(QStringLiteral("Rev_Pro_ID"));
    o.Path = org.text(QStringLiteral("Path"));
    o.TR_Enable = org.intValue(QStringLiteral("TR_Enable"));
    o.DPILED_Status = org.intValue(QStringLiteral("DPILED_Status"));
    // Negative counts as ascending, anything above 1 as descending.
    o.Num_Order = std::clamp(org.intValue(QStringLiteral("Num_Order")), 0, 1);
    return o;
}

OrgOptions LoadOrgOptions()
{
    return LoadOrgOptions(LayoutText::load(QStringLiteral("org")));
}

} // namespace orb
