#include "core/VirtualClock.h"
#include "device/MemoryAccess.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace orb;

namespace
{
constexpr std::uint16_t kVendor = 0x1209;

struct MemoryFixture : ::testing::Test {
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    Transport link{host, clock};
    bool writeEnable = false;
    int controllerCode = kNoControllerCode;
    // Number of requests already sent each time the busy window was raised.
    std::vector<int> busyAt;
    MemoryAccess memory{link, writeEnable, controllerCode, [this] { busyAt.push_back(requestCount()); }};

    void SetUp() override
    {
        host.addStandardSet(&mouse, kVendor);
        int release = kReleaseNumber;
        ASSERT_TRUE(link.OpenHidDevice(kVendor, kProductId, release));
        for (int i = 0; i < SimMouse::kMemorySize; ++i)
            mouse.memory[i] = std::uint8_t(i * 7 + i / 256);
        ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
        mouse.clearTraffic();
    }
    int requestCount() const { return int(mouse.requests().size()); }
    int countOf(std::uint8_t cmd) const
    {
        const auto req = mouse.requests();
        return int(std::count_if(req.begin(), req.end(), [cmd](const auto& r) { return r[1] == cmd; }));
    }
    static std::array<std::uint8_t, 8> window(std::uint8_t cmd, int addr, int len)
    {
        return {
            4, cmd, std::uint8_t(addr), std::uint8_t(addr >> 8), std::uint8_t(len), std::uint8_t(len >> 8),
            0, 0};
    }
};

struct Block {
    int address;
    int length;
    int chunks;
    int lastCarries;
};
const Block kBlocks[] = {
    {0, 2048, 342, 2}, // the whole image
    {0, 256, 43, 4},   // the verified part
    {0x036, 2, 1, 2},  // the identity bytes
    {0x100, 12, 2, 6}, // an exact multiple of six
};

std::vector<int> oneTwoThree(int n)
{
    std::vector<int> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = i + 1;
    return v;
}
} // namespace

TEST_F(MemoryFixture, ReadBlockChunksTheWindowAndStopsAtTheLength)
{
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(b.length);
        mouse.clearTraffic();
        busyAt.clear();
        // A buffer larger than the block: the guard bytes behind it must stay.
        std::vector<std::uint8_t> buf(b.length + 8, 0x5C);
        ASSERT_TRUE(memory.ReadBlock(std::uint16_t(b.address), std::span(buf).first(b.length)));

        const auto req = mouse.requests();
        ASSERT_EQ(int(req.size()), 1 + b.chunks);
        EXPECT_EQ(req[0], window(ReadAddrCmd, b.address, b.length));
        EXPECT_EQ(countOf(ReadDataCmd), b.chunks);
        EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + b.length, mouse.memory.begin() + b.address));
        EXPECT_TRUE(std::all_of(buf.begin() + b.length, buf.end(), [](auto v) { return v == 0x5C; }));
        EXPECT_EQ(b.length - (b.chunks - 1) * kChunkSize, b.lastCarries);
        // The busy window comes to the front before every chunk command.
        EXPECT_EQ(busyAt, oneTwoThree(b.chunks));
    }
}

TEST_F(MemoryFixture, QuietReadLeavesTheBusyWindowAlone)
{
    std::array<std::uint8_t, 2> id{};
    ASSERT_TRUE(memory.ReadBlockQuiet(0x036, id));
    EXPECT_EQ(id[0], mouse.memory[0x036]);
    EXPECT_EQ(id[1], mouse.memory[0x037]);
    EXPECT_TRUE(busyAt.empty());
}

TEST_F(MemoryFixture, TheQueueRunsDuringALongRead)
{
    int ticks = 0;
    auto timer = clock.createTimer(100, [&] { ++ticks; });
    timer->setEnabled(true);
    std::array<std::uint8_t, 2048> buf{};
    const auto start = clock.nowMs();
    ASSERT_TRUE(memory.ReadBlockQuiet(0, buf));
    // 10 ms window + 342 chunks of 5 ms: the 100 ms timer came due 17 times.
    EXPECT_EQ(clock.nowMs() - start, 10 + 342 * 5);
    EXPECT_EQ(ticks, 17);
}

