// The window on hidapi (HidapiPlatform, as the orb5610 program runs) against
// the emulated keyboard and composite mouse: arrival, Apply, a cable pulled
// in the middle of a transfer, and a node this user may not open. Time is
// virtual; the node answers at once, so only the protocol's pauses pass.
#include "AppFixture.h"
#include "HidrawFixture.h"
#include "device/HidapiPlatform.h"
#include "skin/PermissionHintText.h"

#include <QLabel>

namespace orb::test
{
namespace
{

struct HidrawWindow : AppFixture {
    std::unique_ptr<HidrawEmulator> emu;
    std::unique_ptr<HidapiPlatform> hid;

    void SetUp() override
    {
        if (const std::string why = HidrawEmulator::unavailable(); !why.empty())
            GTEST_SKIP() << "emulated hidraw devices cannot be made here: " << why;
        emu = std::make_unique<HidrawEmulator>(kMouseVendor);
        std::string why;
        ASSERT_TRUE(emu->start(why)) << why;
        emu->mouse.memory = PatternedImage();
        hid = std::make_unique<HidapiPlatform>();
    }
    void TearDown() override
    {
        window.reset();
        if (emu)
            emu->mouse.onCommand = nullptr;
        hid.reset();
        emu.reset();
    }
    void startWindow()
    {
        window = std::make_unique<MainWindow>(
            MainWindowDeps{clock, services, *hid, kMouseVendor, hostStore, hostSystem, macros, locale});
    }
    SimMouse& model() { return emu->mouse; }
    int countOf(std::uint8_t cmd) const
    {
        const auto r = emu->mouse.requests();
        return int(std::count_if(r.begin(), r.end(), [cmd](const auto& q) { return q[1] == cmd; }));
    }
    QLabel* permissionHint() const { return find<QLabel>(QStringLiteral("lbl_PermissionHint")); }
};

TEST_F(HidrawWindow, FirstDeviceCheckReadsTheMouseAndApplyIsVerified)
{
    emu->plugMouse(true);
    startWindow();
    clock.advance(3500);
    ASSERT_TRUE(window->session().link().hasDevice());
    EXPECT_FALSE(window->stack().noDeviceUI());
    EXPECT_TRUE(window->session().lastReadComplete());
    EXPECT_EQ(window->session().image().ImageBuf, model().memory);

    // The mouse's memory changed behind the window, which is told it no
    // longer knows what the mouse holds: Apply puts the whole image back.
    model().clearTraffic();
    model().memory[0x200] ^= 0x5A;
    window->session().forgetHeldImage();
    const auto expected = window->session().image().ImageBuf;
    click(QStringLiteral("Btn_Apply_1"));
    clock.advance(1000);
    EXPECT_EQ(countOf(WriteAddrCmd), 1);
    EXPECT_EQ(window->session().lastWriteResult(), MemoryAccess::Verify::Matched);
    EXPECT_EQ(model().memory, window->session().image().ImageBuf);
    EXPECT_EQ(model().memory[0x200], expected[0x200]);
    EXPECT_TRUE(messages().isEmpty()) << qPrintable(messages().join(QLatin1Char('|')));
}

struct UnplugCase {
    const char* name;
    bool apply;           // during an Apply (else during the read on arrival)
    std::uint8_t command; // the mouse goes as the n-th such request is sent
    int n;
};

struct HidrawUnplug : HidrawWindow, ::testing::WithParamInterface<UnplugCase> {
};

TEST_P(HidrawUnplug, OneMessageNoDeviceAndTheNextPlugReadsTheWholeImage)
{
    const UnplugCase& c = GetParam();
    emu->plugMouse(true);
    startWindow();
    if (c.apply) {
        clock.advance(3500);
        ASSERT_TRUE(window->session().lastReadComplete());
    }
    bool unplugged = false;
    const int before = countOf(c.command);
    model().onCommand = [&](int) {
        if (!unplugged && countOf(c.command) - before == c.n) {
            unplugged = true;
            emu->plugMouse(false);
        }
    };
    if (c.apply)
        click(QStringLiteral("Btn_Apply_1"));
    clock.advance(3500);
    ASSERT_TRUE(unplugged);

    EXPECT_EQ(messages(), QStringList{lostMessage()});
    EXPECT_FALSE(window->session().link().hasDevice());
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_TRUE(overlaysVisible());

    model().onCommand = nullptr;
    clock.advance(3500);
    EXPECT_EQ(messages().size(), 1);

    emu->plugMouse(true);
    clock.advance(3500 + 2100 + 2500);
    EXPECT_TRUE(window->session().link().hasDevice());
    EXPECT_FALSE(window->stack().noDeviceUI());
    EXPECT_TRUE(window->session().lastReadComplete());
    EXPECT_EQ(window->session().image().ImageBuf, model().memory);
    EXPECT_EQ(messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(AtAChunk, HidrawUnplug,
                         ::testing::Values(UnplugCase{"read", false, ReadDataCmd, 100},
                                           UnplugCase{"write", true, WriteDataCmd, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HidrawWindow, OrdinaryUserSeesThePermissionHintInTheChosenLanguage)
{
    emu->setMouseNodeAccess(0, 0, 0600);
    emu->plugMouse(true);
    startWindow();
    click(QStringLiteral("Btn_Lang2_1"));
    {
        ThreadUser nobody(65534);
        ASSERT_TRUE(nobody.ok);
        clock.advance(3500);
    }
    EXPECT_FALSE(window->session().link().hasDevice());
    ASSERT_TRUE(permissionHint());
    EXPECT_FALSE(permissionHint()->isHidden());
    EXPECT_EQ(permissionHint()->text(), PermissionHintText(2));
    EXPECT_EQ(emu->featureRequests(), 0);
}

} // namespace
} // namespace orb::test
