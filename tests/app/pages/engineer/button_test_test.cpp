// The engineering page's button test: a real worker thread polls the
// simulated mouse while the test drives virtual time. The worker takes its
// turns in lockstep with the test (it runs only while the test waits for
// it), so the virtual clock is never touched by two threads at once and
// every run is the same.
#include "AppFixture.h"

#include "app/pages/engineer/ButtonTestRunner.h"

#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace orb;
using namespace orb::test;

namespace
{

class WorkerTurns
{
  public:
    explicit WorkerTurns(VirtualClock& clock) : clock_(clock) {}

    ButtonTestRunner::WorkerHooks hooks()
    {
        return {[this](int ms) { pause(ms); }, [this] { ended(); }, {}};
    }
    // The test has started a worker: it will pause (or end) before it reads.
    void expectWorker()
    {
        std::lock_guard l(m_);
        active_ = true;
        ended_ = false;
    }
    // Lets the worker run while its pauses are over, each time waiting
    // until it pauses again or ends.
    void runDue()
    {
        std::unique_lock l(m_);
        if (!active_)
            return;
        cv_.wait(l, [&] { return parked_ || ended_; });
        for (int turn = 0; turn < 100 && !ended_ && due_ <= clock_.nowMs(); ++turn) {
            parked_ = false;
            cv_.notify_all();
            cv_.wait(l, [&] { return parked_ || ended_; });
        }
        if (ended_)
            active_ = false;
    }
    // No more turns: the worker runs freely to its end (at tear-down).
    void open()
    {
        std::lock_guard l(m_);
        open_ = true;
        parked_ = false;
        cv_.notify_all();
    }

  private:
    void pause(int ms)
    {
        std::unique_lock l(m_);
        if (open_)
            return;
        due_ = clock_.nowMs() + ms;
        parked_ = true;
        cv_.notify_all();
        cv_.wait(l, [&] { return !parked_ || open_; });
    }
    void ended()
    {
        std::lock_guard l(m_);
        ended_ = true;
        parked_ = false;
        cv_.notify_all();
    }

    VirtualClock& clock_;
    std::mutex m_;
    std::condition_variable cv_;
    bool active_ = false;
    bool parked_ = false;
    bool ended_ = false;
    bool open_ = false;
    std::int64_t due_ = 0;
};

// Holds a thread inside whatever it is doing until let go.
class Hold
{
  public:
    void here()
    {
        std::unique_lock l(m_);
        held_ = true;
        cv_.notify_all();
        cv_.wait(l, [&] { return released_; });
    }
    void untilHeld()
    {
        std::unique_lock l(m_);
        cv_.wait(l, [&] { return held_; });
    }
    void release()
    {
        std::lock_guard l(m_);
        released_ = true;
        cv_.notify_all();
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    bool held_ = false;
    bool released_ = false;
};

struct ButtonTest : AppFixture {
    WorkerTurns turns{clock};
    // Runs when the window tells the worker to stop and waits for it.
    std::function<void()> onStopping;
    Hold inRequest;
    QStringList texts;  // btn_TestKeys as it changed, seen after every step
    QStringList hidden; // key buttons as they went invisible, in order

    void TearDown() override
    {
        inRequest.release();
        turns.open();
        window.reset();
        clock.setForeignSleepHook({});
    }
    QPushButton* testKeys() const { return find<QPushButton>(QStringLiteral("btn_TestKeys")); }
    QWidget* key(int k) const { return find(QStringLiteral("btn_Key1%1").arg(k, 2, 10, QLatin1Char('0'))); }
    ButtonTestRunner& runner() const { return window->engineerPage().buttonTest(); }

