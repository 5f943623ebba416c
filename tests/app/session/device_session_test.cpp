// The device session on its own: no window and no page, only a host that
// records what the session asks of it.
#include "app/session/DeviceSession.h"
#include "app/session/SessionHost.h"
#include "core/FakeServices.h"
#include "core/VirtualClock.h"
#include "device/MouseLock.h"
#include "device/SimMouse.h"
#include "image/DefaultImages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string_view>

using namespace orb;

namespace
{

constexpr std::uint16_t kVendor = 0x1209;

class RecordingHost final : public SessionHost
{
  public:
    QStringList calls;
    // Runs inside UIToDataBuf, as the pages would store their controls.
    std::function<void()> onStore;

    void ShowLoading() override { note("ShowLoading"); }
    void HideLoading() override { note("HideLoading"); }
    void ShowDisableAll() override { note("ShowDisableAll"); }
    void HideDisableAll() override { note("HideDisableAll"); }
    void HideAllMenu() override { note("HideAllMenu"); }
    void UIToDataBuf() override
    {
        note("UIToDataBuf");
        if (onStore)
            onStore();
    }
    void AIMKeyToDataBuf(ProfileKeysBytes&) override { note("AIMKeyToDataBuf"); }
    void DataBufToUI() override { note("DataBufToUI"); }
    void RefreshMacrosFromArea() override { note("RefreshMacrosFromArea"); }
    void RefreshPCMacroNames() override { note("RefreshPCMacroNames"); }
    void ClearMacroTexts() override { note("ClearMacroTexts"); }
    void ApplyHostMouseSettings() override { note("ApplyHostMouseSettings"); }
    void ShowIdentity(const std::array<std::uint8_t, 2>&) override { note("ShowIdentity"); }
    void ClearDeviceUI() override { note("ClearDeviceUI"); }
    void ShowNoDevice() override { note("ShowNoDevice"); }
    void DeviceLostShown() override { note("DeviceLostShown"); }
    void ShowMainAfterRead() override { note("ShowMainAfterRead"); }

    // Runs at every call the host takes, with its name.
    std::function<void(const char*)> onCall;

  private:
    // Busy-window calls repeat per chunk; one entry per run of them is enough.
    void note(const char* call)
    {
        if (onCall)
            onCall(call);
        if (calls.isEmpty() || calls.last() != QLatin1String(call))
            calls << QLatin1String(call);
    }
};

struct DeviceSessionTest : ::testing::Test {
    VirtualClock clock;
    FakeServices services;
    SimHost hid;
    SimMouse mouse;
    RecordingHost host;
    DeviceSession session{clock, services, hid, kVendor, host};

    void SetUp() override
    {
        mouse.memory = *LoadDefaultImage(2);
        hid.addStandardSet(&mouse, kVendor);
        hid.plugMouse(&mouse, true);
        session.LoadReferenceIdentity();
        session.start();
    }
    // The first tick, the settle and the read.
    void arrive()
    {
        clock.advance(3500);
        ASSERT_TRUE(session.link().hasDevice());
        ASSERT_TRUE(session.lastReadComplete());
        host.calls.clear();
    }
};

} // namespace

TEST_F(DeviceSessionTest, ArrivalReadsTheImageAndAsksTheHostToShowIt)
{
    clock.advance(3500);
    ASSERT_TRUE(session.link().hasDevice());
    EXPECT_EQ(session.image().ImageBuf, mouse.memory);
    EXPECT_EQ(host.calls, (QStringList{"ShowIdentity", "ShowDisableAll", "ShowLoading", "RefreshPCMacroNames",
                                       "ShowLoading", "RefreshMacrosFromArea", "DataBufToUI",
                                       "ShowMainAfterRead", "HideLoading", "HideDisableAll"}));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(session.devTimer().isEnabled());
}

TEST_F(DeviceSessionTest, LossResetsToTheDefaultImageAndReportsIt)
{
    arrive();
    hid.plugMouse(&mouse, false);
    clock.advance(3500);
    EXPECT_FALSE(session.link().hasDevice());
    EXPECT_EQ(session.image().ImageBuf, session.defaultImages()[0]);
    EXPECT_EQ(host.calls, (QStringList{"HideAllMenu", "ClearDeviceUI", "RefreshMacrosFromArea", "DataBufToUI",
                                       "ShowNoDevice", "DeviceLostShown"}));
    // Without a language the message texts are their keys.
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Str100\r\rStr101"));
    EXPECT_EQ(services.messages[0].style, MessageStyle::MessageWindow);
}

