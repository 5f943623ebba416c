#pragma once
#include "image/ConfigImage.h"

#include <array>
#include <cstdint>

namespace orb
{

// What the device session asks of whoever shows it: the busy window and the
// overlays around a transfer, and the steps between the image and the pages.
// SessionView implements it for the window; a test or a command-line tool
// can record or ignore the calls instead.
class SessionHost
{
  public:
    virtual ~SessionHost() = default;

    // Busy bracket of every transfer.
    virtual void ShowLoading() = 0;
    virtual void HideLoading() = 0;
    virtual void ShowDisableAll() = 0;
    virtual void HideDisableAll() = 0;
    virtual void HideAllMenu() = 0;

    // The pages and the image.
    virtual void UIToDataBuf() = 0;                              // before JoinImage of a write
    virtual void AIMKeyToDataBuf(ProfileKeysBytes& profile) = 0; // the AIM step of JoinImage
    virtual void DataBufToUI() = 0;                              // "show the image"
    virtual void RefreshMacrosFromArea() = 0;                    // the image's macro slots
    virtual void RefreshPCMacroNames() = 0;                      // the macro library, before a read
    virtual void ClearMacroTexts() = 0;                          // before a default image is shown
    virtual void ApplyHostMouseSettings() = 0;                   // the host pointer, before a write
    virtual void ShowIdentity(const std::array<std::uint8_t, 2>& bytes) = 0; // as read from the mouse

    // Connection changes.
    virtual void ClearDeviceUI() = 0;     // the pages forget the last mouse (before the default image)
    virtual void ShowNoDevice() = 0;      // the no-device look: first page, inputs refused
    virtual void DeviceLostShown() = 0;   // after a loss: the pages blocked
    virtual void ShowMainAfterRead() = 0; // after a read: the pages take input
    // A mouse is present but this user may not open it (shown), or that has
    // ended: it was opened or unplugged (not shown).
    virtual void ShowPermissionHint(bool shown) { (void)shown; }
};

} // namespace orb
