#include "lighting/ValueBar.h"

#include <algorithm>

namespace orb
{

std::vector<bool> BarSegmentsLit(int segmentCount, int chosen, int dpiLedStatus)
{
    std::vector<bool> lit(static_cast<std::size_t>(std::max(segmentCount, 0)), false);
    if (chosen < 1 || chosen > segmentCount)
        return lit;
    for (int k = 1; k <= segmentCount; ++k)
        lit[static_cast<std::size_t>(k - 1)] = dpiLedStatus == 1 ? k == chosen : k <= chosen;
    return lit;
}

std::vector<QString> BarPictures(int segmentCount, int chosen, int dpiLedStatus, const QString& lit,
                                 const QString& dim)
{
    std::vector<QString> out;
    for (bool on : BarSegmentsLit(segmentCount, chosen, dpiLedStatus))
        out.push_back(on ? lit : dim);
    return out;
}

int CaptionSegment(int label, int labelCount, int numOrder)
{
    return numOrder >= 1 ? labelCount + 1 - label : label;
}

int EditValue(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : -1;
}

QString ClampByteText(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("0");
    if (EditValue(text) > 255)
        return QStringLiteral("255");
    return text;
}

} // namespace orb
