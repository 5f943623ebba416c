#pragma once
#include "device/HidPlatform.h"

namespace orb
{

// The host's HID interfaces through hidapi (hidraw backend on Linux).
class HidapiPlatform final : public HidPlatform
{
  public:
    HidapiPlatform();
    ~HidapiPlatform() override;
    std::optional<std::vector<HidInterfaceInfo>> listInterfaces() override;
    std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why = nullptr) override;
    std::vector<std::uint8_t> reportDescriptorOf(const std::string& path) override;
    std::string lockNodeOf(const std::string& path) override;
};

// The report descriptor of a hidraw node ("/dev/hidraw3") from sysfs; empty
// when it cannot be read (not Linux, not a hidraw path, node gone).
std::vector<std::uint8_t> readHidrawReportDescriptor(const std::string& devicePath);
// The same through the node's HIDIOCGRDESC ioctl; empty when that fails.
std::vector<std::uint8_t> ioctlHidrawReportDescriptor(const std::string& devicePath);

} // namespace orb
