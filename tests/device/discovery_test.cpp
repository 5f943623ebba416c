#include "core/VirtualClock.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orb;

namespace
{
constexpr std::uint16_t kVendor = 0x1209;

struct DiscoveryFixture : ::testing::Test {
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    Transport link{host, clock};

    bool open()
    {
        int release = kReleaseNumber;
        return link.OpenHidDevice(kVendor, kProductId, release);
    }
    SimHost::Interface config(const char* path, std::uint16_t release = kReleaseNumber, int featureLength = 8)
    {
        return {path, {kVendor, kProductId, release}, featureLength, true, true, 0, &mouse, &mouse};
    }
};
} // namespace

TEST_F(DiscoveryFixture, NoInterfacesAtAll)
{
    EXPECT_EQ(link.CountHidDevices(), 0);
    EXPECT_FALSE(open());
    host.listFails = true;
    EXPECT_EQ(link.CountHidDevices(), 0);
    EXPECT_FALSE(open());
    EXPECT_FALSE(link.hasDevice());
}

TEST_F(DiscoveryFixture, OnlyTheMatchingConfigurationInterfaceOpens)
{
    struct Case {
        const char* name;
        std::uint16_t release;
        int featureLength;
        std::uint16_t product;
        bool opens;
    };
    const Case cases[] = {
        {"the mouse", kReleaseNumber, 8, kProductId, true},
        {"release not 0x0104", 0x0105, 8, kProductId, false},
        {"input collection (feature length 5)", kReleaseNumber, 5, kProductId, false},
        {"other product", kReleaseNumber, 8, 0x08A1, false},
    };
    for (const auto& c : cases) {
        SimHost h;
        Transport t{h, clock};
        h.add({"sim/kbd", {0x046D, 0xC31C, 1}, 2, true, true, 0, nullptr, nullptr});
        h.add({"sim/x", {kVendor, c.product, c.release}, c.featureLength, true, true, 0, &mouse, &mouse});
        int release = kReleaseNumber;
        EXPECT_EQ(t.OpenHidDevice(kVendor, kProductId, release), c.opens) << c.name;
        EXPECT_EQ(t.hasDevice(), c.opens) << c.name;
        EXPECT_EQ(t.CountHidDevices(), 2) << c.name;
        if (c.opens) {
            EXPECT_EQ(release, kReleaseNumber);
            EXPECT_EQ(t.DeviceVendorId, kVendor);
            EXPECT_EQ(t.DeviceProductId, kProductId);
            EXPECT_EQ(t.FeatureLength, 8u);
        }
    }
}

TEST_F(DiscoveryFixture, TwoMatchingInterfacesKeepTheLast)
{
    SimMouse second;
    host.add(config("sim/first"));
    host.add({"sim/second", {kVendor, kProductId, kReleaseNumber}, 8, true, true, 0, &second, &second});
    ASSERT_TRUE(open());
    EXPECT_EQ(host.openHandles, 1); // the earlier match was closed
    // Commands reach the interface enumerated last.
    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    EXPECT_TRUE(mouse.requests().empty());
    EXPECT_EQ(second.requests().size(), 1u);
}

TEST_F(DiscoveryFixture, RefusingInterfaceIsNeitherCountedNorKept)
{
    auto refusing = config("sim/refusing");
    refusing.openable = false;
    host.add(refusing);
    host.add({"sim/kbd", {0x046D, 0xC31C, 1}, 2, true, true, 0, nullptr, nullptr});
    EXPECT_EQ(link.CountHidDevices(), 1);
    EXPECT_FALSE(open());
}

TEST_F(DiscoveryFixture, OpenTriesABusyInterfaceTwice)
{
    auto busy = config("sim/busy");
    busy.failOpens = 1;
    host.add(busy);
    EXPECT_TRUE(open());
    link.closeDevice();
    host.at(0).failOpens = 2;
    EXPECT_FALSE(open());
}

TEST_F(DiscoveryFixture, AcceptsANodeWhoseConfigurationCollectionHasEightByteReports)
{
    // Keyboard with LED output (ID 1), consumer control (ID 2) and the vendor
    // configuration collection (ID 4, seven data bytes) on one node.
    const std::vector<std::uint8_t> keyboard = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,
        0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x05, 0x05, 0x08,
        0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0xC0};
    const std::vector<std::uint8_t> consumerLongFeature = {
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x81,
        0x00, 0x85, 0x06, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0xB1, 0x02, 0xC0};
    const std::vector<std::uint8_t> vendor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04,
                                              0x75, 0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0};
    auto vendor65 = vendor;
    vendor65[12] = 0x40;
    auto join = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
        std::vector<std::uint8_t> out;
        for (const auto& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> descriptor;
        bool opens;
    };
    const Case cases[] = {
        {"keyboard + consumer + vendor", join({keyboard, consumerLongFeature, vendor}), true},
        {"only a 65-byte feature report", join({keyboard, vendor65}), false},
        {"a descriptor without collections", {0x00}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimHost h;
        Transport t{h, clock};
        auto itf = config("sim/node");
        itf.descriptor = c.descriptor;
        h.add(itf);
        int release = kReleaseNumber;
        EXPECT_EQ(t.OpenHidDevice(kVendor, kProductId, release), c.opens);
        EXPECT_EQ(h.openHandles, c.opens ? 1 : 0);
    }
}

TEST_F(DiscoveryFixture, AMouseRefusingToOpenIsToldApartFromNoMouse)
{
    host.addStandardSet(&mouse, kVendor);
    EXPECT_FALSE(link.MouseRefusesOpening(kVendor, kProductId, kReleaseNumber));
    host.refuseOpening(&mouse, true);
    EXPECT_EQ(link.CountHidDevices(), 1); // the keyboard only
    EXPECT_FALSE(open());
    EXPECT_TRUE(link.MouseRefusesOpening(kVendor, kProductId, kReleaseNumber));
    // Another release, or a busy interface, is not a refusal.
    EXPECT_FALSE(link.MouseRefusesOpening(kVendor, kProductId, 0x0105));
    host.refuseOpening(&mouse, false);
    host.at(2).failOpens = 4;
    EXPECT_FALSE(link.MouseRefusesOpening(kVendor, kProductId, kReleaseNumber));
    // Unplugged: nothing refuses.
    host.refuseOpening(&mouse, true);
    host.plugMouse(&mouse, false);
    EXPECT_FALSE(link.MouseRefusesOpening(kVendor, kProductId, kReleaseNumber));
    host.refuseOpening(&mouse, false);
    host.plugMouse(&mouse, true);
    host.at(2).failOpens = 0;
    EXPECT_TRUE(open());
}

TEST_F(DiscoveryFixture, AnUnpluggedHandleStaysDeadAfterTheMouseReturns)
{
    host.addStandardSet(&mouse, kVendor);
    auto old = host.open("sim/mouse-config");
    ASSERT_TRUE(old);
    std::uint8_t req[8] = {4, BeginCmd, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(old->setFeature(req, 8));
    EXPECT_FALSE(old->gone());
    host.plugMouse(&mouse, false);
    host.plugMouse(&mouse, true);
    EXPECT_FALSE(old->setFeature(req, 8));
    EXPECT_TRUE(old->gone());
    HidAttributes attr;
    EXPECT_FALSE(old->attributes(attr));
    // The returned mouse is a new interface.
    auto fresh = host.open("sim/mouse-config");
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->setFeature(req, 8));
    EXPECT_FALSE(fresh->gone());
    EXPECT_EQ(host.openHandles, 2);
}
