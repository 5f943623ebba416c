#include "lighting/ButtonTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

using namespace orb;

namespace
{

const QString kNormal = QStringLiteral("Test Keys Position");
constexpr int kReadMs = 8; // what one ReadKeyState exchange costs

// The test on a virtual timeline, on one thread: the worker's waits move the
// time, and every TestTimer tick that falls in a wait runs at its moment, as
// the user-interface thread would run it while the worker sleeps.
struct Timeline {
    int now = 0;
    int nextTick = ButtonTestTickMs;
    std::deque<std::uint16_t> answers; // bitmaps, one a poll; 0 afterwards
    ButtonTestFlags flags;
    ButtonTestCountdown countdown;
    std::vector<QString> texts;
    std::vector<std::pair<int, bool>> visibility;
    int endedAt = -1;

    void advance(int ms)
    {
        const int until = now + ms;
        while (nextTick <= until && endedAt < 0) {
            now = nextTick;
            const auto tick = countdown.OnTick(flags.blinking, kNormal);
            texts.push_back(tick.text);
            if (tick.ended) {
                endedAt = now;
                flags.stop.store(true);
            }
            nextTick += ButtonTestTickMs;
        }
        now = until;
    }

    ButtonTestIo io()
    {
        return {[this] {
                    advance(kReadMs);
                    if (answers.empty())
                        return std::uint16_t{0};
                    const auto bits = answers.front();
                    answers.pop_front();
                    return bits;
                },
                [this](int ms) { advance(ms); },
                [this](int key, bool visible) { visibility.emplace_back(key, visible); }};
    }

    void run()
    {
        countdown.Start();
        RunButtonTestWorker(io(), flags);
    }
};

std::vector<QString> Texts(std::initializer_list<const char*> items)
{
    std::vector<QString> out;
    for (const char* s : items)
        out.push_back(QString::fromUtf8(s));
    return out;
}

} // namespace

TEST(ButtonTest, PressedKeysInOrderAndUnusedBitsIgnored)
{
    EXPECT_EQ(PressedKeys(0), std::vector<int>{});
    EXPECT_EQ(PressedKeys(0b101), (std::vector<int>{1, 3}));
    EXPECT_EQ(PressedKeys(0x1FF), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(PressedKeys(0xFE00), std::vector<int>{});
}

TEST(ButtonTest, NoAnswerEndsSixSecondsAfterTheClick)
{
    Timeline t;
    t.run();
    EXPECT_EQ(t.endedAt, 6000);
    EXPECT_EQ(t.texts, Texts({"5...", "4...", "3...", "2...", "1...", "Test Keys Position"}));
    EXPECT_TRUE(t.visibility.empty());
    EXPECT_FALSE(t.countdown.Running());
}

TEST(ButtonTest, ButtonsOneAndThreeBlinkInOrderAndRestartTheCountdown)
{
    Timeline t;
    t.answers = {0, 0b101};
    t.run();
    const std::vector<std::pair<int, bool>> expected{{1, false}, {1, true}, {1, false}, {1, true},
                                                     {3, false}, {3, true}, {3, false}, {3, true}};
    EXPECT_EQ(t.visibility, expected);
    // The blinks take 1.5 s each from the second poll (16 ms) to 3016 ms;
    // the ticks during them show the normal text, and the countdown runs
    // out on the sixth tick after the last blink.
    EXPECT_EQ(t.texts, Texts({"Test Keys Position", "Test Keys Position", "Test Keys Position", "5...",
                              "4...", "3...", "2...", "1...", "Test Keys Position"}));
    EXPECT_EQ(t.endedAt, 9000);
}

TEST(ButtonTest, CountdownReadsTheFlagAgainAfterCounting)
{
    ButtonTestCountdown c;
    std::atomic<bool> blinking{false};
    c.Start();
    EXPECT_EQ(c.OnTick(blinking, kNormal).text, "5...");
    EXPECT_EQ(c.OnTick(blinking, kNormal).text, "4...");
    blinking = true;
    const auto tick = c.OnTick(blinking, kNormal);
    EXPECT_EQ(tick.text, kNormal);
    EXPECT_FALSE(tick.ended);
    EXPECT_EQ(c.Countdown(), 0);
    blinking = false;
    EXPECT_EQ(c.OnTick(blinking, kNormal).text, "5...");
}

TEST(ButtonTest, StopBetweenBlinksEndsThePoll)
{
    ButtonTestFlags flags;
    std::vector<int> blinked;
    ButtonTestIo io{[] { return std::uint16_t{0b111}; }, [](int) {},
                    [&](int key, bool visible) {
                        if (!visible && (blinked.empty() || blinked.back() != key))
                            blinked.push_back(key);
                        if (key == 1 && visible)
                            flags.stop = true; // the countdown ends the test during key 1's blink
                    }};
    ButtonTestPoll(io, flags);
    EXPECT_EQ(blinked, std::vector<int>{1});
    EXPECT_FALSE(flags.blinking.load());
}

// The worker on its own thread ends when told to, after the blink it is in.
TEST(ButtonTest, WorkerThreadStopsWhenTold)
{
    ButtonTestFlags flags;
    std::atomic<int> polls{0};
    std::atomic<int> shown{0};
    ButtonTestIo io{[&] {
                        std::this_thread::sleep_for(std::chrono::milliseconds(1)); // the exchange's pause
                        return std::uint16_t(++polls == 2 ? 0b10 : 0);
                    },
                    [](int) {}, [&](int, bool visible) { shown += visible ? 1 : 0; }};
    std::thread worker([&] { RunButtonTestWorker(io, flags); });
    while (polls.load() < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    flags.stop = true;
    worker.join();
    EXPECT_EQ(shown.load(), 2); // key 2 blinked once: visible twice
    EXPECT_FALSE(flags.blinking.load());
}
