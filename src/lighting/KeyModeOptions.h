#pragma once
// The options that decide how the mouse changes key mode: the long presses
// that switch between key mode A and B, and whether the mouse remembers the
// key mode over a power cycle. The key page, the lighting page and the
// engineering tab show them; this is the state they share.
#include "image/SettingsRules.h"

#include <QString>

namespace orb
{

// The five blanks in front of the combo-key captions (Str700, Str701).
QString ComboKeyCaption(const QString& packText);

class KeyModeOptions
{
  public:
    // Show rules. "No save" in the image locks cb_KeyMode as the option's
    // click does, but the list shows the key mode the image holds.
    void Show(const SettingsControls& controls);
    // Store rules for the items held here; the other fields are left as given.
    void Store(SettingsControls& controls) const;

    // cb_MidPress, cb_CPIPress (IB_ComboKey1Click, IB_ComboKey2Click toggle
    // them) and cb_GunPress, never shown.
    bool MidPress() const { return midPress_; }
    bool CpiPress() const { return cpiPress_; }
    bool GunPress() const { return gunPress_; }
    void SetMidPress(bool on) { midPress_ = on; }
    void SetCpiPress(bool on) { cpiPress_ = on; }
    bool ToggleMidPress() { return midPress_ = !midPress_; }
    bool ToggleCpiPress() { return cpiPress_ = !cpiPress_; }
    // Img_ComboKey1 / Img_ComboKey2: "CbS_E" ticked, "CbS_D" not.
    QString ComboKeyPicture(int option) const;

    // rb_SaveClick (also through lbl_SaveKeyMode): the key-mode list is
    // enabled again and keeps its choice.
    void ChooseSave();
    // rb_NoSaveClick (also through lbl_NoSaveKeyMode): key mode A, locked.
    void ChooseNoSave();
    PairChoice NoSave() const { return noSave_; } // rb_NoSave / rb_Save
    QString SaveKeyModePicture() const;           // Img_SaveKeyMode
    QString NoSaveKeyModePicture() const;         // Img_NoSaveKeyMode

    // cb_KeyMode: item 0 key mode A, 1 key mode B (-1 none).
    int KeyMode() const { return keyMode_; }
    bool KeyModeEnabled() const { return keyModeEnabled_; }

    // rb_FireFnOn / rb_FireFnOff, never shown; stored with the image.
    PairChoice FireFn() const { return fireFn_; }
    void SetFireFnOn(bool on) { fireFn_ = on ? PairChoice::First : PairChoice::Second; }

  private:
    bool midPress_ = false;
    bool cpiPress_ = false;
    bool gunPress_ = false;
    PairChoice noSave_ = PairChoice::Neither;
    PairChoice fireFn_ = PairChoice::Neither;
    int keyMode_ = -1;
    bool keyModeEnabled_ = true;
};

} // namespace orb
