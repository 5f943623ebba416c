// The mouse's answers: every get-feature request is answered from the fuzz
// input (a control byte, then the eight report bytes), or fails once the
// input runs out (a short answer). A control bit pulls the mouse out in the
// middle of a procedure. Time is virtual, so the protocol's pauses cost nothing;
// each procedure must end within its retry bounds whatever comes back, and
// never read or write outside its buffers.
#include "core/VirtualClock.h"
#include "device/MemoryAccess.h"
#include "device/Transport.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

struct Answers {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    long requests = 0;

    bool gone = false;

    // Control byte: bit 0 fails the request, bit 1 fails the next send,
    // bit 2 pulls the mouse out (this request and every later one fail).
    bool take(std::uint8_t& control, std::uint8_t* report)
    {
        if (pos + 9 > size)
            return false;
        control = data[pos];
        std::memcpy(report, data + pos + 1, 8);
        pos += 9;
        return true;
    }
};

class FuzzDevice final : public orb::HidDevice
{
  public:
    explicit FuzzDevice(Answers& answers) : answers_(answers) {}
    bool attributes(orb::HidAttributes& out) override
    {
        out = {0x1209, orb::kProductId, orb::kReleaseNumber};
        return true;
    }
    std::vector<std::uint8_t> reportDescriptor() override { return {}; }
    bool gone() const override { return answers_.gone; }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        check(buf != nullptr && len == orb::kReportLength);
        // Nothing is sent to a mouse that has gone.
        check(!answers_.gone);
        const bool ok = !failNextSend_;
        failNextSend_ = false;
        return ok;
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        check(len == orb::kReportLength);
        check(!answers_.gone);
        ++answers_.requests;
        std::uint8_t control = 0;
        std::uint8_t report[8];
        if (!answers_.take(control, report))
            return false; // a mouse gone silent
        failNextSend_ = control & 2;
        if (control & 4)
            answers_.gone = true;
        if (control & 5)
            return false;
        std::memcpy(buf, report, len);
        return true;
    }

  private:
    Answers& answers_;
    bool failNextSend_ = false;
};

class NoPlatform final : public orb::HidPlatform
{
  public:
    std::optional<std::vector<orb::HidInterfaceInfo>> listInterfaces() override { return std::nullopt; }
    std::unique_ptr<orb::HidDevice> open(const std::string&, orb::HidOpenError* why) override
    {
        if (why)
            *why = orb::HidOpenError::Other;
        return nullptr;
    }
};

// The host's interfaces as the input lists them, for the open procedure:
// per interface a control byte (bit 0 refuses opening, bit 1 for want of
// permission, bit 2 fails the attribute read), the three identifiers and a
// report descriptor of a given length.
class ListedDevice final : public orb::HidDevice
{
  public:
    ListedDevice(orb::HidAttributes attr, bool attrFails, std::vector<std::uint8_t> desc)
        : attr_(attr), attrFails_(attrFails), desc_(std::move(desc))
    {
    }
    bool attributes(orb::HidAttributes& out) override
    {
        if (attrFails_)
            return false;
        out = attr_;
        return true;
    }
    std::vector<std::uint8_t> reportDescriptor() override { return desc_; }
    bool setFeature(const std::uint8_t*, std::size_t) override { return false; }
    bool getFeature(std::uint8_t*, std::size_t) override { return false; }
    bool gone() const override { return true; }

  private:
    orb::HidAttributes attr_;
    bool attrFails_;
    std::vector<std::uint8_t> desc_;
};

struct Listed {
    std::uint8_t control = 0;
    orb::HidAttributes attr;
    std::vector<std::uint8_t> desc;
};

class ListedPlatform final : public orb::HidPlatform
{
  public:
    explicit ListedPlatform(std::vector<Listed> items) : items_(std::move(items)) {}
    std::optional<std::vector<orb::HidInterfaceInfo>> listInterfaces() override
    {
        std::vector<orb::HidInterfaceInfo> list;
        for (std::size_t i = 0; i < items_.size(); ++i)
            list.push_back({std::to_string(i), items_[i].attr});
        return list;
    }
    std::unique_ptr<orb::HidDevice> open(const std::string& path, orb::HidOpenError* why) override
    {
        ++opens;
        const std::size_t i = std::stoul(path);
        check(i < items_.size());
        const Listed& item = items_[i];
        if (item.control & 1) {
            if (why)
                *why = (item.control & 2) ? orb::HidOpenError::PermissionDenied : orb::HidOpenError::Other;
            return nullptr;
        }
        return std::make_unique<ListedDevice>(item.attr, item.control & 4, item.desc);
    }
    int opens = 0;

  private:
    std::vector<Listed> items_;
};

