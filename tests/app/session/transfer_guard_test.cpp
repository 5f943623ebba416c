// One transfer at a time: the waits of a transfer pump the event queue, so a
// second action can be started from inside it (the engineering page has no
// overlay). Whatever starts it, it must not run nested in the first one.
#include "AppFixture.h"
#include "app/frame/PageSelector.h"
#include "app/pages/engineer/ButtonTestRunner.h"
#include "app/pages/engineer/EngineerModeControl.h"
#include "app/pages/engineer/EngineerPage.h"
#include "device/MemoryAccess.h"
#include "device/MouseLock.h"
#include "image/ProfileFile.h"

#include <QFile>
#include <QPushButton>

#include <algorithm>
#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{

struct TransferGuard : AppFixture {
    QTemporaryDir files;
    int bigChunks = 0; // chunk commands of windows of 256 bytes and more
    int windowLength = 0;
    bool secondStarted = false;

    QString path(const char* name) const { return files.filePath(QString::fromLatin1(name)); }

    // The mouse read, the engineering page shown and unlocked (Btn_Default
    // shows), and a profile file on disk for Btn_Load_6.
    void openEngineerPage()
    {
        startRead();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->selector().Btn_Engineer_0Click();
        ASSERT_TRUE(window->page(6)->isVisible());
        EngineerModeControl& mode = window->engineerPage().engineerMode();
        mode.setPassPhraseDialog([] { return std::optional<QString>(QStringLiteral("DravelkinQWT")); });
        for (int n = 1; n <= 5; ++n)
            mode.Img_Logo4DblClick();
        ASSERT_TRUE(find(QStringLiteral("Btn_Default"))->isVisible());

        ImageBytes profile = *LoadDefaultImage(2);
        ASSERT_TRUE(SaveProfileFile(path("load.bin").toStdString(), profile).ok);

        mouse.onCommand = [this](int) {
            const auto r = mouse.requests().back();
            if (r[1] == ReadAddrCmd || r[1] == WriteAddrCmd)
                windowLength = r[4] | (r[5] << 8);
            if ((r[1] == ReadDataCmd || r[1] == WriteDataCmd) && windowLength >= 256)
                ++bigChunks;
        };
    }
    void press(const char* name) const
    {
        QTest::mouseClick(find<QPushButton>(QLatin1String(name)), Qt::LeftButton);
    }

    // Runs `second` once from a pump of the first transfer, well inside its
    // image window.
    void secondDuring(const std::function<void()>& second)
    {
        clock.setPumpHook([this, second] {
            if (secondStarted || bigChunks < 60)
                return;
            secondStarted = true;
            second();
        });
    }

    // Every exchange opens with BeginCmd and closes with EndCmd, and no
    // command falls outside one or opens another inside it.
    testing::AssertionResult exchangesNeverNest() const
    {
        bool open = false;
        const auto requests = mouse.requests();
        for (std::size_t i = 0; i < requests.size(); ++i) {
            const std::uint8_t cmd = requests[i][1];
            if (cmd == BeginCmd ? open : !open)
                return testing::AssertionFailure()
                       << "command " << int(cmd) << " at request " << i
                       << (open ? " inside an open exchange" : " outside any exchange");
            if (cmd == BeginCmd)
                open = true;
            else if (cmd == EndCmd)
                open = false;
        }
        return testing::AssertionSuccess();
    }
    static bool macroAreaHasFF(const ImageBytes& image)
    {
        return std::any_of(image.begin() + MacroAreaAddr, image.end(), [](auto b) { return b == 0xFF; });
    }
};

struct FirstCase {
    const char* name;
    std::function<void(TransferGuard&)> run;
    std::function<void(TransferGuard&)> check; // the first transfer ran whole
};

struct SecondCase {
    const char* name;
    std::function<void(TransferGuard&)> run;
};

struct Pair {
    FirstCase first;
    SecondCase second;
};

const FirstCase kSave{"Save",
                      [](TransferGuard& t) {
                          t.services.saveAnswers.push_back(t.path("saved.bin"));
                          t.press("Btn_Save_6");
                      },
                      [](TransferGuard& t) {
                          QFile f(t.path("saved.bin"));
                          ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                          const QByteArray bytes = f.readAll();
                          ASSERT_EQ(bytes.size(), kMemorySize);
                          EXPECT_TRUE(std::equal(t.mouse.memory.begin(), t.mouse.memory.end(),
                                                 reinterpret_cast<const std::uint8_t*>(bytes.data())));
                      }};

