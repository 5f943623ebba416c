#include "device/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <vector>

using orb::parseFeatureReports;

namespace
{
struct DescriptorCase {
    const char* name;
    std::vector<std::uint8_t> desc;
    int expectedLength;
    bool usesIds;
};

// A gaming mouse's configuration collection: vendor page, report ID 4,
// seven data bytes of feature.
const std::vector<std::uint8_t> kConfigCollection = {
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

// A boot mouse: input only, no report IDs.
const std::vector<std::uint8_t> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
    0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// Input collection with report IDs and two feature reports of different
// sizes (the largest counts), plus a push/pop that must restore the size.
const std::vector<std::uint8_t> kTwoFeatures = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01,
    0x75, 0x08, 0x95, 0x04, 0x81, 0x02,             // input, ID 1, 4 bytes
    0x85, 0x02, 0x95, 0x02, 0xB1, 0x02,             // feature ID 2: 2 bytes
    0xA4,                                           // push
    0x85, 0x03, 0x75, 0x10, 0x95, 0x02, 0xB1, 0x02, // feature ID 3: 4 bytes
    0xB4,                                           // pop: size 8, count 2, ID 2
    0x95, 0x01, 0xB1, 0x02,                         // ID 2 grows to 3 bytes
    0xC0,
};

// Feature report without report IDs: the length has no identifier byte.
const std::vector<std::uint8_t> kNoIdsFeature = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0,
};
} // namespace

TEST(ReportDescriptor, FeatureLengthOfMouseShapedDescriptors)
{
    const DescriptorCase cases[] = {
        {"config collection with report ID", kConfigCollection, 8, true},
        {"boot mouse, no feature", kBootMouse, 0, false},
        {"two feature reports, push/pop", kTwoFeatures, 5, true},
        {"feature without report IDs", kNoIdsFeature, 8, false},
    };
    for (const auto& c : cases) {
        const auto info = parseFeatureReports(c.desc.data(), c.desc.size());
        EXPECT_EQ(info.featureReportLength(), c.expectedLength) << c.name;
        EXPECT_EQ(info.usesReportIds, c.usesIds) << c.name;
    }
}

TEST(ReportDescriptor, TruncatedOrGarbageInputIsSafe)
{
    // Cut the config collection at every length: never reads past the end.
    for (std::size_t n = 0; n <= kConfigCollection.size(); ++n) {
        std::vector<std::uint8_t> cut(kConfigCollection.begin(), kConfigCollection.begin() + n);
        const auto info = parseFeatureReports(cut.data(), cut.size());
        EXPECT_LE(info.featureReportLength(), 8);
    }
    const std::vector<std::uint8_t> longItem = {0xFE, 0xFF, 0x10, 0x01};
    EXPECT_EQ(parseFeatureReports(longItem.data(), longItem.size()).featureReportLength(), 0);
    const std::vector<std::uint8_t> hugeCount = {0x85, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF,
                                                 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02};
    EXPECT_GT(parseFeatureReports(hugeCount.data(), hugeCount.size()).featureReportLength(), 0);
    EXPECT_EQ(parseFeatureReports(nullptr, 10).featureReportLength(), 0);
}
