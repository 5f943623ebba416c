// The real X11 capture against an X server, driven by xdotool while a window
// of another client has the focus.
#include "capture/X11InputCapture.h"

#include "capture/KeyEventVk.h"

#include "XvfbServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <vector>

#include <memory>

namespace orb
{
namespace
{
// A key press as Qt delivers it on X11 (before Xlib's KeyPress macro).
std::unique_ptr<QKeyEvent> keyPress(int qtKey, Qt::KeyboardModifiers modifiers, quint32 keycode,
                                    quint32 keysym, quint32 state)
{
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, qtKey, modifiers, keycode, keysym, state);
}
} // namespace
} // namespace orb

// Last, for its macros.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace orb
{
namespace
{

class X11InputCaptureTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!server.ok())
            GTEST_SKIP() << server.why().toStdString();
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "xdotool is not installed";
        // Another program's window, holding the focus.
        other = XOpenDisplay(server.display().constData());
        ASSERT_NE(other, nullptr);
        focus = XCreateSimpleWindow(other, DefaultRootWindow(other), 10, 10, 300, 200, 0, 0, 0);
        XMapWindow(other, focus);
        XSync(other, False);
        XSetInputFocus(other, focus, RevertToParent, CurrentTime);
        XSync(other, False);
    }
    void TearDown() override
    {
        if (other)
            XCloseDisplay(other);
    }

    QString xdotool(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromLatin1(server.display()));
        p.setProcessEnvironment(env);
        p.start("xdotool", args);
        EXPECT_TRUE(p.waitForFinished(10000)) << args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << p.readAllStandardError().toStdString();
        return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
    }

    // Runs the event loop until `done` holds or ten seconds passed.
    template <class Done> void pumpUntil(Done done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    test::XvfbServer server;
    Display* other = nullptr;
    Window focus = 0;
};

TEST_F(X11InputCaptureTest, RecordsKeysAndButtonsWhileAnotherWindowHasTheFocus)
{
    X11InputCapture capture(server.display());
    std::vector<CapturedKey> keys;
    std::vector<CapturedButton> buttons;
    bool offThread = false;
    capture.setKeyHandler([&](const CapturedKey& k) {
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        keys.push_back(k);
    });
    capture.setButtonHandler([&](const CapturedButton& b) {
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        buttons.push_back(b);
    });
    ASSERT_TRUE(capture.start()) << capture.errorText().toStdString();
    EXPECT_FALSE(capture.isLimited());
    EXPECT_EQ(xdotool({"getwindowfocus"}), QString::number(focus));

    xdotool({"keydown", "ctrl", "keydown", "c", "keyup", "c", "keyup", "ctrl"});
    // A key pressed twice without release, then released twice.
    xdotool({"keydown", "a", "keydown", "a", "keyup", "a", "keyup", "a"});
    xdotool({"click", "1", "click", "3", "click", "2", "click", "8", "click", "9", "click", "4"});
    xdotool({"key", "F5"});
    pumpUntil([&] {
        return buttons.size() >= 10 && !keys.empty() && keys.back().vk == 116 &&
               keys.back().state == KeyState::Up;
    });
    capture.stop();

    EXPECT_FALSE(offThread);
    std::vector<std::pair<int, KeyState>> gotKeys;
    for (const CapturedKey& k : keys)
        gotKeys.emplace_back(k.vk, k.state);
    // The repeated press of "a" is reported as held when the server passes it on.
    std::vector<std::pair<int, KeyState>> expected = {{17, KeyState::Down},
                                                      {67, KeyState::Down},
                                                      {67, KeyState::Up},
                                                      {17, KeyState::Up},
                                                      {65, KeyState::Down}};
    if (gotKeys.size() == 9)
        expected.push_back({65, KeyState::Held});
    expected.insert(expected.end(), {{65, KeyState::Up}, {116, KeyState::Down}, {116, KeyState::Up}});
    EXPECT_EQ(gotKeys, expected);

    std::vector<std::pair<MouseButton, bool>> gotButtons;
    for (const CapturedButton& b : buttons)
        gotButtons.emplace_back(b.button, b.down);
    const std::vector<std::pair<MouseButton, bool>> expectedButtons = {
        {MouseButton::Left, true},     {MouseButton::Left, false},     {MouseButton::Right, true},
        {MouseButton::Right, false},   {MouseButton::Middle, true},    {MouseButton::Middle, false},
        {MouseButton::Backward, true}, {MouseButton::Backward, false}, {MouseButton::Forward, true},
        {MouseButton::Forward, false},
    };
    EXPECT_EQ(gotButtons, expectedButtons);

    for (std::size_t i = 1; i < keys.size(); ++i)
        EXPECT_LE(keys[i - 1].timeMs, keys[i].timeMs);

    // Stopped: nothing more arrives.
    const std::size_t before = keys.size();
    xdotool({"key", "b"});
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(keys.size(), before);
}

