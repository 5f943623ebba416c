#pragma once
// Engineering mode: a hidden sequence of double-clicks on the engineering
// page's logo strip and a pass phrase unlock the factory controls. Neither
// the count nor the state is stored; every run starts locked.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orb
{

inline const QString EngineerPassPhrase = QStringLiteral("DravelkinQWT");
// Every fifth double-click while locked asks for the pass phrase.
inline constexpr int LogoClicksPerAsk = 5;

// What follows the state: the tab of ts_Engineer and Btn_Default are visible,
// and the hardware-bound controls enabled, exactly while unlocked.
struct EngineerModeView {
    bool engineerTabVisible = false;
    bool defaultButtonVisible = false;
    bool hardwareControlsEnabled = false;
    bool operator==(const EngineerModeView&) const = default;
};

// gbLEDType, rb_NorLED, rb_MCULED, gbMCULEDControlMode, rb_MCULED3Control,
// rb_MCULED6Control, lbl_SensorOri, cb_SensorOri.
const QStringList& EngineerHardwareControls();

class EngineerMode
{
  public:
    // Shows dlgPass; the text on OK, nothing on Cancel.
    using AskPassPhrase = std::function<std::optional<QString>()>;

    // Img_Logo4DblClick. Unlocked: locks at once, no dialog. Locked: the
    // count grows, and at every multiple of five the pass phrase is asked;
    // only the exact phrase (whole text, same letter case) unlocks. Returns
    // whether the dialog was shown.
    bool LogoDoubleClick(const AskPassPhrase& ask);

    bool EngineerUnlocked() const { return unlocked_; }
    int LogoClickCount() const { return clicks_; }
    EngineerModeView View() const { return {unlocked_, unlocked_, unlocked_}; }

  private:
    bool unlocked_ = false;
    int clicks_ = 0;
};

} // namespace orb
