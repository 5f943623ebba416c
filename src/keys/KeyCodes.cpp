#include "keys/KeyCodes.h"

#include "keys/KeyTable.h"

#include <algorithm>

namespace orb
{
namespace
{

struct NamedCode {
    KeyFunctionCode code;
    const char* textKey;
};

// Codes with a caption in the language packs. 0D0000 and the fire macros
// 0Cxxxx have keys that no pack fills, so they read as empty names.
constexpr NamedCode kNamedCodes[] = {
    {{0x01, 0x01, 0x00}, "Str210"}, {{0x01, 0x02, 0x00}, "Str211"}, {{0x01, 0x04, 0x00}, "Str212"},
    {{0x01, 0x08, 0x00}, "Str213"}, {{0x01, 0x10, 0x00}, "Str214"}, {{0x06, 0x00, 0xF0}, "Str220"},
    {{0x09, 0x00, 0x00}, "Str221"}, {{0x0D, 0x00, 0x00}, "Str223"}, {{0x00, 0x00, 0x00}, "Str224"},
    {{0x0F, 0x00, 0x00}, "Str225"}, {{0x10, 0x00, 0x00}, "Str226"}, {{0x05, 0x00, 0x00}, "Str231"},
    {{0x07, 0x00, 0x00}, "Str232"}, {{0x08, 0x00, 0x00}, "Str233"}, {{0x03, 0x01, 0x94}, "Str240"},
    {{0x03, 0x01, 0x92}, "Str241"}, {{0x03, 0x01, 0x8A}, "Str242"}, {{0x02, 0x08, 0x07}, "Str243"},
    {{0x03, 0x00, 0xCD}, "Str250"}, {{0x03, 0x00, 0xB7}, "Str251"}, {{0x03, 0x00, 0xB6}, "Str252"},
    {{0x03, 0x00, 0xB5}, "Str253"}, {{0x03, 0x00, 0xE9}, "Str254"}, {{0x03, 0x00, 0xEA}, "Str255"},
    {{0x03, 0x00, 0xE2}, "Str256"}, {{0x03, 0x02, 0x23}, "Str260"}, {{0x03, 0x02, 0x21}, "Str261"},
    {{0x03, 0x02, 0x24}, "Str262"}, {{0x03, 0x02, 0x25}, "Str263"}, {{0x03, 0x02, 0x26}, "Str264"},
    {{0x03, 0x02, 0x27}, "Str265"}, {{0x03, 0x02, 0x2A}, "Str266"}, {{0x0C, 0x01, 0x01}, "Str600"},
    {{0x0C, 0x02, 0x02}, "Str601"}, {{0x0C, 0x03, 0x03}, "Str602"}, {{0x0C, 0x04, 0x04}, "Str603"},
    {{0x0C, 0x05, 0x05}, "Str604"}, {{0x0C, 0x06, 0x06}, "Str605"}, {{0x0C, 0x06, 0x07}, "Str605"},
    {{0x0C, 0x08, 0x08}, "Str606"}, {{0x0C, 0x08, 0x09}, "Str606"}, {{0x0C, 0x08, 0x0A}, "Str606"},
};

constexpr MenuItem kMenuItems[] = {
    {"Key_Left", 900, "Pnl_MseKey", "Str210", "010100"},
    {"Key_Right", 901, "Pnl_MseKey", "Str211", "010200"},
    {"Key_Middle", 902, "Pnl_MseKey", "Str212", "010400"},
    {"Key_B4", 903, "Pnl_MseKey", "Str213", "010800"},
    {"Key_B5", 904, "Pnl_MseKey", "Str214", "011000"},
    {"Key_Fire", 1000, "Pnl_Special", "Str220", "0600F0"},
    {"Key_LEDSwitch", 1001, "Pnl_Special", "Str221", "090000"},
    {"Key_AIMKey", AimMenuTag, "Pnl_Special", "Str222", "0A0000"},
    {"Key_KeyOff", 1004, "Pnl_Special", "Str224", "000000"},
    {"Key_KeyMode", 1005, "Pnl_Special", "Str225", "0F0000"},
    {"Key_LEDMode", 1006, "Pnl_Special", "Str226", "100000"},
    {"Key_Computer", 1100, "Pnl_MyPC", "Str240", "030194"},
    {"Key_Calculator", 1101, "Pnl_MyPC", "Str241", "030192"},
    {"Key_Desktop", 1103, "Pnl_MyPC", "Str243", "020807"},
    {"Key_PlayPause", 1300, "Pnl_Media", "Str250", "0300CD"},
    {"Key_Stop", 1301, "Pnl_Media", "Str251", "0300B7"},
    {"Key_PreviousTrack", 1302, "Pnl_Media", "Str252", "0300B6"},
    {"Key_NextTrack", 1303, "Pnl_Media", "Str253", "0300B5"},
    {"Key_VolumePlus", 1304, "Pnl_Media", "Str254", "0300E9"},
    {"Key_VolumeMinus", 1305, "Pnl_Media", "Str255", "0300EA"},
    {"Key_Mute", 1306, "Pnl_Media", "Str256", "0300E2"},
    {"Key_WWWHome", 1400, "Pnl_WWW", "Str260", "030223"},
    {"Key_WWWSearch", 1401, "Pnl_WWW", "Str261", "030221"},
    {"Key_WWWBack", 1402, "Pnl_WWW", "Str262", "030224"},
    {"Key_WWWForward", 1403, "Pnl_WWW", "Str263", "030225"},
    {"Key_WWWStop", 1404, "Pnl_WWW", "Str264", "030226"},
    {"Key_WWWRefresh", 1405, "Pnl_WWW", "Str265", "030227"},
    {"Key_WWWFavorites", 1406, "Pnl_WWW", "Str266", "03022A"},
    {"Key_CPI", 2000, "Pnl_CPIKey", "Str231", "050000"},
    {"Key_CPII", 2001, "Pnl_CPIKey", "Str232", "070000"},
    {"Key_CPID", 2002, "Pnl_CPIKey", "Str233", "080000"},
};

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

QString HexByte(std::uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

std::uint16_t BaseMacroAddress(int slot)
{
    if (slot < 1 || slot > BaseMacroSlotCount)
        return 0;
    // The length byte follows the 32-byte name and the release-mode byte.
    return static_cast<std::uint16_t>(slot * 0x100 + 0x21);
}

int BaseMacroSlotForAddress(std::uint16_t address)
{
    for (int slot = 1; slot <= BaseMacroSlotCount; ++slot) {
        if (BaseMacroAddress(slot) == address)
            return slot;
    }
    return 0;
}

std::optional<KeyFunctionCode> ParseCode(const QString& text)
{
    if (text.size() != 6)
        return std::nullopt;
    KeyFunctionCode code{};
    for (int i = 0; i < 3; ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        code[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return code;
}

KeyFunctionCode CodeToBytes(const QString& text)
{
    return ParseCode(text).value_or(KeyFunctionCode{0, 0, 0});
}

QString BytesToCode(const KeyFunctionCode& code)
{
    return HexByte(code[0]) + HexByte(code[1]) + HexByte(code[2]);
}

QString BytesToCode(std::uint8_t type, std::uint8_t data1, std::uint8_t data2)
{
    return BytesToCode(KeyFunctionCode{type, data1, data2});
}

QString KeyboardCode(std::uint8_t modifierBits, std::uint8_t usage)
{
    return BytesToCode(KeyType::Keyboard, modifierBits, usage);
}

QString MacroCode(int slot, bool stopOnRelease)
{
    const std::uint16_t address = BaseMacroAddress(slot);
    if (address == 0)
        return {};
    return BytesToCode(stopOnRelease ? KeyType::MacroWhileHeld : KeyType::MacroToEnd,
                       static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF));
}

QString AimCode(int aimValue)
{
    return BytesToCode(KeyType::Aim, static_cast<std::uint8_t>(std::clamp(aimValue, 0, MaxAimValue)), 0);
}

std::span<const MenuItem> MenuItems()
{
    return kMenuItems;
}

const MenuItem* FindMenuItem(int tag)
{
    for (const MenuItem& item : kMenuItems) {
        if (item.tag == tag)
            return &item;
    }
    return nullptr;
}

QString CodeForMenuItem(int tag, int aimValue)
{
    const MenuItem* item = FindMenuItem(tag);
    if (!item)
        return {};
    if (item->tag == AimMenuTag)
        return AimCode(aimValue);
    return QString::fromLatin1(item->code);
}

QString NamedCodeKey(const KeyFunctionCode& code)
{
    if (code[0] == KeyType::Aim)
        return QStringLiteral("Str222");
    for (const NamedCode& named : kNamedCodes) {
        if (named.code == code)
            return QString::fromLatin1(named.textKey);
    }
    return {};
}

QString KeyFunctionName(const KeyFunctionCode& code, const TextLookup& text,
                        const QStringList& baseMacroNames)
{
    const QString key = NamedCodeKey(code);
    if (!key.isEmpty())
        return text ? text(key) : QString();

    switch (code[0]) {
    case KeyType::Keyboard: {
        QString name;
        if (code[1] & ModifierBit::Ctrl)
            name += QStringLiteral("Ctrl+");
        if (code[1] & ModifierBit::Shift)
            name += QStringLiteral("Shift+");
        if (code[1] & ModifierBit::Alt)
            name += QStringLiteral("Alt+");
        if (code[1] & ModifierBit::Win)
            name += QStringLiteral("Win+");
        if (code[2] != 0)
            name += UsageName(code[2]);
        return name;
    }
    case KeyType::MacroToEnd:
    case KeyType::MacroWhileHeld: {
        const int slot = BaseMacroSlotForAddress(static_cast<std::uint16_t>(code[1] << 8 | code[2]));
        if (slot == 0 || slot > baseMacroNames.size())
            return {};
        return baseMacroNames[slot - 1];
    }
    default:
        return {};
    }
}

QString KeyFunctionName(const QString& code, const TextLookup& text, const QStringList& baseMacroNames)
{
    const std::optional<KeyFunctionCode> bytes = ParseCode(code);
    if (!bytes)
        return {};
    return KeyFunctionName(*bytes, text, baseMacroNames);
}

} // namespace orb
