#include "device/Transport.h"

#include "device/ReportDescriptor.h"

#include <algorithm>
#include <cstring>

namespace orb
{

Transport::Transport(HidPlatform& platform, Clock& clock) : platform_(platform), clock_(clock) {}
Transport::~Transport() = default;

void Transport::closeDevice()
{
    DeviceHandle.reset();
    deviceGone_ = false;
    lock_.reset(); // given back with the handle
}

void Transport::setLockFolder(const QString& folder, int waitMs)
{
    lockFolder_ = folder;
    lockWaitMs_ = waitMs;
}

void Transport::releaseHold()
{
    if (holds_ > 0 && --holds_ == 0)
        dropLock();
}

void Transport::dropLock()
{
    if (lock_)
        lock_->unlock();
}

bool Transport::takeLock()
{
    heldBy_.clear();
    if (!lock_)
        return true;
    // Short, pumped slices: the window stays alive while the other program
    // finishes its transfer.
    constexpr int kSliceMs = 100;
    for (int waited = 0; !lock_->tryLock(); waited += kSliceMs) {
        if (waited >= lockWaitMs_) {
            heldBy_ = lock_->holder();
            return false;
        }
        clock_.waitPumped(1, kSliceMs);
        if (!usable() || !lock_)
            return false; // closed or lost while waiting
    }
    return true;
}

bool Transport::OthersHadTheMouse()
{
    if (!lock_)
        return false;
    if (!lock_->isLocked() && !takeLock())
        return true; // not ours now: nothing known of it can be trusted
    return lock_->takeOthersHadIt();
}

bool Transport::TakeOthersHadTheMouse()
{
    return lock_ && lock_->takeOthersHadIt();
}

bool Transport::mayAsk()
{
    // Only BeginCmd takes the lock; every other request goes out only
    // while this program holds it.
    if (!lock_ || lock_->isLocked())
        return true;
    if (heldBy_.isEmpty())
        heldBy_ = lock_->holder();
    return false;
}

void Transport::noteFailure()
{
    // Dead for good: a re-plugged mouse is a new interface. The handle itself
    // is closed by the owner's no-device reset (closeDevice), which may run on
    // another thread than the request (the button test).
    if (DeviceHandle && DeviceHandle->gone())
        deviceGone_ = true;
}

int Transport::CountHidDevices()
{
    const auto list = platform_.listInterfaces();
    if (!list)
        return 0;
    int count = 0;
    for (const auto& itf : *list) {
        if (platform_.open(itf.path)) // opened and closed at once
            ++count;
    }
    return count;
}

bool Transport::MouseRefusesOpening(int vendor, int product, int release)
{
    const auto list = platform_.listInterfaces();
    if (!list)
        return false;
    for (const auto& itf : *list) {
        const HidAttributes& a = itf.attributes;
        if (a.vendorId != vendor || a.productId != product || a.releaseNumber != release)
            continue;
        HidOpenError why = HidOpenError::None;
        if (platform_.open(itf.path, &why))
            continue;
        if (why != HidOpenError::PermissionDenied)
            continue;
        // The mouse's other interfaces (its pointer) carry the same
        // identifiers; a descriptor readable without opening tells them apart.
        const auto desc = platform_.reportDescriptorOf(itf.path);
        if (desc.empty() || hasCollectionWithFeatureLength(desc, kReportLength))
            return true;
    }
    return false;
}

bool Transport::OpenHidDevice(int vendor, int product, int& release)
{
    const auto list = platform_.listInterfaces();
    if (!list)
        return false;
    bool found = false;
    // The walk runs to the end, so the last matching interface is kept and a
    // handle kept from an earlier match is closed.
    for (const auto& itf : *list) {
        auto dev = platform_.open(itf.path);
        if (!dev)
            dev = platform_.open(itf.path); // a busy interface gets a second chance
        if (!dev)
            continue;
        HidAttributes attr;
        if (!dev->attributes(attr))
            attr = HidAttributes{};
        if (!hasCollectionWithFeatureLength(dev->reportDescriptor(), kReportLength))
            continue;
        if (attr.productId == product && attr.vendorId == vendor && attr.releaseNumber == release) {
            DeviceHandle = std::move(dev);
            lock_.reset();
            if (!lockFolder_.isEmpty())
                lock_ = std::make_unique<MouseLock>(lockFolder_, itf.path, platform_.lockNodeOf(itf.path));
            release = attr.releaseNumber;
            DeviceProductId = attr.productId;
            DeviceVendorId = attr.vendorId;
            FeatureLength = kReportLength;
            deviceGone_ = false;
            found = true;
        }
    }
    return found;
}

bool Transport::SendFeature(std::uint8_t* buf)
{
    if (!usable())
        return false;
    if (DeviceHandle->setFeature(buf, FeatureLength))
        return true;
    noteFailure();
    return false;
}

bool Transport::ReceiveFeature(std::uint8_t* buf)
{
    if (!usable())
        return false;
    // The platform reads into a copy, so a failed request never leaves a
    // half-written reply behind.
    std::array<std::uint8_t, 64> tmp{};
    const std::size_t n = std::min<std::size_t>(FeatureLength, tmp.size());
    std::memcpy(tmp.data(), buf, n);
    if (!DeviceHandle->getFeature(tmp.data(), n)) {
        noteFailure();
        return false;
    }
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

// Attempts of send, pause and polls; a poll ends its attempt as soon as the
// status byte is non-zero. A mouse found gone ends the exchange at once.
bool Transport::runExchange(int attempts, int pauseAfterSend, int polls, int pauseAfterEmptyPoll,
                            const std::array<std::uint8_t, 8>& request)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        ReportBuf = request;
        SendFeature(ReportBuf.data());
        if (!usable())
            return false;
        clock_.sleepMs(pauseAfterSend);
        for (int poll = 0; poll < polls; ++poll) {
            // A get-feature that fails or comes back short leaves the request
            // in the buffer, and a write chunk's last data byte sits in the
            // status position: 0xCC there would pass for the acknowledgement.
            ReportBuf[7] = 0;
            ReceiveFeature(ReportBuf.data());
            if (!usable())
                return false;
            if (ReportBuf[7] != 0)
                break;
            clock_.sleepMs(pauseAfterEmptyPoll);
        }
        if (ReportBuf[7] == kAck)
            return true;
    }
    return false;
}

