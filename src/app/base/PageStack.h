#pragma once
#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QObject;
class QWidget;

namespace orb
{

// The window's page container: the user pages gbPage1..gbPage4 with their
// backgrounds and overlays, the engineering page gbPage6, the hint line,
// and the hidden options that hold the selected page and language.
class PageStack
{
  public:
    // `buildFrame` adds the skinned frame controls to user page `copy`
    // (1..4) before its overlay; `dragFilter` watches the backgrounds.
    PageStack(QWidget* window, const std::function<void(QWidget* page, int copy)>& buildFrame,
              QObject* dragFilter);

    QWidget* page(int n) const; // 1..4, 6
    // Shows page n and hides the others, then tells `onPageShown` (the
    // window fits itself to the page: the skin's size and mask for a user
    // page, the engineering page's rectangle for page 6).
    void showOnlyPage(int n);
    // The first control of `page` in Tab order takes the focus (the page
    // itself when it has none).
    static void focusFirstControl(QWidget* page);
    // The page shown (1..4, 6); 1 when none is.
    int shownPage() const;
    void setOnPageShown(std::function<void(int)> onPageShown) { onPageShown_ = std::move(onPageShown); }
    QLabel* hintLine() const { return lbl_Content_; }

    const std::vector<QWidget*>& overlays() const { return overlays_; }
    bool isOverlay(const QWidget* w) const;
    void ShowDisableAll();
    void HideDisableAll();
    // Keeps the overlays above the page content and the controls that stay
    // usable (exit, minimise, windowed controls) above the overlays.
    void restackOverlays();

    // Page state: "rb_1" (mode A), "rb_2" (mode B), "rb_4", "rb_5", "rb_6", "rb_7" (engineering).
    QString PageState() const;
    void SelectPageOption(const QString& option);
    // The selected language button (1..3).
    int selectedLanguage() const;
    void selectLanguage(int language);

    // True from the no-device reset until a read: the pages take no input.
    bool noDeviceUI() const { return NoDeviceUI; }
    void setNoDeviceUI(bool on) { NoDeviceUI = on; }

  private:
    QWidget* window_;
    std::vector<QWidget*> pages_;    // gbPage1..gbPage4, gbPage6
    std::vector<QWidget*> overlays_; // Disable_All_1..4
    QLabel* lbl_Content_ = nullptr;
    std::function<void(int)> onPageShown_;
    bool NoDeviceUI = false;
};

} // namespace orb
