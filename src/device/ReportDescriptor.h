#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orb
{

// Feature reports of one top-level collection of a HID report descriptor.
// Windows gives every top-level collection its own interface, and Linux puts
// them all on one hidraw node, so the mouse is judged collection by collection.
struct CollectionFeatures {
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
    int largestFeatureBytes = 0; // data bytes of the collection's largest feature report
    bool usesReportIds = false;
    // Feature report length as Windows reports it: the largest report plus
    // the report identifier byte, which Windows always counts (a zero byte
    // when the device uses no identifiers); 0 when the collection has no
    // feature report.
    int featureReportLength() const { return largestFeatureBytes == 0 ? 0 : largestFeatureBytes + 1; }
};

// Walks the items of a report descriptor and sizes the feature reports of
// each top-level collection, nested collections counted with the one they
// sit in. Feature items outside any collection form a collection of their
// own. A truncated descriptor ends the walk at the cut item; the collections
// read so far, an unclosed last one included, are returned. Nothing past the
// end of `desc` is read.
std::vector<CollectionFeatures> parseCollectionFeatures(std::span<const std::uint8_t> desc);

// True when one top-level collection of `desc` has feature reports of exactly
// `length` bytes (identifier byte included).
bool hasCollectionWithFeatureLength(std::span<const std::uint8_t> desc, int length);

} // namespace orb
