#pragma once
#include "app/pages/macros/MacroPageDeps.h"

#include <QLocale>
#include <QWidget>
#include <memory>

class QSystemTrayIcon;

namespace orb
{

class AdvancedPage;
class ClickLabel;
class ButtonHover;
class Clock;
class DeviceSession;
class EngineerPage;
class FrameActions;
class HidPlatform;
class HostMouseStore;
class HostMouseSystem;
class KeyPage;
class LightingPage;
class LoadingWindow;
class MacroPage;
class PageMapping;
class PageSelector;
class PageStack;
class PermissionHint;
class Services;
class SessionHost;
class SessionView;
class Skin;

// What the main window is built on: time, dialogs, the host's HID
// interfaces and its pointer settings. The program passes the real ones; tests pass doubles.
struct MainWindowDeps {
    Clock& clock;
    Services& services;
    HidPlatform& hid;
    int vendorId; // entry 1 of the candidate identities
    // The host pointer settings: where they are kept and the desktop they go to.
    HostMouseStore& hostStore;
    HostMouseSystem& hostSystem;
    MacroPageDeps macros{}; // recording input and the macro library's folders
    // The system locale: the engineering page's text column follows it.
    QLocale locale = QLocale::system();
};

// The main window (`TForm1`): the frame around the pages. It builds and
// wires the device session, the skin, the pages and the page selector, and
// keeps the language buttons, dragging, minimise, closing and the tray icon.
class MainWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit MainWindow(const MainWindowDeps& deps, QWidget* parent = nullptr);
    ~MainWindow() override;

    DeviceSession& session() const { return *session_; }
    Skin& skin() const { return *skin_; }
    ButtonHover& hover() const { return *hover_; }
    PageStack& stack() const { return *stack_; }
    PageSelector& selector() const { return *selector_; }
    FrameActions& actions() const { return *actions_; }
    PageMapping& mapping() const { return *mapping_; }
    KeyPage& keyPage() const { return *key_; }
    AdvancedPage& advancedPage() const { return *advanced_; }
    LightingPage& lightingPage() const { return *lighting_; }
    MacroPage& macroPage() const { return *macro_; }
    EngineerPage& engineerPage() const { return *engineer_; }
    LoadingWindow* loadingWindow() const { return loading_; }
    SessionHost& sessionHost() const; // how the window shows the session
    QWidget* page(int n) const;       // gbPage1..4, gbPage6

    void Btn_Lang1_0Click();
    void Btn_Lang2_0Click();
    void Btn_Lang3_0Click();
    void LanguageButtonClick(int language);
    void Btn_Web_0Click();
    void Btn_Minimize_0Click();
    // Every open menu of every page closed.
    void HideAllMenu();
    void bringToFront(); // asked by a second start of the program

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildSkinFrame(QWidget* page, int copy);
    void wireEngineerButtons();
    // What a frame button is to a screen reader (a page tab, a language option).
    void describeFrameButton(ClickLabel* caption, const QString& name);
    // Escape and the page keys.
    void wireKeyboard();
    void FormCreate(const QLocale& locale);
    void Img_BaseMouseDown(QWidget* source, const QPoint& globalPos);

    std::unique_ptr<SessionView> view_;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<PageStack> stack_;
    std::unique_ptr<Skin> skin_;
    ButtonHover* hover_ = nullptr; // the pages below are children of the window
    std::unique_ptr<FrameActions> actions_;
    MacroPage* macro_ = nullptr;
    LightingPage* lighting_ = nullptr;
    AdvancedPage* advanced_ = nullptr;
    KeyPage* key_ = nullptr;
    EngineerPage* engineer_ = nullptr;
    std::unique_ptr<PageMapping> mapping_;
    std::unique_ptr<PageSelector> selector_;
    LoadingWindow* loading_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<PermissionHint> permission_; // over the pages
    bool dragging_ = false;                      // the borderless window dragged by its background
    QPoint dragOffset_;
    bool startLayoutDone_ = false; // FormCreate laid out the first language just now
};

} // namespace orb
