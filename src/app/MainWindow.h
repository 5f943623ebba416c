#pragma once
#include "app/ClickLabel.h"
#include "core/Clock.h"
#include "core/Services.h"
#include "device/Transport.h"
#include "image/ConfigImage.h"
#include "keys/KeyAssignment.h"
#include "skin/CaptionScroll.h"
#include "skin/LanguagePack.h"
#include "skin/LayoutKeep.h"
#include "skin/LayoutPlan.h"
#include "skin/TextSlots.h"

#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QSystemTrayIcon;

namespace orb {

class LoadingWindow;
class KeyWidgets;

// What the main window is built on: time, dialogs and the host's HID
// interfaces. The program passes the real ones; tests pass doubles.
struct MainWindowDeps {
    Clock& clock;
    Services& services;
    HidPlatform& hid;
    int vendorId; // entry 1 of the candidate identities
};

// The main window and its controller (`TForm1`): it owns the transport,
// the connection state and the pages, and runs the device connection state
// machine on the 3500 ms device timer.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowDeps& deps, QWidget* parent = nullptr);
    ~MainWindow() override;

    // --- Connection state ---
    struct CandidateId {
        int vendor = 0;
        int product = 0;
    };
    std::array<CandidateId, 2> CandidateIds{};
    int LastHidCount = 0;
    bool TimerBusy = false;
    bool Closing = false; // the window has been closed: nothing more reaches the mouse
    bool NoDeviceUI = false;
    QString ProgramFolder;
    bool WriteEnable = false;
    int ControllerCode = -1; // -1: none

    // --- Configuration image: ImageBuf and the section buffers ---
    ConfigImage Image;
    std::array<ImageBytes, 3> DefaultImages{};
    // Identity bytes 0x036/0x037: of the built-in default image, the "[org]"
    // reserve identity, and as last read from the mouse.
    std::array<std::uint8_t, 2> ReferenceIdentity{0xFF, 0xFF};
    int Rev_Manu_ID = 0;
    int Rev_Pro_ID = 0;
    std::array<std::uint8_t, 2> IdentityBytes{};

    Transport& link() { return link_; }
    Clock& clock() { return clock_; }
    Services& services() { return services_; }
    Timer& devTimer() { return *DevTimer_; }
    LoadingWindow* loadingWindow() const { return loading_; }

    // --- Connection state machine ---
    void DevTimerTimer();
    void DevLost();
    void RefreshErrorAP();
    void InitNoDevice();
    void ShowMainAfterRead();

    // --- Memory transfers and the actions that run them ---
    void ReadDevInfo(); // identity check, then Btn_Read or a refusal
    // Whether the last ReadDevInfo read the whole image: identity accepted,
    // memory access allowed, the read window and every chunk answered.
    bool LastReadComplete = false;
    // Whether the last ReadDevInfo showed its own refusal ("Str020" or "Str107").
    bool LastReadRefusalShown = false;
    // Reads the whole image from the mouse for saving; false when any step
    // of the read failed or was refused (nothing may be saved then).
    bool ReadImageForSave();
    void Btn_Read();
    bool QueryStatus();
    void WriteImage();
    void DownloadParameter();
    void RepeatedWriteEEPROM();
    void Btn_Confirm_0Click();
    void Btn_Apply_0Click();
    void Btn_Read_0Click();
    void Btn_Confirm1_1Click();
    void Btn_Confirm2_1Click();
    void Btn_Confirm3_1Click();
    void Btn_DefaultClick();
    // Built-in default image 1, 2 or 3 into the image and the controls, then to the mouse.
    void DefaultParameter(int number);
    // Factory reset: the image built from the factory contents, shown and written.
    void TLDefaultParameter();