TEST_F(DeviceSessionTest, ApplyStoresThePagesThenWritesWhatTheyStored)
{
    arrive();
    session.setTextLookup([](const QString& key) { return QStringLiteral("text of ") + key; });
    host.onStore = [this] { session.image().ParameterA[0] ^= 0x01; };
    const std::uint8_t stored = session.image().ParameterA[0] ^ 0x01;
    session.DownloadParameter();
    EXPECT_EQ(host.calls.mid(0, 5), (QStringList{"HideAllMenu", "ShowDisableAll", "ShowLoading",
                                                 "UIToDataBuf", "AIMKeyToDataBuf"}));
    EXPECT_TRUE(host.calls.contains(QStringLiteral("ApplyHostMouseSettings")));
    EXPECT_EQ(host.calls.last(), QStringLiteral("HideDisableAll"));
    EXPECT_EQ(mouse.memory[ParameterAAddr], stored);
    EXPECT_EQ(mouse.memory, session.image().ImageBuf);
    EXPECT_TRUE(services.messages.empty());
}

// Another program (the command-line tool) holds the mouse: the window
// neither reads nor writes in between. A tick at the mouse's arrival lets
// it go and reads it at a later tick, once the tool is done; a transfer the
// user started says who holds the mouse.
TEST_F(DeviceSessionTest, MouseHeldByAnotherProgramIsLeftAlone)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    session.link().setLockFolder(folder.path(), 3000);
    MouseLock tool(folder.path(), "sim/mouse-config");
    const QString holder = QStringLiteral("%1 (pid %2)")
                               .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                               .arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(tool.tryLock());

    clock.advance(3500 + 2100 + 3000);
    EXPECT_TRUE(mouse.requests().empty());
    EXPECT_FALSE(session.link().hasDevice());
    EXPECT_FALSE(session.lastReadComplete());
    EXPECT_TRUE(services.messages.empty());

    tool.unlock();
    for (int tick = 0; tick < 3 && !session.lastReadComplete(); ++tick)
        clock.advance(3500);
    ASSERT_TRUE(session.lastReadComplete());
    EXPECT_EQ(session.image().ImageBuf, mouse.memory);
    EXPECT_TRUE(services.messages.empty());

    const struct {
        const char* what;
        std::function<void()> start;
    } transfers[] = {
        {"Apply", [this] { session.DownloadParameter(); }},
        {"Read", [this] { session.ReadOnRequest(); }},
        {"Default", [this] { session.DefaultParameter(1); }},
    };
    for (const auto& t : transfers) {
        SCOPED_TRACE(t.what);
        ASSERT_TRUE(tool.tryLock());
        mouse.clearTraffic();
        services.messages.clear();
        t.start();
        EXPECT_TRUE(mouse.requests().empty());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, session.MouseHeldText(holder));
        EXPECT_TRUE(session.link().hasDevice());
        EXPECT_TRUE(session.devTimer().isEnabled());
        tool.unlock();
    }
    // The window gives the mouse back after each transfer.
    session.DownloadParameter();
    EXPECT_FALSE(mouse.requests().empty());
    EXPECT_TRUE(tool.tryLock());
}

TEST_F(DeviceSessionTest, ClosedSessionNeitherTicksNorReopens)
{
    session.Close();
    clock.advance(3500 * 3);
    EXPECT_FALSE(session.link().hasDevice());
    EXPECT_EQ(hid.openCalls, 0);
    EXPECT_TRUE(host.calls.isEmpty());
}

