#pragma once
#include "device/Transport.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace orb
{

inline constexpr int kMemorySize = 2048;
inline constexpr int kChunkSize = 6;    // data bytes carried by one chunk command
inline constexpr int kVerifySize = 256; // sections and blocks; the macro area is not read back
inline constexpr int kNoControllerCode = -1;
inline constexpr std::uint8_t kReadySignature = 0xAA;
inline constexpr int kMemoryAccessBit = 2; // in status reply byte 2
// Controller codes of the status reply; only 0x75 is a variant whose memory
// this program reads and writes.
inline constexpr std::uint8_t kControllerCodes[] = {0x35, 0x75, 0xFD};
inline constexpr std::uint8_t kSupportedController = 0x75;

// Number of chunk commands that move `length` bytes.
constexpr int ChunkCount(int length)
{
    return (length + kChunkSize - 1) / kChunkSize;
}

bool MemoryAccessAllowed(bool writeEnable, int controllerCode);

// A stretch of memory moved under one window command.
struct MemoryRun {
    int address = 0;
    int length = 0;
    friend bool operator==(const MemoryRun&, const MemoryRun&) = default;
};

// What one chunk and one window command cost on the wire (the transport's
// pause after each send, in ms); a gap between two runs is bridged when its
// chunks cost less than a window of its own.
struct RunCosts {
    int chunk = 10;
    int window = 10;
};
inline constexpr RunCosts kWriteCosts{10, 10};
inline constexpr RunCosts kReadCosts{5, 10};

// The runs of 6-byte chunks (counted from address 0; the last one carries 2
// bytes) in which `now` differs from `before`, merged where that is cheaper.
std::vector<MemoryRun> ChangedRuns(std::span<const std::uint8_t, kMemorySize> before,
                                   std::span<const std::uint8_t, kMemorySize> now, RunCosts costs);
// `runs` sorted and joined where they touch, overlap or their gap is cheaper
// than a new window; each starts on a chunk's start.
std::vector<MemoryRun> MergeRuns(std::vector<MemoryRun> runs, RunCosts costs);
inline const std::vector<MemoryRun> kWholeImage{{0, kMemorySize}};

// The memory procedures of the mouse built from the window and chunk
// commands: block reads and writes, the status query that decides whether
// memory may be touched, and the write of a whole image with its
// verification. The status results land in the caller's `WriteEnable` and
// `ControllerCode`. `showBusy` brings the busy window to the front; it runs
// before every chunk of ReadBlock and WriteBlock.
class MemoryAccess
{
  public:
    MemoryAccess(Transport& link, bool& writeEnable, int& controllerCode,
                 std::function<void()> showBusy = {});

    // Reads dest.size() bytes from `address`. dest is set to 0xFF first; a
    // chunk that gets no answer stays 0xFF and the result does not tell.
    // False when the read window is refused, or when the mouse is found gone:
    // the read then stops at once and every unread chunk counts as lost.
    bool ReadBlock(std::uint16_t address, std::span<std::uint8_t> dest);
    // The same without touching the busy window.
    bool ReadBlockQuiet(std::uint16_t address, std::span<std::uint8_t> dest);
    // Chunks of the last block read that got no answer (their bytes are 0xFF).
    int lostChunks() const { return lostChunks_; }
    // Writes src.size() bytes at `address`. False when the write window is
    // refused, a chunk is not acknowledged after all its attempts, or the
    // mouse is found gone: the write stops there, since the mouse's place in
    // the window is no longer known, and refusedAddress() names where.
    bool WriteBlock(std::uint16_t address, std::span<const std::uint8_t> src);
    // Where the last WriteBlock stopped: the window's address when the window
    // was refused, else the first address of the chunk that was not
    // acknowledged; -1 when it wrote everything.
    int refusedAddress() const { return refusedAddress_; }

    // BeginCmd and StatusCmd acknowledged and the mouse ready.
    bool QueryStatus();
    bool MemoryAccessAllowed() const { return orb::MemoryAccessAllowed(WriteEnable, ControllerCode); }
    // The mouse was pulled out during the last procedure (Transport::deviceGone).
    bool deviceGone() const { return link_.deviceGone(); }
    // SystemReloadCmd then EndCmd: the mouse takes up its memory, the exchange closes.
    void CloseExchange();

    enum class Verify {
        Stopped,    // the status query failed; nothing was compared
        NotAllowed, // memory access not allowed; nothing was compared
        Matched,    // the first read-back was right
        Rewritten,  // right after one rewrite
        Failed,     // still wrong after the rewrite
        DeviceGone, // the mouse was pulled out; the procedure stopped at once
        Refused,    // a write window or chunk was not acknowledged (refusedAddress())
    };
    // Reads back the first 256 bytes and rewrites them once when they differ.
    Verify RepeatedWriteEEPROM(std::span<const std::uint8_t, kVerifySize> VerifyExpected);
    // Status, the whole image when memory access is allowed, reload and end,
    // then the verification. Stopped when the first status query fails;
    // DeviceGone as soon as the mouse is found pulled out; Refused when the
    // mouse did not take the write (the exchange is closed, nothing verified).
    Verify WriteImage(std::span<const std::uint8_t, kMemorySize> image);
    // The same for the given runs of `image` only, one window each (sorted,
    // whole chunks: ChangedRuns or kWholeImage). The verification reads back
    // every written run and 0x000-0x0FF, rewrites the chunks that differ
    // once and reads them back again. No runs: status, reload and end only
    // (the mouse still takes up its memory), and Matched.
    Verify WriteImageRuns(std::span<const std::uint8_t, kMemorySize> image, std::span<const MemoryRun> runs);
    // Chunk commands the last WriteImageRuns sent and read (the verification's included).
    int chunksWritten() const { return chunksWritten_; }
    int chunksRead() const { return chunksRead_; }

  private:
    bool readBlock(std::uint16_t address, std::span<std::uint8_t> dest, bool showBusy);
    Verify verifyRuns(std::span<const std::uint8_t, kMemorySize> expected,
                      std::span<const MemoryRun> written);
    // Reads `runs` into `dest` at their addresses; false when the mouse is gone.
    bool readRuns(std::span<const MemoryRun> runs, std::span<std::uint8_t, kMemorySize> dest);

    Transport& link_;
    bool& WriteEnable;
    int& ControllerCode;
    std::function<void()> showBusy_;
    int lostChunks_ = 0;
    int refusedAddress_ = -1;
    int chunksWritten_ = 0;
    int chunksRead_ = 0;
};

} // namespace orb
