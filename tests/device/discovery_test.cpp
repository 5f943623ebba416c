#include "core/VirtualClock.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <gtest/gtest.h>

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
