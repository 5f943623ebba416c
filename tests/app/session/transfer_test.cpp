#include "AppFixture.h"
#include "app/frame/LoadingWindow.h"
#include "device/MemoryAccess.h"

#include <QLabel>

#include <algorithm>
#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{
struct Transfer : AppFixture {
    bool busyShown() const { return window->loadingWindow()->isVisible(); }
    std::vector<std::uint8_t> commands() const
    {
        std::vector<std::uint8_t> out;
        for (const auto& r : mouse.requests())
            out.push_back(r[1]);
        return out;
    }
    int countOf(std::uint8_t cmd) const
    {
        const auto c = commands();
        return int(std::count(c.begin(), c.end(), cmd));
    }
    // Plugged in, opened and read; the traffic so far is forgotten.
    void connect() { startRead(); }
};

using Cmds = std::vector<std::uint8_t>;
const Cmds kCloseExchange{SystemReloadCmd, EndCmd};

Cmds operator+(Cmds a, const Cmds& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Cmds times(int n, std::uint8_t cmd)
{
    return Cmds(std::size_t(n), cmd);
}
} // namespace

// --- Identity check on arrival ---

struct IdentityCase {
    const char* name;
    std::uint8_t byte1, byte2;
    int revManu, revPro;
    bool read;
};

struct Identity : Transfer, ::testing::WithParamInterface<IdentityCase> {
};

