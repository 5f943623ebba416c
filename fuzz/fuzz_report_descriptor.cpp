// A HID report descriptor as the kernel hands it over: any bytes. The walk
// must stay inside the buffer and give a sane feature report length.
#include "device/ReportDescriptor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const orb::FeatureReportInfo info = orb::parseFeatureReports(data, size);
    const int length = info.featureReportLength();
    // The largest report is capped at 1 MiB, plus one identifier byte.
    if (info.largestFeatureBytes < 0 || length < 0 || length > (1 << 20) + 1)
        std::abort();
    return 0;
}
