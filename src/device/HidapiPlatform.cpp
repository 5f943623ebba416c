#include "device/HidapiPlatform.h"

#include "device/ReportDescriptor.h"

#include <hidapi.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orb
{

namespace
{

class HidapiDevice final : public HidDevice
{
  public:
    HidapiDevice(hid_device* dev, std::string path) : dev_(dev), path_(std::move(path)) {}
    ~HidapiDevice() override { hid_close(dev_); }

    bool attributes(HidAttributes& out) override
    {
        hid_device_info* info = hid_get_device_info(dev_);
        if (!info)
            return false;
        out.vendorId = info->vendor_id;
        out.productId = info->product_id;
        out.releaseNumber = info->release_number;
        return true;
    }
    int featureReportLength() override
    {
        if (featureLength_ < 0) {
            const auto desc = readHidrawReportDescriptor(path_);
            featureLength_ = parseFeatureReports(desc.data(), desc.size()).featureReportLength();
        }
        return featureLength_;
    }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        return hid_send_feature_report(dev_, buf, len) >= 0;
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        std::array<std::uint8_t, 256> tmp{};
        if (len == 0 || len > tmp.size())
            return false;
        std::memcpy(tmp.data(), buf, len);
        if (hid_get_feature_report(dev_, tmp.data(), len) < 0)
            return false;
        std::memcpy(buf, tmp.data(), len);
        return true;
    }

  private:
    hid_device* dev_;
    std::string path_;
    int featureLength_ = -1;
};

} // namespace

std::vector<std::uint8_t> readHidrawReportDescriptor(const std::string& devicePath)
{
    const std::string node = std::filesystem::path(devicePath).filename().string();
    if (node.rfind("hidraw", 0) != 0)
        return {};
    std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HidapiPlatform::HidapiPlatform()
{
    hid_init();
}

HidapiPlatform::~HidapiPlatform()
{
    hid_exit();
}

std::optional<std::vector<std::string>> HidapiPlatform::listInterfaces()
{
    hid_device_info* list = hid_enumerate(0, 0);
    std::vector<std::string> out;
    for (hid_device_info* d = list; d; d = d->next)
        if (d->path)
            out.emplace_back(d->path);
    hid_free_enumeration(list);
    return out;
}

std::unique_ptr<HidDevice> HidapiPlatform::open(const std::string& path)
{
    hid_device* dev = hid_open_path(path.c_str());
    if (!dev)
        return nullptr;
    return std::make_unique<HidapiDevice>(dev, path);
}

} // namespace orb
