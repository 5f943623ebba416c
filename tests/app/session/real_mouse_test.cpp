// What a real mouse on Linux brings that a well-behaved simulation does not:
// a cable pulled in the middle of a transfer, a node this user may not open,
// and a mouse whose current key mode is B.
#include "AppFixture.h"
#include "app/base/ClickLabel.h"
#include "app/frame/LoadingWindow.h"
#include "app/frame/PageSelector.h"
#include "device/MouseLock.h"
#include "skin/PermissionHintText.h"
#include "skin/TextSlots.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <vector>

using namespace orb;
using namespace orb::test;

namespace
{

struct RealMouse : AppFixture {
    int countOf(std::uint8_t cmd) const
    {
        const auto& r = mouse.requests();
        return int(std::count_if(r.begin(), r.end(), [cmd](const auto& q) { return q[1] == cmd; }));
    }
    QLabel* permissionHint() const { return find<QLabel>(QStringLiteral("lbl_PermissionHint")); }
    bool hintShown() const { return permissionHint() && !permissionHint()->isHidden(); }
    QString picture(const QString& control) const { return find(control)->property("picture").toString(); }
    // The page-button groups that carry the current mark on any copy.
    QStringList markedGroups() const
    {
        QStringList out;
        for (const char* g : {"Main", "Second", "Adv", "Breath", "Macro", "Engineer", "Save", "Load"})
            for (int copy = 1; copy <= 4; ++copy)
                if (picture(QStringLiteral("Img_%1_%2").arg(QLatin1String(g)).arg(copy)) ==
                    QLatin1String("SetS_03")) {
                    out << QLatin1String(g);
                    break;
                }
        return out;
    }
    bool groupFullyMarked(const char* group) const
    {
        for (int copy = 1; copy <= 4; ++copy)
            if (picture(QStringLiteral("Img_%1_%2").arg(QLatin1String(group)).arg(copy)) !=
                QLatin1String("SetS_03"))
                return false;
        return true;
    }
};

ImageBytes imageWithKeyMode(int mode)
{
    // Bit 7 of 0x034 is the current key mode; 0x035 holds its complement.
    ImageBytes image = *LoadDefaultImage(1);
    image[0x034] = std::uint8_t(mode ? (image[0x034] | 0x80) : (image[0x034] & 0x7F));
    image[0x035] = std::uint8_t(~image[0x034]);
    return image;
}

} // namespace

// --- A mouse pulled out in the middle of a transfer ---

struct UnplugCase {
    const char* name;
    bool apply;           // during an Apply (else during the read on arrival)
    std::uint8_t command; // the mouse goes as the n-th such request is sent
    int n;
};

struct Unplugged : RealMouse, ::testing::WithParamInterface<UnplugCase> {
};