TEST_F(MemoryFixture, UnansweredChunksReadAsFF)
{
    // The mouse stops answering after the first chunk.
    mouse.onCommand = [this](int) {
        if (countOf(ReadDataCmd) == 1)
            mouse.config.silent = true;
    };
    std::array<std::uint8_t, 18> buf{};
    const auto start = clock.nowMs();
    EXPECT_TRUE(memory.ReadBlock(0, buf)); // the result does not tell
    EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + 6, mouse.memory.begin()));
    EXPECT_TRUE(std::all_of(buf.begin() + 6, buf.end(), [](auto v) { return v == 0xFF; }));
    EXPECT_EQ(busyAt.size(), 3u);
    EXPECT_EQ(clock.nowMs() - start, 10 + 5 + 2 * 150);
}

TEST_F(MemoryFixture, RefusedWindowSendsNoChunks)
{
    mouse.config.refuseWith = 0x55;
    std::array<std::uint8_t, 12> buf;
    buf.fill(0x11);
    EXPECT_FALSE(memory.ReadBlock(0, buf));
    EXPECT_TRUE(std::all_of(buf.begin(), buf.end(), [](auto v) { return v == 0xFF; }));
    EXPECT_FALSE(memory.WriteBlock(0, buf));
    EXPECT_EQ(countOf(ReadDataCmd) + countOf(WriteDataCmd), 0);
    EXPECT_TRUE(busyAt.empty());

    link.closeDevice();
    const auto start = clock.nowMs();
    EXPECT_FALSE(memory.ReadBlock(0, buf));
    EXPECT_FALSE(memory.WriteBlock(0, buf));
    EXPECT_EQ(clock.nowMs(), start);
}

TEST_F(MemoryFixture, WriteBlockStoresTheWindowAndPadsTheLastChunkFromChunkBuf)
{
    std::array<std::uint8_t, 2048> src;
    for (int i = 0; i < 2048; ++i)
        src[i] = std::uint8_t(255 - i % 251);
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(b.length);
        mouse.clearTraffic();
        busyAt.clear();
        const auto before = mouse.memory;
        const auto data = std::span(src).subspan(b.address, b.length);
        ASSERT_TRUE(memory.WriteBlock(std::uint16_t(b.address), data));

        const auto req = mouse.requests();
        ASSERT_EQ(int(req.size()), 1 + b.chunks);
        EXPECT_EQ(req[0], window(WriteAddrCmd, b.address, b.length));
        EXPECT_EQ(busyAt, oneTwoThree(b.chunks));
        // The window landed; nothing around it changed.
        for (int a = 0; a < 2048; ++a) {
            const bool inside = a >= b.address && a < b.address + b.length;
            ASSERT_EQ(mouse.memory[a], inside ? src[a] : before[a]) << a;
        }
        // The last chunk carries its real bytes first; the rest is what
        // ChunkBuf held: the previous chunk, or 0xFF for a single chunk.
        const int last = (b.chunks - 1) * kChunkSize;
        const auto& lastReq = req.back();
        for (int k = 0; k < kChunkSize; ++k) {
            std::uint8_t want = 0xFF;
            if (k < b.lastCarries)
                want = data[last + k];
            else if (b.chunks > 1)
                want = data[last - kChunkSize + k];
            EXPECT_EQ(lastReq[2 + k], want) << k;
        }
    }
}

// The mouse refuses one request of a write (all its attempts) and then
// answers again: the write stops there and says where, and a whole-image
// write is not reported as done.
struct WriteRefusal {
    const char* name;
    std::uint8_t command;
    int nth;            // the n-th request of `command` is refused
    int refusedAddress; // what refusedAddress() names
    int chunksSent;     // write chunk requests, the refused attempts counted
};

