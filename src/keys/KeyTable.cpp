#include "keys/KeyTable.h"

#include <algorithm>

namespace orb
{
namespace
{

constexpr KeyTableEntry kKeys[] = {
    {8, "Backspace", 0x2A},
    {9, "Tab", 0x2B},
    {12, "Clear", 0x9C},
    {13, "Enter", 0x28},
    {16, "Shift", 0xE1},
    {17, "Ctrl", 0xE0},
    {18, "Alt", 0xE2},
    {19, "Pause", 0x48},
    {20, "Caps Lock", 0x39},
    {27, "Esc", 0x29},
    {32, "Space bar", 0x2C},
    {33, "Page Up", 0x4B},
    {34, "Page Down", 0x4E},
    {35, "End", 0x4D},
    {36, "Home", 0x4A},
    {37, "Left Arrow", 0x50},
    {38, "Up Arrow", 0x52},
    {39, "Right Arrow", 0x4F},
    {40, "Down Arrow", 0x51},
    {41, "Select", 0x77},
    {44, "Print Screen", 0x46},
    {45, "Insert", 0x49},
    {46, "Delete", 0x4C},
    {47, "Help", 0x75},
    {48, "0", 0x27},
    {49, "1", 0x1E},
    {50, "2", 0x1F},
    {51, "3", 0x20},
    {52, "4", 0x21},
    {53, "5", 0x22},
    {54, "6", 0x23},
    {55, "7", 0x24},
    {56, "8", 0x25},
    {57, "9", 0x26},
    {65, "A", 0x04},
    {66, "B", 0x05},
    {67, "C", 0x06},
    {68, "D", 0x07},
    {69, "E", 0x08},
    {70, "F", 0x09},
    {71, "G", 0x0A},
    {72, "H", 0x0B},
    {73, "I", 0x0C},
    {74, "J", 0x0D},
    {75, "K", 0x0E},
    {76, "L", 0x0F},
    {77, "M", 0x10},
    {78, "N", 0x11},
    {79, "O", 0x12},
    {80, "P", 0x13},
    {81, "Q", 0x14},
    {82, "R", 0x15},
    {83, "S", 0x16},
    {84, "T", 0x17},
    {85, "U", 0x18},
    {86, "V", 0x19},
    {87, "W", 0x1A},
    {88, "X", 0x1B},
    {89, "Y", 0x1C},
    {90, "Z", 0x1D},
    {91, "Left Windows", 0xE3},
    {92, "Right Windows", 0xE7},
    {93, "Applications", 0x65},
    {96, "0 (numeric pad)", 0x62},
    {97, "1 (numeric pad)", 0x59},
    {98, "2 (numeric pad)", 0x5A},
    {99, "3 (numeric pad)", 0x5B},
    {100, "4 (numeric pad)", 0x5C},
    {101, "5 (numeric pad)", 0x5D},
    {102, "6 (numeric pad)", 0x5E},
    {103, "7 (numeric pad)", 0x5F},
    {104, "8 (numeric pad)", 0x60},
    {105, "9 (numeric pad)", 0x61},
    {106, "Multiply (numeric pad)", 0x55},
    {107, "Add (numeric pad)", 0x57},
    {108, "Separator (numeric pad)", 0x58},
    {109, "Subtract (numeric pad)", 0x56},
    {110, "Decimal (numeric pad)", 0x63},
    {111, "Divide (numeric pad)", 0x54},
    {112, "F1", 0x3A},
    {113, "F2", 0x3B},
    {114, "F3", 0x3C},
    {115, "F4", 0x3D},
    {116, "F5", 0x3E},
    {117, "F6", 0x3F},
    {118, "F7", 0x40},
    {119, "F8", 0x41},
    {120, "F9", 0x42},
    {121, "F10", 0x43},
    {122, "F11", 0x44},
    {123, "F12", 0x45},
    {124, "F13", 0x68},
    {125, "F14", 0x69},
    {126, "F15", 0x6A},
    {127, "F16", 0x6B},
    {128, "F17", 0x6C},
    {129, "F18", 0x6D},
    {130, "F19", 0x6E},
    {131, "F20", 0x6F},
    {132, "F21", 0x70},
    {133, "F22", 0x71},
    {134, "F23", 0x72},
    {135, "F24", 0x73},
    {144, "Num Lock", 0x53},
    {145, "Scroll Lock", 0x47},
    {160, "Left Shift", 0xE1},
    {161, "Right Shift", 0xE5},
    {162, "Left Ctrl", 0xE0},
    {163, "Right Ctrl", 0xE4},
    {164, "Left Alt", 0xE2},
    {165, "Right Alt", 0xE6},
    {166, "Browser_Back", 0xCA},
    {167, "Browser_Forward", 0xCB},
    {168, "Browser_Refresh", 0xCD},
    {169, "Browser_Stop", 0xCC},
    {170, "Browser_Search", 0xC8},
    {171, "Browser_Favorites", 0xCE},
    {172, "Browser_Home", 0xC9},
    {173, "Volume_Mute", 0xC4},
    {174, "Volume_Down", 0xC6},
    {175, "Volume_Up", 0xC5},
    {176, "Media_Next_Track", 0xC0},
    {177, "Media_Prev_Track", 0xC1},
    {178, "Media_Stop", 0xC2},
    {179, "Media_Play_Pause", 0xC3},
    {180, "Launch_Mail", 0xC7},
    {181, "Launch_Media_Select", 0xD1},
    {182, "Launch_App1", 0x00},
    {183, "Launch_App2", 0x00},
    {186, "OEM_1", 0x33},
    {187, "OEM_Plus", 0x2E},
    {188, "OEM_Comma", 0x36},
    {189, "OEM_Minus", 0x2D},
    {190, "OEM_Period", 0x37},
    {191, "OEM_2", 0x38},
    {192, "OEM_3", 0x35},
    {219, "OEM_4", 0x2F},
    {220, "OEM_5", 0x31},
    {221, "OEM_6", 0x30},
    {222, "OEM_7", 0x34},
    {223, "OEM_8", 0x00},
    {255, "255", 0x00},
};

// FindKey searches by halves.
static_assert(std::is_sorted(std::begin(kKeys), std::end(kKeys),
                             [](const KeyTableEntry& a, const KeyTableEntry& b) { return a.vk < b.vk; }));

constexpr std::array<const char*, 256> BuildUsageNames()
{
    std::array<const char*, 256> names{};
    names.fill("");
    // Several keys share a usage (Ctrl and Left Ctrl, ...): the first key in
    // virtual-key order names it, then the modifiers get their fixed names.
    for (const KeyTableEntry& key : kKeys) {
        if (key.usage != 0 && names[key.usage][0] == '\0')
            names[key.usage] = key.name;
    }
    names[0xE0] = "Left Ctrl";
    names[0xE1] = "Left Shift";
    names[0xE2] = "Left Alt";
    names[0xE3] = "Win";
    names[0xE4] = "Right Ctrl";
    names[0xE5] = "Right Shift";
    names[0xE6] = "Right Alt";
    names[0xE7] = "Win";
    return names;
}

constexpr std::array<const char*, 256> kUsageNames = BuildUsageNames();

const KeyTableEntry* FindKey(int vk)
{
    const auto* it = std::lower_bound(std::begin(kKeys), std::end(kKeys), vk,
                                      [](const KeyTableEntry& key, int v) { return key.vk < v; });
    if (it == std::end(kKeys) || it->vk != vk)
        return nullptr;
    return it;
}

} // namespace

std::span<const KeyTableEntry> KeyTable()
{
    return kKeys;
}

const std::array<const char*, 256>& UsageNames()
{
    return kUsageNames;
}

QString KeyName(int vk)
{
    const KeyTableEntry* key = FindKey(vk);
    return key ? QString::fromLatin1(key->name) : QStringLiteral("None");
}

std::uint8_t KeyUsage(int vk)
{
    const KeyTableEntry* key = FindKey(vk);
    return key ? key->usage : 0;
}

QString UsageName(int usage)
{
    if (usage < 0 || usage >= static_cast<int>(kUsageNames.size()))
        return {};
    return QString::fromLatin1(kUsageNames[static_cast<std::size_t>(usage)]);
}

} // namespace orb
