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

// Qt::Key -> virtual-key code, for key events that carry no native key; 0 when none.
int VkFromQtKey(int qtKey);

} // namespace orb