std::vector<Listed> listFrom(const std::uint8_t* data, std::size_t size)
{
    std::vector<Listed> items;
    std::size_t pos = 0;
    while (pos + 8 <= size && items.size() < 8) {
        Listed item;
        item.control = data[pos];
        item.attr.vendorId = std::uint16_t(data[pos + 1] | (data[pos + 2] << 8));
        item.attr.productId = std::uint16_t(data[pos + 3] | (data[pos + 4] << 8));
        item.attr.releaseNumber = std::uint16_t(data[pos + 5] | (data[pos + 6] << 8));
        const std::size_t len = std::min<std::size_t>(data[pos + 7], size - pos - 8);
        item.desc.assign(data + pos + 8, data + pos + 8 + len);
        pos += 8 + len;
        items.push_back(std::move(item));
    }
    return items;
}

// Upper bounds of one exchange from the transport's retry rules: attempts x
// (pause after the send + polls x pause after an empty poll), in ms, and
// attempts x polls requests.
constexpr long kExchangeMs = 5 * (10 + 5 * 10);
constexpr long kExchangeRequests = 5 * 5;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t procedure = data[0];
    if (procedure % 5 == 4) { // finding and opening the mouse among the listed interfaces
        ListedPlatform platform(listFrom(data + 1, size - 1));
        orb::VirtualClock clock;
        orb::Transport link(platform, clock);
        int release = orb::kReleaseNumber;
        const bool found = link.OpenHidDevice(0x1209, orb::kProductId, release);
        check(found == link.hasDevice());
        if (found)
            check(release == orb::kReleaseNumber && link.FeatureLength == orb::kReportLength);
        (void)link.MouseRefusesOpening(0x1209, orb::kProductId, orb::kReleaseNumber);
        check(link.CountHidDevices() >= 0);
        check(platform.opens <= 4 * 8);
        return 0;
    }
    Answers answers{data + 1, size - 1};
    orb::VirtualClock clock;
    NoPlatform platform;
    orb::Transport link(platform, clock);
    link.DeviceHandle = std::make_unique<FuzzDevice>(answers);
    link.FeatureLength = orb::kReportLength;

    bool writeEnable = false;
    int controllerCode = orb::kNoControllerCode;
    int busyCalls = 0;
    orb::MemoryAccess memory(link, writeEnable, controllerCode, [&] { ++busyCalls; });

    // Exchanges a procedure may run: status (2), window (1), chunks, close (2);
    // a verified write runs a whole write, a read-back, a rewrite and a second read-back.
    const long chunks = orb::ChunkCount(orb::kMemorySize);
    long exchanges = 0;
    switch (procedure % 5) {
    case 0: { // the read procedure: status, the whole image, close
        std::vector<std::uint8_t> image(orb::kMemorySize);
        if (memory.QueryStatus() && memory.MemoryAccessAllowed()) {
            // A refused window loses nothing; a mouse pulled out loses the rest.
            const bool read = memory.ReadBlock(0, image);
            check(read || memory.lostChunks() == 0 || link.deviceGone());
            check(!answers.gone || link.deviceGone() || answers.requests == 0);
            check(memory.lostChunks() >= 0 && memory.lostChunks() <= chunks);
        }
        memory.CloseExchange();
        exchanges = 2 + 1 + chunks + 2;
        break;
    }
    case 1: { // Apply: the whole image written and the first 256 bytes verified
        std::array<std::uint8_t, orb::kMemorySize> image{};
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = std::uint8_t(i * 7);
        memory.WriteImage(image);
        exchanges = (2 + 1 + chunks + 2) + (2 + 2 * (1 + 43) + 1 + 43 + 1 + 2);
        break;
    }
    case 2: { // the button test's bitmap polls
        for (int i = 0; i < 4; ++i)
            link.ReadKeyState();
        check(answers.requests <= 4 * 10 * 10);
        check(clock.nowMs() <= 4 * 10 * (5 + 10 * 5));
        check(!answers.gone || link.deviceGone());
        return 0;
    }
    case 3: { // a short block anywhere, odd length
        std::uint16_t address = 0;
        std::uint8_t len = 0;
        if (answers.size >= 3) {
            address = std::uint16_t(answers.data[0] | (answers.data[1] << 8));
            len = answers.data[2];
            answers.pos = 3;
        }
        std::vector<std::uint8_t> block(len);
        memory.ReadBlockQuiet(address, block);
        check(memory.lostChunks() <= orb::ChunkCount(len));
        exchanges = 1 + orb::ChunkCount(len);
        break;
    }
    }
    // A pulled-out mouse is noticed, and the procedure stopped sending (the
    // device checks that nothing reaches it after it has gone).
    check(!answers.gone || link.deviceGone());
    check(answers.requests <= exchanges * kExchangeRequests);
    check(clock.nowMs() <= exchanges * kExchangeMs);
    return 0;
}