TEST_F(MemoryFixture, ARefusedWriteStopsAndNamesTheAddress)
{
    const WriteRefusal cases[] = {
        {"window", WriteAddrCmd, 1, 0x300, 0},
        {"first chunk", WriteDataCmd, 1, 0x300, 5},
        {"fifth chunk", WriteDataCmd, 5, 0x300 + 24, 4 + 5},
        {"last chunk", WriteDataCmd, 10, 0x300 + 54, 9 + 5},
    };
    std::array<std::uint8_t, 60> src;
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = std::uint8_t(0x40 + i);
    for (const WriteRefusal& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.clearTraffic();
        const auto before = mouse.memory;
        const auto arm = [this] {
            mouse.config.refuseWith = 0x55;
            mouse.config.refusals = 5;
        };
        if (c.command == WriteAddrCmd)
            arm();
        else
            mouse.onCommand = [&, this](int) {
                // Armed once the request before the refused one has gone.
                const std::uint8_t sent = mouse.requests().back()[1];
                if ((c.nth == 1 && sent == WriteAddrCmd) ||
                    (sent == WriteDataCmd && countOf(WriteDataCmd) == c.nth - 1))
                    arm();
            };
        EXPECT_FALSE(memory.WriteBlock(0x300, src));
        mouse.onCommand = {};
        EXPECT_EQ(memory.refusedAddress(), c.refusedAddress);
        EXPECT_EQ(countOf(WriteDataCmd), c.chunksSent);
        // Nothing past the refused chunk reached the mouse.
        for (int a = c.refusedAddress; a < 0x300 + int(src.size()); ++a)
            ASSERT_EQ(mouse.memory[a], before[a]) << a;
        EXPECT_TRUE(link.hasDevice());
        EXPECT_FALSE(link.deviceGone());
    }
    ASSERT_TRUE(memory.WriteBlock(0x300, src));
    EXPECT_EQ(memory.refusedAddress(), -1);
}

TEST_F(MemoryFixture, AWholeImageWriteThatTheMouseRefusesIsNotVerified)
{
    // A chunk of the macro area, past the bytes the verification reads back.
    std::array<std::uint8_t, kMemorySize> image;
    for (int i = 0; i < kMemorySize; ++i)
        image[i] = std::uint8_t(i * 3);
    mouse.onCommand = [this](int) {
        if (mouse.requests().back()[1] == WriteDataCmd && countOf(WriteDataCmd) == 100) {
            mouse.config.refuseWith = 0x55;
            mouse.config.refusals = 5;
        }
    };
    EXPECT_EQ(memory.WriteImage(image), MemoryAccess::Verify::Refused);
    EXPECT_EQ(memory.refusedAddress(), 100 * kChunkSize);
    const auto req = mouse.requests();
    ASSERT_GE(req.size(), 2u);
    EXPECT_EQ(req[req.size() - 2][1], SystemReloadCmd);
    EXPECT_EQ(req.back()[1], EndCmd);
    EXPECT_EQ(countOf(WriteDataCmd), 100 + 5);
    EXPECT_EQ(countOf(ReadAddrCmd), 0);
}

