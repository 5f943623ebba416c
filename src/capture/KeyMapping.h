#pragma once
#include <cstdint>
#include <span>

namespace orb
{

// X keysym -> Windows virtual-key code, for the keys of the key table. Left
// and right modifiers give the generic codes raw keyboard input reports
// (Shift 16, Ctrl 17, Alt 18), except the Windows keys (91, 92).
struct KeysymVk {
    std::uint32_t keysym;
    int vk;
};
std::span<const KeysymVk> KeysymTable();
// 0 for a keysym without a virtual key.
int VkFromKeysym(std::uint32_t keysym);

// The virtual key of a key from the keysyms of its first two levels (group
// 0), as raw keyboard input on Windows reports it: the key's own code
// whatever the modifiers, so Shift+1 is the key 1; while NumLock is on the
// keypad's digits and point are Num 0..9 and Decimal; a key with a digit on
// either level (the top row of AZERTY) is that digit. 0 when none.
int VkFromKeyLevels(std::uint32_t level0, std::uint32_t level1, bool numLock);

// Qt::Key -> virtual-key code, for key events that carry no native key; 0 when none.
int VkFromQtKey(int qtKey);

} // namespace orb
