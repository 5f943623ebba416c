#pragma once
#include "hostmouse/HostMousePlatform.h"
#include "hostmouse/HostMouseTables.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace orb
{

// The host settings as the advanced page holds them. Every field starts at 0:
// no step chosen, no value known.
struct HostMouseState {
    int SpeedStep = 0;       // 0, 1..11
    int DoubleClickStep = 0; // 0, 1..11
    int ScrollStep = 0;      // 0, 1..11, -1 = one screen at a time
    int LastScrollStep = 0;  // restored when one screen at a time is switched off
    int SensitivityValue = 0;
    int DoubleClickTime = 0;
    int WheelLines = 0;
    int AccelSpeed = 0, AccelThreshold1 = 0, AccelThreshold2 = 0;
    // The two switches (the hidden tick boxes cb_IsControl, cb_IsScreen).
    bool IsControl = false;
    bool IsScreen = false;
    // Whether the acceleration values came from the host or a click; until
    // then 0, 0, 0 means "unknown", not "off".
    bool AccelKnown = false;
};

// What one apply reached: which keys took their values and which settings the
// desktop did not take (those it has no such setting for, and those it
// refused this time). Never an error: the page may show `hint()`.
struct HostApplyResult {
    bool mouseKeyWritten = true;   // false when "Control Panel\Mouse" could not be opened or written
    bool desktopKeyWritten = true; // same for "Control Panel\Desktop"
    QStringList notApplied; // "pointer speed", "pointer acceleration", "double-click time", "wheel lines"
    // Whether anything was written or sent; an apply with nothing changed
    // since the last one touches neither the store nor the desktop.
    bool attempted = false;
    // False when the desktop did not answer when asked for its picture.
    bool desktopAnswered = true;
    // Settings whose current value neither the desktop nor the store told:
    // shown without a step, and never written unless set on the page.
    std::vector<HostSetting> unknown;
    // Empty when everything was kept and applied; otherwise what was not, in
    // language 1..3 (simplified Chinese, traditional Chinese, English).
    QString hint(int language = 3) const;
};

// The host-settings logic of the advanced page without its widgets: the page
// turns clicks into these calls and draws the bars and switches from state().
// The desktop's live values are the truth: a setting is written to the store
// and the desktop only once it was changed on the page since it was read, so
// a value the steps cannot represent (an X acceleration of 3/2) is left as it is.
class HostMouseSettings
{
  public:
    HostMouseSettings(HostMouseStore& store, HostMouseSystem& system) : store_(store), system_(system) {}

    HostMouseState& state() { return state_; }
    const HostMouseState& state() const { return state_; }

    // Clicks. Steps outside 1..11 are ignored. Each one applies at once.
    HostApplyResult MseSpd_OnClick(int step);
    HostApplyResult MseDbSpd_OnClick(int step);
    HostApplyResult MseScrSpd_OnClick(int step);
    HostApplyResult lbl_IsControlClick();
    HostApplyResult lbl_IsScreenClick();

    // Store writes of the two keys; results go into `result`.
    void ChangedMouseSystemParameterA(HostApplyResult& result);
    void ChangedMouseSystemParameterB(HostApplyResult& result);
    // Both store writes, then the system calls, of the settings changed on the
    // page since the last apply; afterwards nothing counts as changed, so a
    // later apply never sends a value again over what the desktop has since.
    HostApplyResult ApplyHostMouseSettings();

    // The page shown: the desktop asked once for its picture, then every
    // setting not changed on the page since the last apply read again
    // (unknown where nothing tells it). Nothing is written.
    HostApplyResult Refresh();

    // Fill the state from the desktop's live values, and from the store where
    // the desktop has none; false when the store's key could not be opened
    // (the desktop's values are read all the same). A value read is no longer
    // changed.
    bool RefreshMouseSystemParameterA();
    bool RefreshMouseSystemParameterB();
    // After the refreshes: a bar still without a step shows the step nearest
    // to the value read; one never read stays without a step (unknown).
    // Nothing is changed by it, so nothing is written.
    void FillUnknownSteps();
    // Whether the setting's current value was read (from the desktop or the store).
    bool known(HostSetting setting) const { return read_[index(setting)]; }
    // The settings this desktop has whose value is not known: shown without
    // a value (one it lacks is named as not taken instead).
    std::vector<HostSetting> Unknown() const;

    // Changed on the page since it was read.
    bool changed(HostSetting setting) const { return changed_[index(setting)]; }
    // The settings this desktop lacks, for the hint before anything is applied.
    HostApplyResult DesktopReach() const;

  private:
    static std::size_t index(HostSetting setting) { return static_cast<std::size_t>(setting); }
    std::optional<int> readInt(HostKey key, const QString& name, bool storeOpens, HostSetting setting);
    // Marks a setting as read from the host (and so no longer changed).
    void noteRead(HostSetting setting);
    // Back to unknown before it is read again.
    void forget(HostSetting setting);

    HostMouseStore& store_;
    HostMouseSystem& system_;
    HostMouseState state_;
    std::array<bool, 4> changed_{};
    std::array<bool, 4> read_{};
    bool desktopAnswered_ = true; // at the last refresh
};

} // namespace orb
