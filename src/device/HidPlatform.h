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

// A present HID interface as the host lists it, before it is opened.
struct HidInterfaceInfo {
    std::string path;
    HidAttributes attributes;
};

// Why an interface could not be opened.
enum class HidOpenError {
    None,
    PermissionDenied, // present, but this user may not open it (Linux: no udev rule)
    Other,            // gone, busy or failing
};

// One opened HID interface.
class HidDevice
{
  public:
    virtual ~HidDevice() = default;
    virtual bool attributes(HidAttributes& out) = 0;
    // The interface's HID report descriptor; empty when the platform cannot give it.
    virtual std::vector<std::uint8_t> reportDescriptor() = 0;
    // buf[0] holds the report identifier.
    virtual bool setFeature(const std::uint8_t* buf, std::size_t len) = 0;
    // On failure `buf` is left exactly as it was.
    virtual bool getFeature(std::uint8_t* buf, std::size_t len) = 0;
    // True once a request failed because the device itself has gone (pulled
    // out): the handle never works again, even when the device comes back.
    // A device that is present but does not answer is not gone.
    virtual bool gone() const = 0;
};

// The host's HID interfaces.
class HidPlatform
{
  public:
    virtual ~HidPlatform() = default;
    // The present HID interfaces; nothing when the list cannot be had.
    virtual std::optional<std::vector<HidInterfaceInfo>> listInterfaces() = 0;
    // Opens one interface; null when it refuses, with the reason in `why`.
    virtual std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why = nullptr) = 0;
    // The report descriptor of a listed interface without opening it (Linux:
    // from sysfs, readable by anyone); empty when the platform cannot tell.
    virtual std::vector<std::uint8_t> reportDescriptorOf(const std::string& path)
    {
        (void)path;
        return {};
    }
    // A file that every program on this machine opening the interface sees
    // as the same one, whose flock stands for the mouse's lock (Linux: the
    // hidraw node itself); empty when the platform has none.
    virtual std::string lockNodeOf(const std::string& path)
    {
        (void)path;
        return {};
    }
};

} // namespace orb
