#include "hostmouse/HostMouseSettings.h"

#include <algorithm>
#include <iterator>

namespace orb
{
namespace
{
// Windows' own wheel setting: the step a one-screen switch falls back to when
// no wheel step was ever chosen or read, so switching it off always leaves it.
constexpr int kDefaultWheelStep = 3;

bool InSteps(int step)
{
    return step >= 1 && step <= kHostSteps;
}

QString Digits(int value)
{
    return QString::number(value);
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
    static const char* const kSettingNames[] = {"pointer speed", "pointer acceleration", "double-click time",
                                                "wheel lines"};
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
    if (InSteps(step))
        state_.SpeedStep = step;
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::MseDbSpd_OnClick(int step)
{
    if (InSteps(step))
        state_.DoubleClickStep = step;
    return ApplyHostMouseSettings();
}

HostApplyResult HostMouseSettings::MseScrSpd_OnClick(int step)
{
    if (InSteps(step)) {
        state_.ScrollStep = step;
        state_.LastScrollStep = step;
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
    return ApplyHostMouseSettings();
}

// The values of the chosen steps are taken also when the store cannot be
// opened, so that a click still reaches the running desktop.
void HostMouseSettings::ChangedMouseSystemParameterA(HostApplyResult& result)
{
    const auto sensitivity = SensitivityForStep(state_.SpeedStep);
    const auto doubleClick = DoubleClickTimeForStep(state_.DoubleClickStep);
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
    if (state_.AccelKnown) {
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
    const auto lines = WheelLinesForStep(state_.ScrollStep);
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
    // Only settings that hold a value reach the desktop: a value never chosen
    // nor read would overwrite the user's own.
    if (state_.SensitivityValue >= 1 && state_.SensitivityValue <= 20 &&
        !system_.setMouseSpeed(state_.SensitivityValue))
        result.notApplied << QStringLiteral("pointer speed");
    if (state_.AccelKnown &&
        !system_.setMouseAcceleration(state_.AccelThreshold1, state_.AccelThreshold2, state_.AccelSpeed))
        result.notApplied << QStringLiteral("pointer acceleration");
    if (state_.DoubleClickTime > 0 && !system_.setDoubleClickTime(state_.DoubleClickTime))
        result.notApplied << QStringLiteral("double-click time");
    if (state_.WheelLines != 0 && !system_.setWheelScrollLines(state_.WheelLines))
        result.notApplied << QStringLiteral("wheel lines");
    return result;
}

std::optional<int> HostMouseSettings::readInt(HostKey key, const QString& name)
{
    std::optional<QString> text = store_.read(key, name);
    if (!text)
        text = system_.currentValue(name);
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
    if (!store_.canOpen(HostKey::Mouse))
        return false;
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("MouseSensitivity"))) {
        state_.SensitivityValue = *v;
        if (auto step = SpeedStepForSensitivity(*v))
            state_.SpeedStep = *step;
    }
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("MouseSpeed"))) {
        state_.AccelSpeed = *v;
        state_.AccelKnown = true;
    }
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("MouseThreshold1"))) {
        state_.AccelThreshold1 = *v;
        state_.AccelKnown = true;
    }
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("MouseThreshold2"))) {
        state_.AccelThreshold2 = *v;
        state_.AccelKnown = true;
    }
    state_.IsControl = state_.AccelSpeed != 0 || state_.AccelThreshold1 != 0 || state_.AccelThreshold2 != 0;
    if (auto v = readInt(HostKey::Mouse, QStringLiteral("DoubleClickSpeed"))) {
        state_.DoubleClickTime = *v;
        if (auto step = DoubleClickStepForTime(*v))
            state_.DoubleClickStep = *step;
    }
    return true;
}

bool HostMouseSettings::RefreshMouseSystemParameterB()
{
    if (!store_.canOpen(HostKey::Desktop))
        return false;
    auto w = readInt(HostKey::Desktop, QStringLiteral("WheelScrollLines"));
    if (!w)
        return true;
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
    return true;
}

} // namespace orb
