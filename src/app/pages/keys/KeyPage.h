#pragma once
#include "app/base/Page.h"
#include "keys/KeyAssignment.h"

#include <array>
#include <functional>

class QLabel;

namespace orb
{

class ClickLabel;
class ComboKeyOptions;
class KeyMenu;
class MacroPage;

// The key page (gbPage1, options rb_1 and rb_2): the nine button captions
// of the edited key mode, the assignment menu they and the engineering
// page's key buttons open, the model of the eighteen assignments, and the
// AIM value with its bar on the advanced page.
class KeyPage : public Page
{
  public:
    KeyPage(const PageContext& context, MacroPage& macros);

    // The engineering page's key buttons and AIM list, once they exist.
    void ConnectEngineerKeyButtons();

    // --- Model ---
    // The eighteen assignments over the mode codes and the profile section.
    KeyAssignments& keys() { return Keys; }
    const KeyAssignments& keys() const { return Keys; }
    // Key code texts of key mode A or B, keys 1..9 ("010100").
    const std::array<QString, 9>& codes(KeyMode mode) const
    {
        return mode == KeyMode::A ? ModeACodes : ModeBCodes;
    }
    // The mode codes afresh from the profile section.
    void LoadKeyCodes();
    // The key mode the page edits: rb_2 selected means mode B.
    KeyMode EditedKeyMode() const;
    void RebuildKeyNames();
    // Key1..Key9 := the names of the mode's keys.
    void ShowKeyCaptions(KeyMode mode);
    void RefreshProfile1Keys();
    void RefreshProfile2Keys();

    // --- Assignment menu ---
    void ShowPnlMain_OnClick(QWidget* label);
    void TLShowPnlMain_OnClick(QWidget* button);
    void KeyStatusOnClick(QLabel* item);
    // A function picked for the menu target, under the left-key rule; shows
    // the keep-left-button message and returns false when refused. The macro
    // list's picks go through here too.
    bool AssignToMenuTarget(const QString& name, const QString& code);
    // A library macro (entry c of LB_Name) picked for the menu target: a
    // base-macro slot chosen and filled, the key given its code, under the
    // left-key rule. No free slot leaves the key as it was, silently.
    void LB_NameClick(int c);
    void Key_AssemblyClick();
    // The keyboard-combination dialog: opened by Key_AssemblyClick, and what
    // its confirm hands over for ApplyCombination.
    void setCombinationDialog(std::function<void()> open) { OpenCombinationDialog = std::move(open); }
    void SetCombination(const QString& text, const QString& code);
    bool combinationPending() const { return CombinationPending; }
    // The dialog's clear: nothing is left to apply.
    void ClearCombination()
    {
        CombinationPending = false;
        CombinationText.clear();
        CombinationCode.clear();
    }
    // To the key of the menu opened last, in the key mode shown now. The
    // dialog's own confirm goes to the key it was opened for instead.
    void ApplyCombination();
    void HideAllMenu();
    KeyMenu& menu() const { return *menu_; }

    // --- AIM value ---
    void RefreshAIMKey(); // from the image
    void RedrawAimDisplay();
    void AIMKeyVlaue_OnClick(int n); // bar image 1..11
    void cb_AIMKeyValueChange(int index);
    // Every AIM key of the profile section gets the AIM value; the AIM step
    // of JoinImage before every write.
    void AIMKeyToDataBuf(ProfileKeysBytes& profile);

    // --- Steps ---
    void DataBufToUI(); // the mode codes from the image
    // The page follows the image's key mode (0: A, 1: B) in RefreshUI: the
    // key page of that mode is selected when the key page is the selected
    // page or `selectKeyPage` asks for it (the end of a read).
    void ShowKeyMode(int keyMode, bool selectKeyPage = false);
    // The key mode of the image last shown.
    int imageKeyMode() const { return imageKeyMode_; }
    void ApplyLayout(const LayoutText& section) override;
    void Retranslate() override; // Key1..Key9 named afresh in the current language
    // Img_ComboKey1/IB_ComboKey1, Img_ComboKey2/IB_ComboKey2.
    ComboKeyOptions& comboKeys() const { return *comboKeys_; }

  private:
    void build();

    int imageKeyMode_ = 0;

    MacroPage& macros_;
    KeyMenu* menu_ = nullptr;
    ComboKeyOptions* comboKeys_ = nullptr;
    std::array<ClickLabel*, KeyCount> labels_{}; // Key1..Key9
    std::array<QString, 9> ModeACodes;
    std::array<QString, 9> ModeBCodes;
    KeyAssignments Keys;
    // The key mode Key1..Key9 show, for when the page options are missing.
    KeyMode shownMode_ = KeyMode::A;
    // What opened the assignment menu: a key label (key 1..9, -1 for none) or
    // an engineering button (101..109, 201..209). It outlives the menu, so the
    // combination dialog and the macro list act on the last one opened.
    bool MenuTargetIsEngineer = false;
    int MenuTarget = -1;
    // The key a combination goes to: the menu target and the key mode.
    struct CombinationTarget {
        bool engineer = false;
        int target = -1;
        KeyMode mode = KeyMode::A;
    };
    CombinationTarget menuTargetNow() const
    {
        return CombinationTarget{MenuTargetIsEngineer, MenuTarget, EditedKeyMode()};
    }
    void applyCombinationTo(const CombinationTarget& t);
    bool CombinationPending = false;
    QString CombinationText;
    QString CombinationCode;
    std::function<void()> OpenCombinationDialog;
};

} // namespace orb
