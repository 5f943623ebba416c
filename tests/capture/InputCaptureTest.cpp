#include "capture/FakeInputCapture.h"
#include "capture/WindowInputCapture.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace orb
{
namespace
{

// Collects what a capture delivers.
struct Recorder {
    std::vector<CapturedKey> keys;
    std::vector<CapturedButton> buttons;
    explicit Recorder(InputCapture& capture)
    {
        capture.setKeyHandler([this](const CapturedKey& k) { keys.push_back(k); });
        capture.setButtonHandler([this](const CapturedButton& b) { buttons.push_back(b); });
    }
};

TEST(FakeInputCapture, HeldKeysAndDoubleReleases)
{
    FakeInputCapture capture;
    Recorder got(capture);
    capture.pressKey(65, 1); // not running: nothing
    ASSERT_TRUE(capture.start());
    capture.pressKey(17, 10);
    capture.pressKey(17, 40); // repeat of a held key
    capture.pressKey(67, 50);
    capture.releaseKey(67, 60);
    capture.releaseKey(67, 61); // reported twice: dropped
    capture.releaseKey(17, 70);
    capture.releaseKey(90, 80); // never pressed here: dropped
    const std::vector<CapturedKey> expected = {
        {17, KeyState::Down, 10}, {17, KeyState::Held, 40}, {67, KeyState::Down, 50},
        {67, KeyState::Up, 60},   {17, KeyState::Up, 70},
    };
    EXPECT_EQ(got.keys, expected);

    // Two physical keys with one virtual key are two keys.
    got.keys.clear();
    capture.pressKey(16, 100, 50);
    capture.pressKey(16, 101, 62);
    EXPECT_EQ(got.keys, (std::vector<CapturedKey>{{16, KeyState::Down, 100}, {16, KeyState::Down, 101}}));

    // A stop forgets held keys: the next press is a first press again.
    capture.stop();
    ASSERT_TRUE(capture.start());
    got.keys.clear();
    capture.pressKey(16, 200, 50);
    EXPECT_EQ(got.keys, (std::vector<CapturedKey>{{16, KeyState::Down, 200}}));

    capture.click(MouseButton::Forward, true, 300);
    EXPECT_EQ(got.buttons, (std::vector<CapturedButton>{{MouseButton::Forward, true, 300}}));
}

class WindowInputCaptureTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        widget.resize(200, 100);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        window = widget.windowHandle();
    }
    QWidget widget;
    QWindow* window = nullptr;
    WindowInputCapture capture;
    Recorder got{capture};
};

TEST_F(WindowInputCaptureTest, KeysAndButtonsInsideTheProgramsWindow)
{
    EXPECT_TRUE(capture.isLimited());
    QTest::keyClick(window, Qt::Key_A); // not running
    ASSERT_TRUE(capture.start());

    QTest::keyPress(window, Qt::Key_Control);
    // (With a modifier argument Qt Test would press Ctrl once more.)
    QTest::keyPress(window, Qt::Key_C);
    QTest::keyRelease(window, Qt::Key_C);
    QTest::keyRelease(window, Qt::Key_Control);
    ASSERT_EQ(got.keys.size(), 4u);
    const int order[] = {17, 67, 67, 17};
    const KeyState states[] = {KeyState::Down, KeyState::Down, KeyState::Up, KeyState::Up};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(got.keys[i].vk, order[i]) << i;
        EXPECT_EQ(got.keys[i].state, states[i]) << i;
    }

    // Auto-repeat: a press and a release flagged as repeats give one Held, no release.
    got.keys.clear();
    QTest::keyPress(window, Qt::Key_B);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QString(), true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(window, &repeatRelease);
    QCoreApplication::sendEvent(window, &repeatPress);
    QTest::keyRelease(window, Qt::Key_B);
    EXPECT_EQ(got.keys.size(), 3u);
    if (got.keys.size() == 3) {
        EXPECT_EQ(got.keys[0].state, KeyState::Down);
        EXPECT_EQ(got.keys[1].state, KeyState::Held);
        EXPECT_EQ(got.keys[2].state, KeyState::Up);
    }

    const QPoint at(50, 50);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseClick(window, Qt::MiddleButton, Qt::NoModifier, at);
    QTest::mouseClick(window, Qt::BackButton, Qt::NoModifier, at);
    QTest::mouseClick(window, Qt::ForwardButton, Qt::NoModifier, at);
    std::vector<std::pair<MouseButton, bool>> buttons;
    for (const CapturedButton& b : got.buttons)
        buttons.emplace_back(b.button, b.down);
    const std::vector<std::pair<MouseButton, bool>> expected = {
        {MouseButton::Left, true},     {MouseButton::Left, false},     {MouseButton::Right, true},
        {MouseButton::Right, false},   {MouseButton::Middle, true},    {MouseButton::Middle, false},
        {MouseButton::Backward, true}, {MouseButton::Backward, false}, {MouseButton::Forward, true},
        {MouseButton::Forward, false},
    };
    EXPECT_EQ(buttons, expected);

    capture.stop();
    got.keys.clear();
    got.buttons.clear();
    QTest::keyClick(window, Qt::Key_A);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(got.keys.empty());
    EXPECT_TRUE(got.buttons.empty());
}

TEST(InputCaptureFactory, WithoutAnXServerCaptureIsLimitedToTheProgram)
{
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":4711");
    const auto capture = CreateInputCapture();
    if (display.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", display);
    EXPECT_TRUE(capture->isLimited());
    EXPECT_TRUE(capture->start());
    capture->stop();
}

} // namespace
} // namespace orb