// The mouse pulled out at every chunk of a transfer: the read on arrival
// (342 chunks after the one of the identity bytes), the write of an Apply
// (342) and its verification (43). Each ends in the no-device state within
// 500 ms of the last answered command, with one message, and the mouse
// plugged in again is read whole at the next tick.
TEST(DeviceSessionUnplug, AtEveryChunkEndsInNoDeviceAndTheNextPlugReadsTheWholeImage)
{
    struct Transfer {
        const char* name;
        bool apply;           // during a whole write (else during the read on arrival)
        std::uint8_t command; // the chunk command counted
        int before;           // requests of that command before the transfer's first chunk
        int chunks;
    };
    const Transfer transfers[] = {
        {"read", false, ReadDataCmd, 1, 342},
        {"write", true, WriteDataCmd, 0, 342},
        // Counted from the write, the read requests are those of the verification.
        {"verification", true, ReadDataCmd, 0, 342},
    };
    for (const Transfer& t : transfers)
        for (int chunk = 0; chunk < t.chunks; ++chunk) {
            SCOPED_TRACE(::testing::Message() << t.name << " chunk " << chunk);
            VirtualClock clock;
            FakeServices services;
            SimHost hid;
            SimMouse mouse;
            RecordingHost host;
            DeviceSession session{clock, services, hid, kVendor, host};
            mouse.memory = *LoadDefaultImage(2);
            hid.addStandardSet(&mouse, kVendor);
            hid.plugMouse(&mouse, true);
            session.LoadReferenceIdentity();
            session.start();
            if (t.apply) {
                clock.advance(3500);
                ASSERT_TRUE(session.lastReadComplete());
            }

            mouse.clearTraffic();
            std::int64_t answeredAt = clock.nowMs(), noDeviceAt = -1;
            mouse.onCommand = [&](int) { answeredAt = clock.nowMs(); };
            host.onCall = [&](const char* call) {
                if (noDeviceAt < 0 && std::string_view(call) == "ShowNoDevice")
                    noDeviceAt = clock.nowMs();
            };
            hid.unplugAtCommand(&mouse, t.command, t.before + chunk + 1);
            if (t.apply)
                session.MemoToDataBuf_OnClick(); // every chunk written and read back
            else
                clock.advance(3500);

            // The chunks before this one reached the mouse, and none after it.
            const auto sent = mouse.requests();
            EXPECT_EQ(
                std::count_if(sent.begin(), sent.end(), [&t](const auto& r) { return r[1] == t.command; }),
                t.before + chunk);
            ASSERT_GE(noDeviceAt, 0);
            EXPECT_LE(noDeviceAt - answeredAt, 500);
            EXPECT_FALSE(session.link().hasDevice());
            ASSERT_EQ(services.messages.size(), 1u);
            EXPECT_EQ(services.messages[0].text, QStringLiteral("Str100\r\rStr101"));
            EXPECT_TRUE(session.devTimer().isEnabled());

            hid.plugMouse(&mouse, true);
            clock.advance(3500 + 2100 + 2500);
            EXPECT_TRUE(session.link().hasDevice());
            EXPECT_TRUE(session.lastReadComplete());
            EXPECT_EQ(session.image().ImageBuf, mouse.memory);
            EXPECT_EQ(services.messages.size(), 1u);
            if (::testing::Test::HasFailure())
                return; // one failing chunk tells enough
        }
}

// --- What the mouse holds as far as the session knows ---

namespace
{
int CountOf(const SimMouse& mouse, std::uint8_t cmd)
{
    const auto log = mouse.requests();
    return int(std::count_if(log.begin(), log.end(), [cmd](const auto& r) { return r[1] == cmd; }));
}

struct DropCase {
    const char* name;
    // Disturbs an Apply or a Read of the session; afterwards the mouse is
    // still there unless `unplugs`.
    std::function<void(DeviceSessionTest&)> disturb;
    bool unplugs;
};

struct HeldImageDropped : DeviceSessionTest, ::testing::WithParamInterface<DropCase> {
};
} // namespace

TEST_F(DeviceSessionTest, HeldImageFollowsReadsAndVerifiedWrites)
{
    arrive();
    ASSERT_TRUE(session.heldImage());
    EXPECT_EQ(*session.heldImage(), mouse.memory);

    host.onStore = [this] { session.image().ParameterA[6] ^= 0x01; };
    mouse.clearTraffic();
    ASSERT_TRUE(session.DownloadParameter());
    ASSERT_TRUE(session.heldImage());
    EXPECT_EQ(*session.heldImage(), mouse.memory);
    EXPECT_EQ(mouse.memory, session.image().ImageBuf);
    // The changed chunk, the section's checksum chunk and the chunk of the
    // bytes the mouse changes itself (which always goes), nothing else.
    EXPECT_EQ(session.lastWriteRuns(), (std::vector<MemoryRun>{{0x006, 6}, {0x02A, 12}}));
    EXPECT_EQ(CountOf(mouse, WriteDataCmd), 3);
}