const FirstCase kWrite{"Write",
                       [](TransferGuard& t) {
                           // A whole write, long enough for the second action to come in it.
                           t.window->session().forgetHeldImage();
                           t.press("btn_Write");
                       },
                       [](TransferGuard& t) {
                           EXPECT_EQ(t.mouse.memory, t.window->session().image().ImageBuf);
                           EXPECT_TRUE(t.window->session().lastWriteSucceeded());
                       }};

const SecondCase kSeconds[] = {
    {"btn_Write", [](TransferGuard& t) { t.press("btn_Write"); }},
    {"Btn_Save_6",
     [](TransferGuard& t) {
         t.services.saveAnswers.push_back(t.path("second.bin"));
         t.press("Btn_Save_6");
     }},
    {"Btn_Load_6",
     [](TransferGuard& t) {
         t.services.openAnswers.push_back(t.path("load.bin"));
         t.press("Btn_Load_6");
     }},
    {"Btn_Default", [](TransferGuard& t) { t.press("Btn_Default"); }},
    {"btn_TestKeys", [](TransferGuard& t) { t.press("btn_TestKeys"); }},
    {"Read", [](TransferGuard& t) { t.window->actions().Btn_Read_0Click(); }},
    {"Apply", [](TransferGuard& t) { t.window->actions().Btn_Apply_0Click(); }},
    {"Confirm2", [](TransferGuard& t) { t.window->actions().Btn_Confirm2_1Click(); }},
    {"device tick", [](TransferGuard& t) { t.window->session().DevTimerTimer(); }},
};

std::vector<Pair> pairs()
{
    std::vector<Pair> out;
    for (const FirstCase& first : {kSave, kWrite})
        for (const SecondCase& second : kSeconds)
            out.push_back({first, second});
    return out;
}

struct SecondAction : TransferGuard, ::testing::WithParamInterface<Pair> {
};

} // namespace