    // `silent`: the mouse stops answering once it has been read.
    void begin(bool silent = false)
    {
        startRead();
        mouse.config.silent = silent;
        clickTest();
    }
    // Clicks btn_TestKeys with the worker taking its turns.
    void clickTest()
    {
        reloadsBefore = mouse.reloadCount();
        ButtonTestRunner::WorkerHooks hooks = turns.hooks();
        hooks.stopping = [this] {
            if (onStopping)
                onStopping();
        };
        runner().setWorkerHooks(hooks);
        // The worker's sleeps inside ReadKeyState wait in turns too.
        clock.setForeignSleepHook([this](int ms) { turns.hooks().pause(ms); });
        normal = testKeys()->text();
        texts << normal;
        QTest::mouseClick(testKeys(), Qt::LeftButton);
        startedAt = clock.nowMs();
        turns.expectWorker();
    }
    // Lets `ms` of virtual time pass in 10 ms steps: the worker's turn, the
    // posted blinks, then the clock.
    void step(std::int64_t ms)
    {
        for (std::int64_t t = 0; t < ms; t += 10) {
            turns.runDue();
            QCoreApplication::processEvents();
            for (int k = 1; k <= 9; ++k)
                if (key(k)->isHidden() && (hidden.isEmpty() || hidden.back() != QString::number(k)))
                    hidden << QString::number(k);
            clock.advance(10);
            if (testKeys()->text() != texts.back())
                texts << testKeys()->text();
        }
    }
    // Steps until the test has ended; the virtual time it took from the click.
    std::int64_t untilEnded(std::int64_t limit = 20000)
    {
        while (runner().running() && clock.nowMs() - startedAt < limit)
            step(10);
        return clock.nowMs() - startedAt;
    }
    std::vector<std::uint8_t> commands() const
    {
        std::vector<std::uint8_t> out;
        for (const auto& r : mouse.requests())
            out.push_back(r[1]);
        return out;
    }

