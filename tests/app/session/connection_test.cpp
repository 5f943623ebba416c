#include "AppFixture.h"
#include "app/frame/LoadingWindow.h"

#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{
// Language 1: the second part is empty.
const QString kLostMessage = QStringLiteral("重新加载设备，请确认。\r\r");

struct Connection : AppFixture {
};
} // namespace

TEST_F(Connection, MousePresentAtStartOpensAfterFirstTickAndSettle)
{
    start(true);
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_TRUE(window->stack().noDeviceUI());
    clock.advance(3499);
    EXPECT_FALSE(window->session().link().hasDevice());
    clock.advance(1);
    // The first tick counted, waited the 2.1 s settle and opened the mouse.
    EXPECT_TRUE(window->session().link().hasDevice());
    // 2.1 s settle, then the read: status 20, identity 15, 342 chunks 1720, reload and end 20.
    EXPECT_EQ(clock.nowMs(), 3500 + 2100 + 1775);
    EXPECT_EQ(window->session().lastHidCount(), 3);
    EXPECT_EQ(window->session().link().DeviceVendorId, kVendor);
    EXPECT_EQ(window->session().link().DeviceProductId, kProductId);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Connection, AbsentAtStartShowsTheLostMessageOnceThenStaysQuiet)
{
    start(false);
    clock.advance(3500);
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_EQ(messages(), QStringList{kLostMessage});
    EXPECT_EQ(services.messages[0].style, MessageStyle::MessageWindow);
    EXPECT_EQ(window->session().lastHidCount(), 1);
    const int lists = host.listCalls;
    clock.advance(3500 * 5);
    EXPECT_EQ(messages().size(), 1);
    // Ten enumerations a tick, and while there is no mouse one more that
    // looks for a mouse this user may not open.
    EXPECT_EQ(host.listCalls, lists + 5 * 11);
    EXPECT_TRUE(overlaysVisible());
    EXPECT_TRUE(window->stack().noDeviceUI());
}

TEST_F(Connection, PluggingInLaterOpensTheMouse)
{
    start(false);
    clock.advance(3500);
    host.plugMouse(&mouse, true);
    clock.advance(3500);
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(Connection, AnotherDeviceLeavingCountsAsLossOfTheMouse)
{
    start(true);
    untilOpened();
    ASSERT_TRUE(window->session().link().hasDevice());
    host.setPresentByPath("sim/keyboard", false);
    clock.advance(3500);
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_EQ(window->session().link().DeviceVendorId, 0u);
    EXPECT_EQ(messages(), QStringList{kLostMessage});
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_TRUE(overlaysVisible());
    EXPECT_TRUE(window->session().devTimer().isEnabled());
    // Plugging anything in again re-opens the mouse.
    host.setPresentByPath("sim/keyboard", true);
    clock.advance(3500);
    EXPECT_TRUE(window->session().link().hasDevice());
}

TEST_F(Connection, DisagreeingSamplesChangeNothing)
{
    start(false);
    clock.advance(3500);
    ASSERT_EQ(window->session().lastHidCount(), 1);
    // The mouse flickers in and out between the two counts of every pair.
    host.onList = [this](int call) { host.plugMouse(&mouse, call % 2 == 0); };
    clock.advance(3500);
    EXPECT_EQ(window->session().lastHidCount(), 1);
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(Connection, TickDuringTheSettleIsIgnored)
{
    start(true);
    int reentered = 0;
    bool countedAgain = false;
    // The settle pumps the queue, so a tick can run inside it: it must return at once.
    clock.setPumpHook([&] {
        if (!window->session().timerBusy() || window->session().link().hasDevice())
            return; // only the settle, not the read that follows
        ++reentered;
        const int lists = host.listCalls;
        window->session().DevTimerTimer();
        countedAgain |= host.listCalls != lists;
    });
    clock.advance(3500);
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_EQ(reentered, 21); // one pass after each 100 ms slice
    EXPECT_FALSE(countedAgain);
    EXPECT_EQ(host.listCalls, 10 + 1); // ten counts and one walk to open
}

TEST_F(Connection, OpenFailureRunsTheNoDeviceReset)
{
    mouse.config.silent = true;
    start(true);
    host.at(2).attributes.releaseNumber = 0x0105; // not the wanted release
    clock.advance(3500);
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_EQ(messages(), QStringList{kLostMessage});
}

// Closes the window at the first pump where `now` holds, then lets the
// interrupted work and later ticks run out: nothing more reaches the mouse.
void closeWhenAndCheck(Connection& t, const std::function<bool()>& now)
{
    t.start(true);
    std::size_t sentAtClose = 0;
    t.clock.setPumpHook([&] {
        if (!t.window->session().closing() && now()) {
            t.window->close();
            sentAtClose = t.mouse.requests().size();
        }
    });
    t.clock.advance(3500 + 2100 + 2000);
    t.clock.setPumpHook({});
    ASSERT_TRUE(t.window->session().closing());
    EXPECT_FALSE(t.window->session().link().hasDevice());
    EXPECT_EQ(t.mouse.requests().size(), sentAtClose);
    EXPECT_FALSE(t.window->loadingWindow()->isVisible());
    t.clock.advance(3500 * 3);
    EXPECT_EQ(t.mouse.requests().size(), sentAtClose);
}

TEST_F(Connection, ClosingDuringTheSettleReachesTheMouseNoMore)
{
    closeWhenAndCheck(
        *this, [this] { return window->session().timerBusy() && !window->session().link().hasDevice(); });
    EXPECT_TRUE(mouse.requests().empty());
}

TEST_F(Connection, ClosingDuringTheReadReachesTheMouseNoMore)
{
    closeWhenAndCheck(*this, [this] { return mouse.requests().size() > 20; });
}