TEST_F(MemoryFixture, QueryStatusKeepsOnlyKnownControllerCodes)
{
    struct Case {
        const char* name;
        std::uint8_t signature;
        bool access;
        std::uint8_t code;
        bool result;
        bool writeEnable;
        int controllerCode; // starting from 0x75
        bool allowed;
    };
    const Case cases[] = {
        {"ready mouse", 0xAA, true, 0x75, true, true, 0x75, true},
        {"access bit clear", 0xAA, false, 0x75, true, false, 0x75, false},
        {"other variant 0x35", 0xAA, true, 0x35, true, true, 0x35, false},
        {"other variant 0xFD", 0xAA, true, 0xFD, true, true, 0xFD, false},
        {"unknown code keeps the last", 0xAA, true, 0x12, true, true, 0x75, true},
        {"not ready", 0x55, true, 0x35, false, true, 0x35, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.config.signature = c.signature;
        mouse.config.memoryAccess = c.access;
        mouse.config.controllerCode = c.code;
        controllerCode = 0x75;
        writeEnable = !c.writeEnable;
        EXPECT_EQ(memory.QueryStatus(), c.result);
        EXPECT_EQ(writeEnable, c.writeEnable);
        EXPECT_EQ(controllerCode, c.controllerCode);
        EXPECT_EQ(memory.MemoryAccessAllowed(), c.allowed);
    }
}

TEST_F(MemoryFixture, QueryStatusFailures)
{
    // Begin refused: nothing more is sent and the last results stay.
    mouse.config.refuseWith = 0x55;
    writeEnable = true;
    EXPECT_FALSE(memory.QueryStatus());
    EXPECT_TRUE(writeEnable);
    EXPECT_EQ(countOf(StatusCmd), 0);

    // Status refused after an acknowledged begin: memory access is off.
    mouse.config.refuseWith = 0;
    mouse.clearTraffic();
    mouse.onCommand = [this](int) {
        if (mouse.requests().back()[1] == BeginCmd)
            mouse.config.refuseWith = 0x55;
    };
    EXPECT_FALSE(memory.QueryStatus());
    EXPECT_FALSE(writeEnable);
    EXPECT_EQ(countOf(StatusCmd), 5);
}

// --- The mouse pulled out in the middle of a transfer ---

TEST_F(MemoryFixture, UnplugAtAChunkStopsTheTransferAndAReplugReadsWhole)
{
    std::array<std::uint8_t, kMemorySize> image;
    for (int i = 0; i < kMemorySize; ++i)
        image[i] = std::uint8_t(i ^ 0x5A);
    struct Case {
        const char* name;
        std::uint8_t command; // chunk command counted from the start of the procedure
        int at;
        bool write;           // WriteImage (write, then verification); else a whole read
        int deadRequestsSent; // chunk commands the mouse received before it went
        int chunksStarted;    // busy-window raises: one per chunk begun
    };
    const Case cases[] = {
        {"read, chunk 100", ReadDataCmd, 100, false, 99, 100},
        {"write, chunk 50", WriteDataCmd, 50, true, 49, 50},
        {"verification, chunk 10", ReadDataCmd, 10, true, 9, 342 + 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.closeDevice();
        host.plugMouse(&mouse, true);
        int release = kReleaseNumber;
        ASSERT_TRUE(link.OpenHidDevice(kVendor, kProductId, release));
        mouse.clearTraffic();
        busyAt.clear();
        std::int64_t lastAnswered = clock.nowMs();
        mouse.onCommand = [&](int) { lastAnswered = clock.nowMs(); };
        host.unplugAtCommand(&mouse, c.command, c.at);
        const int calls = host.featureCalls;

        std::array<std::uint8_t, kMemorySize> buf{};
        if (c.write) {
            EXPECT_EQ(memory.WriteImage(image), MemoryAccess::Verify::DeviceGone);
        } else {
            ASSERT_TRUE(memory.QueryStatus());
            EXPECT_FALSE(memory.ReadBlock(0, buf));
            EXPECT_EQ(memory.lostChunks(), ChunkCount(kMemorySize) - c.deadRequestsSent);
            EXPECT_TRUE(std::all_of(buf.begin() + c.deadRequestsSent * kChunkSize, buf.end(),
                                    [](auto v) { return v == 0xFF; }));
        }
        mouse.onCommand = {};
        // Stopped at once: the one request that found the handle dead, no
        // further chunk, no reload or end, and no more than a pause of time.
        EXPECT_EQ(countOf(c.command), c.deadRequestsSent);
        EXPECT_EQ(int(busyAt.size()), c.chunksStarted);
        EXPECT_EQ(host.featureCalls - calls - int(mouse.traffic().size()), 1);
        EXPECT_LE(clock.nowMs() - lastAnswered, 10);
        EXPECT_TRUE(memory.deviceGone());
        // The owner's no-device reset closes the dead handle.
        link.closeDevice();
        EXPECT_EQ(host.openHandles, 0);

        // Plugged back: a new interface, opened and read whole.
        host.plugMouse(&mouse, true);
        ASSERT_TRUE(link.OpenHidDevice(kVendor, kProductId, release));
        EXPECT_FALSE(memory.deviceGone());
        ASSERT_TRUE(memory.QueryStatus());
        EXPECT_TRUE(memory.ReadBlock(0, buf));
        EXPECT_EQ(memory.lostChunks(), 0);
        EXPECT_EQ(buf, mouse.memory);
        memory.CloseExchange();
    }
}

TEST_F(MemoryFixture, APresentMouseThatStopsAnsweringKeepsEveryAttempt)
{
    mouse.onCommand = [this](int) {
        if (countOf(ReadDataCmd) == 3)
            mouse.config.failGets = true;
    };
    std::array<std::uint8_t, 30> buf{};
    const auto start = clock.nowMs();
    EXPECT_TRUE(memory.ReadBlock(0, buf));
    // Chunks 3 to 5 each run five attempts (a failed get leaves status 0).
    EXPECT_EQ(countOf(ReadDataCmd), 2 + 3 * 5);
    EXPECT_EQ(memory.lostChunks(), 3);
    EXPECT_EQ(clock.nowMs() - start, 10 + 2 * 5 + 3 * 150);
    EXPECT_FALSE(memory.deviceGone());
    EXPECT_TRUE(link.hasDevice());
}

// --- Runs of changed chunks ---

struct RunCase {
    const char* name;
    std::vector<int> changedBytes;
    RunCosts costs;
    std::vector<MemoryRun> runs;
};

TEST(ChangedRuns, WholeChunksOneWindowARunGapsBridgedOnlyWhenCheaper)
{
    const RunCase cases[] = {
        {"nothing", {}, kWriteCosts, {}},
        {"one byte", {0x008}, kWriteCosts, {{0x006, 6}}},
        {"two bytes of one chunk", {0x006, 0x00B}, kWriteCosts, {{0x006, 6}}},
        {"neighbouring chunks", {0x00B, 0x00C}, kWriteCosts, {{0x006, 12}}},
        // A write chunk costs as much as a window: a gap of one stays a gap.
        {"one chunk apart, writing", {0x000, 0x00C}, kWriteCosts, {{0x000, 6}, {0x00C, 6}}},
        // A read chunk costs half a window: a gap of one is read through.
        {"one chunk apart, reading", {0x000, 0x00C}, kReadCosts, {{0x000, 18}}},
        {"two chunks apart, reading", {0x000, 0x012}, kReadCosts, {{0x000, 6}, {0x012, 6}}},
        {"the last chunk carries 2 bytes", {0x7FF}, kWriteCosts, {{0x7FE, 2}}},
        {"first and last", {0x000, 0x7FE}, kWriteCosts, {{0x000, 6}, {0x7FE, 2}}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<std::uint8_t, kMemorySize> before{}, now{};
        for (int i = 0; i < kMemorySize; ++i)
            before[std::size_t(i)] = now[std::size_t(i)] = std::uint8_t(i);
        for (int b : c.changedBytes)
            now[std::size_t(b)] ^= 0xFF;
        EXPECT_EQ(ChangedRuns(before, now, c.costs), c.runs);
    }
    // Runs given out of order, overlapping or not on chunk bounds: in order, from a chunk's start.
    EXPECT_EQ(MergeRuns({{0x100, 3}, {0x000, 256}, {0x7FD, 100}}, kReadCosts),
              (std::vector<MemoryRun>{{0x000, 0x103}, {0x7F8, 8}}));
}
