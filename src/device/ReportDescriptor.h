#pragma once
#include <cstddef>
#include <cstdint>

namespace orb
{

// What the host needs to know of an interface's HID report descriptor to
// size its feature reports.
struct FeatureReportInfo {
    int largestFeatureBytes = 0; // data bytes of the largest feature report
    bool usesReportIds = false;
    // Feature report length as the host reports it: the largest report plus
    // one byte for the identifier when identifiers are used; 0 without any.
    int featureReportLength() const
    {
        return largestFeatureBytes == 0 ? 0 : largestFeatureBytes + (usesReportIds ? 1 : 0);
    }
};

// Walks the items of a report descriptor. Malformed or truncated input ends
// the walk; nothing past `len` is read.
FeatureReportInfo parseFeatureReports(const std::uint8_t* desc, std::size_t len);

} // namespace orb