// The command-line tool wrote the mouse between two Applies of the window:
// what the window knew of the mouse's memory is stale, so the next Apply
// writes the whole image. Turns of the window's own keep the short write.
TEST_F(DeviceSessionTest, AnotherProgramsTurnMakesTheNextApplyWhole)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    session.link().setLockFolder(folder.path(), 3000);
    arrive();
    ASSERT_TRUE(session.heldImage());
    host.onStore = [this] { session.image().Block80[0] ^= 0x01; };
    mouse.clearTraffic();
    ASSERT_TRUE(session.DownloadParameter());
    EXPECT_LT(CountOf(mouse, WriteDataCmd), 342);

    MouseLock tool(folder.path(), "sim/mouse-config");
    ASSERT_TRUE(tool.tryLock());
    mouse.memory[0x300] ^= 0xFF; // the tool's write, behind the window's back
    tool.unlock();
    mouse.clearTraffic();
    ASSERT_TRUE(session.DownloadParameter());
    EXPECT_EQ(CountOf(mouse, WriteDataCmd), 342);
    EXPECT_EQ(mouse.memory, session.image().ImageBuf);
}

TEST_P(HeldImageDropped, AndTheNextApplyWritesTheWholeImage)
{
    arrive();
    GetParam().disturb(*this);
    EXPECT_FALSE(session.heldImage());
    if (GetParam().unplugs)
        return; // the mouse plugged in again is read afresh
    mouse.config = SimMouse::Config{};
    mouse.onCommand = {};
    mouse.clearTraffic();
    host.onStore = [this] { session.image().Block80[0] ^= 0x01; };
    ASSERT_TRUE(session.DownloadParameter());
    EXPECT_EQ(CountOf(mouse, WriteDataCmd), 342);
    EXPECT_EQ(mouse.memory, session.image().ImageBuf);
    ASSERT_TRUE(session.heldImage());
    EXPECT_EQ(*session.heldImage(), mouse.memory);
}

INSTANTIATE_TEST_SUITE_P(
    After, HeldImageDropped,
    ::testing::Values(DropCase{"UnplugDuringAWrite",
                               [](DeviceSessionTest& t) {
                                   t.hid.unplugAtCommand(&t.mouse, WriteDataCmd, 1);
                                   t.host.onStore = [&t] { t.session.image().Block80[0] ^= 0x01; };
                                   EXPECT_FALSE(t.session.DownloadParameter());
                               },
                               true},
                      DropCase{"FailedVerification",
                               [](DeviceSessionTest& t) {
                                   t.mouse.config.writeProtected = true;
                                   t.host.onStore = [&t] { t.session.image().Block80[0] ^= 0x01; };
                                   EXPECT_FALSE(t.session.DownloadParameter());
                                   EXPECT_EQ(t.session.lastWriteResult(), MemoryAccess::Verify::Failed);
                               },
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

// Bytes the mouse changed itself since the last read (its current CPI level,
// stored when the CPI button is pressed): after an Apply, changed pages or
// not, the mouse, the window and what the session holds agree on them, at
// the level the window shows.
TEST_F(DeviceSessionTest, AfterApplyTheMouseHasTheLevelTheWindowShows)
{
    const struct {
        const char* what;
        std::function<void()> store;
    } cases[] = {
        {"nothing changed on the pages", {}},
        {"another setting changed", [this] { session.image().ParameterA[6] ^= 0x01; }},
        {"a macro changed", [this] { session.image().MacroArea[0x200] ^= 0x01; }},
    };
    arrive();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint8_t shown = session.image().ImageBuf[0x030];
        mouse.memory[0x030] = std::uint8_t(mouse.memory[0x030] ^ 0x01); // the CPI button
        mouse.memory[0x031] = std::uint8_t(~mouse.memory[0x030]);
        host.onStore = c.store;
        ASSERT_TRUE(session.DownloadParameter());
        EXPECT_EQ(mouse.memory[0x030], shown);
        EXPECT_EQ(mouse.memory, session.image().ImageBuf);
        ASSERT_TRUE(session.heldImage());
        EXPECT_EQ(*session.heldImage(), mouse.memory);
        EXPECT_LT(CountOf(mouse, WriteDataCmd), 342);
        mouse.clearTraffic();
    }
    EXPECT_TRUE(services.messages.empty());
}

// A read that does not get every chunk says so, and nothing of its picture
// reaches the mouse: the lost bytes (0xFF, or a section's factory repair)
// were never the mouse's. A complete read lifts it.
TEST_F(DeviceSessionTest, IncompleteReadIsToldAndNothingOfItIsWritten)
{
    const struct {
        const char* what;
        int firstLost; // the read chunk from which the mouse stops answering
        int lost;      // for this many chunks (their attempts included)
    } cases[] = {
        {"one chunk at 0x300 lost", 0x300 / 6 + 1, 5},
        {"the mouse stops answering", 100, 100000},
        {"a chunk of the first section lost", 3, 5},
    };
    arrive();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int chunks = 0;
        mouse.onCommand = [this, &chunks, c](int) {
            if (mouse.requests().back()[1] != ReadDataCmd)
                return;
            ++chunks;
            mouse.config.silent = chunks >= c.firstLost && chunks < c.firstLost + c.lost;
        };
        services.messages.clear();
        session.ReadOnRequest();
        mouse.onCommand = {};
        mouse.config.silent = false;
        ASSERT_FALSE(session.lastReadComplete());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, QStringLiteral("Str801"));

        const ImageBytes before = mouse.memory;
        mouse.clearTraffic();
        host.onStore = [this] { session.image().ParameterA[6] ^= 0x01; };
        EXPECT_FALSE(session.DownloadParameter());
        EXPECT_EQ(CountOf(mouse, WriteDataCmd), 0);
        EXPECT_EQ(mouse.memory, before);
        EXPECT_EQ(services.messages.size(), 2u);

        host.onStore = {};
        session.ReadOnRequest();
        ASSERT_TRUE(session.lastReadComplete());
        host.onStore = [this] { session.image().ParameterA[6] ^= 0x01; };
        EXPECT_TRUE(session.DownloadParameter());
        EXPECT_EQ(mouse.memory, session.image().ImageBuf);
        host.onStore = {};
    }
}