TEST_P(Identity, DecidesWhetherTheMouseIsRead)
{
    const IdentityCase& c = GetParam();
    start(true);
    window->session().setReserveIdentity(c.revManu, c.revPro);
    mouse.memory[IdentityAddr1] = c.byte1;
    mouse.memory[IdentityAddr2] = c.byte2;
    mouse.memory[Block80Addr] = 0x42; // tells the mouse's image from the default one
    bool timerOnDuringMessage = true;
    services.onMessage = [&](const FakeServices::Shown&) {
        timerOnDuringMessage = window->session().devTimer().isEnabled();
    };
    untilOpened();

    EXPECT_TRUE(window->session().link().hasDevice()); // a refused mouse stays open
    EXPECT_EQ(window->session().identityBytes()[0], c.byte1);
    EXPECT_EQ(window->session().identityBytes()[1], c.byte2);
    EXPECT_TRUE(window->session().devTimer().isEnabled());
    EXPECT_FALSE(mouse.inExchange());
    if (c.read) {
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(window->session().image().ImageBuf, mouse.memory);
        EXPECT_FALSE(window->stack().noDeviceUI());
        EXPECT_FALSE(overlaysVisible());
    } else {
        ASSERT_EQ(messages(), QStringList{text("Str107")});
        EXPECT_EQ(services.messages[0].style, MessageStyle::PlainBox);
        EXPECT_FALSE(timerOnDuringMessage);
        EXPECT_EQ(commands(), (Cmds{BeginCmd, StatusCmd, ReadAddrCmd, ReadDataCmd} + kCloseExchange));
        EXPECT_TRUE(window->stack().noDeviceUI());
        EXPECT_TRUE(overlaysVisible());
        EXPECT_NE(window->session().image().ImageBuf[Block80Addr], 0x42);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Identity,
                         ::testing::Values(IdentityCase{"Shipped", 0xFF, 0xFF, 0, 0, true},
                                           IdentityCase{"Reserve", 0x00, 0x00, 0, 0, true},
                                           IdentityCase{"ReserveFromLayout", 0x05, 0x06, 5, 6, true},
                                           IdentityCase{"Foreign", 0x12, 0x34, 0, 0, false},
                                           IdentityCase{"HalfOfEach", 0xFF, 0x00, 0, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Transfer, RefusedIdentityWindowIsNotTakenForTheShippedIdentity)
{
    start(true);
    // The status query passes, then every memory window is refused.
    mouse.onCommand = [this](int) {
        if (mouse.requests().back()[1] == StatusCmd)
            mouse.config.refuseWith = 0x55;
    };
    untilOpened();
    EXPECT_EQ(countOf(ReadDataCmd), 0);
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_TRUE(overlaysVisible());
    EXPECT_TRUE(messages().isEmpty());
}

// --- Memory access not allowed ---

TEST_F(Transfer, ReadWithoutMemoryAccessDropsTheMouse)
{
    start(true);
    mouse.config.memoryAccess = false;
    untilOpened();
    EXPECT_FALSE(window->session().link().hasDevice());
    ASSERT_EQ(messages(), QStringList{text("Str020")});
    EXPECT_EQ(services.messages[0].style, MessageStyle::PlainBox);
    EXPECT_EQ(commands(), (Cmds{BeginCmd, StatusCmd} + kCloseExchange));
    EXPECT_TRUE(window->session().devTimer().isEnabled());
    EXPECT_TRUE(window->stack().noDeviceUI());
}

TEST_F(Transfer, WriteWithoutMemoryAccessOnlyClosesTheExchanges)
{
    connect();
    mouse.config.memoryAccess = false;
    mouse.memory[0x0A0] ^= 0xFF;
    window->session().image().Block80[0] ^= 0xFF; // a change to write
    const auto before = mouse.memory;
    window->actions().Btn_Apply_0Click();
    EXPECT_EQ(commands(),
              (Cmds{BeginCmd, StatusCmd} + kCloseExchange + Cmds{BeginCmd, StatusCmd} + kCloseExchange));
    EXPECT_EQ(mouse.memory, before);
    EXPECT_TRUE(messages().isEmpty());
}

// --- Apply ---

TEST_F(Transfer, ApplySendsTheChangedChunkThenVerifiesItAndTheFirst256Bytes)
{
    connect();
    window->session().image().Block80[0] = 0x5A; // a change the mouse must receive
    const auto start = clock.nowMs();
    window->actions().Btn_Apply_0Click();

    // The chunk of the mouse's current CPI level goes with every Apply.
    const Cmds write =
        Cmds{BeginCmd, StatusCmd, WriteAddrCmd, WriteDataCmd, WriteAddrCmd, WriteDataCmd} + kCloseExchange;
    const Cmds verify = Cmds{BeginCmd, StatusCmd, ReadAddrCmd} + times(43, ReadDataCmd) + kCloseExchange;
    ASSERT_EQ(commands(), write + verify);
    const auto req = mouse.requests();
    EXPECT_EQ(req[2], (std::array<std::uint8_t, 8>{4, WriteAddrCmd, 0x30, 0, 6, 0, 0, 0}));
    // The chunk holding 0x080 (0x07E-0x083); its read-back lies in 0x000-0x0FF.
    EXPECT_EQ(req[4], (std::array<std::uint8_t, 8>{4, WriteAddrCmd, 0x7E, 0, 6, 0, 0, 0}));
    EXPECT_EQ(req[write.size() + 2], (std::array<std::uint8_t, 8>{4, ReadAddrCmd, 0, 0, 0x00, 0x01, 0, 0}));

    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
    EXPECT_EQ(mouse.memory[Block80Addr], 0x5A);
    EXPECT_TRUE(messages().isEmpty());
    // 110 ms button wait, 10 ms a standard command and a write chunk, 5 ms a read chunk.
    EXPECT_EQ(clock.nowMs() - start, 110 + 10 * (6 + 2) + 10 * 5 + 5 * 43);
}

TEST_F(Transfer, DefaultSendsTheWholeImageAndReadsAllOfItBack)
{
    connect();
    window->actions().Btn_Confirm1_1Click();

    const Cmds write = Cmds{BeginCmd, StatusCmd, WriteAddrCmd} + times(342, WriteDataCmd) + kCloseExchange;
    const Cmds verify = Cmds{BeginCmd, StatusCmd, ReadAddrCmd} + times(342, ReadDataCmd) + kCloseExchange;
    ASSERT_EQ(commands(), write + verify);
    const auto req = mouse.requests();
    EXPECT_EQ(req[2], (std::array<std::uint8_t, 8>{4, WriteAddrCmd, 0, 0, 0x00, 0x08, 0, 0}));
    EXPECT_EQ(req[write.size() + 2], (std::array<std::uint8_t, 8>{4, ReadAddrCmd, 0, 0, 0x00, 0x08, 0, 0}));
    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
    EXPECT_EQ(mouse.memory[0x02F], SectionSum(mouse.memory.data(), 47));
    EXPECT_TRUE(messages().isEmpty());
}

struct Verification : Transfer {
    // The mouse ignores the write; `healAtRewrite` lets the rewrite land.
    void applyAgainstAStaleMouse(bool healAtRewrite)
    {
        connect();
        mouse.memory[0x0A0] ^= 0xFF;                  // differs from the image in the verified range
        window->session().image().Block80[0] ^= 0xFF; // a change to write
        mouse.config.writeProtected = true;
        int windows = 0;
        mouse.onCommand = [this, healAtRewrite, windows](int) mutable {
            const auto r = mouse.requests().back(); // a copy: requests() is a temporary
            // The write's two windows (the level's chunk and the change), then the rewrite's.
            if (healAtRewrite && r[1] == WriteAddrCmd && ++windows == 3)
                mouse.config.writeProtected = false;
        };
        window->actions().Btn_Apply_0Click();
    }
};

TEST_F(Verification, OneRewriteThatLandsShowsNothing)
{
    applyAgainstAStaleMouse(true);
    EXPECT_TRUE(messages().isEmpty());
    // The write (the level's chunk and the change), then the rewrite of the
    // two chunks found wrong (0x07E, 0x09C) and their read-back, a window each.
    EXPECT_EQ(countOf(WriteAddrCmd), 4);
    EXPECT_EQ(countOf(ReadAddrCmd), 3);
    EXPECT_TRUE(std::equal(mouse.memory.begin(), mouse.memory.begin() + 256,
                           window->session().image().ImageBuf.begin()));
}

TEST_F(Verification, StillWrongAfterTheRewriteShowsFail)
{
    applyAgainstAStaleMouse(false);
    ASSERT_EQ(messages(), QStringList{text("Str109")});
    EXPECT_EQ(services.messages[0].style, MessageStyle::MessageWindow);
    const Cmds verify = Cmds{BeginCmd, StatusCmd, ReadAddrCmd} + times(43, ReadDataCmd) +
                        Cmds{WriteAddrCmd, WriteDataCmd, WriteAddrCmd, WriteDataCmd, SystemReloadCmd,
                             ReadAddrCmd,  ReadDataCmd,  ReadAddrCmd,  ReadDataCmd} +
                        kCloseExchange;
    const auto all = commands();
    ASSERT_GE(all.size(), verify.size());
    EXPECT_EQ(Cmds(all.end() - std::ptrdiff_t(verify.size()), all.end()), verify);
    EXPECT_TRUE(window->session().devTimer().isEnabled());
}

// --- Every transfer is bracketed: timer off, pages blocked, busy window shown ---

struct Action {
    const char* name;
    std::function<void(MainWindow&)> run;
    bool blocksPages;
};

TEST_F(Transfer, EveryTransferStopsTheTimerAndShowsTheBusyWindow)
{
    const Action actions[] = {
        {"Apply",
         [](MainWindow& w) {
             w.session().image().Block80[0] ^= 0xFF; // something to write
             w.actions().Btn_Apply_0Click();
         },
         true},
        {"Read", [](MainWindow& w) { w.actions().Btn_Read_0Click(); }, true},
        {"Confirm1", [](MainWindow& w) { w.actions().Btn_Confirm1_1Click(); }, true},
        {"Confirm3", [](MainWindow& w) { w.actions().Btn_Confirm3_1Click(); }, true},
        {"Default", [](MainWindow& w) { w.actions().Btn_DefaultClick(); }, false},
    };
    connect();
    for (const Action& a : actions) {
        SCOPED_TRACE(a.name);
        mouse.clearTraffic();
        int timerOn = 0, chunks = 0, chunksBusy = 0, chunksBlocked = 0, windowLength = 0;
        mouse.onCommand = [&](int) {
            timerOn += window->session().devTimer().isEnabled();
            const auto r = mouse.requests().back();
            if (r[1] == ReadAddrCmd || r[1] == WriteAddrCmd)
                windowLength = r[4] | (r[5] << 8);
            // The 2-byte identity read runs before the busy window comes up.
            if ((r[1] == ReadDataCmd || r[1] == WriteDataCmd) && windowLength >= 256) {
                ++chunks;
                chunksBusy += busyShown();
                chunksBlocked += overlaysVisible();
            }
        };
        a.run(*window);
        mouse.onCommand = {};
        EXPECT_GT(chunks, 0);
        EXPECT_EQ(timerOn, 0);
        EXPECT_EQ(chunksBusy, chunks);
        EXPECT_EQ(chunksBlocked, a.blocksPages ? chunks : 0);
        EXPECT_TRUE(window->session().devTimer().isEnabled());
        EXPECT_FALSE(busyShown());
        EXPECT_FALSE(overlaysVisible());
        EXPECT_FALSE(mouse.inExchange());
        EXPECT_TRUE(messages().isEmpty());
    }
}

TEST_F(Transfer, ReadTakesUpTheMouseCurrentImage)
{
    connect();
    mouse.memory[Block80Addr] = 0x33;
    window->actions().Btn_Read_0Click();
    EXPECT_EQ(window->session().image().ImageBuf, mouse.memory);
    EXPECT_EQ(window->session().image().Block80[0], 0x33);
}

TEST_F(Transfer, ConfirmWritesThenClosesTheWindow)
{
    connect();
    window->show();
    window->session().image().Block80[1] = 0x77;
    window->actions().Btn_Confirm_0Click();
    EXPECT_EQ(mouse.memory[Block80Addr + 1], 0x77);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->session().link().hasDevice());
}

TEST_F(Transfer, DefaultButtonsWriteTheBuiltInImageAsLoaded)
{
    connect();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const auto image = LoadDefaultImage(n);
        ASSERT_TRUE(image);
        mouse.memory[Block80Addr] = 0x42;
        window->session().image().ImageBuf[0x0A0] = 0x42;
        window->session().image().Block80[0] = 0x42;
        const std::function<void()> clicks[] = {[&] { window->actions().Btn_Confirm1_1Click(); },
                                                [&] { window->actions().Btn_Confirm2_1Click(); },
                                                [&] { window->actions().Btn_Confirm3_1Click(); }};
        clicks[n - 1]();
        EXPECT_EQ(mouse.memory, *image);
        EXPECT_EQ(window->session().image().ImageBuf, *image);
        EXPECT_EQ(window->session().image().Block80[0], (*image)[Block80Addr]);
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Transfer, FactoryResetWritesFactoryContentsAndKeepsTheGaps)
{
    start(true);
    mouse.memory[0x0A0] = 0x3C; // a gap byte
    mouse.memory[MacroAreaAddr + 5] = 0x11;
    untilOpened();
    auto* result = find<QWidget>(QStringLiteral("Img_Result"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->isHidden());
    window->actions().Btn_DefaultClick();
    EXPECT_TRUE(std::equal(FactoryParameterA.begin(), FactoryParameterA.end(), mouse.memory.begin()));
    EXPECT_TRUE(std::equal(FactoryParameterB.begin(), FactoryParameterB.end(), mouse.memory.begin() + 0x30));
    EXPECT_TRUE(std::all_of(mouse.memory.begin() + Block80Addr,
                            mouse.memory.begin() + Block80Addr + Block80Size, [](auto v) { return v == 0; }));
    EXPECT_TRUE(
        std::all_of(mouse.memory.begin() + MacroAreaAddr, mouse.memory.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(mouse.memory[0x0A0], 0x3C);
    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
    EXPECT_FALSE(result->isHidden());
    EXPECT_TRUE(messages().isEmpty());
}

// --- No mouse ---

TEST_F(Transfer, ActionsWithoutAMouseSendNothing)
{
    struct Case {
        const char* name;
        std::function<void()> run;
        int waitMs;
        bool message;
    };
    start(false);
    window->show();
    auto* result = find<QWidget>(QStringLiteral("Img_Result"));
    ASSERT_NE(result, nullptr);
    result->show(); // the mark of an earlier reset
    const Case cases[] = {
        {"Confirm", [&] { window->actions().Btn_Confirm_0Click(); }, 110, true},
        {"Apply", [&] { window->actions().Btn_Apply_0Click(); }, 110, true},
        {"Read", [&] { window->actions().Btn_Read_0Click(); }, 0, true},
        {"Confirm1", [&] { window->actions().Btn_Confirm1_1Click(); }, 110, true},
        {"Confirm2", [&] { window->actions().Btn_Confirm2_1Click(); }, 110, true},
        {"Confirm3", [&] { window->actions().Btn_Confirm3_1Click(); }, 110, true},
        {"Default", [&] { window->actions().Btn_DefaultClick(); }, 110, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        const auto start = clock.nowMs();
        c.run();
        EXPECT_EQ(clock.nowMs() - start, c.waitMs);
        if (c.message) {
            ASSERT_EQ(messages(), QStringList{text("Str020")});
            EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
        } else {
            EXPECT_TRUE(messages().isEmpty());
        }
        EXPECT_TRUE(window->isVisible()); // Confirm does not close without a mouse
    }
    EXPECT_TRUE(result->isHidden());
    EXPECT_TRUE(mouse.traffic().empty());
}

// A mouse unplugged in the middle of a transfer: real_mouse_test.cpp.
