#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <optional>

namespace orb
{

namespace
{
struct Globals {
    std::uint32_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Item tags (prefix >> 4) by type.
enum MainTag { kInput = 0x8, kOutput = 0x9, kFeature = 0xB, kCollection = 0xA, kEndCollection = 0xC };
enum GlobalTag {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB
};
enum LocalTag { kUsage = 0x0 };

// One top-level collection being walked.
struct Open {
    CollectionFeatures info;
    std::map<std::uint32_t, std::uint64_t> featureBits; // by report identifier

    void close(std::vector<CollectionFeatures>& out)
    {
        for (const auto& [id, bits] : featureBits)
            info.largestFeatureBytes =
                std::max(info.largestFeatureBytes, int(std::min<std::uint64_t>((bits + 7) / 8, 1 << 20)));
        out.push_back(info);
    }
};
} // namespace

std::vector<CollectionFeatures> parseCollectionFeatures(std::span<const std::uint8_t> desc)
{
    std::vector<CollectionFeatures> out;
    Globals g;
    std::vector<Globals> stack;
    std::optional<Open> current; // the top-level collection the walk is in
    int depth = 0;
    // The last local usage before a collection, page in the high half.
    std::uint32_t usage = 0;
    bool haveUsage = false;

    const std::size_t len = desc.size();
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
        if (size > len - i)
            break;
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < size; ++k)
            value |= std::uint32_t(desc[i + k]) << (8 * k);
        i += size;

        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == 1) { // global
            switch (tag) {
            case kUsagePage:
                g.usagePage = value;
                break;
            case kReportSize:
                g.reportSize = value;
                break;
            case kReportId:
                g.reportId = value;
                if (current)
                    current->info.usesReportIds = true;
                break;
            case kReportCount:
                g.reportCount = value;
                break;
            case kPush:
                stack.push_back(g);
                break;
            case kPop:
                if (!stack.empty()) {
                    g = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == 2) {  // local
            if (tag == kUsage) { // a 4-byte usage carries its own page
                usage = size == 4 ? value : (g.usagePage << 16) | (value & 0xFFFF);
                haveUsage = true;
            }
        } else if (type == 0) { // main
            if (tag == kCollection) {
                if (depth == 0) {
                    if (current)
                        current->close(out); // items that stood outside any collection
                    current.emplace();
                    const std::uint32_t u = haveUsage ? usage : g.usagePage << 16;
                    current->info.usagePage = u >> 16;
                    current->info.usage = u & 0xFFFF;
                    current->info.usesReportIds = g.reportId != 0;
                }
                ++depth;
            } else if (tag == kEndCollection) {
                if (depth > 0 && --depth == 0 && current) {
                    current->close(out);
                    current.reset();
                }
            } else if (tag == kFeature) {
                if (!current) {
                    current.emplace(); // feature items outside any collection
                    current->info.usesReportIds = g.reportId != 0;
                }
                // Saturating: a crafted descriptor must not wrap round to a small length.
                constexpr std::uint64_t kCap = std::uint64_t(1) << 40;
                auto& bits = current->featureBits[g.reportId];
                bits = std::min(kCap, bits + std::min(kCap, std::uint64_t(g.reportSize) * g.reportCount));
            }
            haveUsage = false; // locals last until the next main item
        }
    }
    if (current)
        current->close(out); // truncated inside a collection, or loose items at the end
    return out;
}

bool hasCollectionWithFeatureLength(std::span<const std::uint8_t> desc, int length)
{
    const auto collections = parseCollectionFeatures(desc);
    return std::any_of(collections.begin(), collections.end(),
                       [length](const CollectionFeatures& c) { return c.featureReportLength() == length; });
}

} // namespace orb
