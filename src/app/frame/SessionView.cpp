#include "app/frame/SessionView.h"

#include "app/base/PageStack.h"
#include "app/frame/LoadingWindow.h"
#include "app/frame/PageMapping.h"
#include "app/frame/PageSelector.h"
#include "app/frame/PermissionHint.h"
#include "app/pages/advanced/AdvancedPage.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"

namespace orb
{

void SessionView::ShowLoading()
{
    if (p_.session->closing())
        return; // a transfer cut short by closing the window winds down unseen
    p_.loading->centreOver(window_->geometry());
    p_.loading->show();
    p_.loading->raise();
    p_.session->clock().pumpEvents();
}

void SessionView::HideLoading()
{
    p_.loading->hide();
    p_.session->clock().pumpEvents();
}

void SessionView::ShowDisableAll()
{
    p_.stack->ShowDisableAll();
}

void SessionView::HideDisableAll()
{
    p_.stack->HideDisableAll();
}

void SessionView::HideAllMenu()
{
    p_.hideAllMenu();
}

void SessionView::UIToDataBuf()
{
    p_.mapping->UIToDataBuf();
}

void SessionView::AIMKeyToDataBuf(ProfileKeysBytes& profile)
{
    p_.aimKeyToDataBuf(profile);
}

void SessionView::DataBufToUI()
{
    p_.mapping->DataBufToUI();
    // The page buttons mark the page the image leaves selected.
    if (!p_.stack->noDeviceUI())
        p_.selector->MarkSelectedPage();
}

void SessionView::RefreshMacrosFromArea()
{
    p_.macro->RefreshMacrosFromArea();
}

void SessionView::RefreshPCMacroNames()
{
    p_.macro->RefreshPCMacroNames();
}

void SessionView::ClearMacroTexts()
{
    p_.macro->ClearMacroTexts();
}

void SessionView::ApplyHostMouseSettings()
{
    p_.advanced->ApplyHostMouseSettings();
}

void SessionView::ShowIdentity(const std::array<std::uint8_t, 2>& bytes)
{
    p_.engineer->ShowIdentity(bytes);
}

void SessionView::ClearDeviceUI()
{
    p_.resetPages();
}

void SessionView::ShowNoDevice()
{
    p_.stack->setNoDeviceUI(true);
    if (key_)
        key_->ShowKeyMode(key_->imageKeyMode(), true);
    p_.stack->showOnlyPage(1);
    p_.selector->ShowMainPageSelectors();
}

void SessionView::DeviceLostShown()
{
    p_.pagesLost();
    p_.stack->ShowDisableAll();
}

void SessionView::ShowMainAfterRead()
{
    p_.stack->showOnlyPage(1);
    p_.stack->setNoDeviceUI(false);
    // The key page shows the mouse's key mode, whichever page was selected
    // before the read.
    if (key_)
        key_->ShowKeyMode(key_->imageKeyMode(), true);
    if (p_.stack->PageState() == QLatin1String("rb_1"))
        p_.selector->Btn_Main_0Click();
    else
        p_.selector->MarkSelectedPage();
    p_.session->clock().pumpEvents();
    p_.stack->HideDisableAll();
}

void SessionView::ShowPermissionHint(bool shown)
{
    if (permission_)
        permission_->setShown(shown);
}

} // namespace orb
