#pragma once
#include <QString>
#include <functional>

namespace orb
{

class DeviceSession;
class EngineerPage;
class KeyPage;
class MacroPage;
class PageStack;
class Skin;

// The page buttons (Btn_Main_ ... on every user page copy and their twins
// on the engineering page): which page shows, and the pictures that mark it.
class PageSelector
{
  public:
    PageSelector(PageStack& stack, Skin& skin, DeviceSession& session, KeyPage& key, EngineerPage& engineer,
                 MacroPage& macro, std::function<void()> hideAllMenu);

    void Btn_Main_0Click();
    void Btn_Second_0Click();
    void Btn_Adv_0Click();
    void Btn_Breath_0Click();
    void Btn_Macro_0Click();
    void Btn_Engineer_0Click();
    // The user page before (-1) or after (1) the one shown, round the end.
    void SelectNeighbourPage(int step);
    void ButtonTypeB_1IconInit();
    // The no-device look of the page selectors: mode A marked.
    void ShowMainPageSelectors();
    // Exactly the selected page's button group marked ("SetS_03"), the
    // other groups normal.
    void MarkSelectedPage();
    // The selected page shown again (after a language change).
    void RefreshAPPage();

  private:
    void selectPage(const QString& option);

    PageStack& stack_;
    Skin& skin_;
    DeviceSession& session_;
    KeyPage& key_;
    EngineerPage& engineer_;
    MacroPage& macro_;
    std::function<void()> hideAllMenu_;
};

} // namespace orb
