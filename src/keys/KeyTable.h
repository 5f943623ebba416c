#pragma once
#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace orb
{

// One keyboard key: the Windows virtual-key code of its key events, its
// display name (English in every language) and the HID keyboard usage that a
// keyboard code or a macro key line carries for it (0 = no usage).
struct KeyTableEntry {
    int vk;
    const char* name;
    std::uint8_t usage;
};

// Every known key, in ascending virtual-key order.
std::span<const KeyTableEntry> KeyTable();

// Usage byte to name, 256 entries; "" where the usage has no name.
const std::array<const char*, 256>& UsageNames();

// Name of a virtual key; "None" for a key that is not in the table.
QString KeyName(int vk);
// HID keyboard usage of a virtual key; 0 for a key that is not in the table.
std::uint8_t KeyUsage(int vk);
// Name of a HID keyboard usage; empty for usage 0 or one no key produces.
QString UsageName(int usage);

} // namespace orb
