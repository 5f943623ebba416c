#pragma once
#include "app/session/SessionHost.h"

#include <functional>

class QWidget;

namespace orb
{

class AdvancedPage;
class DeviceSession;
class EngineerPage;
class LoadingWindow;
class MacroPage;
class PageMapping;
class PageSelector;
class PageStack;
class PermissionHint;
class KeyPage;

// How the window shows the device session: the busy window and the
// overlays, and the session's image steps passed to the pages.
class SessionView final : public SessionHost
{
  public:
    // The window's parts, known once they are built.
    struct Parts {
        DeviceSession* session = nullptr;
        PageStack* stack = nullptr;
        LoadingWindow* loading = nullptr;
        PageMapping* mapping = nullptr;
        PageSelector* selector = nullptr;
        AdvancedPage* advanced = nullptr;
        MacroPage* macro = nullptr;
        EngineerPage* engineer = nullptr;
        std::function<void()> hideAllMenu;
        std::function<void(ProfileKeysBytes&)> aimKeyToDataBuf;
        std::function<void()> resetPages; // every page's ResetNoDevice
        std::function<void()> pagesLost;  // every page's DeviceLost
    };

    explicit SessionView(QWidget* window) : window_(window) {}
    void attach(Parts parts) { p_ = std::move(parts); }
    // The key page (its key mode picks the page a read ends on) and the
    // note of a mouse that may not be opened.
    void attachKeyPage(KeyPage* key) { key_ = key; }
    void attachPermissionHint(PermissionHint* hint) { permission_ = hint; }

    void ShowLoading() override;
    void HideLoading() override;
    void ShowDisableAll() override;
    void HideDisableAll() override;
    void HideAllMenu() override;
    void UIToDataBuf() override;
    void AIMKeyToDataBuf(ProfileKeysBytes& profile) override;
    void DataBufToUI() override;
    void RefreshMacrosFromArea() override;
    void RefreshPCMacroNames() override;
    void ClearMacroTexts() override;
    void ApplyHostMouseSettings() override;
    void ShowIdentity(const std::array<std::uint8_t, 2>& bytes) override;
    void ClearDeviceUI() override;
    void ShowNoDevice() override;
    void DeviceLostShown() override;
    void ShowMainAfterRead() override;
    void ShowPermissionHint(bool shown) override;

  private:
    QWidget* window_;
    Parts p_;
    KeyPage* key_ = nullptr;
    PermissionHint* permission_ = nullptr;
};

} // namespace orb