TEST_P(Unplugged, GoesToNoDeviceAtOnceAndReadsTheMouseAgainWhenItReturns)
{
    const UnplugCase& c = GetParam();
    if (c.apply)
        startRead();
    else
        start(true);
    std::int64_t unpluggedAt = -1;
    const int before = countOf(c.command);
    mouse.onCommand = [&](int) {
        if (unpluggedAt < 0 && countOf(c.command) - before == c.n) {
            host.plugMouse(&mouse, false);
            unpluggedAt = clock.nowMs();
        }
    };
    if (c.apply)
        window->actions().Btn_Confirm1_1Click(); // a whole write, every chunk read back
    else
        untilOpened();
    ASSERT_GE(unpluggedAt, 0);

    // No remaining chunk is tried: the no-device state comes at once, with
    // the handle closed and one message, not at the next count change.
    EXPECT_LE(clock.nowMs() - unpluggedAt, 500);
    EXPECT_EQ(messages(), QStringList{lostMessage()});
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_TRUE(overlaysVisible());
    EXPECT_FALSE(window->loadingWindow()->isVisible());
    EXPECT_TRUE(window->session().devTimer().isEnabled());

    // A tick without the mouse changes nothing more.
    mouse.onCommand = nullptr;
    clock.advance(3500);
    EXPECT_EQ(messages().size(), 1);

    // Plugged in again: opened and read whole at the next tick.
    host.plugMouse(&mouse, true);
    clock.advance(3500 + 2100 + 2500);
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_FALSE(window->stack().noDeviceUI());
    EXPECT_TRUE(window->session().lastReadComplete());
    EXPECT_EQ(window->session().image().ImageBuf, mouse.memory);
    EXPECT_EQ(messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    AtAChunk, Unplugged,
    ::testing::Values(UnplugCase{"read", false, ReadDataCmd, 100},
                      UnplugCase{"write", true, WriteDataCmd, 50},
                      // Counted from the write, the read requests are those of the verification.
                      UnplugCase{"verification", true, ReadDataCmd, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMouse, MouseThatDoesNotAnswerKeepsItsAttempts)
{
    startRead();
    SimMouse::Config stalled = mouse.config;
    mouse.config.failGets = true;
    window->actions().Btn_Apply_0Click();
    // The first command runs all five of its attempts, and the write stops
    // there, as for a mouse that does not acknowledge.
    const std::array<std::uint8_t, 8> begin{4, BeginCmd, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(mouse.requests(), (std::vector<std::array<std::uint8_t, 8>>(5, begin)));
    // Still counted as connected: the next tick decides, as for any mouse
    // that is present.
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_FALSE(window->session().link().deviceGone());
    mouse.config = stalled;
}

// --- The command-line tool on the same mouse ---

// Apply while the tool writes the mouse: the window waits for it (time
// pumped), then says who holds the mouse; nothing of the window's reaches
// the mouse, and it is taken again at the next Apply.
TEST_F(RealMouse, ApplyWhileTheToolHoldsTheMouseNamesIt)
{
    QTemporaryDir locks;
    ASSERT_TRUE(locks.isValid());
    start(true);
    window->session().link().setLockFolder(locks.path(), 3000); // as the program does
    untilOpened();
    ASSERT_TRUE(window->session().lastReadComplete());
    mouse.clearTraffic();
    MouseLock tool(locks.path(), "sim/mouse-config");
    ASSERT_TRUE(tool.tryLock());
    const int before = int(messages().size());

    click(QStringLiteral("Btn_Apply_1"));
    EXPECT_TRUE(mouse.requests().empty());
    ASSERT_EQ(int(messages().size()), before + 1);
    // In the window's language, naming the holder.
    EXPECT_EQ(messages().last(), window->session().MouseHeldText(tool.holder()));
    EXPECT_EQ(messages().last(), text("Str800").arg(tool.holder()));
    EXPECT_TRUE(window->session().link().hasDevice());

    tool.unlock();
    click(QStringLiteral("Btn_Apply_1"));
    EXPECT_EQ(countOf(WriteDataCmd), 342);
    EXPECT_EQ(int(messages().size()), before + 1);
}

// --- A mouse this user may not open ---

TEST_F(RealMouse, RefusedOpeningShowsTheFixUntilTheMouseIsOpened)
{
    start(true);
    host.refuseOpening(&mouse, true);
    clock.advance(3500 + 2100);
    EXPECT_FALSE(window->session().link().hasDevice());
    ASSERT_TRUE(permissionHint());
    EXPECT_TRUE(hintShown());
    EXPECT_EQ(permissionHint()->text(), PermissionHintText(window->skin().languageIndex()));
    const int shownMessages = int(messages().size());

    // Said once: later ticks add nothing; a language change re-texts it.
    clock.advance(3 * 3500);
    EXPECT_EQ(messages().size(), shownMessages);
    ASSERT_EQ(window->skin().languageIndex(), 1);
    ASSERT_NE(PermissionHintText(3), PermissionHintText(1));
    click(QStringLiteral("Btn_Lang3_1"));
    ASSERT_EQ(window->skin().languageIndex(), 3);
    EXPECT_EQ(permissionHint()->text(), PermissionHintText(3));

    // The rule is installed: the node opens, the count rises, the mouse is read.
    host.refuseOpening(&mouse, false);
    clock.advance(3500 + 2100 + 2500);
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_FALSE(hintShown());
}

// The first tick after the start: a mouse that is there but may not be
// opened gets the permission hint and no "waiting to reconnect" box; a mouse
// that is really absent gets the box and no hint.
struct FirstTickCase {
    const char* name;
    bool plugged;
    bool refused;
    bool message;
    bool hint;
};

struct FirstTick : RealMouse, ::testing::WithParamInterface<FirstTickCase> {
};

TEST_P(FirstTick, ReconnectMessageOnlyForAMouseThatIsAbsent)
{
    const FirstTickCase& c = GetParam();
    start(c.plugged);
    host.refuseOpening(&mouse, c.refused);
    clock.advance(3500 + 2100);
    EXPECT_FALSE(window->session().link().hasDevice());
    const QString lost = DeviceLostMessage(window->skin().LookupText(QStringLiteral("Str100")),
                                           window->skin().LookupText(QStringLiteral("Str101")));
    EXPECT_EQ(messages().contains(lost), c.message) << messages().join(" | ").toStdString();
    EXPECT_EQ(hintShown(), c.hint);
    EXPECT_TRUE(window->stack().noDeviceUI());
}

INSTANTIATE_TEST_SUITE_P(Mouse, FirstTick,
                         ::testing::Values(FirstTickCase{"absent", false, false, true, false},
                                           FirstTickCase{"refused", true, true, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMouse, RefusedOpeningHintGoesWhenTheMouseIsUnplugged)
{
    start(true);
    host.refuseOpening(&mouse, true);
    clock.advance(3500 + 2100);
    ASSERT_TRUE(hintShown());
    host.plugMouse(&mouse, false);
    clock.advance(3500);
    EXPECT_FALSE(hintShown());
}

// --- The page buttons follow the key mode shown ---

struct KeyModeCase {
    const char* name;
    int mode;
    const char* option;
    const char* group;
};

struct PageMarks : RealMouse, ::testing::WithParamInterface<KeyModeCase> {
    void expectMarked(const char* when)
    {
        SCOPED_TRACE(when);
        EXPECT_EQ(window->stack().PageState(), QLatin1String(GetParam().option));
        EXPECT_EQ(markedGroups(), QStringList{QLatin1String(GetParam().group)});
        EXPECT_TRUE(groupFullyMarked(GetParam().group));
        EXPECT_FALSE(window->page(1)->isHidden());
    }
};

TEST_P(PageMarks, ReadLoadAndDefaultsMarkTheKeyModeShown)
{
    const ImageBytes image = imageWithKeyMode(GetParam().mode);
    startRead(image);
    expectMarked("after the read");

    // Another page chosen, then a read: the key page of the mouse's mode.
    window->selector().Btn_Adv_0Click();
    EXPECT_EQ(markedGroups(), QStringList{QStringLiteral("Adv")});
    window->actions().Btn_Read_0Click();
    expectMarked("after the Read button");

    // Leaving a page button puts the mark back on the selected page only.
    window->hover().ButtonMouseEnter(find<ClickLabel>(QStringLiteral("Btn_Macro_1")));
    window->hover().ButtonMouseLeave(find<ClickLabel>(QStringLiteral("Btn_Macro_1")));
    expectMarked("after the pointer left a page button");

    // A profile with the same key mode loaded on the key page.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.bin"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
    }
    services.openAnswers.push_back(file);
    window->actions().Btn_Load_0Click();
    expectMarked("after a profile load");
}

INSTANTIATE_TEST_SUITE_P(KeyModes, PageMarks,
                         ::testing::Values(KeyModeCase{"modeA", 0, "rb_1", "Main"},
                                           KeyModeCase{"modeB", 1, "rb_2", "Second"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMouse, DefaultOnAnotherPageKeepsThatPageMarked)
{
    startRead(imageWithKeyMode(1));
    window->selector().Btn_Adv_0Click();
    window->actions().Btn_Confirm1_1Click(); // default image 1, key mode A
    EXPECT_EQ(window->stack().PageState(), QLatin1String("rb_4"));
    EXPECT_EQ(markedGroups(), QStringList{QStringLiteral("Adv")});
    EXPECT_FALSE(window->page(2)->isHidden());
}

// --- Reads started by a button hold the device timer ---

TEST_F(RealMouse, ButtonReadsRunWithTheDeviceTimerStopped)
{
    startRead();
    QTemporaryDir dir;
    const std::function<void()> reads[] = {
        [this] { window->actions().Btn_Read_0Click(); },
        [this, &dir] {
            services.saveAnswers.push_back(dir.filePath(QStringLiteral("s.bin")));
            window->actions().Btn_Save_0Click();
        },
    };
    for (const auto& read : reads) {
        bool timerRan = false;
        int requests = 0;
        mouse.onCommand = [&](int) {
            ++requests;
            timerRan = timerRan || window->session().devTimer().isEnabled();
        };
        read();
        EXPECT_GT(requests, 300);
        EXPECT_FALSE(timerRan);
        EXPECT_TRUE(window->session().devTimer().isEnabled());
    }
    mouse.onCommand = nullptr;
}