    QString normal;
    std::int64_t startedAt = 0;
    int reloadsBefore = 0;
};

TEST_F(ButtonTest, PressedButtonsBlinkInOrderAndRestartTheCountdown)
{
    mouse.pressedButtons = 0b101; // keys 1 and 3
    begin();
    EXPECT_FALSE(testKeys()->isEnabled());
    EXPECT_FALSE(window->session().devTimer().isEnabled());
    EXPECT_TRUE(mouse.inExchange());
    // Nothing else may use the link meanwhile.
    EXPECT_FALSE(find(QStringLiteral("btn_Write"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("Btn_Main_6"))->isEnabled());

    // Released once the first blink is under way.
    while (hidden.isEmpty() && clock.nowMs() - startedAt < 1000)
        step(10);
    mouse.pressedButtons = 0;
    const std::int64_t took = untilEnded();

    EXPECT_EQ(hidden, (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    for (int k = 1; k <= 9; ++k)
        EXPECT_TRUE(key(k)->isVisibleTo(key(k)->parentWidget())) << k;
    // Two blinks of 1.5 s each, then the six ticks of the countdown.
    EXPECT_GE(took, 3000 + 6000);
    EXPECT_LE(took, 3000 + 7200);
    // The ticks during the blinks keep the normal text; the count starts
    // after the last blink. The sixth tick ends the test and gives the
    // normal text back at once.
    EXPECT_EQ(texts,
              (QStringList{normal, QStringLiteral("5..."), QStringLiteral("4..."), QStringLiteral("3..."),
                           QStringLiteral("2..."), QStringLiteral("1..."), normal}));
    EXPECT_EQ(testKeys()->text(), normal);
    EXPECT_TRUE(testKeys()->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("btn_Write"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("Btn_Main_6"))->isEnabled());
    EXPECT_TRUE(window->session().devTimer().isEnabled());
    const auto sent = commands();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), BeginCmd);
    EXPECT_EQ(sent[sent.size() - 2], SystemReloadCmd);
    EXPECT_EQ(sent.back(), EndCmd);
    EXPECT_FALSE(mouse.inExchange());
    EXPECT_EQ(mouse.reloadCount(), reloadsBefore + 1);
}

TEST_F(ButtonTest, TickDuringABlinkPutsTheCountBackToFive)
{
    begin();
    step(2500); // "5...", "4..."
    ASSERT_EQ(testKeys()->text(), QStringLiteral("4..."));
    mouse.pressedButtons = 0b10; // key 2
    step(700);
    mouse.pressedButtons = 0;
    EXPECT_EQ(testKeys()->text(), normal);
    untilEnded();
    EXPECT_EQ(hidden, QStringList{QStringLiteral("2")});
    EXPECT_EQ(texts, (QStringList{normal, QStringLiteral("5..."), QStringLiteral("4..."), normal,
                                  QStringLiteral("5..."), QStringLiteral("4..."), QStringLiteral("3..."),
                                  QStringLiteral("2..."), QStringLiteral("1..."), normal}));
}

TEST_F(ButtonTest, SilentMouseEndsTheTestAboutSixSecondsAfterTheClick)
{
    begin(true);
    const std::int64_t took = untilEnded();
    EXPECT_TRUE(hidden.isEmpty());
    // The sixth tick, plus the poll the worker was in: ten unanswered tries
    // (550 ms; longer here, where each of its 5 ms sleeps takes a 10 ms step).
    EXPECT_GE(took, 6000);
    EXPECT_LE(took, 6000 + 1500);
    // Unanswered, each command is sent its number of times: the reloads,
    // then only ends.
    const auto sent = commands();
    const auto reload = std::find(sent.rbegin(), sent.rend(), SystemReloadCmd);
    ASSERT_NE(reload, sent.rend());
    EXPECT_NE(reload, sent.rbegin());
    EXPECT_TRUE(std::all_of(sent.rbegin(), reload, [](std::uint8_t c) { return c == EndCmd; }));
    EXPECT_TRUE(testKeys()->isEnabled());
    EXPECT_EQ(testKeys()->text(), normal);
    EXPECT_TRUE(window->session().devTimer().isEnabled());
}

TEST_F(ButtonTest, MouseUnpluggedDuringTheTestEndsItCleanly)
{
    begin();
    host.unplugAtCommand(&mouse, StatusCmd, 3);
    const std::int64_t took = untilEnded();
    EXPECT_LT(took, 1000); // at once, not after the countdown
    EXPECT_TRUE(window->session().link().deviceGone());
    EXPECT_TRUE(testKeys()->isEnabled());
    EXPECT_EQ(testKeys()->text(), normal);
    EXPECT_FALSE(runner().testTimer().isEnabled());
    EXPECT_TRUE(window->session().devTimer().isEnabled());

    // The device timer notices the loss as usual.
    clock.advance(8000);
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_FALSE(window->session().link().hasDevice());
}

// A mouse refused for memory access leaves the engineering page shown with
// no device handle: the test runs its countdown out as with a silent mouse.
TEST_F(ButtonTest, WithoutADeviceHandleTheCountdownRunsOut)
{
    startRead();
    click(QStringLiteral("Btn_Engineer_1"));
    ASSERT_FALSE(window->page(6)->isHidden());
    mouse.config.memoryAccess = false;
    window->session().ReadDevInfo();
    ASSERT_FALSE(window->session().link().hasDevice());
    ASSERT_FALSE(window->page(6)->isHidden());
    mouse.pressedButtons = 0b1;
    mouse.clearTraffic();

    clickTest();
    const std::int64_t took = untilEnded();
    EXPECT_GE(took, 6000);
    EXPECT_LE(took, 6000 + 1000);
    EXPECT_TRUE(hidden.isEmpty());
    EXPECT_EQ(texts,
              (QStringList{normal, QStringLiteral("5..."), QStringLiteral("4..."), QStringLiteral("3..."),
                           QStringLiteral("2..."), QStringLiteral("1..."), normal}));
    EXPECT_TRUE(testKeys()->isEnabled());
    EXPECT_TRUE(window->session().devTimer().isEnabled());
    EXPECT_TRUE(mouse.requests().empty());
}

// Closing the window while the worker is inside a request on the device
// handle: the worker is stopped and waited for, and the test ended with the
// reload and the end, before the handle is closed.
TEST_F(ButtonTest, ClosingDuringTheTestWaitsForTheWorkerBeforeTheHandleGoes)
{
    begin();
    step(300);
    ASSERT_TRUE(runner().running());
    // The worker is between turns: hold it inside its next request.
    const std::thread::id ui = std::this_thread::get_id();
    mouse.onCommand = [this, ui](int) {
        if (std::this_thread::get_id() != ui)
            inRequest.here();
    };
    onStopping = [this] { inRequest.release(); };
    turns.open();
    inRequest.untilHeld();
    mouse.clearTraffic();

    window->close();
    inRequest.release();
    EXPECT_EQ(host.closedInUse, 0);
    EXPECT_FALSE(runner().running());
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_FALSE(mouse.inExchange());
    const auto sent = commands();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], SystemReloadCmd);
    EXPECT_EQ(sent.back(), EndCmd);
}

TEST_F(ButtonTest, SecondClickDuringTheTestChangesNothing)
{
    begin();
    step(1500);
    runner().btn_TestKeysClick(); // the button is disabled; a stray call does nothing either
    const auto sent = commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), BeginCmd), 1);
    untilEnded();
    EXPECT_FALSE(runner().running());
}

} // namespace
