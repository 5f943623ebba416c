#include "device/MemoryAccess.h"

#include <algorithm>
#include <array>

namespace orb
{

namespace
{
constexpr std::size_t kMaxWindow = 0xFFFF; // the window command carries a 16-bit length

std::uint8_t lo(std::size_t v)
{
    return std::uint8_t(v & 0xFF);
}
std::uint8_t hi(std::size_t v)
{
    return std::uint8_t((v >> 8) & 0xFF);
}
} // namespace

bool MemoryAccessAllowed(bool writeEnable, int controllerCode)
{
    return writeEnable && controllerCode == kSupportedController;
}

std::vector<MemoryRun> MergeRuns(std::vector<MemoryRun> runs, RunCosts costs)
{
    for (MemoryRun& r : runs) {
        const int start = std::clamp(r.address, 0, kMemorySize) / kChunkSize * kChunkSize;
        // The end stays: the mouse takes a window's length as given, and the
        // runs ChangedRuns makes end on a chunk's end anyway.
        const int end = std::clamp(r.address + r.length, 0, kMemorySize);
        r = {start, std::max(0, end - start)};
    }
    std::erase_if(runs, [](const MemoryRun& r) { return r.length == 0; });
    std::sort(runs.begin(), runs.end(),
              [](const MemoryRun& a, const MemoryRun& b) { return a.address < b.address; });
    std::vector<MemoryRun> merged;
    for (const MemoryRun& r : runs) {
        if (!merged.empty()) {
            MemoryRun& last = merged.back();
            const int lastEnd = last.address + last.length;
            const int gapChunks = std::max(0, r.address - lastEnd) / kChunkSize;
            if (gapChunks * costs.chunk < costs.window) {
                last.length = std::max(lastEnd, r.address + r.length) - last.address;
                continue;
            }
        }
        merged.push_back(r);
    }
    return merged;
}

std::vector<MemoryRun> ChangedRuns(std::span<const std::uint8_t, kMemorySize> before,
                                   std::span<const std::uint8_t, kMemorySize> now, RunCosts costs)
{
    std::vector<MemoryRun> runs;
    for (int start = 0; start < kMemorySize; start += kChunkSize) {
        const int length = std::min(kChunkSize, kMemorySize - start);
        if (!std::equal(before.begin() + start, before.begin() + start + length, now.begin() + start))
            runs.push_back({start, length});
    }
    return MergeRuns(std::move(runs), costs);
}

MemoryAccess::MemoryAccess(Transport& link, bool& writeEnable, int& controllerCode,
                           std::function<void()> showBusy)
    : link_(link), WriteEnable(writeEnable), ControllerCode(controllerCode), showBusy_(std::move(showBusy))
{
}

bool MemoryAccess::ReadBlock(std::uint16_t address, std::span<std::uint8_t> dest)
{
    return readBlock(address, dest, true);
}

bool MemoryAccess::ReadBlockQuiet(std::uint16_t address, std::span<std::uint8_t> dest)
{
    return readBlock(address, dest, false);
}

bool MemoryAccess::readBlock(std::uint16_t address, std::span<std::uint8_t> dest, bool showBusy)
{
    std::fill(dest.begin(), dest.end(), 0xFF);
    lostChunks_ = 0;
    const std::size_t n = dest.size();
    if (n > kMaxWindow)
        return false;
    if (!link_.ExchangeCommand(ReadAddrCmd, lo(address), hi(address), lo(n), hi(n)))
        return false;
    for (std::size_t pos = 0; pos < n; pos += kChunkSize) {
        if (showBusy && showBusy_)
            showBusy_(); // keeps the busy window in front during long reads
        ++chunksRead_;
        link_.ReadChunk();
        if (link_.deviceGone()) {
            // Nothing more can come; the rest stays 0xFF and counts as lost.
            lostChunks_ += int((n - pos + kChunkSize - 1) / kChunkSize);
            return false;
        }
        // A failed chunk leaves ChunkBuf at 0xFF, which is what lands in dest.
        if (link_.ChunkBuf[6] != kAck)
            ++lostChunks_;
        const std::size_t count = std::min<std::size_t>(kChunkSize, n - pos);
        std::copy_n(link_.ChunkBuf.begin(), count, dest.begin() + std::ptrdiff_t(pos));
        link_.clock().pumpEvents();
    }
    return true;
}

bool MemoryAccess::WriteBlock(std::uint16_t address, std::span<const std::uint8_t> src)
{
    link_.ChunkBuf.fill(0xFF);
    refusedAddress_ = address;
    const std::size_t n = src.size();
    if (n > kMaxWindow)
        return false;
    if (!link_.ExchangeCommand(WriteAddrCmd, lo(address), hi(address), lo(n), hi(n)))
        return false;
    for (std::size_t pos = 0; pos < n; pos += kChunkSize) {
        if (showBusy_)
            showBusy_();
        // A last partial chunk fills only the front of ChunkBuf; the rest is
        // whatever it held, and the window length tells the mouse where to stop.
        const std::size_t count = std::min<std::size_t>(kChunkSize, n - pos);
        std::copy_n(src.begin() + std::ptrdiff_t(pos), count, link_.ChunkBuf.begin());
        link_.clock().pumpEvents();
        ++chunksWritten_;
        if (!link_.WriteChunk(link_.ChunkBuf.data())) {
            refusedAddress_ = int(address + pos);
            return false;
        }
    }
    refusedAddress_ = -1;
    return true;
}

bool MemoryAccess::QueryStatus()
{
    if (!link_.ExchangeCommand(BeginCmd))
        return false;
    WriteEnable = false;
    if (!link_.ExchangeCommand(StatusCmd))
        return false;
    const auto& reply = link_.ReportBuf;
    WriteEnable = (reply[2] >> kMemoryAccessBit) & 1;
    // An unknown code leaves the last known one in place.
    if (std::find(std::begin(kControllerCodes), std::end(kControllerCodes), reply[3]) !=
        std::end(kControllerCodes))
        ControllerCode = reply[3];
    return reply[1] == kReadySignature;
}

void MemoryAccess::CloseExchange()
{
    link_.ExchangeCommand(SystemReloadCmd);
    link_.ExchangeCommand(EndCmd);
}

MemoryAccess::Verify
MemoryAccess::RepeatedWriteEEPROM(std::span<const std::uint8_t, kVerifySize> VerifyExpected)
{
    // A snapshot: events run between chunks, and the comparison must hold
    // against the bytes that were written.
    std::array<std::uint8_t, kVerifySize> expected;
    std::copy(VerifyExpected.begin(), VerifyExpected.end(), expected.begin());
    std::array<std::uint8_t, kVerifySize> VerifyRead;

    if (!QueryStatus())
        return deviceGone() ? Verify::DeviceGone : Verify::Stopped;
    if (!MemoryAccessAllowed()) {
        CloseExchange();
        return Verify::NotAllowed;
    }
    // A pulled-out mouse ends the verification at once; no rewrite is tried.
    if (!ReadBlock(0, VerifyRead) && deviceGone())
        return Verify::DeviceGone;
    if (VerifyRead == expected) {
        CloseExchange();
        return deviceGone() ? Verify::DeviceGone : Verify::Matched;
    }
    if (!WriteBlock(0, expected)) {
        if (deviceGone())
            return Verify::DeviceGone;
        CloseExchange();
        return Verify::Refused;
    }
    link_.ExchangeCommand(SystemReloadCmd);
    if (!ReadBlock(0, VerifyRead) && deviceGone())
        return Verify::DeviceGone;
    CloseExchange();
    if (deviceGone())
        return Verify::DeviceGone;
    return VerifyRead == expected ? Verify::Rewritten : Verify::Failed;
}

MemoryAccess::Verify MemoryAccess::WriteImage(std::span<const std::uint8_t, kMemorySize> image)
{
    return WriteImageRuns(image, kWholeImage);
}

MemoryAccess::Verify MemoryAccess::WriteImageRuns(std::span<const std::uint8_t, kMemorySize> image,
                                                  std::span<const MemoryRun> runs)
{
    chunksWritten_ = 0;
    chunksRead_ = 0;
    // A snapshot: events run between chunks, and the verification must hold
    // against the bytes that were written.
    std::array<std::uint8_t, kMemorySize> written;
    std::copy(image.begin(), image.end(), written.begin());
    if (!QueryStatus())
        return deviceGone() ? Verify::DeviceGone : Verify::Stopped;
    if (runs.empty()) {
        // Nothing differs: the reload alone lets the mouse take up its memory.
        CloseExchange();
        if (deviceGone())
            return Verify::DeviceGone;
        return MemoryAccessAllowed() ? Verify::Matched : Verify::NotAllowed;
    }
    // Without memory access nothing is written, but the exchange is still
    // closed and the verification runs its own status query.
    if (MemoryAccessAllowed()) {
        for (const MemoryRun& run : runs) {
            if (run.address < 0 || run.length <= 0 || run.address + run.length > kMemorySize)
                continue;
            if (!WriteBlock(std::uint16_t(run.address),
                            std::span<const std::uint8_t>(written).subspan(std::size_t(run.address),
                                                                           std::size_t(run.length)))) {
                if (deviceGone())
                    return Verify::DeviceGone;
                // Nothing is known of what the mouse holds now: no verification
                // could make this write good.
                CloseExchange();
                return deviceGone() ? Verify::DeviceGone : Verify::Refused;
            }
        }
    }
    CloseExchange();
    if (deviceGone())
        return Verify::DeviceGone;
    return verifyRuns(written, runs);
}

bool MemoryAccess::readRuns(std::span<const MemoryRun> runs, std::span<std::uint8_t, kMemorySize> dest)
{
    for (const MemoryRun& run : runs) {
        // A refused window or a lost chunk leaves 0xFF, which then differs
        // wherever something else was written.
        if (!ReadBlock(std::uint16_t(run.address),
                       dest.subspan(std::size_t(run.address), std::size_t(run.length))) &&
            deviceGone())
            return false;
    }
    return true;
}

MemoryAccess::Verify MemoryAccess::verifyRuns(std::span<const std::uint8_t, kMemorySize> expected,
                                              std::span<const MemoryRun> written)
{
    if (!QueryStatus())
        return deviceGone() ? Verify::DeviceGone : Verify::Stopped;
    if (!MemoryAccessAllowed()) {
        CloseExchange();
        return Verify::NotAllowed;
    }
    // Every written chunk comes back, and the sections and blocks always.
    std::vector<MemoryRun> check(written.begin(), written.end());
    check.push_back({0, kVerifySize});
    check = MergeRuns(std::move(check), kReadCosts);
    std::array<std::uint8_t, kMemorySize> got;
    std::copy(expected.begin(), expected.end(), got.begin());
    if (!readRuns(check, got))
        return Verify::DeviceGone;
    const std::vector<MemoryRun> differ = ChangedRuns(got, expected, kWriteCosts);
    if (differ.empty()) {
        CloseExchange();
        return deviceGone() ? Verify::DeviceGone : Verify::Matched;
    }
    // One rewrite of the chunks that differ, then they are read once more.
    for (const MemoryRun& run : differ) {
        if (!WriteBlock(std::uint16_t(run.address),
                        expected.subspan(std::size_t(run.address), std::size_t(run.length)))) {
            if (deviceGone())
                return Verify::DeviceGone;
            CloseExchange();
            return Verify::Refused;
        }
    }
    link_.ExchangeCommand(SystemReloadCmd);
    std::copy(expected.begin(), expected.end(), got.begin());
    if (!readRuns(differ, got))
        return Verify::DeviceGone;
    CloseExchange();
    if (deviceGone())
        return Verify::DeviceGone;
    return std::equal(got.begin(), got.end(), expected.begin()) ? Verify::Rewritten : Verify::Failed;
}

} // namespace orb
