// HidapiPlatform itself on the emulated nodes: what hidapi lists and opens,
// and how its failures read (gone or only failing).
#include "HidrawFixture.h"
#include "device/HidapiPlatform.h"
#include "device/Transport.h"

#include <algorithm>
#include <cerrno>
#include <functional>

namespace orb::test
{
namespace
{

struct HidrawPlatform : HidrawFixture {
    HidapiPlatform hid;

    std::unique_ptr<HidDevice> openConfig() { return hid.open(emu->devPath(HidrawEmulator::Config)); }
};

TEST_F(HidrawPlatform, ListsTheThreeInterfacesAndOpensTheConfigurationOne)
{
    emu->plugMouse(true);
    const auto list = hid.listInterfaces();
    ASSERT_TRUE(list);
    std::vector<std::string> paths;
    for (const auto& itf : *list) {
        paths.push_back(itf.path);
        if (itf.path == "/dev/hidraw0") {
            EXPECT_EQ(itf.attributes.vendorId, 0x1C4F);
        } else {
            EXPECT_EQ(itf.attributes.vendorId, kMouseVendor);
            EXPECT_EQ(itf.attributes.productId, kProductId);
            EXPECT_EQ(itf.attributes.releaseNumber, kReleaseNumber);
        }
    }
    // hidapi lists a node once per top-level usage it finds in the
    // descriptor, so a path may come more than once.
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw1", "/dev/hidraw2"}));

    auto dev = openConfig();
    ASSERT_TRUE(dev);
    HidAttributes a;
    ASSERT_TRUE(dev->attributes(a));
    EXPECT_EQ(a.vendorId, kMouseVendor);
    EXPECT_EQ(a.productId, kProductId);
    EXPECT_EQ(a.releaseNumber, kReleaseNumber);
    EXPECT_EQ(dev->reportDescriptor().size(), 23u);
    EXPECT_EQ(ioctlHidrawReportDescriptor(emu->devPath(HidrawEmulator::Config)), dev->reportDescriptor());

    std::uint8_t req[8] = {4, BeginCmd, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(dev->setFeature(req, 8));
    std::uint8_t reply[8] = {4, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(dev->getFeature(reply, 8));
    EXPECT_EQ(reply[7], kAck);
    EXPECT_TRUE(emu->mouse.inExchange());
}

// A failed get-feature request leaves the caller's buffer as it was, and
// only a device that has gone is reported gone.
struct FailureCase {
    const char* name;
    std::function<void(HidrawEmulator&)> cause;
    bool gone;
};

struct HidrawFailures : HidrawPlatform, ::testing::WithParamInterface<FailureCase> {
};

TEST_P(HidrawFailures, FailedRequestsLeaveTheBufferAndTellWhetherTheMouseHasGone)
{
    emu->plugMouse(true);
    auto dev = openConfig();
    ASSERT_TRUE(dev);
    GetParam().cause(*emu);
    // The request's last byte is the acknowledge value, as a write chunk's
    // sixth data byte may be: a failed or short reply must not look acknowledged.
    const std::uint8_t request[8] = {4, WriteDataCmd, 1, 2, 3, 4, 5, kAck};
    std::uint8_t buf[8];
    std::copy(request, request + 8, buf);
    EXPECT_FALSE(dev->getFeature(buf, 8));
    EXPECT_TRUE(std::equal(buf, buf + 8, request));
    EXPECT_EQ(dev->gone(), GetParam().gone);
    if (GetParam().gone) {
        // Even with the mouse back, the old handle stays dead.
        emu->plugMouse(true);
        EXPECT_FALSE(dev->setFeature(request, 8));
        EXPECT_TRUE(dev->gone());
        EXPECT_TRUE(openConfig());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Node, HidrawFailures,
    ::testing::Values(FailureCase{"unplugged", [](HidrawEmulator& e) { e.plugMouse(false); }, true},
                      FailureCase{"stalled", [](HidrawEmulator& e) { e.setConfigError(EPIPE); }, false},
                      FailureCase{"io_error", [](HidrawEmulator& e) { e.setConfigError(EIO); }, false},
                      FailureCase{"short_reply", [](HidrawEmulator& e) { e.setConfigReplyBytes(1); }, false},
                      FailureCase{"seven_bytes", [](HidrawEmulator& e) { e.setConfigReplyBytes(7); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HidrawPlatform, KeyboardRefusesFeatureReportsWithoutBeingGone)
{
    auto kbd = hid.open(emu->devPath(HidrawEmulator::Keyboard));
    ASSERT_TRUE(kbd);
    const std::uint8_t req[8] = {4, BeginCmd, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(kbd->setFeature(req, 8));
    EXPECT_FALSE(kbd->gone());
}

TEST_F(HidrawPlatform, NodeThisUserMayNotOpenIsToldApart)
{
    emu->setMouseNodeAccess(0, 0, 0600); // root's, as without the udev rule
    emu->plugMouse(true);
    ThreadUser nobody(65534);
    ASSERT_TRUE(nobody.ok);
    HidOpenError why = HidOpenError::None;
    EXPECT_FALSE(hid.open(emu->devPath(HidrawEmulator::Config), &why));
    EXPECT_EQ(why, HidOpenError::PermissionDenied);
    EXPECT_FALSE(hid.open("/dev/hidraw7", &why));
    EXPECT_EQ(why, HidOpenError::Other);
}

} // namespace
} // namespace orb::test
