// The mouse's answers: every get-feature request is answered from the fuzz
// input (a control byte, then the eight report bytes), or fails once the
// input runs out; the control byte can also fail the request, fail the next
// send, or pull the mouse out, after which every request fails. Time is virtual, so the protocol's pauses
// cost nothing; each procedure must end within its retry bounds whatever comes back, and never read or write
// outside its buffers.
#include "core/VirtualClock.h"
#include "device/MemoryAccess.h"
#include "device/Transport.h"

#include <array>
#include <cstdlib>
#include <cstring>
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
    bool gone() const override { return gone_; }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        check(buf != nullptr && len == orb::kReportLength);
        // Nothing is sent to a mouse that has gone.
        check(!gone_);
        const bool ok = !failNextSend_;
        failNextSend_ = false;
        return ok;
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        check(len == orb::kReportLength);
        check(!gone_);
        ++answers_.requests;
        std::uint8_t control = 0;
        std::uint8_t report[8];
        if (!answers_.take(control, report))
            return false; // a mouse gone silent
        failNextSend_ = control & 2;
        if (control & 4) {
            gone_ = true;
            return false;
        }
        if (control & 1)
            return false;
        std::memcpy(buf, report, len);
        return true;
    }

  private:
    Answers& answers_;
    bool failNextSend_ = false;
    bool gone_ = false;
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
    switch (procedure % 4) {
    case 0: { // the read procedure: status, the whole image, close
        std::vector<std::uint8_t> image(orb::kMemorySize);
        if (memory.QueryStatus() && memory.MemoryAccessAllowed()) {
            // A read fails without lost chunks (its window refused), or
            // because the mouse went, and then the rest counts as lost.
            check(memory.ReadBlock(0, image) || memory.lostChunks() == 0 || link.deviceGone());
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
        check(!link.DeviceHandle->gone() || link.deviceGone());
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
    check(!link.DeviceHandle->gone() || link.deviceGone());
    check(answers.requests <= exchanges * kExchangeRequests);
    check(clock.nowMs() <= exchanges * kExchangeMs);
    return 0;
}
