#pragma once
#include "hostmouse/HostMousePlatform.h"
#include "hostmouse/HostMouseTables.h"

#include <QString>
#include <QStringList>

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
    // then 0, 0, 0 means "unknown", not "off", and is neither written nor applied.
    bool AccelKnown = false;
};

// What one apply reached: which keys took their values and which settings the
// desktop did not take. Never an error: the page may show `hint()`.
struct HostApplyResult {
    bool mouseKeyWritten = true;   // false when "Control Panel\Mouse" could not be opened or written
    bool desktopKeyWritten = true; // same for "Control Panel\Desktop"
    QStringList notApplied; // "pointer speed", "pointer acceleration", "double-click time", "wheel lines"
    // Empty when everything was kept and applied; otherwise what was not, in
    // language 1..3 (simplified Chinese, traditional Chinese, English).
    QString hint(int language = 3) const;
};

// The host-settings logic of the advanced page without its widgets: the page
// turns clicks into these calls and draws the bars and switches from state().
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
    // Both store writes, then the system calls for every setting that has a value.
    HostApplyResult ApplyHostMouseSettings();

    // Fill the state from the store; false when the key could not be opened.
    bool RefreshMouseSystemParameterA();
    bool RefreshMouseSystemParameterB();

  private:
    std::optional<int> readInt(HostKey key, const QString& name);

    HostMouseStore& store_;
    HostMouseSystem& system_;
    HostMouseState state_;
};

} // namespace orb
