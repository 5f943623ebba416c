#include "core/VirtualClock.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orb;

namespace
{
constexpr std::uint16_t kVendor = 0x1209;

struct TransportFixture : ::testing::Test {
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    Transport link{host, clock};

    void SetUp() override
    {
        host.addStandardSet(&mouse, kVendor);
        int release = kReleaseNumber;
        ASSERT_TRUE(link.OpenHidDevice(kVendor, kProductId, release));
        mouse.config.strictExchange = false;
    }
    int sets() const { return int(mouse.requests().size()); }
    int gets() const { return int(mouse.traffic().size()) - sets(); }
};

// One kind of exchange, run through a uniform call.
struct Profile {
    const char* name;
    std::function<bool(Transport&)> run;
    int attempts;
    int polls;
    std::int64_t worstMs;
};

const std::uint8_t kData[6] = {1, 2, 3, 4, 5, 6};

std::vector<Profile> profiles()
{
    return {
        {"standard", [](Transport& t) { return t.ExchangeCommand(BeginCmd); }, 5, 5, 300},
        {"write-chunk", [](Transport& t) { return t.WriteChunk(kData); }, 5, 5, 175},
        {"read-chunk",
         [](Transport& t) {
             t.ReadChunk();
             return t.ChunkBuf[6] == kAck;
         },
         5, 5, 150},
        {"key-state",
         [](Transport& t) {
             t.ReadKeyState();
             return t.ReportBuf[7] == kAck;
         },
         10, 10, 550},
    };
}
} // namespace

TEST_F(TransportFixture, EveryProfileSucceedsOnTheFirstPoll)
{
    for (const auto& p : profiles()) {
        mouse.clearTraffic();
        if (std::string(p.name) == "read-chunk" || std::string(p.name) == "write-chunk") {
            ASSERT_TRUE(link.ExchangeCommand(p.name[0] == 'r' ? ReadAddrCmd : WriteAddrCmd, 0, 0, 60, 0));
        }
        mouse.clearTraffic();
        EXPECT_TRUE(p.run(link)) << p.name;
        EXPECT_EQ(sets(), 1) << p.name;
        EXPECT_EQ(gets(), 1) << p.name;
    }
}

TEST_F(TransportFixture, AcknowledgeOnTheFifthPollIsOneAttempt)
{
    mouse.config.pollsBeforeAnswer = 4;
    const auto start = clock.nowMs();
    EXPECT_TRUE(link.ExchangeCommand(StatusCmd));
    EXPECT_EQ(sets(), 1);
    EXPECT_EQ(gets(), 5);
    EXPECT_EQ(clock.nowMs() - start, 10 + 4 * 10);
    EXPECT_EQ(link.ReportBuf[1], 0xAA);
}

TEST_F(TransportFixture, RefusalsResendUpToTheAttemptLimit)
{
    mouse.config.refuseWith = 0x55;
    for (const auto& p : profiles()) {
        mouse.clearTraffic();
        EXPECT_FALSE(p.run(link)) << p.name;
        EXPECT_EQ(sets(), p.attempts) << p.name;
        EXPECT_EQ(gets(), p.attempts) << p.name; // a refusal ends the attempt's polling
    }
    // A refusal followed by an answer succeeds on the next attempt.
    mouse.config.refusals = 1;
    mouse.clearTraffic();
    EXPECT_TRUE(link.ExchangeCommand(BeginCmd));
    EXPECT_EQ(sets(), 2);
}

TEST_F(TransportFixture, NoAnswerTakesTheWorstCaseTime)
{
    mouse.config.silent = true;
    for (const auto& p : profiles()) {
        mouse.clearTraffic();
        const auto start = clock.nowMs();
        EXPECT_FALSE(p.run(link)) << p.name;
        EXPECT_EQ(clock.nowMs() - start, p.worstMs) << p.name;
        EXPECT_EQ(sets(), p.attempts) << p.name;
        EXPECT_EQ(gets(), p.attempts * p.polls) << p.name;
        EXPECT_TRUE(link.hasDevice()) << p.name; // present but silent: not gone
        EXPECT_FALSE(link.deviceGone()) << p.name;
    }
    link.ReadChunk();
    for (auto b : link.ChunkBuf)
        EXPECT_EQ(b, 0xFF);
}

