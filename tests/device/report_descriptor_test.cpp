#include "device/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using orb::CollectionFeatures;
using orb::hasCollectionWithFeatureLength;
using orb::parseCollectionFeatures;

namespace
{
using Bytes = std::vector<std::uint8_t>;

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A gaming mouse's configuration collection: vendor page, report ID 4,
// seven data bytes of feature.
const Bytes kConfigCollection = {
    0x06, 0x00, 0xFF, // Usage Page (vendor)
    0x09, 0x01,       // Usage
    0xA1, 0x01,       // Collection (application)
    0x85, 0x04,       //   Report ID 4
    0x15, 0x00,       //   Logical Minimum 0
    0x26, 0xFF, 0x00, //   Logical Maximum 255
    0x75, 0x08,       //   Report Size 8
    0x95, 0x07,       //   Report Count 7
    0x09, 0x01,       //   Usage
    0xB1, 0x02,       //   Feature (data, var, abs)
    0xC0,             // End Collection
};

// The same collection with a 64-byte feature report (65 with its identifier).
const Bytes kLongConfigCollection = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04,
    0x75, 0x08, 0x95, 0x40, 0x09, 0x01, 0xB1, 0x02, 0xC0,
};

// A keyboard with LED output reports, report ID 1.
const Bytes kKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25,
    0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75,
    0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

// Consumer control, report ID 2, input only.
const Bytes kConsumer = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03,
    0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
};

// Consumer control that also carries a 64-byte feature report (report ID 6,
// 63 data bytes).
const Bytes kConsumerWithLongFeature = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF,
    0x03, 0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00,
    0x85, 0x06, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0xB1, 0x02, 0xC0,
};

// A boot mouse: input only, no report IDs.
const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
    0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// Input collection with report IDs and two feature reports of different
// sizes (the largest counts), plus a push/pop that must restore the size.
const Bytes kTwoFeatures = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01,
    0x75, 0x08, 0x95, 0x04, 0x81, 0x02,             // input, ID 1, 4 bytes
    0x85, 0x02, 0x95, 0x02, 0xB1, 0x02,             // feature ID 2: 2 bytes
    0xA4,                                           // push
    0x85, 0x03, 0x75, 0x10, 0x95, 0x02, 0xB1, 0x02, // feature ID 3: 4 bytes
    0xB4,                                           // pop: size 8, count 2, ID 2
    0x95, 0x01, 0xB1, 0x02,                         // ID 2 grows to 3 bytes
    0xC0,
};

// Feature report without report IDs: Windows still counts a zero identifier byte.
const Bytes kNoIdsFeature = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0,
};

// The configuration feature inside a logical sub-collection; the outer
// application collection then adds a 16-byte feature report (ID 5). The
// sub-collection belongs to its top-level collection: one collection, 16 bytes.
const Bytes kNestedWithLonger = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,             // vendor application
    0x09, 0x02, 0xA1, 0x02,                               //   logical
    0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0, //     ID 4: 7 bytes
    0x85, 0x05, 0x95, 0x0F, 0xB1, 0x02,                   //   ID 5: 15 bytes
    0xC0,
};

// The same nesting with only the configuration feature: one collection, 8 bytes.
const Bytes kNested = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x02, 0xA1, 0x02,
    0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0, 0xC0,
};

struct DescriptorCase {
    const char* name;
    Bytes desc;
    std::vector<int> lengths; // per top-level collection, in order
    bool accepted;            // a collection with exactly 8 bytes
};

