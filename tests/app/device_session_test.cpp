// The device session on its own: no window and no page, only a host that
// records what the session asks of it.
#include "app/DeviceSession.h"
#include "app/SessionHost.h"
#include "core/FakeServices.h"
#include "core/VirtualClock.h"
#include "device/SimMouse.h"
#include "image/DefaultImages.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orb;

namespace
{

constexpr std::uint16_t kVendor = 0x1209;

class RecordingHost final : public SessionHost
{
  public:
    QStringList calls;
    // Runs inside UIToDataBuf, as the pages would store their controls.
    std::function<void()> onStore;

    void ShowLoading() override { note("ShowLoading"); }
    void HideLoading() override { note("HideLoading"); }
    void ShowDisableAll() override { note("ShowDisableAll"); }
    void HideDisableAll() override { note("HideDisableAll"); }
    void HideAllMenu() override { note("HideAllMenu"); }
    void UIToDataBuf() override
    {
        note("UIToDataBuf");
        if (onStore)
            onStore();
    }
    void AIMKeyToDataBuf(ProfileKeysBytes&) override { note("AIMKeyToDataBuf"); }
    void DataBufToUI() override { note("DataBufToUI"); }
    void RefreshMacrosFromArea() override { note("RefreshMacrosFromArea"); }
    void RefreshPCMacroNames() override { note("RefreshPCMacroNames"); }
    void ClearMacroTexts() override { note("ClearMacroTexts"); }
    void ApplyHostMouseSettings() override { note("ApplyHostMouseSettings"); }
    void ShowIdentity(const std::array<std::uint8_t, 2>&) override { note("ShowIdentity"); }
    void ClearDeviceUI() override { note("ClearDeviceUI"); }
    void ShowNoDevice() override { note("ShowNoDevice"); }
    void DeviceLostShown() override { note("DeviceLostShown"); }
    void ShowMainAfterRead() override { note("ShowMainAfterRead"); }

  private:
    // Busy-window calls repeat per chunk; one entry per run of them is enough.
    void note(const char* call)
    {
        if (calls.isEmpty() || calls.last() != QLatin1String(call))
            calls << QLatin1String(call);
    }
};

struct DeviceSessionTest : ::testing::Test {
    VirtualClock clock;
    FakeServices services;
    SimHost hid;
    SimMouse mouse;
    RecordingHost host;
    DeviceSession session{clock, services, hid, kVendor, host};

    void SetUp() override
    {
        mouse.memory = *LoadDefaultImage(2);
        hid.addStandardSet(&mouse, kVendor);
        hid.plugMouse(&mouse, true);
        session.LoadReferenceIdentity();
        session.start();
    }
    // The first tick, the settle and the read.
    void arrive()
    {
        clock.advance(3500);
        ASSERT_TRUE(session.link().hasDevice());
        ASSERT_TRUE(session.lastReadComplete());
        host.calls.clear();
    }
};

} // namespace

TEST_F(DeviceSessionTest, ArrivalReadsTheImageAndAsksTheHostToShowIt)
{
    clock.advance(3500);
    ASSERT_TRUE(session.link().hasDevice());
    EXPECT_EQ(session.image().ImageBuf, mouse.memory);
    EXPECT_EQ(host.calls, (QStringList{"ShowIdentity", "ShowDisableAll", "ShowLoading", "RefreshPCMacroNames",
                                       "ShowLoading", "RefreshMacrosFromArea", "DataBufToUI",
                                       "ShowMainAfterRead", "HideLoading", "HideDisableAll"}));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(session.devTimer().isEnabled());
}

TEST_F(DeviceSessionTest, LossResetsToTheDefaultImageAndReportsIt)
{
    arrive();
    hid.plugMouse(&mouse, false);
    clock.advance(3500);
    EXPECT_FALSE(session.link().hasDevice());
    EXPECT_EQ(session.image().ImageBuf, session.defaultImages()[0]);
    EXPECT_EQ(host.calls, (QStringList{"HideAllMenu", "ClearDeviceUI", "RefreshMacrosFromArea", "DataBufToUI",
                                       "ShowNoDevice", "DeviceLostShown"}));
    // Without a language the message texts are their keys.
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Str100\r\rStr101"));
    EXPECT_EQ(services.messages[0].style, MessageStyle::MessageWindow);
}

TEST_F(DeviceSessionTest, ApplyStoresThePagesThenWritesWhatTheyStored)
{
    arrive();
    session.setTextLookup([](const QString& key) { return QStringLiteral("text of ") + key; });
    host.onStore = [this] { session.image().ParameterA[0] ^= 0x01; };
    const std::uint8_t stored = session.image().ParameterA[0] ^ 0x01;
    session.DownloadParameter();
    EXPECT_EQ(host.calls.mid(0, 5), (QStringList{"HideAllMenu", "ShowDisableAll", "ShowLoading",
                                                 "UIToDataBuf", "AIMKeyToDataBuf"}));
    EXPECT_TRUE(host.calls.contains(QStringLiteral("ApplyHostMouseSettings")));
    EXPECT_EQ(host.calls.last(), QStringLiteral("HideDisableAll"));
    EXPECT_EQ(mouse.memory[ParameterAAddr], stored);
    EXPECT_EQ(mouse.memory, session.image().ImageBuf);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(DeviceSessionTest, ClosedSessionNeitherTicksNorReopens)
{
    session.Close();
    clock.advance(3500 * 3);
    EXPECT_FALSE(session.link().hasDevice());
    EXPECT_EQ(hid.openCalls, 0);
    EXPECT_TRUE(host.calls.isEmpty());
}
