#pragma once
#include "app/base/Page.h"
#include "app/pages/macros/MacroLibraryFiles.h"
#include "app/pages/macros/MacroPageDeps.h"
#include "app/pages/macros/MacroPageState.h"
#include "app/pages/macros/MacroRecording.h"
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"
#include "macros/MacroScript.h"

#include <QStringList>

#include <memory>
#include <span>

class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace orb
{

class ClickLabel;
class InsertPanel;
class MacroEditor;
class MacroListDelegate;

// The macro page (gbPage4, option rb_6): the macro slots of the image, the
// macro library and its file, the open macro's script with its list, and
// recording. The script editor and its dialogs build on the script model,
// the list (RefreshMacroList) and the current line (CurrentLine); the
// library's file and recording are parts of their own (MacroLibraryFiles,
// MacroRecording), reached through the handlers below.
class MacroPage : public Page
{
  public:
    MacroPage(const PageContext& context, MacroPageDeps deps = {});
    ~MacroPage() override;

    // --- Device slots (MacroArea) ---
    // Names of the seven base-macro slots (the key names show them).
    QStringList BaseMacroNames() const;
    const DeviceMacros& deviceMacros() const { return Device; }
    // The slot library macro c goes to for a key whose mode codes are
    // given (the key being assigned already counted free): 1..7 or NoSlot.
    int FindBaseMacroCount(int c, std::span<const QString> modeACodes,
                           std::span<const QString> modeBCodes) const;
    // Copies library macro c into slot 1..7 (names list and MacroArea
    // follow) and returns the key code that plays it; empty when refused.
    QString PutLibraryMacroInSlot(int c, int slot);

    // --- Library ---
    MacroLibrary& library() { return files_->library(); }
    const MacroLibrary& library() const { return files_->library(); }
    const QString& libraryPath() const { return files_->libraryPath(); }
    // Start-up: the library from its file, or the built-in one written to
    // it. A file that cannot be written is said once; the program goes on.
    void CheckPCMacro() { files_->CheckPCMacro(); }
    // The whole library to its file, tried at every change; false when it
    // cannot be (said once per run of failures). An existing file that could
    // not be read at start-up is never written.
    bool RefreshPCMacro() { return files_->RefreshPCMacro(); }
    // The library's names into LB_PCMacroName and LB_Name.
    void RefreshPCMacroName() { files_->RefreshPCMacroName(); }
    // What the page is doing: the open macro, a running recording, the
    // insert panel. The one place every handler asks.
    const MacroPageState& state() const { return state_; }
    // The open library macro (the one LB_PCMacroName shows selected); -1 for none.
    int SelectedLibraryMacro() const;
    // Opens the library macro selected in LB_PCMacroName into the script and
    // the list (again, when it is open); refused while a recording runs.
    void LB_PCMacroNameClick();
    // Empties the script and the list and selects no library macro, so no
    // later store can land on a macro whose lines are not shown.
    void CloseMacro();
    // The open macro's record decoded into the script again (the delay
    // choice follows it; the release choice made stays).
    void ReloadOpenMacro();
    // After the library took in another program's changes: the open macro
    // is entry k now (-1: gone, and it is closed) and its record changed or
    // not; a changed one is opened afresh, so edit dialogs opened on its old
    // lines store nothing. Returns whether the lines shown stayed as they were.
    bool FollowOpenMacro(int k, bool recordChanged);
    // The widgets from the state: the library list's selection and which
    // controls take input.
    void ShowState();
    // Import / export with the file dialogs.
    void Btn_ImportOneClick() { files_->Btn_ImportOneClick(); }
    void Btn_ImportClick() { files_->Btn_ImportClick(); }
    void Btn_ExportOneClick() { files_->Btn_ExportOneClick(); }
    void Btn_ExportClick() { files_->Btn_ExportClick(); }
    // Engineering mode: a file of seven slots straight into the mouse.
    void Btn_ImportBaseMacroClick() { files_->Btn_ImportBaseMacroClick(); }