TEST_F(TransportFixture, NoHandleMeansNoPlatformCall)
{
    link.closeDevice();
    mouse.clearTraffic();
    const int opensBefore = host.openCalls;
    link.ChunkBuf.fill(0);
    EXPECT_FALSE(link.ExchangeCommand(BeginCmd));
    EXPECT_FALSE(link.WriteChunk(kData));
    link.ReadChunk();
    EXPECT_EQ(link.ReadKeyState(), 0);
    std::uint8_t buf[8] = {4};
    EXPECT_FALSE(link.SendFeature(buf));
    EXPECT_FALSE(link.ReceiveFeature(buf));
    EXPECT_TRUE(mouse.traffic().empty());
    EXPECT_EQ(host.openCalls, opensBefore);
    EXPECT_EQ(clock.nowMs(), 0);
    for (auto b : link.ChunkBuf)
        EXPECT_EQ(b, 0xFF);
}

TEST_F(TransportFixture, AReplyThatDidNotArriveIsNeverTakenForAnAcknowledge)
{
    // Present but stalled (every get fails), or answering with short
    // replies: the request's own bytes stay in the buffer, and a write
    // chunk's last data byte sits where the status goes. Every attempt runs
    // to its poll limit, whatever that byte is.
    struct Case {
        const char* name;
        bool failGets, shortGets;
    };
    for (const Case& c : {Case{"failed gets", true, false}, Case{"short replies", false, true}}) {
        SCOPED_TRACE(c.name);
        mouse.config.failGets = c.failGets;
        mouse.config.shortGets = c.shortGets;
        for (const std::uint8_t last : {std::uint8_t(0xCC), std::uint8_t(0x33)}) {
            const std::uint8_t data[6] = {1, 2, 3, 4, 5, last};
            const auto start = clock.nowMs();
            EXPECT_FALSE(link.WriteChunk(data)) << int(last);
            EXPECT_EQ(clock.nowMs() - start, 175) << int(last);
        }
        const auto start = clock.nowMs();
        EXPECT_FALSE(link.ExchangeCommand(EndCmd));
        EXPECT_EQ(clock.nowMs() - start, 300);
        EXPECT_TRUE(link.hasDevice());
        EXPECT_FALSE(link.deviceGone());
    }
}

TEST_F(TransportFixture, KeyStateReturnsTheButtonBitmap)
{
    mouse.pressedButtons = 0x0105;
    EXPECT_EQ(link.ReadKeyState(), 0x0105);
    EXPECT_EQ(mouse.requests().back(), (std::array<std::uint8_t, 8>{4, 3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(TransportFixture, ReadChunkCopiesTheReplyAndPumpsOnce)
{
    mouse.config.strictExchange = true;
    for (int i = 0; i < 6; ++i)
        mouse.memory[100 + i] = std::uint8_t(0x10 + i);
    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    ASSERT_TRUE(link.ExchangeCommand(ReadAddrCmd, 100, 0, 6, 0));
    const int pumps = clock.pumpCount();
    link.ReadChunk();
    EXPECT_EQ(clock.pumpCount(), pumps + 1);
    EXPECT_EQ(link.ChunkBuf, (std::array<std::uint8_t, 7>{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0xCC}));
}

TEST_F(TransportFixture, AMousePulledOutEndsEveryExchangeAtOnce)
{
    for (const auto& p : profiles()) {
        SCOPED_TRACE(p.name);
        SimHost h;
        SimMouse m;
        m.config.strictExchange = false;
        h.addStandardSet(&m, kVendor);
        Transport t{h, clock};
        int release = kReleaseNumber;
        ASSERT_TRUE(t.OpenHidDevice(kVendor, kProductId, release));
        h.plugMouse(&m, false);
        const int calls = h.featureCalls;
        const auto start = clock.nowMs();
        EXPECT_FALSE(p.run(t));
        // One request finds the handle dead; no attempt follows.
        EXPECT_EQ(h.featureCalls - calls, 1);
        EXPECT_LE(clock.nowMs() - start, 5); // the key-state profile sleeps before its send
        EXPECT_TRUE(t.deviceGone());
        // Later exchanges make no platform call at all, until the owner's
        // reset closes the dead handle.
        EXPECT_FALSE(t.ExchangeCommand(EndCmd));
        EXPECT_FALSE(t.WriteChunk(kData));
        t.ReadChunk();
        EXPECT_EQ(t.ReadKeyState(), 0);
        EXPECT_EQ(h.featureCalls - calls, 1);
        EXPECT_LE(clock.nowMs() - start, 5);
        EXPECT_EQ(h.openHandles, 1);
        t.closeDevice();
        EXPECT_FALSE(t.deviceGone());
        EXPECT_EQ(h.openHandles, 0);

        // Plugged back: a new interface that opens and answers.
        h.plugMouse(&m, true);
        ASSERT_TRUE(t.OpenHidDevice(kVendor, kProductId, release));
        EXPECT_FALSE(t.deviceGone());
        EXPECT_TRUE(t.ExchangeCommand(BeginCmd));
    }
}
