#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orb
{

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
};

// One opened HID interface.
class HidDevice
{
  public:
    virtual ~HidDevice() = default;
    virtual bool attributes(HidAttributes& out) = 0;
    // Length in bytes of the interface's feature reports as the host reports
    // it: the largest feature report plus one byte for the report identifier
    // when the interface uses identifiers; 0 when it has none or is unknown.
    virtual int featureReportLength() = 0;
    // buf[0] holds the report identifier.
    virtual bool setFeature(const std::uint8_t* buf, std::size_t len) = 0;
    // On failure `buf` is left exactly as it was.
    virtual bool getFeature(std::uint8_t* buf, std::size_t len) = 0;
};

// The host's HID interfaces.
class HidPlatform
{
  public:
    virtual ~HidPlatform() = default;
    // Paths of the present HID interfaces; nothing when the list cannot be had.
    virtual std::optional<std::vector<std::string>> listInterfaces() = 0;
    // Opens one interface; null when it refuses.
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;
};

} // namespace orb
