#include "device/Transport.h"

#include <algorithm>
#include <cstring>

namespace orb
{

Transport::Transport(HidPlatform& platform, Clock& clock) : platform_(platform), clock_(clock) {}
Transport::~Transport() = default;

int Transport::CountHidDevices()
{
    const auto paths = platform_.listInterfaces();
    if (!paths)
        return 0;
    int count = 0;
    for (const auto& path : *paths) {
        if (platform_.open(path)) // opened and closed at once
            ++count;
    }
    return count;
}

bool Transport::OpenHidDevice(int vendor, int product, int& release)
{
    const auto paths = platform_.listInterfaces();
    if (!paths)
        return false;
    bool found = false;
    // The walk runs to the end, so the last matching interface is kept and a
    // handle kept from an earlier match is closed.
    for (const auto& path : *paths) {
        auto dev = platform_.open(path);
        if (!dev)
            dev = platform_.open(path); // a busy interface gets a second chance
        if (!dev)
            continue;
        HidAttributes attr;
        if (!dev->attributes(attr))
            attr = HidAttributes{};
        if (dev->featureReportLength() != kReportLength)
            continue;
        if (attr.productId == product && attr.vendorId == vendor && attr.releaseNumber == release) {
            DeviceHandle = std::move(dev);
            release = attr.releaseNumber;
            DeviceProductId = attr.productId;
            DeviceVendorId = attr.vendorId;
            FeatureLength = kReportLength;
            found = true;
        }
    }
    return found;
}

bool Transport::SendFeature(std::uint8_t* buf)
{
    if (!DeviceHandle)
        return false;
    return DeviceHandle->setFeature(buf, FeatureLength);
}

bool Transport::ReceiveFeature(std::uint8_t* buf)
{
    if (!DeviceHandle)
        return false;
    // The platform reads into a copy, so a failed request never leaves a
    // half-written reply behind.
    std::array<std::uint8_t, 64> tmp{};
    const std::size_t n = std::min<std::size_t>(FeatureLength, tmp.size());
    std::memcpy(tmp.data(), buf, n);
    if (!DeviceHandle->getFeature(tmp.data(), n))
        return false;
    std::memcpy(buf, tmp.data(), n);
    return true;
}

namespace
{
struct Profile {
    int attempts;
    int pauseAfterSend;
    int polls;
    int pauseAfterEmptyPoll;
};
constexpr Profile kStandard{5, 10, 5, 10};
constexpr Profile kWriteChunk{5, 10, 5, 5};
constexpr Profile kReadChunk{5, 5, 5, 5};
} // namespace

// One attempt's polling: ends as soon as the status byte is non-zero.
static bool pollAttempt(Transport& t, const Profile& p)
{
    for (int poll = 0; poll < p.polls; ++poll) {
        t.ReceiveFeature(t.ReportBuf.data());
        if (t.ReportBuf[7] != 0)
            break;
        t.clock().sleepMs(p.pauseAfterEmptyPoll);
    }
    return t.ReportBuf[7] == kAck;
}

static bool runExchange(Transport& t, const Profile& p, const std::array<std::uint8_t, 8>& request)
{
    for (int attempt = 0; attempt < p.attempts; ++attempt) {
        t.ReportBuf = request;
        t.SendFeature(t.ReportBuf.data());
        t.clock().sleepMs(p.pauseAfterSend);
        if (pollAttempt(t, p))
            return true;
    }
    return false;
}

bool Transport::ExchangeCommand(std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                                std::uint8_t p4)
{
    if (!DeviceHandle)
        return false;
    return runExchange(*this, kStandard, {kReportId, code, p1, p2, p3, p4, 0, 0});
}

bool Transport::WriteChunk(const std::uint8_t* d)
{
    if (!DeviceHandle)
        return false;
    return runExchange(*this, kWriteChunk, {kReportId, WriteDataCmd, d[0], d[1], d[2], d[3], d[4], d[5]});
}

void Transport::ReadChunk()
{
    ChunkBuf.fill(0xFF);
    if (!DeviceHandle)
        return;
    if (runExchange(*this, kReadChunk, {kReportId, ReadDataCmd, 0, 0, 0, 0, 0, 0})) {
        std::copy(ReportBuf.begin() + 1, ReportBuf.end(), ChunkBuf.begin());
        clock_.pumpEvents();
    }
}

std::uint16_t Transport::ReadKeyState()
{
    if (!DeviceHandle)
        return 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        ReportBuf = {kReportId, StatusCmd, 0, 0, 0, 0, 0, 0};
        clock_.sleepMs(5);
        SendFeature(ReportBuf.data());
        for (int poll = 0; poll < 10; ++poll) {
            clock_.sleepMs(5);
            ReceiveFeature(ReportBuf.data());
            if (ReportBuf[7] != 0)
                break;
        }
        if (ReportBuf[7] == kAck)
            return std::uint16_t(ReportBuf[5] | (ReportBuf[6] << 8));
    }
    return 0;
}

} // namespace orb
