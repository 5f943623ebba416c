#include "device/HidapiPlatform.h"

#include <hidapi.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef __linux__
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orb
{

namespace
{

// Whether the device behind `path` has gone, judged right after a failed request.
bool deviceGoneAfterFailure(const std::string& path, int err)
{
#ifdef __linux__
    // A hidraw handle whose device was pulled out answers ENODEV; when the
    // error was lost on the way, the node having vanished tells the same.
    if (err == ENODEV)
        return true;
    struct stat st;
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
#else
    (void)path;
    (void)err;
    return false; // no way to tell yet: a failing device keeps its attempts
#endif
}

class HidapiDevice final : public HidDevice
{
  public:
    HidapiDevice(hid_device* dev, std::string path) : dev_(dev), path_(std::move(path)) {}
    ~HidapiDevice() override { hid_close(dev_); }

    bool attributes(HidAttributes& out) override
    {
        if (hid_device_info* info = hid_get_device_info(dev_)) {
            out = {info->vendor_id, info->product_id, info->release_number};
            return true;
        }
        // hidapi finds an open node's device by its device number; a node
        // that is not a character device of its own (a FUSE file, a
        // container's bind mount) has none, so the listing of the same path
        // answers instead.
        return attributesFromListing(out);
    }
    std::vector<std::uint8_t> reportDescriptor() override
    {
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
        std::vector<std::uint8_t> desc(HID_API_MAX_REPORT_DESCRIPTOR_SIZE);
        const int n = hid_get_report_descriptor(dev_, desc.data(), desc.size());
        if (n > 0) {
            desc.resize(std::size_t(n));
            return desc;
        }
#endif
        auto desc = readHidrawReportDescriptor(path_);
        if (desc.empty())
            desc = ioctlHidrawReportDescriptor(path_);
        return desc;
    }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        if (hid_send_feature_report(dev_, buf, len) >= 0)
            return true;
        noteFailure(errno);
        return false;
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        std::array<std::uint8_t, 256> tmp{};
        if (len == 0 || len > tmp.size())
            return false;
        std::memcpy(tmp.data(), buf, len);
        const int got = hid_get_feature_report(dev_, tmp.data(), len);
        if (got < 0) {
            noteFailure(errno);
            return false;
        }
        // A short report fills only the front of the buffer; the rest would
        // keep the request's own bytes, whose last one may read as the
        // mouse's acknowledge. Only a whole report counts.
        if (std::size_t(got) < len)
            return false;
        std::memcpy(buf, tmp.data(), len);
        return true;
    }
    bool gone() const override
    {
        return gone_;
    }

  private:
    bool attributesFromListing(HidAttributes& out) const
    {
        hid_device_info* list = hid_enumerate(0, 0);
        bool found = false;
        for (hid_device_info* d = list; d && !found; d = d->next) {
            if (d->path && path_ == d->path) {
                out = {d->vendor_id, d->product_id, d->release_number};
                found = true;
            }
        }
        hid_free_enumeration(list);
        return found;
    }
    void noteFailure(int err)
    {
        if (!gone_)
            gone_ = deviceGoneAfterFailure(path_, err);
    }

    hid_device* dev_;
    std::string path_;
    bool gone_ = false;
};

} // namespace

std::vector<std::uint8_t> readHidrawReportDescriptor(const std::string& devicePath)
{
#ifdef __linux__
    const std::string node = std::filesystem::path(devicePath).filename().string();
    if (node.rfind("hidraw", 0) != 0)
        return {};
    std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
#else
    (void)devicePath;
    return {};
#endif
}

std::vector<std::uint8_t> ioctlHidrawReportDescriptor(const std::string& devicePath)
{
#ifdef __linux__
    if (std::filesystem::path(devicePath).filename().string().rfind("hidraw", 0) != 0)
        return {};
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::vector<std::uint8_t> out;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        hidraw_report_descriptor rd{};
        rd.size = std::uint32_t(size);
        if (::ioctl(fd, HIDIOCGRDESC, &rd) == 0)
            out.assign(rd.value, rd.value + size);
    }
    ::close(fd);
    return out;
#else
    (void)devicePath;
    return {};
#endif
}

HidapiPlatform::HidapiPlatform()
{
    hid_init();
}

HidapiPlatform::~HidapiPlatform()
{
    hid_exit();
}

std::optional<std::vector<HidInterfaceInfo>> HidapiPlatform::listInterfaces()
{
    hid_device_info* list = hid_enumerate(0, 0);
    std::vector<HidInterfaceInfo> out;
    for (hid_device_info* d = list; d; d = d->next)
        if (d->path)
            out.push_back({d->path, {d->vendor_id, d->product_id, d->release_number}});
    hid_free_enumeration(list);
    return out;
}

std::vector<std::uint8_t> HidapiPlatform::reportDescriptorOf(const std::string& path)
{
    return readHidrawReportDescriptor(path);
}

std::string HidapiPlatform::lockNodeOf(const std::string& path)
{
#ifdef __linux__
    // hidapi's hidraw backend names interfaces by their device node, the
    // one file that every user and every environment opens for the mouse.
    if (path.rfind("/dev/hidraw", 0) == 0)
        return path;
#endif
    (void)path;
    return {};
}

std::unique_ptr<HidDevice> HidapiPlatform::open(const std::string& path, HidOpenError* why)
{
    hid_device* dev = hid_open_path(path.c_str());
    if (why)
        *why = HidOpenError::None;
    if (!dev) {
        if (why) {
            *why = HidOpenError::Other;
#ifdef __linux__
            // hidraw nodes belong to root unless a udev rule hands them out.
            if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
                *why = HidOpenError::PermissionDenied;
#endif
        }
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(dev, path);
}

} // namespace orb