bool Transport::ExchangeCommand(std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                                std::uint8_t p4)
{
    if (!usable())
        return false;
    if (code == BeginCmd ? !takeLock() : !mayAsk())
        return false;
    const Profile& p = kStandard;
    const bool ok = runExchange(p.attempts, p.pauseAfterSend, p.polls, p.pauseAfterEmptyPoll,
                                {kReportId, code, p1, p2, p3, p4, 0, 0});
    if (code == EndCmd && holds_ == 0)
        dropLock();
    return ok;
}

bool Transport::WriteChunk(const std::uint8_t* d)
{
    if (!usable() || !mayAsk())
        return false;
    const Profile& p = kWriteChunk;
    return runExchange(p.attempts, p.pauseAfterSend, p.polls, p.pauseAfterEmptyPoll,
                       {kReportId, WriteDataCmd, d[0], d[1], d[2], d[3], d[4], d[5]});
}

void Transport::ReadChunk()
{
    ChunkBuf.fill(0xFF);
    if (!usable() || !mayAsk())
        return;
    const Profile& p = kReadChunk;
    if (runExchange(p.attempts, p.pauseAfterSend, p.polls, p.pauseAfterEmptyPoll,
                    {kReportId, ReadDataCmd, 0, 0, 0, 0, 0, 0})) {
        std::copy(ReportBuf.begin() + 1, ReportBuf.end(), ChunkBuf.begin());
        clock_.pumpEvents();
    }
}

std::uint16_t Transport::ReadKeyState()
{
    // Runs on the button test's worker: the lock is looked at, not taken.
    if (!usable() || (lock_ && !lock_->isLocked()))
        return 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        ReportBuf = {kReportId, StatusCmd, 0, 0, 0, 0, 0, 0};
        clock_.sleepMs(5);
        SendFeature(ReportBuf.data());
        if (!usable())
            return 0;
        for (int poll = 0; poll < 10; ++poll) {
            clock_.sleepMs(5);
            ReportBuf[7] = 0; // no stale status is taken for an answer
            ReceiveFeature(ReportBuf.data());
            if (!usable())
                return 0;
            if (ReportBuf[7] != 0)
                break;
        }
        if (ReportBuf[7] == kAck)
            return std::uint16_t(ReportBuf[5] | (ReportBuf[6] << 8));
    }
    return 0;
}

} // namespace orb