// Keys as Windows names them: the keypad's digits and point are Num 0..9 and
// Decimal while NumLock is on and the navigation keys while it is off; with
// a French layout the top row gives the digit keys, not "None".
TEST_F(X11InputCaptureTest, KeypadFollowsNumLockAndShiftedDigitsAreDigitKeys)
{
    if (!server.isPrivate())
        GTEST_SKIP() << "changes the keyboard of the X server: needs a private Xvfb";
    if (QStandardPaths::findExecutable("setxkbmap").isEmpty())
        GTEST_SKIP() << "setxkbmap is not installed";
    X11InputCapture capture(server.display());
    std::vector<int> downs;
    capture.setKeyHandler([&](const CapturedKey& k) {
        if (k.state == KeyState::Down && k.vk != 144) // NumLock itself
            downs.push_back(k.vk);
    });
    ASSERT_TRUE(capture.start()) << capture.errorText().toStdString();
    const auto press = [&](const QStringList& keys) {
        const std::size_t want = downs.size() + std::size_t(keys.size());
        QStringList args{"key"};
        args += keys;
        xdotool(args);
        pumpUntil([&] { return downs.size() >= want; });
    };
    // The keypad keys by the symbol of their first level, so that xdotool
    // adds no modifier: 1 (End), 5 (Begin), 9 (Prior), 0 (Insert), point (Delete).
    const QStringList keypad{"KP_End", "KP_Begin", "KP_Prior", "KP_Insert", "KP_Delete"};
    press(keypad);
    xdotool({"key", "Num_Lock"});
    press(keypad);
    xdotool({"key", "Num_Lock"});
    press({"KP_End"});
    EXPECT_EQ(downs, (std::vector<int>{35, 12, 33, 45, 46, 97, 101, 105, 96, 110, 35}));

    // Shift+1 is the key 1, as on Windows.
    downs.clear();
    press({"shift+1", "shift+0"});
    EXPECT_EQ(downs, (std::vector<int>{16, 49, 16, 48}));
    capture.stop();

    QProcess layout;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString::fromLatin1(server.display()));
    layout.setProcessEnvironment(env);
    layout.start("setxkbmap", {"fr"});
    ASSERT_TRUE(layout.waitForFinished(10000));
    ASSERT_EQ(layout.exitCode(), 0) << layout.readAllStandardError().toStdString();
    downs.clear();
    ASSERT_TRUE(capture.start());
    // The keys of 1, 2, 3 and 0: "&", "é", the double quote and "à" on their first level.
    press({"ampersand", "eacute", "quotedbl", "agrave", "a"});
    capture.stop();
    EXPECT_EQ(downs, (std::vector<int>{49, 50, 51, 48, 65}));
}

// The key dialogs' key events by the server's keymap: Shift+1 is the key 1
// and Shift+8 the key 8 (not the keypad's *), as on Windows.
TEST_F(X11InputCaptureTest, DialogKeyEventsNameTheKeyNotTheShiftedSymbol)
{
    struct Case {
        KeySym key;     // the key, by its first level
        Qt::Key qtKey;  // what Qt reports with Shift held
        KeySym shifted; // the keysym Qt gives as the native virtual key
        int vk;
    };
    const Case cases[] = {
        {XK_1, Qt::Key_Exclam, XK_exclam, 49},
        {XK_8, Qt::Key_Asterisk, XK_asterisk, 56},
        {XK_0, Qt::Key_ParenRight, XK_parenright, 48},
        {XK_a, Qt::Key_A, XK_A, 65},
    };
    for (const Case& c : cases) {
        const KeyCode code = XKeysymToKeycode(other, c.key);
        ASSERT_NE(code, 0);
        const auto e = keyPress(c.qtKey, Qt::ShiftModifier, code, quint32(c.shifted), ShiftMask);
        EXPECT_EQ(VkFromKeyEvent(*e, other), c.vk) << c.key;
    }
    // Without a keymap (another platform), the keysym or the Qt key.
    const auto f5 = keyPress(Qt::Key_F5, Qt::NoModifier, 0, XK_F5, 0);
    EXPECT_EQ(VkFromKeyEvent(*f5, nullptr), 116);
}

TEST(X11InputCapture, NoServerIsAnErrorNotACrash)
{
    X11InputCapture capture(":4711");
    EXPECT_FALSE(X11InputCapture::isAvailable(":4711"));
    EXPECT_FALSE(capture.start());
    EXPECT_FALSE(capture.isRunning());
    EXPECT_FALSE(capture.errorText().isEmpty());
    capture.stop();
}

} // namespace
} // namespace orb