    // --- Profile files and the settings mapping (Mapping.cpp) ---
    void UIToDataBuf();
    void DataBufToUI();
    void RefreshUI();
    void Btn_Save_0Click();
    void Btn_Load_0Click();
    void MemoToDataBuf_OnClick();
    void LoadReferenceIdentity();
    // Key code texts of key modes A and B, keys 1..9 ("010100"); kept in step
    // with the profile section.
    std::array<QString, 9> ModeACodes;
    std::array<QString, 9> ModeBCodes;
    // Light type of the last image shown: "ZKLED", "MCULED" or empty.
    QString LedTypeShown;
    // What the other pages show of the settings; called by RefreshUI and the
    // profile actions, filled in by the owners of those pages (PageHooks.cpp).
    // Every panel of the assignment menu and the macro page's context menus hidden.
    void HideAllMenu();
    void RefreshMacrosFromArea();
    void RefreshCpiLevelsView();
    void RefreshLightTypeView();
    void RefreshMcuModeView();
    void RefreshFireFields();
    void RefreshOptionPictures();
    void RefreshLedPictures();
    // The AIM value from the image and its display on the advanced page.
    void RefreshAIMKey();
    QStringList BaseMacroNames() const;

    // --- Engineering page (EngineerPage.cpp) ---
    void buildEngineerPage();
    // Engineering-tab parts of the level-count, light-type and MCU-mode
    // handlers: the lists and groups that follow those settings.
    void cb_CPIStepChange();
    void ShowLightTypeControls();
    void TLRefreshMCULEDMode();
    void TLRefreshAIMKey();
    void TLRefreshProfile1Keys();
    void TLRefreshProfile2Keys();
    void edt_VendorIDChange();
    void edt_ProductIDChange();

    // --- Skin, layout, language and pages ---
    QSize SkinSize; // the background's size: the window and the user pages
    // "[org]" options, read once at start.
    int Web_Enable = 1;
    QString Web;
    QString Path;
    int TR_Enable = 0;
    int DPILED_Status = 1;
    int Num_Order = 0;
    LayoutKeep Keep; // values the last layout step kept for the pages
    CaptionScroll Scroll;
    Timer& labelRun() { return *LabelRun_; }

    void LoadBaseImage();
    void FitWindowToSkin();
    void FitWindowToEngineerPage();
    void LoadSkinImages();
    void LoadOrgOptions();
    void ApplyLanguageLayout();
    // Layout of a small dialog when it opens, from the current section: the
    // fonts of `fontGroup` ("K", "L") by each child's "layoutRole" property
    // ("title", "input", "button"; anything else the group size) and the
    // positions of `rows`.
    void ApplyDialogLayout(QWidget* dialog, const QString& fontGroup, const QList<LayoutRow>& rows = {});
    void Btn_Lang1_0Click();
    void Btn_Lang2_0Click();
    void Btn_Lang3_0Click();
    void LanguageButtonClick(int language);

    // Page state: "rb_1" (mode A), "rb_2" (mode B), "rb_4", "rb_5", "rb_6", "rb_7" (engineering).
    QString PageState() const;
    void SelectPageOption(const QString& option);
    void Btn_Main_0Click();
    void Btn_Second_0Click();
    void Btn_Adv_0Click();
    void Btn_Breath_0Click();
    void Btn_Macro_0Click();
    void Btn_Engineer_0Click();
    void ButtonTypeB_1IconInit();
    void RefreshAPPage();
    // The no-device look of the page selectors: mode A marked.
    void ShowMainPageSelectors();
    void ButtonMouseEnter(ClickLabel* label);
    void ButtonMouseLeave(ClickLabel* label);
    void LabelRunTimer();
    void Btn_Web_0Click();
    void Btn_Minimize_0Click();
    void ClearAP();
    // Gives a skinned caption label the pointer pictures and caption
    // scrolling of its family (by name); for labels made by other pages.
    void wireButtonVisuals(ClickLabel* label);
    // Pictures by resource name; the name is kept in the "picture" property.
    void SetPicture(const QString& control, const QString& picture);
    void SetGroupPicture(const QString& group, const QString& picture); // Img_<group>_1..4
    // Hooks of the key page and the macro editor for the page extras.
    void RefreshProfile1Keys();
    void RefreshProfile2Keys();
    bool MacroInsertMode() const;

    // --- Button assignment (KeyPage.cpp, KeyMenu.cpp) ---
    // The eighteen assignments over ModeACodes/ModeBCodes and the profile
    // section, the names shown for them and the AIM value.
    KeyAssignments Keys{ModeACodes, ModeBCodes, Image.ProfileKeys};
    // What opened the assignment menu: a key label (key 1..9, -1 for none) or
    // an engineering button (101..109, 201..209). It outlives the menu, so the
    // combination dialog and the macro list act on the last one opened.
    bool MenuTargetIsEngineer = false;
    int MenuTarget = -1;
    // Filled in by the keyboard-combination dialog for ApplyCombination.
    bool CombinationPending = false;
    QString CombinationText;
    QString CombinationCode;
    // Opens the keyboard-combination dialog; set by that dialog's owner.
    std::function<void()> OpenCombinationDialog;