// No message box opens while this program holds the mouse's lock: a box
// stays open as long as the user leaves it, and another program (the tool)
// must not wait for the mouse meanwhile.
TEST_F(DeviceSessionTest, BoxesOpenOnlyOnceTheMouseIsFree)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    hid.setLockNodeFolder(folder.path().toStdString());
    session.link().setLockFolder(folder.path(), 3000);
    arrive();
    MouseLock tool(folder.path(), "sim/mouse-config",
                   SimHost::lockNodeIn(folder.path().toStdString(), "sim/mouse-config"));
    QStringList heldAtBox;
    services.onMessage = [&](const FakeServices::Shown& shown) {
        if (!tool.tryLock())
            heldAtBox << shown.text;
        else
            tool.unlock();
    };
    const struct {
        const char* what;
        const char* key;
        std::function<void()> run;
    } cases[] = {
        {"verification failed", "Str109",
         [this] {
             mouse.config.writeProtected = true;
             host.onStore = [this] { session.image().Block80[0] ^= 0x01; };
             EXPECT_FALSE(session.DownloadParameter());
             mouse.config.writeProtected = false;
             host.onStore = {};
         }},
        {"wrong identity", "Str107",
         [this] {
             mouse.memory[IdentityAddr1] ^= 0x5A;
             session.ReadOnRequest();
             mouse.memory[IdentityAddr1] ^= 0x5A;
         }},
        {"a read that lost a chunk", "Str801",
         [this] {
             int chunks = 0;
             mouse.onCommand = [this, &chunks](int) {
                 if (mouse.requests().back()[1] == ReadDataCmd)
                     mouse.config.silent = ++chunks >= 200 && chunks < 205;
             };
             session.ReadOnRequest();
             mouse.onCommand = {};
             mouse.config.silent = false;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        services.messages.clear();
        heldAtBox.clear();
        c.run();
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, QString::fromLatin1(c.key));
        EXPECT_TRUE(heldAtBox.isEmpty()) << heldAtBox.join(QLatin1Char('|')).toStdString();
        session.ReadOnRequest();
        ASSERT_TRUE(session.lastReadComplete());
    }
}