std::vector<DescriptorCase> cases()
{
    return {
        {"keyboard + consumer + vendor ID 4",
         cat({kKeyboard, kConsumer, kConfigCollection}),
         {0, 0, 8},
         true},
        {"the same with a 64-byte feature in the consumer collection",
         cat({kKeyboard, kConsumerWithLongFeature, kConfigCollection}),
         {0, 64, 8},
         true},
        {"only feature report 65 bytes", cat({kKeyboard, kLongConfigCollection}), {0, 65}, false},
        {"config collection alone", kConfigCollection, {8}, true},
        {"boot mouse, no feature", kBootMouse, {0}, false},
        {"two feature reports, push/pop", kTwoFeatures, {5}, false},
        {"8 data bytes without report IDs", kNoIdsFeature, {9}, false},
        {"nested, config feature only", kNested, {8}, true},
        {"nested, longer feature in the same collection", kNestedWithLonger, {16}, false},
    };
}

std::vector<int> lengthsOf(const Bytes& desc)
{
    std::vector<int> out;
    for (const auto& c : parseCollectionFeatures(desc))
        out.push_back(c.featureReportLength());
    return out;
}
} // namespace

TEST(ReportDescriptor, FeatureLengthPerTopLevelCollection)
{
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lengthsOf(c.desc), c.lengths);
        EXPECT_EQ(hasCollectionWithFeatureLength(c.desc, 8), c.accepted);
    }
}

TEST(ReportDescriptor, CollectionsKeepTheirUsageAndReportIds)
{
    const auto cols = parseCollectionFeatures(cat({kKeyboard, kConsumer, kConfigCollection}));
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(cols[0].usagePage, 0x01u);
    EXPECT_EQ(cols[0].usage, 0x06u);
    EXPECT_EQ(cols[1].usagePage, 0x0Cu);
    EXPECT_EQ(cols[2].usagePage, 0xFF00u);
    EXPECT_EQ(cols[2].usage, 0x01u);
    for (const auto& c : cols)
        EXPECT_TRUE(c.usesReportIds);
    EXPECT_FALSE(parseCollectionFeatures(kNoIdsFeature).at(0).usesReportIds);
    EXPECT_FALSE(parseCollectionFeatures(kBootMouse).at(0).usesReportIds);
}

TEST(ReportDescriptor, TruncatedDescriptorsAreJudgedOnWhatWasRead)
{
    // Cut the composite node at every length: nothing past the cut is read,
    // and the node is accepted only once the vendor collection's feature item
    // is whole.
    const Bytes node = cat({kKeyboard, kConsumer, kConfigCollection});
    const std::size_t featureEnd = node.size() - 1; // just before its End Collection
    for (std::size_t n = 0; n <= node.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes cut(node.begin(), node.begin() + std::ptrdiff_t(n));
        const auto cols = parseCollectionFeatures(cut);
        EXPECT_LE(cols.size(), 3u);
        for (const auto& c : cols)
            EXPECT_LE(c.featureReportLength(), 8);
        EXPECT_EQ(hasCollectionWithFeatureLength(cut, 8), n >= featureEnd);
    }
    // A long item whose size runs past the end, and an item cut in its data.
    const Bytes longItem = {0xFE, 0xFF, 0x10, 0x01};
    EXPECT_TRUE(parseCollectionFeatures(longItem).empty());
    const Bytes cutData = {0xA1, 0x01, 0x85, 0x04, 0x75, 0x08, 0x96, 0x07};
    EXPECT_EQ(lengthsOf(cutData), std::vector<int>{0});
    EXPECT_TRUE(parseCollectionFeatures({}).empty());
}

TEST(ReportDescriptor, HugeAndLooseFeatureItemsAreSafe)
{
    // Feature items outside any collection form one of their own; sizes near
    // the 32-bit limit saturate instead of wrapping round to a small length.
    const Bytes hugeCount = {0x85, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF,
                             0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02};
    const auto cols = parseCollectionFeatures(hugeCount);
    ASSERT_EQ(cols.size(), 1u);
    EXPECT_GT(cols[0].featureReportLength(), 8);
    // Unbalanced End Collection items are ignored.
    const Bytes unbalanced = cat({{0xC0, 0xC0}, kConfigCollection, {0xC0}});
    EXPECT_EQ(lengthsOf(unbalanced), std::vector<int>{8});
}
