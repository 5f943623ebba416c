#include "lighting/KeyModeOptions.h"

#include "lighting/ValueBar.h"

namespace orb
{

QString ComboKeyCaption(const QString& packText)
{
    return QStringLiteral("     ") + packText;
}

void KeyModeOptions::Show(const SettingsControls& c)
{
    midPress_ = c.midPress;
    cpiPress_ = c.cpiPress;
    gunPress_ = c.gunPress;
    fireFn_ = c.fireFn;
    noSave_ = c.noSave;
    keyModeEnabled_ = noSave_ != PairChoice::First;
    keyMode_ = c.keyMode >= 0 && c.keyMode <= 1 ? c.keyMode : -1;
}

void KeyModeOptions::Store(SettingsControls& c) const
{
    c.midPress = midPress_;
    c.cpiPress = cpiPress_;
    c.gunPress = gunPress_;
    c.fireFn = fireFn_;
    c.noSave = noSave_;
    c.keyMode = keyMode_;
}

QString KeyModeOptions::ComboKeyPicture(int option) const
{
    return TickPicture(option == 1 ? midPress_ : option == 2 ? cpiPress_ : false);
}

void KeyModeOptions::ChooseSave()
{
    noSave_ = PairChoice::Second;
    keyModeEnabled_ = true;
}

void KeyModeOptions::ChooseNoSave()
{
    noSave_ = PairChoice::First;
    keyMode_ = 0;
    keyModeEnabled_ = false;
}

QString KeyModeOptions::SaveKeyModePicture() const
{
    return OptionPicture(noSave_ == PairChoice::Second);
}

QString KeyModeOptions::NoSaveKeyModePicture() const
{
    return OptionPicture(noSave_ == PairChoice::First);
}

} // namespace orb
