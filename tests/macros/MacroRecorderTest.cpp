#include "macros/MacroRecorder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <future>
#include <random>
#include <thread>

namespace orb
{
namespace
{

TEST(MacroLines, GrammarAndListText)
{
    struct Case {
        QString line;
        int kind;
        const char* shown;
        int stored;
    };
    const Case cases[] = {
        {KeyLine(true, 17), 1, "Ctrl", 2},
        {KeyLine(false, 17), 2, "Ctrl", 2},
        {ButtonLine(true, MacroButton::Left), 1, "LeftKey", 1},
        {PauseLine(120), 0, "120 ms", 2},
        {PauseLine(0), 0, "0 ms", 2},
        {PauseLine(5000), 0, "5000 ms", 6},
        {MoveLine(MoveAxis::X, 12), 3, "X-Axis  12", 2},
        {MoveLine(MoveAxis::X, -12), 4, "X-Axis  -12", 2},
        {MoveLine(MoveAxis::Y, 0), 5, "Y-Axis  0", 2},
        {MoveLine(MoveAxis::Y, -128), 6, "Y-Axis  -128", 2},
        {LoopStartLine(10), 7, "Rep-Start  10", 2},
        {LoopEndLine(), 8, "Rep-Stop", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(KindOf(c.line), c.kind);
        EXPECT_EQ(DisplayText(c.line), QString::fromUtf8(c.shown));
        EXPECT_EQ(StoredSize(c.line), c.stored);
    }
}

TEST(MacroLines, CodesOfKeysAndButtons)
{
    const std::pair<QString, const char*> cases[] = {
        {ButtonLine(true, MacroButton::Left), "1 LeftKey CODE:00A1"},
        {ButtonLine(false, MacroButton::Left), "2 LeftKey CODE:0021"},
        {ButtonLine(true, MacroButton::Right), "1 RightKey CODE:00A2"},
        {ButtonLine(false, MacroButton::Right), "2 RightKey CODE:0022"},
        {ButtonLine(true, MacroButton::Middle), "1 MiddleKey CODE:00A4"},
        {ButtonLine(false, MacroButton::Middle), "2 MiddleKey CODE:0024"},
        {ButtonLine(true, MacroButton::Forward), "1 Forward CODE:00A8"},
        {ButtonLine(false, MacroButton::Forward), "2 Forward CODE:0028"},
        {ButtonLine(true, MacroButton::Backward), "1 Backward CODE:00B0"},
        {ButtonLine(false, MacroButton::Backward), "2 Backward CODE:0030"},
        {KeyLine(true, 17), "1 Ctrl CODE:8101"},
        {KeyLine(false, 17), "2 Ctrl CODE:0101"},
        {KeyLine(true, 16), "1 Shift CODE:8102"},
        {KeyLine(false, 16), "2 Shift CODE:0102"},
        {KeyLine(true, 18), "1 Alt CODE:8104"},
        {KeyLine(false, 18), "2 Alt CODE:0104"},
        {KeyLine(true, 91), "1 Left Windows CODE:8108"},
        {KeyLine(false, 91), "2 Left Windows CODE:0108"},
        {KeyLine(true, 92), "1 Right Windows CODE:8180"},
        {KeyLine(false, 92), "2 Right Windows CODE:0180"},
        {KeyLine(true, 65), "1 A CODE:8204"},
        {KeyLine(false, 65), "2 A CODE:0204"},
        {KeyLine(true, 162), "1 Left Ctrl CODE:82E0"}, // only VK 17 is the Ctrl modifier
        {KeyLine(true, 10), "1 None CODE:8200"},       // not in the key table
        {MoveLine(MoveAxis::X, 12), "3 FB0C"},
        {MoveLine(MoveAxis::X, -12), "4 FBF4"},
        {MoveLine(MoveAxis::X, 0), "3 FB00"},
        {MoveLine(MoveAxis::Y, 127), "5 FA7F"},
        {MoveLine(MoveAxis::Y, -1), "6 FAFF"},
        {LoopStartLine(10), "7 FD09"},
        {LoopEndLine(), "8 00FC"},
        {PauseLine(120), "0 120"},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(line, QString::fromLatin1(expected));
}

TEST(HeldKeys, RepeatsAndDoubleReleases)
{
    HeldKeys held;
    EXPECT_EQ(held.keyDown(65), KeyState::FirstPress);
    EXPECT_EQ(held.keyDown(65), KeyState::Repeat);
    EXPECT_EQ(held.keyDown(66), KeyState::FirstPress);
    EXPECT_EQ(held.keyUp(65), KeyState::Release);
    EXPECT_EQ(held.keyUp(65), std::nullopt);
    EXPECT_EQ(held.keys(), std::vector<int>{66});
}

TEST(PendingButtonEvents, FixedOrderAndARepeatedFlagCountsOnce)
{
    PendingButtonEvents pending;
    pending.set(ButtonEvent::BackwardUp);
    pending.set(ButtonEvent::LeftUp);
    pending.set(ButtonEvent::LeftDown);
    pending.set(ButtonEvent::LeftDown);
    EXPECT_EQ(pending.take(),
              (std::vector{ButtonEvent::LeftDown, ButtonEvent::LeftUp, ButtonEvent::BackwardUp}));
    EXPECT_TRUE(pending.take().empty());
}

TEST(PendingButtonEvents, WorkerSleepsUntilAnEventOrTheStop)
{
    PendingButtonEvents pending;
    // The flag and the stop come only once the worker sleeps, so that only
    // their notify can wake it.
    const auto untilWorkerSleeps = [&pending] {
        while (!pending.workerWaiting())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    std::promise<std::vector<ButtonEvent>> first;
    std::future<std::vector<ButtonEvent>> firstTaken = first.get_future();
    bool endedEmpty = false;
    std::thread worker([&] {
        first.set_value(pending.waitAndTake());     // sleeps until the hook sets a flag
        endedEmpty = pending.waitAndTake().empty(); // sleeps until the stop
    });
    untilWorkerSleeps();
    pending.set(ButtonEvent::MiddleUp);
    // A worker never woken would hang the test: the stop below frees it. The
    // limit only tells a sleeper from a slow machine, it measures no speed.
    const bool woken = firstTaken.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    EXPECT_TRUE(woken) << "the flag did not wake the sleeping worker";
    if (woken) {
        EXPECT_EQ(firstTaken.get(), std::vector{ButtonEvent::MiddleUp});
        untilWorkerSleeps();
    }
    pending.stop();
    worker.join();
    EXPECT_TRUE(endedEmpty);
    pending.reset();
    pending.set(ButtonEvent::RightUp);
    pending.set(ButtonEvent::RightDown);
    EXPECT_EQ(pending.waitAndTake(), (std::vector{ButtonEvent::RightDown, ButtonEvent::RightUp}));
}

class Recording : public ::testing::Test
{
  protected:
    MacroScript script;
    MacroRecorder recorder{script};
    RecordSettings settings;

    void start(DelayMode mode, int fixedMs = 50)
    {
        settings.normal = {mode, fixedMs};
        recorder.StartNormal(settings);
    }
    RecordStep key(int vk, int state, std::uint32_t now)
    {
        return recorder.KeyboardHook1Receive(vk, state, now);
    }
    RecordStep button(ButtonEvent e, std::uint32_t now) { return recorder.MouseButtonEvent(e, now); }
    QStringList lines() const { return script.Lines; }
};

TEST_F(Recording, HeldKeyGivesOnePressAndCtrlCKeepsOrder)
{
    start(DelayMode::None);
    HeldKeys held;
    std::uint32_t t = 1000;
    auto down = [&](int vk) { key(vk, held.keyDown(vk), t += 30); };
    auto up = [&](int vk) { key(vk, *held.keyUp(vk), t += 30); };
    down(17);
    down(17); // auto-repeat of a held Ctrl
    down(67);
    down(67);
    down(67);
    up(67);
    up(17);
    EXPECT_EQ(lines(),
              (QStringList{"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"}));
    EXPECT_EQ(recorder.UsedBytes, 8);
}

TEST_F(Recording, PausesBeforeKeysAndButtons)
{
    struct Case {
        DelayMode mode;
        int fixed;
        bool mouse;
        std::uint32_t gap;
        QStringList pauses;
    };
    const Case cases[] = {
        {DelayMode::Recorded, 50, false, 5000, {"0 5000"}},
        {DelayMode::Recorded, 50, true, 5000, {"0 2040", "0 2040", "0 920"}},
        {DelayMode::Recorded, 50, false, 15000, {"0 10200"}},
        {DelayMode::Recorded, 50, true, 15000, {"0 2040", "0 2040", "0 2040", "0 2040", "0 2040"}},
        {DelayMode::Recorded, 50, true, 4080, {"0 2040", "0 2040"}},
        {DelayMode::Fixed, 0, false, 700, {"0 0"}},
        {DelayMode::Fixed, 0, true, 700, {}},
        {DelayMode::Fixed, 2040, true, 700, {"0 2040"}},
        {DelayMode::Fixed, 150, false, 700, {"0 150"}},
        {DelayMode::None, 50, false, 700, {}},
        {DelayMode::None, 50, true, 700, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " " << c.fixed << " " << c.mouse << " " << c.gap);
        start(c.mode, c.fixed);
        // The first event has no pause; a tick of 0 is an ordinary time.
        if (c.mouse) {
            button(ButtonEvent::RightDown, 0);
            button(ButtonEvent::RightUp, c.gap);
        } else {
            key(65, KeyState::FirstPress, 0);
            key(65, KeyState::Release, c.gap);
        }
        QStringList expected{script.Lines.first(), c.mouse ? "1 RightKey CODE:00A2" : "1 A CODE:8204"};
        expected += c.pauses;
        expected << (c.mouse ? "2 RightKey CODE:0022" : "2 A CODE:0204");
        EXPECT_EQ(lines(), expected);
        EXPECT_EQ(recorder.UsedBytes, script.storedSize());
    }
}

TEST_F(Recording, HeaderFollowsTheDelayChoice)
{
    start(DelayMode::Fixed, 150);
    EXPECT_EQ(lines(), QStringList{"01150"});
    start(DelayMode::Recorded);
    EXPECT_EQ(lines(), QStringList{"10"});
    start(DelayMode::None);
    EXPECT_EQ(lines(), QStringList{"00"});
}

TEST_F(Recording, KeyTwoFiftyFiveIsIgnoredEvenWhenStopIsDue)
{
    start(DelayMode::None);
    recorder.StopRequested = true;
    const RecordStep step = key(255, KeyState::FirstPress, 10);
    EXPECT_EQ(step.added, 0);
    EXPECT_FALSE(step.stop);
    EXPECT_EQ(lines(), QStringList{"00"});
}

TEST_F(Recording, PressRefusedAtTheMarginReleasesTakenBelowTheBudget)
{
    struct Case {
        DelayMode mode;
        int used;
        int state;
        bool written;
        bool stop;
        // The insert panel's choice: with no delay there too the margin is 4.
        DelayMode insert = DelayMode::Recorded;
    };
    const Case cases[] = {
        {DelayMode::Recorded, 209, KeyState::FirstPress, true, false},
        {DelayMode::Recorded, 210, KeyState::FirstPress, false, true},
        {DelayMode::Fixed, 210, KeyState::FirstPress, false, true},
        {DelayMode::None, 215, KeyState::FirstPress, true, false},
        {DelayMode::None, 216, KeyState::FirstPress, false, true},
        {DelayMode::Recorded, 216, KeyState::Release, true, false},
        {DelayMode::None, 218, KeyState::Release, true, false},
        {DelayMode::None, 219, KeyState::Release, true, true}, // 221 > 220: stops after it
        {DelayMode::None, 220, KeyState::Release, false, true},
        {DelayMode::Recorded, 215, KeyState::FirstPress, true, false, DelayMode::None},
        {DelayMode::Fixed, 216, KeyState::FirstPress, false, true, DelayMode::None},
        {DelayMode::Recorded, 215, KeyState::FirstPress, false, true, DelayMode::Fixed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << int(c.mode) << "/" << int(c.insert) << " at " << c.used << " state " << c.state);
        settings.insert = {c.insert, 0};
        start(c.mode);
        key(66, KeyState::FirstPress, 100);
        recorder.UsedBytes = c.used;
        const RecordStep step = key(65, c.state, 200);
        EXPECT_EQ(step.added > 0, c.written);
        EXPECT_EQ(step.stop, c.stop);
        EXPECT_EQ(recorder.PressRefused, !c.written && c.state == KeyState::FirstPress);
    }
}

TEST_F(Recording, AfterARefusedPressReleasesAreNotRecorded)
{
    start(DelayMode::None);
    recorder.UsedBytes = 216;
    EXPECT_TRUE(key(65, KeyState::FirstPress, 0).stop);
    EXPECT_EQ(key(66, KeyState::Release, 0).added, 0);
}

TEST_F(Recording, ButtonsStopOnceAboveTheBudget)
{
    start(DelayMode::None);
    recorder.UsedBytes = 220;
    RecordStep step = button(ButtonEvent::LeftDown, 0);
    EXPECT_EQ(step.added, 1);
    EXPECT_TRUE(step.stop);
}

TEST_F(Recording, ClickOnTheRecordButtonIsNotRecorded)
{
    start(DelayMode::None);
    recorder.PointerOnRecordButton = true;
    EXPECT_FALSE(recorder.TakesButtonEvent(ButtonEvent::LeftDown));
    EXPECT_EQ(button(ButtonEvent::LeftDown, 0).added, 0);
    EXPECT_EQ(button(ButtonEvent::LeftUp, 0).added, 0);
    EXPECT_EQ(button(ButtonEvent::RightDown, 0).added, 1);
    recorder.PointerOnRecordButton = false;
    EXPECT_EQ(button(ButtonEvent::LeftDown, 0).added, 1);
    recorder.Stop();
    EXPECT_FALSE(recorder.TakesButtonEvent(ButtonEvent::RightDown));
    EXPECT_EQ(button(ButtonEvent::RightDown, 0).added, 0);
}

TEST_F(Recording, InsertRecordingBeforeLineThree)
{
    script.Lines = QStringList{"00", "1 A CODE:8204", "2 A CODE:0204", "1 B CODE:8205", "2 B CODE:0205"};
    settings.insert = {DelayMode::Fixed, 40};
    settings.insertAfter = false;
    // Anchored to item 2, script line 3.
    ASSERT_TRUE(recorder.StartInsert(settings, 2, 9));
    EXPECT_EQ(recorder.UsedBytes, 9);
    key(67, KeyState::FirstPress, 10);
    RecordStep step = button(ButtonEvent::LeftDown, 20);
    EXPECT_EQ(step.selection, recorder.InsertPos);
    key(67, KeyState::Release, 30);
    EXPECT_EQ(lines(), (QStringList{"00", "1 A CODE:8204", "2 A CODE:0204", "1 C CODE:8206", "0 40",
                                    "1 LeftKey CODE:00A1", "0 40", "2 C CODE:0206", "1 B CODE:8205",
                                    "2 B CODE:0205"}));
    EXPECT_EQ(recorder.InsertPos, 7);
    EXPECT_TRUE(recorder.Stop());
}

TEST_F(Recording, InsertRecordingAfterTheCurrentLine)
{
    script.Lines = QStringList{"00", "1 A CODE:8204", "2 A CODE:0204"};
    settings.insert = {DelayMode::None, 0};
    settings.insertAfter = true;
    ASSERT_TRUE(recorder.StartInsert(settings, 0, 5));
    key(67, KeyState::FirstPress, 10);
    key(67, KeyState::Release, 30);
    EXPECT_EQ(lines(),
              (QStringList{"00", "1 A CODE:8204", "1 C CODE:8206", "2 C CODE:0206", "2 A CODE:0204"}));
}

TEST_F(Recording, AnInsertRecordingTakesTheSmallMarginWhenTheMainRecordingHasNoDelays)
{
    script.Lines = QStringList{"00", "1 A CODE:8204", "2 A CODE:0204"};
    settings.normal = {DelayMode::None, 0};
    settings.insert = {DelayMode::Recorded, 0};
    ASSERT_TRUE(recorder.StartInsert(settings, 0, 5));
    key(66, KeyState::FirstPress, 100);
    recorder.UsedBytes = 215;
    EXPECT_GT(key(65, KeyState::FirstPress, 200).added, 0);
    EXPECT_FALSE(recorder.PressRefused);
}

TEST_F(Recording, InsertRecordingRefusedWithoutALineOrRoom)
{
    script.Lines = QStringList{"00", "1 A CODE:8204"};
    EXPECT_FALSE(recorder.StartInsert(settings, -1, 3));
    EXPECT_FALSE(recorder.StartInsert(settings, 1, 3));
    EXPECT_FALSE(recorder.StartInsert(settings, 0, 220));
    EXPECT_TRUE(recorder.StartInsert(settings, 0, 219));
}

// A release just under the budget after a long pause would take the record
// past its 221 event bytes; it is kept with the part of its pause that fits.
TEST_F(Recording, LongPauseBeforeTheLastReleaseIsCutToFit)
{
    start(DelayMode::Recorded);
    std::uint32_t t = 0;
    int vk = 0x41;
    // Presses with 10200 ms pauses until the press margin refuses one.
    while (!key(vk, KeyState::FirstPress, t).stop) {
        t += 20000;
        ++vk;
    }
    ASSERT_LE(script.storedSize(), MaxEventBytes);
    start(DelayMode::Recorded);
    t = 0;
    for (vk = 0x41; recorder.UsedBytes < 207; ++vk, t += 8)
        key(vk, KeyState::FirstPress, t);
    const int linesBefore = int(script.Lines.size());
    const RecordStep release = key(0x41, KeyState::Release, t + 20000);
    EXPECT_TRUE(release.stop);
    EXPECT_EQ(script.Lines.last(), "2 A CODE:0204");
    EXPECT_LE(script.storedSize(), MaxEventBytes);
    EXPECT_EQ(recorder.storedBytes(), script.storedSize());
    // Between the last press and the release: pause lines only, some of the
    // 20000 ms kept but not all of them.
    const QStringList pauses = script.Lines.mid(linesBefore, script.Lines.size() - 1 - linesBefore);
    ASSERT_FALSE(pauses.isEmpty());
    int kept = 0;
    for (const QString& line : pauses) {
        EXPECT_EQ(KindOf(line), LineKind::Pause) << line.toStdString();
        kept += line.section(QLatin1Char(' '), 1).toInt();
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 20000);
}

TEST_F(Recording, NoMixOfEventsEverOverflowsTheRecord)
{
    std::mt19937 random(20261210);
    int recordings = 0;
    int events = 0;
    int full = 0; // recordings that ran into the end of the record
    std::array<int, 3> fullByMode{};
    for (; recordings < 1000; ++recordings) {
        const DelayMode mode = static_cast<DelayMode>(random() % 3);
        start(mode, static_cast<int>(random() % 2041));
        HeldKeys held;
        std::uint32_t t = random();
        for (int n = 0; n < 400 && recorder.RecordingActive; ++n) {
            t += random() % 3 == 0 ? random() % 30000 : random() % 300;
            RecordStep step;
            ++events;
            if (random() % 2) {
                const int vk = 60 + static_cast<int>(random() % 8);
                std::optional<int> state = random() % 2 ? held.keyDown(vk) : held.keyUp(vk);
                if (state)
                    step = key(vk, *state, t);
            } else {
                step = button(static_cast<ButtonEvent>(random() % ButtonEventCount), t);
            }
            ASSERT_LE(recorder.storedBytes(), MaxEventBytes);
            if (step.stop)
                recorder.Stop();
        }
        const bool filled = recorder.storedBytes() > MaxEventBytes - 12;
        full += filled;
        fullByMode[static_cast<std::size_t>(mode)] += filled;
        // The running count is the real stored size of the script.
        ASSERT_EQ(recorder.storedBytes(), script.storedSize());
        ASSERT_LE(script.storedSize(), MaxEventBytes);
    }
    // Every delay mode ran into the end of the record, where overflows happen.
    for (int n : fullByMode)
        EXPECT_GT(n, 10);
    EXPECT_GT(full, 100);
    std::printf("%d recordings, %d events, %d filled to the end\n", recordings, events, full);
}

} // namespace
} // namespace orb
