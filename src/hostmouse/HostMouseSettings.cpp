#include "hostmouse/HostMouseSettings.h"

#include <algorithm>
#include <iterator>

namespace orb
{
namespace
{
bool InSteps(int step)
{
    return step >= 1 && step <= kHostSteps;
}

QString Digits(int value)
{
    return QString::number(value);
}

// The names the hint knows, by HostSetting.
const char* const kSettingNames[] = {"pointer speed", "pointer acceleration", "double-click time",
                                     "wheel lines"};

const HostSetting kAllSettings[] = {HostSetting::Speed, HostSetting::Acceleration, HostSetting::DoubleClick,
                                    HostSetting::WheelLines};

QString SettingName(HostSetting setting)
{
    return QLatin1String(kSettingNames[static_cast<std::size_t>(setting)]);
}
} // namespace

QString HostApplyResult::hint(int language) const
{
    // Languages 1..3: simplified Chinese, traditional Chinese, English.
    struct Texts {
        const char* notSaved;
        const char* notTaken; // %1: the settings
        const char* separator;
        const char* names[4]; // in the order of kSettingNames
    };
    static const Texts texts[] = {
        {"部分系统鼠标设置无法保存。",
         "此桌面不接受本程序设置的%1；这些值已保留。",
         "、",
         {"指针速度", "指针加速", "双击速度", "滚轮滚动行数"}},
        {"部分系統滑鼠設定無法儲存。",
         "此桌面不接受本程式設定的%1；這些值已保留。",
         "、",
         {"指標速度", "指標加速", "按兩下速度", "滾輪捲動行數"}},
        {"Some host mouse settings could not be saved.",
         "This desktop does not take %1 from this program; the values are kept.",
         ", ",
         {"pointer speed", "pointer acceleration", "double-click time", "wheel lines"}},
    };
    const Texts& t = texts[std::clamp(language, 1, 3) - 1];
    QStringList parts;
    if (!mouseKeyWritten || !desktopKeyWritten)
        parts << QString::fromUtf8(t.notSaved);
    if (!notApplied.isEmpty()) {
        QStringList names;
        for (const QString& n : notApplied) {
            const auto* at = std::find_if(std::begin(kSettingNames), std::end(kSettingNames),
                                          [&n](const char* k) { return n == QLatin1String(k); });
            names << (at == std::end(kSettingNames)
                          ? n
                          : QString::fromUtf8(t.names[std::distance(std::begin(kSettingNames), at)]));
        }
        parts << QString::fromUtf8(t.notTaken).arg(names.join(QString::fromUtf8(t.separator)));
    }
    return parts.join(language == 3 ? QStringLiteral(" ") : QString());
}

HostApplyResult HostMouseSettings::MseSpd_OnClick(int step)
{
    if (InSteps(step)) {
        state_.SpeedStep = step;
        changed_[index(HostSetting::Speed)] = true;
    }
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::MseDbSpd_OnClick(int step)
{
    if (InSteps(step)) {
        state_.DoubleClickStep = step;
        changed_[index(HostSetting::DoubleClick)] = true;
    }
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::MseScrSpd_OnClick(int step)
{
    if (InSteps(step)) {
        state_.ScrollStep = step;
        state_.LastScrollStep = step;
        changed_[index(HostSetting::WheelLines)] = true;
    }
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::lbl_IsControlClick()
{
    state_.IsControl = !state_.IsControl;
    const AccelTriple accel = AccelForPrecision(state_.IsControl);
    state_.AccelSpeed = accel.speed;
    state_.AccelThreshold1 = accel.threshold1;
    state_.AccelThreshold2 = accel.threshold2;
    state_.AccelKnown = true;
    changed_[index(HostSetting::Acceleration)] = true;
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::lbl_IsScreenClick()
{
    state_.IsScreen = !state_.IsScreen;
    if (state_.IsScreen) {
        state_.ScrollStep = kOneScreenStep;
    } else {
        // With no step to go back to, the host would stay at one screen
        // while the switch shows off.
        if (!InSteps(state_.LastScrollStep))
            state_.LastScrollStep = kDefaultWheelStep;
        state_.ScrollStep = state_.LastScrollStep;
    }
    changed_[index(HostSetting::WheelLines)] = true;
    return ApplyHostMouseSettings();
}

// The values of the chosen steps are taken also when the store cannot be
// opened, so that a click still reaches the running desktop.
void HostMouseSettings::ChangedMouseSystemParameterA(HostApplyResult& result)
{
    std::optional<int> sensitivity, doubleClick;
    if (changed(HostSetting::Speed))
        sensitivity = SensitivityForStep(state_.SpeedStep);
    if (changed(HostSetting::DoubleClick))
        doubleClick = DoubleClickTimeForStep(state_.DoubleClickStep);
    if (sensitivity)
        state_.SensitivityValue = *sensitivity;
    if (doubleClick)
        state_.DoubleClickTime = *doubleClick;
    if (!store_.canOpen(HostKey::Mouse)) {
        result.mouseKeyWritten = false;
        return;
    }
    bool ok = true;
    if (sensitivity)
        ok &= store_.write(HostKey::Mouse, QStringLiteral("MouseSensitivity"), Digits(*sensitivity));
    if (changed(HostSetting::Acceleration)) {
        ok &= store_.write(HostKey::Mouse, QStringLiteral("MouseSpeed"), Digits(state_.AccelSpeed));
        ok &= store_.write(HostKey::Mouse, QStringLiteral("MouseThreshold1"), Digits(state_.AccelThreshold1));
        ok &= store_.write(HostKey::Mouse, QStringLiteral("MouseThreshold2"), Digits(state_.AccelThreshold2));
    }
    if (doubleClick)
        ok &= store_.write(HostKey::Mouse, QStringLiteral("DoubleClickSpeed"), Digits(*doubleClick));
    result.mouseKeyWritten = ok;
}

void HostMouseSettings::ChangedMouseSystemParameterB(HostApplyResult& result)
{
    std::optional<int> lines;
    if (changed(HostSetting::WheelLines))
        lines = WheelLinesForStep(state_.ScrollStep);
    if (lines)
        state_.WheelLines = *lines;
    if (!store_.canOpen(HostKey::Desktop)) {
        result.desktopKeyWritten = false;
        return;
    }
    if (lines)
        result.desktopKeyWritten =
            store_.write(HostKey::Desktop, QStringLiteral("WheelScrollLines"), Digits(*lines));
}

HostApplyResult HostMouseSettings::ApplyHostMouseSettings()
{
    HostApplyResult result;
    const bool anyChanged = std::find(changed_.begin(), changed_.end(), true) != changed_.end();
    if (anyChanged) {
        result.attempted = true;
        result.desktopAnswered = system_.refresh();
        ChangedMouseSystemParameterA(result);
        ChangedMouseSystemParameterB(result);
    }
    // Only settings changed on the page reach the desktop: a value merely
    // read would come back rounded to a step, one never known would
    // overwrite the user's own.
    const auto apply = [&](HostSetting setting, const auto& call) {
        if (!system_.reaches(setting))
            result.notApplied << SettingName(setting);
        else if (changed(setting) && !call())
            result.notApplied << SettingName(setting);
    };
    apply(HostSetting::Speed, [this] { return system_.setMouseSpeed(state_.SensitivityValue); });
    apply(HostSetting::Acceleration, [this] {
        return system_.setMouseAcceleration(state_.AccelThreshold1, state_.AccelThreshold2,
                                            state_.AccelSpeed);
    });
    apply(HostSetting::DoubleClick, [this] { return system_.setDoubleClickTime(state_.DoubleClickTime); });
    apply(HostSetting::WheelLines, [this] { return system_.setWheelScrollLines(state_.WheelLines); });
    if (anyChanged)
        for (HostSetting setting : system_.finishApply())
            if (!result.notApplied.contains(SettingName(setting)))
                result.notApplied << SettingName(setting);
    // Sent: what the desktop has from now on is its own, even where it
    // refused; only a new change on the page goes out again. A value set
    // here is known.
    for (std::size_t i = 0; i < changed_.size(); ++i)
        read_[i] = read_[i] || changed_[i];
    changed_.fill(false);
    return result;
}

HostApplyResult HostMouseSettings::Refresh()
{
    HostApplyResult result;
    result.desktopAnswered = desktopAnswered_ = system_.refresh();
    for (HostSetting setting : kAllSettings)
        if (!changed(setting))
            forget(setting);
    RefreshMouseSystemParameterA();
    RefreshMouseSystemParameterB();
    FillUnknownSteps();
    result.notApplied = DesktopReach().notApplied;
    result.unknown = Unknown();
    return result;
}

std::vector<HostSetting> HostMouseSettings::Unknown() const
{
    std::vector<HostSetting> unknown;
    for (HostSetting setting : kAllSettings)
        if (!known(setting) && !changed(setting) && system_.reaches(setting))
            unknown.push_back(setting);
    return unknown;
}

HostApplyResult HostMouseSettings::DesktopReach() const
{
    HostApplyResult result;
    for (HostSetting setting : kAllSettings)
        if (!system_.reaches(setting))
            result.notApplied << SettingName(setting);
    return result;
}

void HostMouseSettings::noteRead(HostSetting setting)
{
    read_[index(setting)] = true;
    changed_[index(setting)] = false;
}

void HostMouseSettings::forget(HostSetting setting)
{
    read_[index(setting)] = false;
    switch (setting) {
    case HostSetting::Speed:
        state_.SpeedStep = 0;
        state_.SensitivityValue = 0;
        break;
    case HostSetting::Acceleration:
        state_.AccelSpeed = state_.AccelThreshold1 = state_.AccelThreshold2 = 0;
        state_.AccelKnown = false;
        state_.IsControl = false;
        break;
    case HostSetting::DoubleClick:
        state_.DoubleClickStep = 0;
        state_.DoubleClickTime = 0;
        break;
    case HostSetting::WheelLines:
        state_.ScrollStep = 0;
        state_.WheelLines = 0;
        state_.IsScreen = false;
        break;
    }
}

std::optional<int> HostMouseSettings::readInt(HostKey key, const QString& name, bool storeOpens,
                                              HostSetting setting)
{
    std::optional<QString> text = system_.currentValue(name);
    // Our own record stands only for a setting the desktop does not have; a
    // desktop that did not answer may have it all the same.
    const bool storeTells = system_.storeIsLive() || (desktopAnswered_ && !system_.reaches(setting));
    if (!text && storeOpens && storeTells)
        text = store_.read(key, name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool HostMouseSettings::RefreshMouseSystemParameterA()
{
    const bool opens = store_.canOpen(HostKey::Mouse);
    // A change not yet applied is not read over.
    const auto v0 = changed(HostSetting::Speed) ? std::nullopt
                                                : readInt(HostKey::Mouse, QStringLiteral("MouseSensitivity"),
                                                          opens, HostSetting::Speed);
    if (auto v = v0) {
        state_.SensitivityValue = *v;
        if (auto step = SpeedStepForSensitivity(*v))
            state_.SpeedStep = *step;
        noteRead(HostSetting::Speed);
    }
    if (!changed(HostSetting::Acceleration)) {
        for (auto [name, field] : {std::pair{"MouseSpeed", &HostMouseState::AccelSpeed},
                                   std::pair{"MouseThreshold1", &HostMouseState::AccelThreshold1},
                                   std::pair{"MouseThreshold2", &HostMouseState::AccelThreshold2}}) {
            if (auto v = readInt(HostKey::Mouse, QLatin1String(name), opens, HostSetting::Acceleration)) {
                state_.*field = *v;
                state_.AccelKnown = true;
                noteRead(HostSetting::Acceleration);
            }
        }
        state_.IsControl =
            state_.AccelSpeed != 0 || state_.AccelThreshold1 != 0 || state_.AccelThreshold2 != 0;
    }
    const auto d0 =
        changed(HostSetting::DoubleClick)
            ? std::nullopt
            : readInt(HostKey::Mouse, QStringLiteral("DoubleClickSpeed"), opens, HostSetting::DoubleClick);
    if (auto v = d0) {
        state_.DoubleClickTime = *v;
        if (auto step = DoubleClickStepForTime(*v))
            state_.DoubleClickStep = *step;
        noteRead(HostSetting::DoubleClick);
    }
    return opens;
}

bool HostMouseSettings::RefreshMouseSystemParameterB()
{
    const bool opens = store_.canOpen(HostKey::Desktop);
    if (changed(HostSetting::WheelLines))
        return opens;
    auto w = readInt(HostKey::Desktop, QStringLiteral("WheelScrollLines"), opens, HostSetting::WheelLines);
    if (!w)
        return opens;
    noteRead(HostSetting::WheelLines);
    state_.WheelLines = *w;
    if (*w == kOneScreenStep) {
        state_.IsScreen = true;
        state_.LastScrollStep = 1;
    } else {
        state_.IsScreen = false;
        if (InSteps(*w))
            state_.ScrollStep = *w;
        state_.LastScrollStep = state_.ScrollStep;
    }
    return opens;
}

void HostMouseSettings::FillUnknownSteps()
{
    const auto wasRead = [this](HostSetting setting) { return read_[index(setting)]; };
    if (!InSteps(state_.SpeedStep) && wasRead(HostSetting::Speed))
        state_.SpeedStep = NearestSpeedStep(state_.SensitivityValue);
    if (!InSteps(state_.DoubleClickStep) && wasRead(HostSetting::DoubleClick))
        state_.DoubleClickStep = NearestDoubleClickStep(state_.DoubleClickTime);
    if (state_.IsScreen)
        state_.ScrollStep = kOneScreenStep;
    else if (!InSteps(state_.ScrollStep) && wasRead(HostSetting::WheelLines))
        state_.ScrollStep = NearestWheelStep(state_.WheelLines);
    if (!InSteps(state_.LastScrollStep) && InSteps(state_.ScrollStep))
        state_.LastScrollStep = state_.ScrollStep;
}

} // namespace orb
