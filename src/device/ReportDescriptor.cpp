#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace orb
{

namespace
{
struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};
} // namespace

FeatureReportInfo parseFeatureReports(const std::uint8_t* desc, std::size_t len)
{
    FeatureReportInfo info;
    if (!desc)
        return info;
    Globals g;
    std::vector<Globals> stack;
    std::map<std::uint32_t, std::uint64_t> featureBits; // by report identifier

    std::size_t i = 0;
    while (i < len) {
        const std::uint8_t prefix = desc[i++];
        if (prefix == 0xFE) { // long item: size, tag, data
            if (i + 2 > len)
                break;
            const std::size_t size = desc[i];
            i += 2 + size;
            continue;
        }
        static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 3];
        if (i + size > len)
            break;
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < size; ++k)
            value |= std::uint32_t(desc[i + k]) << (8 * k);
        i += size;

        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == 1) { // global
            switch (tag) {
            case 7:
                g.reportSize = value;
                break;
            case 8:
                g.reportId = value;
                info.usesReportIds = true;
                break;
            case 9:
                g.reportCount = value;
                break;
            case 10:
                stack.push_back(g);
                break;
            case 11:
                if (!stack.empty()) {
                    g = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == 0 && tag == 0xB) { // main: Feature
            // Saturating: a crafted descriptor must not wrap round to a small length.
            constexpr std::uint64_t kCap = std::uint64_t(1) << 40;
            auto& bits = featureBits[g.reportId];
            bits = std::min(kCap, bits + std::min(kCap, std::uint64_t(g.reportSize) * g.reportCount));
        }
    }
    for (const auto& [id, bits] : featureBits)
        info.largestFeatureBytes =
            std::max(info.largestFeatureBytes, int(std::min<std::uint64_t>((bits + 7) / 8, 1 << 20)));
    return info;
}

} // namespace orb
