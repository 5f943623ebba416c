#include "ctl/SettingsTable.h"

#include "ctl/KeyFunctionText.h"
#include "keys/KeyCodes.h"
#include "lighting/CpiLevels.h"
#include "lighting/FireKey.h"
#include "lighting/LedModes.h"
#include "skin/EngineerTexts.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orb::ctl::settings
{

namespace
{

QStringList SensorNames()
{
    return EngineerTextRange(73, SensorOriCount, EngineerColumnEnglish);
}

QStringList ModeNames()
{
    return EngineerMcuModeNames(EngineerColumnEnglish);
}

// ---- values -------------------------------------------------------------

std::optional<int> IntOf(const QJsonValue& v)
{
    // Outside int's range the conversion itself is undefined: 1e300 is
    // refused before it is converted.
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max() &&
            d == std::trunc(d))
            return int(d);
    }
    return std::nullopt;
}

Result IntIn(const QJsonValue& v, int lo, int hi, int& out)
{
    const auto i = IntOf(v);
    if (!i || *i < lo || *i > hi)
        return QString();
    out = *i;
    return std::nullopt;
}

Result BoolOf(const QJsonValue& v, bool& out)
{
    if (!v.isBool())
        return QString();
    out = v.toBool();
    return std::nullopt;
}

Result OneOf(const QJsonValue& v, const QStringList& items, int& out)
{
    out = v.isString() ? int(items.indexOf(v.toString())) : -1;
    return out < 0 ? Result(QString()) : std::nullopt;
}

QJsonValue RgbJson(std::span<const std::optional<int>> rgb)
{
    QString s = QStringLiteral("#");
    for (const auto& ch : rgb) {
        if (!ch)
            return QJsonValue::Null;
        s += QStringLiteral("%1").arg(*ch & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    }
    return s;
}

Result SetRgb(const QJsonValue& v, std::span<std::optional<int>> rgb)
{
    static const QRegularExpression re(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!v.isString() || !re.match(v.toString()).hasMatch())
        return QString();
    for (std::size_t k = 0; k < 3; ++k)
        rgb[k] = v.toString().mid(1 + int(k) * 2, 2).toInt(nullptr, 16);
    return std::nullopt;
}

QJsonValue PairJson(PairChoice p, bool firstIs)
{
    return p == PairChoice::Neither ? QJsonValue(QJsonValue::Null)
                                    : QJsonValue((p == PairChoice::First) == firstIs);
}

Result SetPair(const QJsonValue& v, PairChoice& p, bool firstIs)
{
    bool b = false;
    if (auto r = BoolOf(v, b))
        return r;
    p = b == firstIs ? PairChoice::First : PairChoice::Second;
    return std::nullopt;
}

std::size_t Idx(int n)
{
    return std::size_t(n - 1);
}

// Controls fields mark the state so the store rules run at the end.
Setter Controls(std::function<Result(SettingsControls&, int, const QJsonValue&)> f)
{
    return [f](State& s, int n, const QJsonValue& v) {
        s.controlsChanged = true;
        return f(s.c, n, v);
    };
}

Setter Macro(std::function<Result(State&, std::size_t, const QJsonValue&)> f)
{
    return [f](State& s, int n, const QJsonValue& v) {
        s.macroChanged[Idx(n)] = true;
        return f(s, Idx(n), v);
    };
}

// The nine buttons of one key mode: three bytes each from `offset`.
Field KeyField(SettingField doc, std::size_t offset)
{
    return {doc, int(KeysPerMode),
            [offset](const State& s, int n) {
                const auto at = offset + Idx(n) * KeyCodeSize;
                return QJsonValue(KeyFunctionText({s.keys[at], s.keys[at + 1], s.keys[at + 2]}));
            },
            [offset](State& s, int n, const QJsonValue& v) -> Result {
                const auto code = v.isString() ? ParseKeyFunction(v.toString()) : std::nullopt;
                if (!code)
                    return KeyAllowedText();
                std::copy(code->begin(), code->end(),
                          s.keys.begin() + std::ptrdiff_t(offset + Idx(n) * KeyCodeSize));
                return std::nullopt;
            }};
}

} // namespace