    void buildKeyPage();
    void buildKeyMenu();
    // ModeACodes/ModeBCodes afresh from the profile section.
    void LoadKeyCodes();
    // The key mode the key page edits: rb_2 selected means mode B.
    KeyMode EditedKeyMode() const;
    // Key1..Key9 := the names of the mode's keys (RefreshProfile1Keys/2Keys).
    void ShowKeyCaptions(KeyMode mode);
    void RebuildKeyNames();
    void ShowPnlMain_OnClick(QWidget* label);
    void TLShowPnlMain_OnClick(QWidget* button);
    void KeyByTagMouseEnter(QLabel* item);
    void KeyStatusMouseEnter(QLabel* item);
    void KeyStatus_AMouseEnter(QLabel* item);
    void KeyStatus_BMouseEnter(QLabel* item);
    void KeyStatusMouseLeave(QLabel* item);
    void KeyStatusOnClick(QLabel* item);
    void Key_AssemblyClick();
    // A function picked for the menu target, under the left-key rule; shows
    // the keep-left-button message and returns false when refused. The macro
    // list's picks go through here too.
    bool AssignToMenuTarget(const QString& name, const QString& code);
    void ApplyCombination();
    void RedrawAimDisplay();
    void AIMKeyVlaue_OnClick(int n); // bar image 1..11
    void cb_AIMKeyValueChange(int index);
    // Every AIM key of the profile section gets the AIM value; the AIM step
    // of JoinImage before every write.
    void AIMKeyToDataBuf(ProfileKeysBytes& profile);
    // Widths, fonts and colours of the menu panels (group G) and the AIM
    // bar's place on the advanced page.
    void ApplyKeyMenuLayout(const LayoutText& section);
    // Key1..Key9 re-texted in the current language.
    void RetranslateKeyCaptions();
    // The engineering page's key buttons and AIM list, once they exist.
    void ConnectEngineerKeyButtons();

    // --- Busy and blocking services ---
    void ShowLoading();
    void HideLoading();
    void ShowDisableAll();
    void HideDisableAll();
    // Keeps the overlays above the page content and the controls that stay
    // usable (exit, minimise, windowed controls) above the overlays.
    void restackOverlays();

    // --- Texts ---
    // The language (1..3) selects the pack, the layout section and the picture set.
    int LanguageIndex = 1;
    LanguagePack Pack;
    TextSlots Slots;
    void LoadLanguage(int index);
    QString LookupText(const QString& key) const;
    // The program's own message window with one OK button.
    void RefreshFormMessagDialog(const QString& text);

    // --- Pages ---
    QWidget* page(int n) const; // 1..4, 6
    void showOnlyPage(int n);

    // Window activation asked by a second start of the program.
    void bringToFront();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildPages();
    void buildSkinFrame(QWidget* page, int copy);
    void buildPageState();
    void applyLayoutRows(const LayoutText& section, const QList<LayoutRow>& rows);
    void applyTexts();
    void updateWindowShape();
    QWidget* control(const QString& name) const;
    void FormCreate();
    void Img_BaseMouseDown(QWidget* source, const QPoint& globalPos);

    Clock& clock_;
    Services& services_;
    Transport link_;
    std::unique_ptr<Timer> DevTimer_;
    LoadingWindow* loading_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    std::vector<QWidget*> pages_;    // gbPage1..gbPage4, gbPage6
    std::vector<QWidget*> overlays_; // Disable_All_1..4
    QLabel* lbl_Content_ = nullptr;
    // Dragging the borderless window by its background.
    bool dragging_ = false;
    QPoint dragOffset_;
    // Skin, layout, language and pages.
    std::unique_ptr<Timer> LabelRun_;
    QHash<QString, QPixmap> pictures_;
    // Button assignment: the widgets of the key page and the menu.
    KeyWidgets* keyUi_ = nullptr;
};

} // namespace orb
