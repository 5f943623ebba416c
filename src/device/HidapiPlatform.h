#pragma once
#include "device/HidPlatform.h"

namespace orb
{

// The host's HID interfaces through hidapi (hidraw backend on Linux). The
// feature report length is taken from the interface's report descriptor.
class HidapiPlatform final : public HidPlatform
{
  public:
    HidapiPlatform();
    ~HidapiPlatform() override;
    std::optional<std::vector<std::string>> listInterfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
};

// The report descriptor of a hidraw node ("/dev/hidraw3"), read from sysfs;
// empty when it cannot be read.
std::vector<std::uint8_t> readHidrawReportDescriptor(const std::string& devicePath);

} // namespace orb
