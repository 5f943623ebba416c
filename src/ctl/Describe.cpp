#include "ctl/Describe.h"

#include "image/SettingsRules.h"
#include "keys/KeyCodes.h"
#include "lighting/CpiLevels.h"
#include "lighting/FireKey.h"
#include "lighting/LedModes.h"
#include "macros/MacroCodec.h"
#include "skin/EngineerTexts.h"


namespace orb::ctl
{

Description::Items& Description::section(const QString& name)
{
    for (auto& s : sections)
        if (s.first == name)
            return s.second;
    sections.append({name, {}});
    return sections.last().second;
}

QStringList Description::lines() const
{
    QStringList out;
    for (const auto& s : sections) {
        out << s.first + QLatin1Char(':');
        for (const auto& item : s.second)
            out << QStringLiteral("  ") + item.first + QStringLiteral(": ") + item.second;
    }
    return out;
}

namespace
{
QString onOff(PairChoice choice, bool firstIsOn = true)
{
    if (choice == PairChoice::Neither)
        return QStringLiteral("not set");
    return (choice == PairChoice::First) == firstIsOn ? QStringLiteral("on") : QStringLiteral("off");
}

QString rgbText(const QColor& c)
{
    return c.isValid() ? c.name(QColor::HexRgb).toUpper() : QStringLiteral("none");
}

QString itemOf(const QStringList& items, int index)
{
    return index >= 0 && index < items.size() ? items.at(index) : QStringLiteral("none");
}
} // namespace

Description DescribeImage(const ConfigImage& image, const TextLookup& text)
{
    const int column = EngineerColumnEnglish;
    Description d;
    SettingsControls controls;
    ShowSettings(image.ParameterA, image.ParameterB, image.FireKey, controls);

    auto& identity = d.section(QStringLiteral("identity"));
    identity.append(
        {QStringLiteral("maker code"), QString::number(image.ParameterB[IdentityAddr1 - ParameterBAddr])});
    identity.append(
        {QStringLiteral("model code"), QString::number(image.ParameterB[IdentityAddr2 - ParameterBAddr])});

    // CPI levels through the advanced page's own show rules.
    const QString ledTypeShown = LedTypeShownFor(controls.ledType);
    CpiLevels cpi;
    cpi.Show(controls, ledTypeShown);
    const QStringList colourNames = EngineerTextRange(NamedColourFirstTextId, NamedColourCount, column);
    auto& levels = d.section(QStringLiteral("cpi"));
    levels.append({QStringLiteral("levels"), QString::number(cpi.LevelCount())});
    levels.append({QStringLiteral("current level"), QString::number(cpi.CurrentLevel())});
    for (int level = 1; level <= cpi.LevelCount(); ++level) {
        const int value = cpi.Value(level);
        QString v = value >= 0 && value < CpiValueCount ? QString::number(CpiValueTable[std::size_t(value)])
                                                        : QStringLiteral("none");
        const QString colour = ledTypeShown == LedTypeNormal ? itemOf(colourNames, cpi.NamedColour(level))
                                                             : rgbText(cpi.Rgb(level));
        levels.append({QStringLiteral("level %1").arg(level), v + QStringLiteral(" cpi, ") + colour});
    }

    // Light through the lighting page's show rules.
    LedModes led;
    led.SetModeNames(EngineerMcuModeNames(column));
    led.Show(controls);
    auto& light = d.section(QStringLiteral("light"));
    const LightType type = led.Type();
    light.append({QStringLiteral("type"), type == LightType::Normal ? QStringLiteral("smart LED")
                                          : type == LightType::Mcu  ? QStringLiteral("MCU LED")
                                                                    : QStringLiteral("not set")});
    light.append({QStringLiteral("button lights"), onOff(led.LedOff(), false)});
    light.append({QStringLiteral("light switch by middle button + CPI keys"), onOff(led.Mcpi())});
    light.append({QStringLiteral("mode switch by left button + CPI key"), onOff(led.Lcpi())});
    if (type == LightType::Normal) {
        light.append({QStringLiteral("breathing step"),
                      led.NorLedStep() ? QString::number(*led.NorLedStep()) : QStringLiteral("none")});
        light.append({QStringLiteral("CPI breathing"),
                      controls.norLedCpi ? QStringLiteral("on") : QStringLiteral("off")});
    } else if (type == LightType::Mcu) {
        light.append({QStringLiteral("LED count"),
                      led.LedNumber() ? QString::number(*led.LedNumber()) : QStringLiteral("none")});
        QStringList enabled;
        for (int mode = 1; mode <= McuModeCount; ++mode)
            if (led.ModeEnabled(mode))
                enabled << itemOf(led.ModeNames(), mode - 1);
        light.append(
            {QStringLiteral("modes"), enabled.isEmpty() ? QStringLiteral("none") : enabled.join(", ")});
        light.append(
            {QStringLiteral("current mode"), itemOf(led.CurrentModeItems(), led.CurrentModeIndex())});
        light.append({QStringLiteral("current step"),
                      led.Step() ? QString::number(*led.Step()) : QStringLiteral("none")});
    }
    light.append({QStringLiteral("key mode A colour"), rgbText(led.KeyModeColour(1))});
    light.append({QStringLiteral("key mode B colour"), rgbText(led.KeyModeColour(2))});

    // Keys by function name; macro codes by the name of their slot.
    const DeviceMacros device = ReadAndRefreshMacro(image.MacroArea);
    const QStringList slotNames = DeviceMacroNameList(device);
    auto& keys = d.section(QStringLiteral("keys"));
    keys.append({QStringLiteral("current key mode"),
                 controls.keyMode == 1 ? QStringLiteral("B") : QStringLiteral("A")});
    for (int mode = 0; mode < 2; ++mode) {
        const std::size_t base = mode == 0 ? ModeAKeysOffset : ModeBKeysOffset;
        for (std::size_t k = 0; k < KeysPerMode; ++k) {
            const std::size_t at = base + k * KeyCodeSize;
            const QString code =
                BytesToCode(image.ProfileKeys[at], image.ProfileKeys[at + 1], image.ProfileKeys[at + 2]);
            QString name = KeyFunctionName(code, text, slotNames);
            if (name.isEmpty())
                name = QStringLiteral("code ") + code;
            keys.append({QStringLiteral("mode %1 key %2").arg(mode == 0 ? 'A' : 'B').arg(k + 1), name});
        }
    }

    auto& macros = d.section(QStringLiteral("macros"));
    for (int slot = 0; slot < DeviceSlotCount; ++slot) {
        const QString name = slotNames.value(slot);
        macros.append(
            {QStringLiteral("slot %1").arg(slot + 1), name.isEmpty() ? QStringLiteral("(empty)") : name});
    }

    auto& fire = d.section(QStringLiteral("fire key"));
    fire.append(
        {QStringLiteral("repeat count"), QString::number(FireCountFromByte(image.FireKey[FireCountOffset]))});
    fire.append({QStringLiteral("interval"), QString::number(image.FireKey[FireIntervalOffset])});

    auto& options = d.section(QStringLiteral("options"));
    options.append({QStringLiteral("sensor orientation"),
                    itemOf(EngineerTextRange(73, SensorOriCount, column), controls.sensorOri)});
    options.append({QStringLiteral("key mode after power-up"), controls.noSave == PairChoice::First
                                                                   ? QStringLiteral("mode A")
                                                                   : QStringLiteral("the last one")});
    QStringList press;
    if (controls.midPress)
        press << QStringLiteral("middle");
    if (controls.cpiPress)
        press << QStringLiteral("CPI");
    if (controls.gunPress)
        press << QStringLiteral("gun");
    options.append({QStringLiteral("key mode switch by long press"),
                    press.isEmpty() ? QStringLiteral("none") : press.join(", ")});
    return d;
}

} // namespace orb::ctl
