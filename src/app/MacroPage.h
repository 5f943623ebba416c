#pragma once
#include "app/Page.h"

#include <QStringList>

namespace orb
{

// The macro page (gbPage4, option rb_6): the macro slots of the image, the
// macro library, the script editor and its context menus. It holds the
// points the rest of the window calls; the macro work fills them.
class MacroPage : public Page
{
  public:
    explicit MacroPage(const PageContext& context);

    // Names of the seven base-macro slots (the key names show them).
    QStringList BaseMacroNames() const;
    // The editor's insert box is open (page selection keeps it on the macro page).
    bool MacroInsertMode() const;
    // The delay box or the insert box in their shared place, when the page is shown.
    void ShowMacroBoxes();

    // The image's macro slots into the lists (after SplitImage).
    void RefreshMacrosFromArea();
    // The macro library's names, before a read.
    void RefreshPCMacroNames();
    // The editor's texts, before a default image is shown.
    void ClearMacroTexts();
    // The macro slots into the image (UIToDataBuf step).
    void UIToDataBuf();
    // The context menus Pnl_PCMacro and Pnl_DevContent (they close with the key menu).
    void HideAllMenu();

    // Around a language change: the insert list keeps its choice, the delay box closes.
    void BeforeLanguageChange();
    void AfterLanguageChange();
    void Retranslate() override; // the insert list's items
    void ResetNoDevice() override;
    void DeviceLost() override;

  private:
    int insertIndex_ = -1;
};

} // namespace orb
