#pragma once
#include "image/ConfigImage.h"
#include "macros/MacroScript.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace orb
{

// A macro's stored form: [release mode][L = event bytes + 1][events][check
// byte][zeros]. An empty macro is 224 zero bytes.
inline constexpr std::size_t MacroRecordSize = 224;
// Name: up to 16 UTF-16 units, high byte first, zero-filled.
inline constexpr std::size_t MacroNameSize = 32;
inline constexpr int MacroNameUnits = 16;
// The largest length byte a record can carry (check byte at offset 223).
inline constexpr int MaxLengthByte = MaxEventBytes + 1;

using MacroRecord = std::array<std::uint8_t, MacroRecordSize>;
using MacroName = std::array<std::uint8_t, MacroNameSize>;

// Release mode byte: the macro plays to its end, or stops when the button is let go.
inline constexpr std::uint8_t ReleaseContinue = 0;
inline constexpr std::uint8_t ReleaseStop = 1;

// A record that opens as an empty macro: length byte 0, or 0xFF (erased memory).
inline bool MacroRecordEmpty(const MacroRecord& record)
{
    return record[1] == 0 || record[1] == 0xFF;
}

struct EncodeResult {
    MacroRecord record{};
    // Lines left out because the record had no room for them (the script
    // came from somewhere that did not hold the budget).
    int linesLeftOut = 0;
};

// Script lines 1..n -> record. Lines that would take the events past 221
// bytes are left out whole, from the first one that does not fit.
EncodeResult EncodeScript(const MacroScript& script, bool releaseStop);

struct DecodedMacro {
    MacroScript script;              // header + one line per event
    std::optional<bool> releaseStop; // nothing when byte 0 is neither 0 nor 1
    DelayChoice delay;               // from the first four pauses
    bool complete = true;            // false when an unknown event stopped decoding
};

// Record -> script and choices. Decoding stays inside the record: the length
// byte is taken as at most 222, an event never reads past the length byte's
// end, and an unknown event byte (or a modifier byte with an unknown mask)
// ends the script there.
DecodedMacro DecodeRecord(const MacroRecord& record);

// The 32-byte name of a text: its first 16 UTF-16 units (a pair split at
// the end is left out), high byte first.
MacroName MacroNameStrToUnicode(const QString& text);
// The text of a name: units up to the first zero unit, at most 16.
QString MacroNameText(const MacroName& name);
// Empty library name: first two bytes both 0. Empty mouse slot name: both
// 0 or both 0xFF.
bool LibraryNameEmpty(const MacroName& name);
bool DeviceNameEmpty(const MacroName& name);

// Slot check: a record whose check byte does not match its length and
// events, or whose length byte is beyond 222, is cleared to zero. Returns
// true when it was cleared (an empty record always is).
bool CheckMacroContentBuf(MacroRecord& record);

inline constexpr int DeviceSlotCount = 7;
inline constexpr std::size_t DeviceSlotSize = 256;
// No free slot for a macro.
inline constexpr int NoSlot = 8;

// The mouse's seven macro device, split from the macro area: index 0 is slot 1.
struct DeviceMacros {
    std::array<MacroName, DeviceSlotCount> Names{};
    std::array<MacroRecord, DeviceSlotCount> Records{};
};

// Macro area -> device, each record checked (CheckMacroContentBuf).
DeviceMacros ReadAndRefreshMacro(const MacroAreaBytes& area);
// Slot names for the device list and the button captions: seven texts,
// empty for an empty slot (RefreshMacroName).
QStringList DeviceMacroNameList(const DeviceMacros& device);
// Slots -> macro area (RefreshBaseMacroBuf).
void RefreshBaseMacroBuf(const DeviceMacros& device, MacroAreaBytes& area);

// Slots 1..7 that some key code of either key mode plays (types 06 / 0E).
std::array<bool, DeviceSlotCount> UsedSlots(std::span<const QString> modeACodes,
                                            std::span<const QString> modeBCodes);
// The slot a library macro named `name` is copied into, 1..7, or NoSlot.
// When the used device are the first u (or none), slot u + 1, or the slot
// that already holds a macro of this name when exactly one does; otherwise
// the first slot of a gap next to used ones, then slot u, then the lowest
// free one.
int FindBaseMacroCount(const std::array<bool, DeviceSlotCount>& used, const MacroName& name,
                       const DeviceMacros& device);
int FindBaseMacroCount(std::span<const QString> modeACodes, std::span<const QString> modeBCodes,
                       const MacroName& name, const DeviceMacros& device);

// Copies a library macro into slot 1..7 and returns the key code that plays
// it ("06" or "0E" + the slot's address); empty text for a slot outside 1..7.
QString PutMacroInSlot(DeviceMacros& device, int slot, const MacroName& name, const MacroRecord& record);

} // namespace orb