    // --- Script and list ---
    MacroScript& script() { return Script; }
    const MacroScript& script() const { return Script; }
    // LB_macro from the script; `selection` becomes the current item.
    void RefreshMacroList(int selection = -1);
    // The current item of LB_macro; -1 for none.
    int CurrentLine() const;
    // The open macro's release mode as chosen (rb_ReleaseStop).
    bool ReleaseStopChosen() const;
    // The script stored into the selected library macro and the file written.
    void StoreScript();

    // --- Recording ---
    void Btn_StartClick() { recording_->Btn_StartClick(); }
    // Insert recording, for the editor's insert panel (Btn_InsertStart,
    // CB_Insert, the insert delay choice): anchored to the current line.
    void Btn_InsertStartClick() { recording_->Btn_InsertStartClick(); }
    bool Recording() const { return state_.recordingRuns(); }
    bool InsertRecording() const { return state_.insertRecording(); }
    // The pointer is over Btn_New, Btn_Start or Btn_InsertStart: left clicks
    // there start or stop, they are not recorded.
    void SetPointerOnRecordButton(bool on) { recording_->SetPointerOnRecordButton(on); }
    const MacroRecorder& recorder() const { return recording_->recorder(); }
    // The line editor: LB_macro's context menu and the edit dialogs.
    MacroEditor& editor() const { return *editor_; }

    // --- Window steps ---
    // The editor's insert box is open (page selection keeps it on the macro page).
    bool MacroInsertMode() const;
    // The delay box or the insert box in their shared place, when the page is shown.
    void ShowMacroBoxes();
    // The image's macro slots into the lists (after SplitImage).
    void RefreshMacrosFromArea();
    // The macro library's names, before a read.
    void RefreshPCMacroNames() { files_->RefreshPCMacroNames(); }
    // The editor's texts, before a default image is shown.
    void ClearMacroTexts();
    // The macro slots into the image (UIToDataBuf step).
    void UIToDataBuf();
    // The context menus Pnl_PCMacro and Pnl_DevContent (they close with the key menu).
    void HideAllMenu();

    // Around a language change: the insert list keeps its choice, the delay box closes.
    void BeforeLanguageChange();
    void AfterLanguageChange();
    void ApplyLayout(const LayoutText& section) override;
    void Retranslate() override;
    void ResetNoDevice() override;
    void DeviceLost() override;

  private:
    // The parts change the state through the page's own accessor.
    friend class InsertPanel;
    friend class MacroEditor;
    friend class MacroRecording;
    MacroPageState& ownState() { return state_; }

    void build();
    // LB_PCMacroName's selected row, however it was selected; -1 for none.
    int selectedRow() const;
    // The open macro follows every selection change of the library list.
    void followListSelection();
    void openLibraryMacro(int k);
    // Record k into the script and the list; the release choice too when asked.
    void decodeRecord(int k, bool releaseChoice);
    void chooseDelay(int mode);
    void chooseRelease(bool stop);
    void fillNameLists();

    int insertIndex_ = -1;
    MacroPageState state_;
    bool showingState_ = false; // the list's selection is being set from the state

    DeviceMacros Device;
    MacroScript Script;
    std::unique_ptr<MacroLibraryFiles> files_;
    std::unique_ptr<MacroRecording> recording_;
    MacroEditor* editor_ = nullptr;

    QListWidget* pcList_ = nullptr;     // LB_PCMacroName
    QListWidget* deviceList_ = nullptr; // LB_MacroName
    QListWidget* lineList_ = nullptr;   // LB_macro
    MacroListDelegate* lineRows_ = nullptr;
    MacroListDelegate* pcRows_ = nullptr;
    MacroListDelegate* deviceRows_ = nullptr;
    ClickLabel* startButton_ = nullptr; // Btn_Start
    QWidget* delayBox_ = nullptr;       // Gb_Delay
    QRadioButton* rbRecDelay_ = nullptr;
    QRadioButton* rbDelayTime_ = nullptr;
    QRadioButton* rbNoDelay_ = nullptr;
    QRadioButton* rbReleaseStop_ = nullptr;
    QRadioButton* rbReleaseContinue_ = nullptr;
    QLineEdit* delayEdit_ = nullptr; // Edt_Delay
    QColor fontColour_{255, 255, 255};
};

} // namespace orb
