#include "skin/CaptionScroll.h"

namespace orb
{

const QString& CaptionScroll::step()
{
    // The count runs 1..20 and then 2..20 again, so the gap is added once per entry.
    if (++ticks > 20)
        ticks = 2;
    // One character, which may be two UTF-16 units (a surrogate pair).
    const qsizetype width = working.size() > 1 && working.at(0).isHighSurrogate() ? 2 : 1;
    const QString first = working.left(width);
    const QString rest = working.mid(width);
    if (ticks == 1)
        working = rest + QStringLiteral("    ") + first;
    else
        working = rest + first;
    return working;
}

} // namespace orb