TEST_P(SecondAction, DuringATransferDoesNothingAndNeverNests)
{
    const Pair& p = GetParam();
    openEngineerPage();
    ASSERT_FALSE(macroAreaHasFF(mouse.memory));
    const ImageBytes before = mouse.memory;
    secondDuring([&] { p.second.run(*this); });

    p.first.run(*this);
    clock.setPumpHook({});
    ASSERT_TRUE(secondStarted);

    EXPECT_TRUE(exchangesNeverNest());
    EXPECT_FALSE(mouse.inExchange());
    p.first.check(*this);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    // The second action left nothing behind: no file, no test running, the
    // mouse's macros untouched.
    EXPECT_FALSE(QFile::exists(path("second.bin")));
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("btn_TestKeys"))->isEnabled());
    EXPECT_FALSE(window->session().transferRunning());
    EXPECT_TRUE(
        std::equal(before.begin() + MacroAreaAddr, before.end(), mouse.memory.begin() + MacroAreaAddr));
    EXPECT_FALSE(macroAreaHasFF(window->session().image().ImageBuf));

    // The next write sends what the window holds: still no 0xFF macros.
    mouse.onCommand = {};
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    EXPECT_FALSE(macroAreaHasFF(mouse.memory));
    EXPECT_TRUE(exchangesNeverNest());
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondAction, ::testing::ValuesIn(pairs()), [](const auto& info) {
    std::string name = std::string(info.param.first.name) + "_then_" + info.param.second.name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

// The guard is the session's: the procedures themselves refuse while a
// transfer runs, whoever calls them (the command-line tool calls them
// without any window).
TEST_F(TransferGuard, EveryProcedureIsRefusedWhileATransferRuns)
{
    startRead();
    DeviceSession& s = window->session();
    int ran = 0;
    ASSERT_TRUE(s.RunTransfer([&] {
        EXPECT_TRUE(s.transferRunning());
        EXPECT_FALSE(s.RunTransfer([&] { ++ran; }));
        EXPECT_FALSE(s.RunBusy([&] { ++ran; }));
        EXPECT_FALSE(s.BeginTransfer());
        EXPECT_FALSE(s.QueryStatus());
        s.ReadDevInfo();
        s.ReadOnRequest();
        EXPECT_FALSE(s.ReadImageForSave());
        s.Btn_Read();
        s.WriteImage();
        s.RepeatedWriteEEPROM();
        EXPECT_FALSE(s.DownloadParameter());
        EXPECT_FALSE(s.DefaultParameter(1));
        EXPECT_FALSE(s.TLDefaultParameter());
        EXPECT_FALSE(s.MemoToDataBuf_OnClick());
        s.DevTimerTimer();
    }));
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(mouse.requests().empty());
    EXPECT_FALSE(s.transferRunning());
    EXPECT_TRUE(s.BeginTransfer());
    s.EndTransfer();
}

namespace
{
struct HeldElsewhere : TransferGuard, ::testing::WithParamInterface<SecondCase> {
    QTemporaryDir locks;
};

const SecondCase kReplug{"replug", [](TransferGuard& t) {
                             t.host.plugMouse(&t.mouse, false);
                             t.clock.advance(3500);
                             t.mouse.clearTraffic();
                             t.host.plugMouse(&t.mouse, true);
                             t.clock.advance(3500 + 2100 + 3000);
                         }};
} // namespace

// Another program holds the mouse's lock: whatever the window starts, not a
// single request reaches the mouse, and an action of the user's says that
// the mouse is in use.
TEST_P(HeldElsewhere, NothingReachesTheMouse)
{
    ASSERT_TRUE(locks.isValid());
    lockFolder = locks.path();
    openEngineerPage();
    mouse.onCommand = {};
    MouseLock other(lockFolder, "sim/mouse-config", lockNode());
    ASSERT_TRUE(other.tryLock());
    mouse.clearTraffic();
    services.messages.clear();

    GetParam().run(*this);
    clock.advance(20000); // the key test's countdown, the device timer

    EXPECT_TRUE(mouse.requests().empty()) << mouse.requests().size() << " requests";
    EXPECT_FALSE(window->session().transferRunning());
    const std::string name = GetParam().name;
    if (name != "device tick" && name != "replug") {
        EXPECT_TRUE(messages().contains(window->session().MouseHeldText(other.holder())))
            << messages().join(QLatin1Char('|')).toStdString();
    }

    // Once it has let go, the window gets the mouse again (a mouse that
    // arrived meanwhile is read at a later tick).
    other.unlock();
    clock.advance(3 * 3500);
    ASSERT_TRUE(window->session().link().hasDevice());
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
}

INSTANTIATE_TEST_SUITE_P(Actions, HeldElsewhere, ::testing::ValuesIn([] {
                             std::vector<SecondCase> all(std::begin(kSeconds), std::end(kSeconds));
                             all.push_back(kReplug);
                             return all;
                         }()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// The tool wrote the mouse, then the key test took the mouse's lock: what
// that take learnt is kept for the next write, which sends the whole image.
TEST_F(TransferGuard, AnotherProgramsWriteIsStillKnownAfterTheKeyTest)
{
    QTemporaryDir locks;
    ASSERT_TRUE(locks.isValid());
    lockFolder = locks.path();
    openEngineerPage();
    mouse.onCommand = {};
    MouseLock tool(lockFolder, "sim/mouse-config", lockNode());
    ASSERT_TRUE(tool.tryLock());
    mouse.memory[0x300] ^= 0xFF; // the tool's byte
    tool.unlock();

    press("btn_TestKeys");
    window->engineerPage().buttonTest().End();
    ASSERT_GT(mouse.reloadCount(), 0);
    mouse.clearTraffic();
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(window->session().lastWriteSucceeded());
    const auto requests = mouse.requests();
    EXPECT_EQ(
        std::count_if(requests.begin(), requests.end(), [](const auto& r) { return r[1] == WriteDataCmd; }),
        342);
    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
}

// Confirm whose write failed keeps the window and its settings, and says so
// once, whatever the failure.
TEST_F(TransferGuard, ConfirmKeepsTheWindowWhenTheWriteFails)
{
    const struct {
        const char* what;
        std::function<void(SimMouse&)> fault;
    } cases[] = {
        {"status not acknowledged", [](SimMouse& m) { m.config.silent = true; }},
        {"verification failed",
         [](SimMouse& m) {
             m.memory[0x0B0] ^= 0x01; // a byte the window must put back
             m.config.writeProtected = true;
         }},
    };
    openEngineerPage();
    mouse.onCommand = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.fault(mouse);
        services.messages.clear();
        window->actions().Btn_Confirm_0Click();
        EXPECT_TRUE(window->isVisible());
        ASSERT_EQ(messages().size(), 1) << messages().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(messages()[0], text("Str109"));
        mouse.config = SimMouse::Config{};
    }
    window->actions().Btn_Confirm_0Click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(mouse.memory, window->session().image().ImageBuf);
}
