#include "lighting/LedModes.h"

#include "lighting/ValueBar.h"

#include <algorithm>

namespace orb
{

LightType LightTypeOf(PairChoice ledType)
{
    switch (ledType) {
    case PairChoice::First:
        return LightType::Normal;
    case PairChoice::Second:
        return LightType::Mcu;
    case PairChoice::Neither:
        break;
    }
    return LightType::None;
}

LightTypeView LightTypeViewFor(LightType type)
{
    LightTypeView v;
    const bool normal = type == LightType::Normal;
    const bool mcu = type == LightType::Mcu;
    v.norLedSetting = normal;
    v.norLedCpiColour = normal;
    v.keyMode1ColourEdits = normal;
    v.mcuControlMode = mcu;
    v.mcuCurrent = mcu;
    v.mcuCpiColour = mcu;
    v.lcpiPair = mcu;
    v.modeOptions = mcu;
    v.bars = mcu;
    return v;
}

PairPictures PairPicturesFor(PairChoice choice)
{
    return {OptionPicture(choice == PairChoice::First), OptionPicture(choice == PairChoice::Second)};
}

QString LedNumberCaption(int label)
{
    return QString::number(label + 3);
}

QString LedStepCaption(int label)
{
    return QString::number(label - 1);
}

void LedModes::Show(const SettingsControls& c)
{
    lightType_ = c.ledType;
    ledOff_ = c.ledOff;
    mcpi_ = c.mcpi;
    lcpi_ = c.lcpi;
    modeEnabled_ = c.mcuModes;
    // The list is rebuilt first (selection item 0), then the image's mode is
    // selected; the normal light's byte says nothing about the MCU items.
    currentMode_ = 0;
    if (Type() == LightType::Mcu) {
        currentMode_ = c.mcuCurrentMode >= 0 && c.mcuCurrentMode < McuModeCount ? c.mcuCurrentMode : -1;
        if (c.mcuStep && *c.mcuStep >= 0 && *c.mcuStep <= LedStepMax)
            step_ = *c.mcuStep;
    }
    if (c.mcuLedNum)
        ledNumber_ = *c.mcuLedNum;
    if (c.norLedStep)
        norLedStep_ = std::clamp(*c.norLedStep, 0, 255);
    for (std::size_t i = 0; i < keyModeRgb_.size(); ++i)
        if (c.keyModeRgb[i])
            keyModeRgb_[i] = std::clamp(*c.keyModeRgb[i], 0, 255);
}

void LedModes::Store(SettingsControls& c) const
{
    c.ledType = lightType_;
    c.ledOff = ledOff_;
    c.mcpi = mcpi_;
    c.lcpi = lcpi_;
    c.mcuModes = modeEnabled_;
    c.mcuCurrentMode = currentMode_;
    c.mcuStep = step_;
    c.mcuLedNum = ledNumber_;
    c.norLedStep = norLedStep_;
    for (std::size_t i = 0; i < keyModeRgb_.size(); ++i)
        c.keyModeRgb[i] = keyModeRgb_[i];
}

void LedModes::SetLightType(LightType type)
{
    switch (type) {
    case LightType::Normal:
        lightType_ = PairChoice::First;
        break;
    case LightType::Mcu:
        lightType_ = PairChoice::Second;
        break;
    case LightType::None:
        lightType_ = PairChoice::Neither;
        break;
    }
}

PairPictures LedModes::LedOnOffPictures() const
{
    // The image holds "off"; the lighting page puts "on" first.
    const PairPictures offOn = PairPicturesFor(ledOff_);
    return {offOn.second, offOn.first};
}

void LedModes::SetModeNames(const QStringList& names)
{
    modeNames_ = names;
}

void LedModes::SetModeEnabled(int mode, bool enabled)
{
    if (mode < 1 || mode > McuModeCount)
        return;
    modeEnabled_[static_cast<std::size_t>(mode - 1)] = enabled;
    currentMode_ = 0;
}

bool LedModes::ModeEnabled(int mode) const
{
    return mode >= 1 && mode <= McuModeCount && modeEnabled_[static_cast<std::size_t>(mode - 1)];
}

QStringList LedModes::CurrentModeItems() const
{
    QStringList items;
    for (int k = 1; k <= McuModeCount; ++k)
        items << (ModeEnabled(k) ? modeNames_.value(k - 1) : DisabledModeItem);
    return items;
}

void LedModes::SelectCurrentModeItem(int index)
{
    if (index >= -1 && index < McuModeCount)
        currentMode_ = index;
}

void LedModes::ClickModeOption(int mode)
{
    if (ModeEnabled(mode))
        currentMode_ = mode - 1;
}

bool LedModes::ModeOptionVisible(int mode) const
{
    return Type() == LightType::Mcu && ModeEnabled(mode);
}

QString LedModes::ModeOptionPicture(int mode) const
{
    return OptionPicture(mode - 1 == currentMode_);
}

QString LedModes::EditLedNumber(const QString& text)
{
    QString out = text;
    const int v = EditValue(text);
    if (text.isEmpty() || v > LedNumberMax)
        out = QString::number(LedNumberMax);
    else if (v >= 0 && v < LedNumberMin && text != QStringLiteral("1"))
        out = QString::number(LedNumberMin);
    const int shown = EditValue(out);
    if (shown >= 0)
        ledNumber_ = shown;
    return out;
}

QString LedModes::LeaveLedNumber(const QString& text)
{
    const int v = EditValue(text);
    if (v >= 0 && v < LedNumberMin)
        return EditLedNumber(QString::number(LedNumberMin));
    return EditLedNumber(text);
}

QString LedModes::ClickLedNumberSegment(int segment)
{
    if (segment < 1 || segment > LedNumberSegments)
        return ledNumber_ ? QString::number(*ledNumber_) : QString();
    ledNumber_ = segment + 3;
    return QString::number(*ledNumber_);
}

std::vector<QString> LedModes::LedNumberBar(int dpiLedStatus) const
{
    const int n = ledNumber_.value_or(0);
    const int chosen = n >= LedNumberMin && n <= LedNumberMax ? n - 3 : 0;
    return BarPictures(LedNumberSegments, chosen, dpiLedStatus, LightBarLit, LightBarDim);
}

QString LedModes::EditStep(const QString& text)
{
    QString out = text;
    if (text.isEmpty())
        out = QStringLiteral("0");
    else if (EditValue(text) > LedStepMax)
        out = QString::number(LedStepMax);
    const int v = EditValue(out);
    if (v >= 0)
        step_ = v;
    return out;
}

QString LedModes::ClickStepSegment(int segment)
{
    if (segment >= 1 && segment <= LedStepSegments)
        step_ = segment - 1;
    return step_ ? QString::number(*step_) : QString();
}

std::vector<QString> LedModes::StepBar(int dpiLedStatus) const
{
    const int chosen = step_ ? *step_ + 1 : 0;
    return BarPictures(LedStepSegments, chosen, dpiLedStatus, LightBarLit, LightBarDim);
}

QString LedModes::EditNorLedStep(const QString& text)
{
    const QString out = ClampByteText(text);
    if (const int v = EditValue(out); v >= 0)
        norLedStep_ = v;
    return out;
}

QString LedModes::EditKeyModeRgb(int mode, int channel, const QString& text)
{
    const QString out = ClampByteText(text);
    if (mode < 1 || mode > 2 || channel < 0 || channel > 2)
        return out;
    if (const int v = EditValue(out); v >= 0)
        keyModeRgb_[static_cast<std::size_t>((mode - 1) * 3 + channel)] = v;
    return out;
}

void LedModes::SetKeyModeColour(int mode, const QColor& colour)
{
    if (mode < 1 || mode > 2 || !colour.isValid())
        return;
    const auto base = static_cast<std::size_t>((mode - 1) * 3);
    keyModeRgb_[base] = colour.red();
    keyModeRgb_[base + 1] = colour.green();
    keyModeRgb_[base + 2] = colour.blue();
}

QColor LedModes::KeyModeColour(int mode) const
{
    if (mode < 1 || mode > 2)
        return {};
    const auto base = static_cast<std::size_t>((mode - 1) * 3);
    return QColor(keyModeRgb_[base], keyModeRgb_[base + 1], keyModeRgb_[base + 2]);
}

} // namespace orb