const std::vector<Field>& Fields()
{
    using C = SettingsControls;
    using V = const QJsonValue&;
    static const std::vector<Field> fields{
        {{"cpi.count", "number", "2..7", "0x002"},
         0,
         [](const State& s, int) { return QJsonValue(s.c.cpiStep + 2); },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, CpiLevelMin, CpiLevelMax, n);
             c.cpiStep = n - 2;
             return r;
         })},
        {{"cpi.current", "number", "1..cpi.count", "0x030, 0x031"},
         0,
         [](const State& s, int) { return QJsonValue(s.c.currentCpi + 1); },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 1, CpiLevelMax, n);
             c.currentCpi = n - 1;
             return r;
         })},
        {{"cpi.levels.N.cpi", "number", "500, 800, 1000, 1200, 1600, 2000, 2400, 3200, 4000, 4800, 6400",
          "0x006 + (N - 1)"},
         CpiLevelMax,
         [](const State& s, int n) {
             const int i = s.c.cpiValue[Idx(n)];
             return i >= 0 && i < CpiValueCount ? QJsonValue(CpiValueTable[std::size_t(i)])
                                                : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int n, V v) -> Result {
             const auto i = IntOf(v);
             const auto it = std::find(CpiValueTable.begin(), CpiValueTable.end(), i.value_or(-1));
             if (it == CpiValueTable.end())
                 return QString();
             c.cpiValue[Idx(n)] = int(it - CpiValueTable.begin());
             return std::nullopt;
         })},
        {{"cpi.levels.N.colour", "string", "#RRGGBB (MCU light)", "0x01A + 3 (N - 1), three bytes"},
         CpiLevelMax,
         [](const State& s, int n) { return RgbJson(std::span(s.c.cpiRgb).subspan(Idx(n) * 3, 3)); },
         Controls([](C& c, int n, V v) { return SetRgb(v, std::span(c.cpiRgb).subspan(Idx(n) * 3, 3)); })},
        {{"cpi.levels.N.named_colour", "number",
          "0 red, 1 green, 2 yellow, 3 blue, 4 purple, 5 cyan, 6 white (smart light)", "0x00D + (N - 1)"},
         CpiLevelMax,
         [](const State& s, int n) {
             const int i = s.c.cpiColour[Idx(n)];
             return i >= 0 && i < NamedColourCount ? QJsonValue(i) : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int n, V v) { return IntIn(v, 0, NamedColourCount - 1, c.cpiColour[Idx(n)]); })},
        KeyField({"keys.A.N", "string", "a key function (see below)", "0x040 + 3 (N - 1), three bytes"},
                 ModeAKeysOffset),
        KeyField({"keys.B.N", "string", "a key function (see below)", "0x05B + 3 (N - 1), three bytes"},
                 ModeBKeysOffset),
        {{"light.type", "string", "\"smart LED\", \"MCU LED\"", "0x000 bit 7"},
         0,
         [](const State& s, int) {
             return s.c.ledType == PairChoice::Neither
                        ? QJsonValue(QJsonValue::Null)
                        : QJsonValue(s.c.ledType == PairChoice::First ? QStringLiteral("smart LED")
                                                                      : QStringLiteral("MCU LED"));
         },
         Controls([](C& c, int, V v) {
             int i = 0;
             auto r = OneOf(v, {QStringLiteral("smart LED"), QStringLiteral("MCU LED")}, i);
             c.ledType = i == 0 ? PairChoice::First : PairChoice::Second;
             return r;
         })},
        {{"light.lights_on", "boolean", "true, false", "0x032 bit 3 (set: off)"},
         0,
         [](const State& s, int) { return PairJson(s.c.ledOff, false); },
         Controls([](C& c, int, V v) { return SetPair(v, c.ledOff, false); })},
        {{"light.middle_cpi_switch", "boolean", "true, false (light on/off by middle button + CPI keys)",
          "0x000 bit 0"},
         0,
         [](const State& s, int) { return PairJson(s.c.mcpi, true); },
         Controls([](C& c, int, V v) { return SetPair(v, c.mcpi, true); })},
        {{"light.left_cpi_switch", "boolean", "true, false (light mode by left button + CPI key)",
          "0x000 bit 2"},
         0,
         [](const State& s, int) { return PairJson(s.c.lcpi, true); },
         Controls([](C& c, int, V v) { return SetPair(v, c.lcpi, true); })},
        {{"light.control_lines", "number", "3, 6", "0x003 bit 3 (set: 3)"},
         0,
         [](const State& s, int) {
             return s.c.mcuScan == PairChoice::Neither ? QJsonValue(QJsonValue::Null)
                                                       : QJsonValue(s.c.mcuScan == PairChoice::First ? 3 : 6);
         },
         Controls([](C& c, int, V v) -> Result {
             const int n = IntOf(v).value_or(0);
             if (n != 3 && n != 6)
                 return QString();
             c.mcuScan = n == 3 ? PairChoice::First : PairChoice::Second;
             return std::nullopt;
         })},
        {{"light.led_count", "number", "4..13", "0x003 bits 4-7 (13 - count)"},
         0,
         [](const State& s, int) {
             return s.c.mcuLedNum ? QJsonValue(*s.c.mcuLedNum) : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 4, 13, n);
             c.mcuLedNum = n;
             return r;
         })},
        {{"light.modes.N", "boolean", "true, false (MCU light; mode N offered)", "0x004 bit N"},
         McuModeCount,
         [](const State& s, int n) {
             return s.c.ledType == PairChoice::Second ? QJsonValue(s.c.mcuModes[Idx(n)])
                                                      : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int n, V v) { return BoolOf(v, c.mcuModes[Idx(n)]); }),
         Field::McuLight},
        {{"light.mode", "number", "1..7 or a mode's name (MCU light)", "0x032 bits 0-2, 0x033"},
         0,
         [](const State& s, int) {
             return s.c.ledType == PairChoice::Second && s.c.mcuCurrentMode >= 0 && s.c.mcuCurrentMode <= 6
                        ? QJsonValue(s.c.mcuCurrentMode + 1)
                        : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) -> Result {
             int n = 0;
             if (v.isString() && !OneOf(v, ModeNames(), n)) {
                 c.mcuCurrentMode = n;
                 return std::nullopt;
             }
             auto r = IntIn(v, 1, 7, n);
             c.mcuCurrentMode = n - 1;
             return r;
         }),
         Field::McuLight},
        {{"light.step", "number", "0..7 (MCU light)", "0x032 bits 5-7, 0x033"},
         0,
         [](const State& s, int) {
             return s.c.ledType == PairChoice::Second && s.c.mcuStep ? QJsonValue(*s.c.mcuStep)
                                                                     : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 0, 7, n);
             c.mcuStep = n;
             return r;
         }),
         Field::McuLight},
        {{"light.cpi_breathing", "boolean", "true, false (smart light)", "0x032 bits 0-2, 0x033"},
         0,
         [](const State& s, int) {
             return s.c.ledType == PairChoice::First ? QJsonValue(s.c.norLedCpi)
                                                     : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) { return BoolOf(v, c.norLedCpi); }),
         Field::SmartLight},
        {{"light.normal_step", "number", "0..255 (smart light breathing step)", "0x005"},
         0,
         [](const State& s, int) {
             return s.c.norLedStep ? QJsonValue(*s.c.norLedStep) : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 0, 255, n);
             c.norLedStep = n;
             return r;
         })},
        {{"light.key_mode_colours.N", "string", "#RRGGBB (key mode A, B)", "0x014 + 3 (N - 1), three bytes"},
         2,
         [](const State& s, int n) { return RgbJson(std::span(s.c.keyModeRgb).subspan(Idx(n) * 3, 3)); },
         Controls(
             [](C& c, int n, V v) { return SetRgb(v, std::span(c.keyModeRgb).subspan(Idx(n) * 3, 3)); })},
        {{"fire.count", "number", "2..127", "0x0F2 (count - 1)"},
         0,
         [](const State& s, int) { return QJsonValue(FireCountFromByte(std::uint8_t(s.c.fireCount + 1))); },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 2, 127, n);
             c.fireCount = n - 2;
             return r;
         })},
        {{"fire.interval", "number", "0..255", "0x0F8"},
         0,
         [](const State& s, int) {
             return s.c.fireTime ? QJsonValue(*s.c.fireTime) : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) {
             int n = 0;
             auto r = IntIn(v, 0, 255, n);
             c.fireTime = n;
             return r;
         })},
        {{"fire.enabled", "boolean", "true, false", "0x000 bit 1"},
         0,
         [](const State& s, int) { return PairJson(s.c.fireFn, true); },
         Controls([](C& c, int, V v) { return SetPair(v, c.fireFn, true); })},
        {{"options.key_mode", "string", "\"A\", \"B\" (the current key mode)", "0x034 bit 7, 0x035"},
         0,
         [](const State& s, int) {
             return QJsonValue(s.c.keyMode == 1 ? QStringLiteral("B") : QStringLiteral("A"));
         },
         Controls([](C& c, int, V v) {
             return OneOf(v, {QStringLiteral("A"), QStringLiteral("B")}, c.keyMode);
         })},
        {{"options.key_mode_memory", "boolean", "true (the last mode after power-up), false (mode A)",
          "0x000 bit 3 (set: false)"},
         0,
         [](const State& s, int) { return PairJson(s.c.noSave, false); },
         Controls([](C& c, int, V v) { return SetPair(v, c.noSave, false); })},
        {{"options.long_press.middle", "boolean", "true, false", "0x001 bit 0"},
         0,
         [](const State& s, int) { return QJsonValue(s.c.midPress); },
         Controls([](C& c, int, V v) { return BoolOf(v, c.midPress); })},
        {{"options.long_press.cpi", "boolean", "true, false", "0x001 bit 1"},
         0,
         [](const State& s, int) { return QJsonValue(s.c.cpiPress); },
         Controls([](C& c, int, V v) { return BoolOf(v, c.cpiPress); })},
        {{"options.long_press.gun", "boolean", "true, false", "0x001 bit 2"},
         0,
         [](const State& s, int) { return QJsonValue(s.c.gunPress); },
         Controls([](C& c, int, V v) { return BoolOf(v, c.gunPress); })},
        {{"options.sensor_orientation", "string",
          "\"0°\", \"90°\", \"180°\", \"270°\", \"X Reverse\", \"Y Reverse\", \"XY Swap XY Reverse\", "
          "\"XY Swap XY NoReverse\"",
          "0x000 bits 4-6"},
         0,
         [](const State& s, int) {
             const QStringList names = SensorNames();
             return s.c.sensorOri >= 0 && s.c.sensorOri < names.size() ? QJsonValue(names.at(s.c.sensorOri))
                                                                       : QJsonValue(QJsonValue::Null);
         },
         Controls([](C& c, int, V v) { return OneOf(v, SensorNames(), c.sensorOri); })},
        {{"identity.maker", "number", "read only", "0x036", false},
         0,
         [](const State& s, int) { return QJsonValue(s.c.vendorId.value_or(0)); },
         {}},
        {{"identity.model", "number", "read only", "0x037", false},
         0,
         [](const State& s, int) { return QJsonValue(s.c.productId.value_or(0)); },
         {}},
        {{"macros.N.name", "string", "up to 16 characters", "0x100 + 256 (N - 1), 32 bytes"},
         DeviceSlotCount,
         [](const State& s, int n) { return QJsonValue(s.macroNames[Idx(n)]); },
         Macro([](State& s, std::size_t i, V v) -> Result {
             if (!v.isString() || v.toString().size() > MacroNameUnits)
                 return QString();
             s.macroNames[i] = v.toString();
             return std::nullopt;
         })},
        {{"macros.N.stop_on_release", "boolean",
          "true (stops when the button is let go), false (runs to its end)", "0x120 + 256 (N - 1)"},
         DeviceSlotCount,
         [](const State& s, int n) {
             const auto stop = s.macroStop[Idx(n)];
             return stop ? QJsonValue(*stop) : QJsonValue(QJsonValue::Null);
         },
         Macro([](State& s, std::size_t i, V v) -> Result {
             bool b = false;
             if (auto r = BoolOf(v, b))
                 return r;
             s.macroStop[i] = b;
             return std::nullopt;
         })},
        {{"macros.N.lines", "array of strings", "script lines such as \"0 120\", \"1 A CODE:8204\"",
          "0x121 + 256 (N - 1), up to 223 bytes"},
         DeviceSlotCount,
         [](const State& s, int n) { return QJsonValue(QJsonArray::fromStringList(s.macroLines[Idx(n)])); },
         Macro([](State& s, std::size_t i, V v) -> Result {
             if (!v.isArray())
                 return QString();
             QStringList lines;
             for (const QJsonValue& line : v.toArray()) {
                 if (!line.isString())
                     return QString();
                 lines << line.toString();
             }
             s.macroLines[i] = lines;
             return std::nullopt;
         })},
    };
    return fields;
}

State StateOf(const ConfigImage& image)
{
    State s;
    ShowSettings(image.ParameterA, image.ParameterB, image.FireKey, s.c);
    s.keys = image.ProfileKeys;
    const DeviceMacros device = ReadAndRefreshMacro(image.MacroArea);
    for (std::size_t i = 0; i < DeviceSlotCount; ++i) {
        s.macroNames[i] = MacroNameText(device.Names[i]);
        if (DeviceNameEmpty(device.Names[i]))
            s.macroNames[i].clear();
        const DecodedMacro decoded = DecodeRecord(device.Records[i]);
        s.macroStop[i] = decoded.releaseStop;
        s.macroLines[i] = decoded.script.Lines.mid(1);
    }
    return s;
}

std::pair<QString, int> Pattern(const QString& path)
{
    QStringList parts = path.split(QLatin1Char('.'));
    int index = 0;
    for (QString& part : parts) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (ok && !index) {
            index = n;
            part = QStringLiteral("N");
        }
    }
    return {parts.join(QLatin1Char('.')), index};
}

const Field* FieldOf(const QString& pattern)
{
    for (const Field& f : Fields())
        if (QLatin1String(f.doc.path) == pattern)
            return &f;
    return nullptr;
}

} // namespace orb::ctl::settings
