#pragma once
#include "core/Text.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace orb
{

// A key-function code: type, data 1, data 2, as the mouse keeps it for each
// button. Its text form is six upper-case hex digits, type first ("010100").
using KeyFunctionCode = std::array<std::uint8_t, 3>;

// Type byte of a key-function code.
namespace KeyType
{
inline constexpr std::uint8_t Off = 0x00;
inline constexpr std::uint8_t MouseButton = 0x01; // data 1: button bit
inline constexpr std::uint8_t Keyboard = 0x02;    // data 1: modifier bits, data 2: HID usage
inline constexpr std::uint8_t Consumer = 0x03;    // data 1/2: HID Consumer usage, high byte first
inline constexpr std::uint8_t CpiLoop = 0x05;
inline constexpr std::uint8_t MacroToEnd = 0x06; // data 1/2: macro address, big-endian
inline constexpr std::uint8_t CpiUp = 0x07;
inline constexpr std::uint8_t CpiDown = 0x08;
inline constexpr std::uint8_t LedSwitch = 0x09;
inline constexpr std::uint8_t Aim = 0x0A; // data 1: AIM value 0..10
inline constexpr std::uint8_t FireMacro = 0x0C;
inline constexpr std::uint8_t Unnamed = 0x0D;
inline constexpr std::uint8_t MacroWhileHeld = 0x0E; // data 1/2: macro address, big-endian
inline constexpr std::uint8_t KeyModeSwitch = 0x0F;
inline constexpr std::uint8_t LedModeSwitch = 0x10;
} // namespace KeyType

// Data 1 of a mouse-button code.
namespace MouseButtonBit
{
inline constexpr std::uint8_t Left = 0x01;
inline constexpr std::uint8_t Right = 0x02;
inline constexpr std::uint8_t Middle = 0x04;
inline constexpr std::uint8_t Back = 0x08;
inline constexpr std::uint8_t Forward = 0x10;
} // namespace MouseButtonBit

// Data 1 of a keyboard code: the HID modifier byte, left-hand keys.
namespace ModifierBit
{
inline constexpr std::uint8_t Ctrl = 0x01;
inline constexpr std::uint8_t Shift = 0x02;
inline constexpr std::uint8_t Alt = 0x04;
inline constexpr std::uint8_t Win = 0x08;
} // namespace ModifierBit

inline constexpr int BaseMacroSlotCount = 7;
// Highest AIM value: index of the last of the eleven CPI values.
inline constexpr int MaxAimValue = 10;

inline const QString LeftButtonCode = QStringLiteral("010100");
inline const QString KeyOffCode = QStringLiteral("000000");
// The fire key is a macro at the fire-key section of the image.
inline const QString FireKeyCode = QStringLiteral("0600F0");

// Image address of the length byte of base-macro slot 1..7 (0x0121 .. 0x0721);
// 0 for a slot outside 1..7.
std::uint16_t BaseMacroAddress(int slot);
// Slot 1..7 whose macro starts at the address; 0 when none does.
int BaseMacroSlotForAddress(std::uint16_t address);

// The code text when it is exactly six hex digits (either case), else nothing.
std::optional<KeyFunctionCode> ParseCode(const QString& text);
// Text to bytes; text that is not six hex digits gives 00 00 00 (key off),
// so a damaged entry never turns into some other function.
KeyFunctionCode CodeToBytes(const QString& text);
// Bytes to the six-digit upper-case text.
QString BytesToCode(const KeyFunctionCode& code);
QString BytesToCode(std::uint8_t type, std::uint8_t data1, std::uint8_t data2);

// Keyboard code for modifier bits and a HID usage (Ctrl+Shift+F5 -> "02033E").
QString KeyboardCode(std::uint8_t modifierBits, std::uint8_t usage);
// Macro code for base-macro slot 1..7: type 06 when the macro runs to its end,
// 0E when it stops on release. Empty text for a slot outside 1..7.
QString MacroCode(int slot, bool stopOnRelease);
// AIM key code; the value is clamped to 0..MaxAimValue.
QString AimCode(int aimValue);

// One leaf item of the assignment menus.
struct MenuItem {
    const char* name;    // control name, e.g. "Key_Left"
    int tag;             // numeric tag the item carries
    const char* panel;   // menu panel holding it, e.g. "Pnl_MseKey"
    const char* textKey; // language key of its caption
    const char* code;    // code text; for Key_AIMKey the AIM value is filled in
};

inline constexpr int AimMenuTag = 1002;

std::span<const MenuItem> MenuItems();
// The menu item with this tag, or nullptr.
const MenuItem* FindMenuItem(int tag);
// Code of the menu item with this tag; Key_AIMKey gets the AIM value.
// Empty text for a tag not in the menu.
QString CodeForMenuItem(int tag, int aimValue);

// Language key that names the code ("Str210" for 010100, "Str222" for every
// AIM code); empty when the code is not one of the named codes.
QString NamedCodeKey(const KeyFunctionCode& code);

// Display name of a code in the current language: named codes through the
// language pack, keyboard codes as "Ctrl+Shift+A", macro codes by the name
// of their base-macro slot (baseMacroNames[0] is slot 1). Everything else,
// and text that is not a code, gives the empty text.
QString KeyFunctionName(const QString& code, const TextLookup& text, const QStringList& baseMacroNames);
QString KeyFunctionName(const KeyFunctionCode& code, const TextLookup& text,
                        const QStringList& baseMacroNames);

} // namespace orb
