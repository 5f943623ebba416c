// A HID report descriptor as the kernel hands it over: any bytes. The walk
// must stay inside the buffer and give sane feature report lengths.
#include "device/ReportDescriptor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> desc(data, size);
    for (const orb::CollectionFeatures& c : orb::parseCollectionFeatures(desc)) {
        const int length = c.featureReportLength();
        // The largest report is capped at 1 MiB, plus one identifier byte.
        if (c.largestFeatureBytes < 0 || length < 0 || length > (1 << 20) + 1)
            std::abort();
    }
    (void)orb::hasCollectionWithFeatureLength(desc, 8);
    return 0;
}
