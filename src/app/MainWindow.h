#pragma once
#include "app/ClickLabel.h"
#include "core/Clock.h"
#include "core/Services.h"
#include "device/Transport.h"
#include "image/ConfigImage.h"
#include "skin/LanguagePack.h"
#include "skin/TextSlots.h"

#include <QLabel>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QSystemTrayIcon;

namespace orb {

class LoadingWindow;

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
    // Reads the whole image from the mouse for saving; false when any step
    // of the read failed or was refused (nothing may be saved then).
    bool ReadImageForSave();
    void LoadReferenceIdentity();

    // --- Engineering page (EngineerPage.cpp) ---
    void buildEngineerPage();

    // --- Skin, layout, language and pages ---

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
    void buildFrameButton(QWidget* page, const QString& name, int copy, const QRect& rect);
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
};

} // namespace orb
