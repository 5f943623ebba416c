#include "skin/CaptionScroll.h"

namespace orb
{

const QString& CaptionScroll::step()
{
    // The count runs 1..20 and then 2..20 again, so the gap is added once per entry.
    if (++ticks > 20)
        ticks = 2;
    const QString first = working.left(1);
    const QString rest = working.mid(1);
    if (ticks == 1)
        working = rest + QStringLiteral("    ") + first;
    else
        working = rest + first;
    return working;
}

} // namespace orb
