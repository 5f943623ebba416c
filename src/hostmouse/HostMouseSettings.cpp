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
    ChangedMouseSystemParameterA(result);
    ChangedMouseSystemParameterB(result);
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
    for (HostSetting setting : system_.finishApply())
        if (!result.notApplied.contains(SettingName(setting)))
            result.notApplied << SettingName(setting);
    return result;
}

HostApplyResult HostMouseSettings::DesktopReach() const
{
    HostApplyResult result;
    for (HostSetting setting :
         {HostSetting::Speed, HostSetting::Acceleration, HostSetting::DoubleClick, HostSetting::WheelLines})
        if (!system_.reaches(setting))
            result.notApplied << SettingName(setting);
    return result;
}

void HostMouseSettings::noteRead(HostSetting setting)
{
    read_[index(setting)] = true;
    changed_[index(setting)] = false;
}

std::optional<int> HostMouseSettings::readInt(HostKey key, const QString& name, bool storeOpens)
{
    std::optional<QString> text = system_.currentValue(name);
    if (!text && storeOpens)
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
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("MouseSensitivity"), opens)) {
        state_.SensitivityValue = *v;
        if (auto step = SpeedStepForSensitivity(*v))
            state_.SpeedStep = *step;
        noteRead(HostSetting::Speed);
    }
    for (auto [name, field] : {std::pair{"MouseSpeed", &HostMouseState::AccelSpeed},
                               std::pair{"MouseThreshold1", &HostMouseState::AccelThreshold1},
                               std::pair{"MouseThreshold2", &HostMouseState::AccelThreshold2}}) {
        if (auto v = readInt(HostKey::Mouse, QLatin1String(name), opens)) {
            state_.*field = *v;
            state_.AccelKnown = true;
            noteRead(HostSetting::Acceleration);
        }
    }
    state_.IsControl = state_.AccelSpeed != 0 || state_.AccelThreshold1 != 0 || state_.AccelThreshold2 != 0;
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("DoubleClickSpeed"), opens)) {
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
    auto w = readInt(HostKey::Desktop, QStringLiteral("WheelScrollLines"), opens);
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
    if (!InSteps(state_.SpeedStep))
        state_.SpeedStep =
            wasRead(HostSetting::Speed) ? NearestSpeedStep(state_.SensitivityValue) : kDefaultSpeedStep;
    if (!InSteps(state_.DoubleClickStep))
        state_.DoubleClickStep = wasRead(HostSetting::DoubleClick)
                                     ? NearestDoubleClickStep(state_.DoubleClickTime)
                                     : kDefaultDoubleClickStep;
    if (state_.IsScreen) {
        state_.ScrollStep = kOneScreenStep;
    } else if (!InSteps(state_.ScrollStep)) {
        state_.ScrollStep =
            wasRead(HostSetting::WheelLines) ? NearestWheelStep(state_.WheelLines) : kDefaultWheelStep;
    }
    if (!InSteps(state_.LastScrollStep))
        state_.LastScrollStep = InSteps(state_.ScrollStep) ? state_.ScrollStep : kDefaultWheelStep;
}

} // namespace orb
