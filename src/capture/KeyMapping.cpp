#include "capture/KeyMapping.h"

#include <Qt>

#include <algorithm>
#include <array>

#ifndef _WIN32
// The keysym values only; no Xlib needed.
#define XK_MISCELLANY
#define XK_LATIN1
#define XK_XKB_KEYS
#include <X11/XF86keysym.h>
#include <X11/keysymdef.h>
#endif

namespace orb
{
#ifndef _WIN32
namespace
{

constexpr KeysymVk kFixed[] = {
    {XK_BackSpace, 8},
    {XK_Tab, 9},
    {XK_ISO_Left_Tab, 9},
    {XK_Clear, 12},
    {XK_Return, 13},
    {XK_KP_Enter, 13},
    {XK_Shift_L, 16},
    {XK_Shift_R, 16},
    {XK_Control_L, 17},
    {XK_Control_R, 17},
    {XK_Alt_L, 18},
    {XK_Alt_R, 18},
    {XK_Meta_L, 18},
    {XK_Meta_R, 18},
    {XK_ISO_Level3_Shift, 18},
    {XK_Pause, 19},
    {XK_Caps_Lock, 20},
    {XK_Escape, 27},
    {XK_space, 32},
    {XK_Prior, 33},
    {XK_KP_Prior, 33},
    {XK_Next, 34},
    {XK_KP_Next, 34},
    {XK_End, 35},
    {XK_KP_End, 35},
    {XK_Home, 36},
    {XK_KP_Home, 36},
    {XK_Left, 37},
    {XK_KP_Left, 37},
    {XK_Up, 38},
    {XK_KP_Up, 38},
    {XK_Right, 39},
    {XK_KP_Right, 39},
    {XK_Down, 40},
    {XK_KP_Down, 40},
    {XK_Select, 41},
    {XK_Print, 44},
    {XK_Insert, 45},
    {XK_KP_Insert, 45},
    {XK_Delete, 46},
    {XK_KP_Delete, 46},
    {XK_Help, 47},
    {XK_Super_L, 91},
    {XK_Super_R, 92},
    {XK_Menu, 93},
    {XK_KP_Begin, 12},
    {XK_KP_Multiply, 106},
    {XK_KP_Add, 107},
    {XK_KP_Separator, 108},
    {XK_KP_Subtract, 109},
    {XK_KP_Decimal, 110},
    {XK_KP_Divide, 111},
    {XK_Num_Lock, 144},
    {XK_Scroll_Lock, 145},
    {XK_semicolon, 186},
    {XK_colon, 186},
    {XK_equal, 187},
    {XK_plus, 187},
    {XK_comma, 188},
    {XK_less, 188},
    {XK_minus, 189},
    {XK_underscore, 189},
    {XK_period, 190},
    {XK_greater, 190},
    {XK_slash, 191},
    {XK_question, 191},
    {XK_grave, 192},
    {XK_asciitilde, 192},
    {XK_bracketleft, 219},
    {XK_braceleft, 219},
    {XK_backslash, 220},
    {XK_bar, 220},
    {XK_bracketright, 221},
    {XK_braceright, 221},
    {XK_apostrophe, 222},
    {XK_quotedbl, 222},
    {XF86XK_Back, 166},
    {XF86XK_Forward, 167},
    {XF86XK_Refresh, 168},
    {XF86XK_Stop, 169},
    {XF86XK_Search, 170},
    {XF86XK_Favorites, 171},
    {XF86XK_HomePage, 172},
    {XF86XK_AudioMute, 173},
    {XF86XK_AudioLowerVolume, 174},
    {XF86XK_AudioRaiseVolume, 175},
    {XF86XK_AudioNext, 176},
    {XF86XK_AudioPrev, 177},
    {XF86XK_AudioStop, 178},
    {XF86XK_AudioPlay, 179},
    {XF86XK_Mail, 180},
    {XF86XK_AudioMedia, 181},
    {XF86XK_MyComputer, 182},
    {XF86XK_Calculator, 183},
};

constexpr std::size_t kRangeCount = 26 * 2 + 10 + 10 + 24;

// The fixed keys plus the runs: letters (both cases), digits, keypad digits, F1..F24.
constexpr auto BuildTable()
{
    std::array<KeysymVk, std::size(kFixed) + kRangeCount> table{};
    std::size_t n = 0;
    for (const KeysymVk& k : kFixed)
        table[n++] = k;
    for (int i = 0; i < 26; ++i) {
        table[n++] = {static_cast<std::uint32_t>(XK_a + i), 'A' + i};
        table[n++] = {static_cast<std::uint32_t>(XK_A + i), 'A' + i};
    }
    for (int i = 0; i < 10; ++i) {
        table[n++] = {static_cast<std::uint32_t>(XK_0 + i), '0' + i};
        table[n++] = {static_cast<std::uint32_t>(XK_KP_0 + i), 96 + i};
    }
    for (int i = 0; i < 24; ++i)
        table[n++] = {static_cast<std::uint32_t>(XK_F1 + i), 112 + i};
    return table;
}

constexpr auto kTable = BuildTable();

} // namespace

std::span<const KeysymVk> KeysymTable()
{
    return kTable;
}

int VkFromKeysym(std::uint32_t keysym)
{
    const auto it = std::find_if(kTable.begin(), kTable.end(),
                                 [keysym](const KeysymVk& k) { return k.keysym == keysym; });
    return it == kTable.end() ? 0 : it->vk;
}

int VkFromKeyLevels(std::uint32_t level0, std::uint32_t level1, bool numLock)
{
    if (numLock) {
        if (level1 >= XK_KP_0 && level1 <= XK_KP_9)
            return 96 + static_cast<int>(level1 - XK_KP_0);
        // The keypad's point, whether the layout writes it as a point or a comma.
        if (level1 == XK_KP_Decimal || level1 == XK_KP_Separator)
            return 110;
    }
    for (const std::uint32_t sym : {level0, level1})
        if (sym >= XK_0 && sym <= XK_9)
            return '0' + static_cast<int>(sym - XK_0);
    return VkFromKeysym(level0);
}
#else
// Windows key events carry the virtual key itself.
std::span<const KeysymVk> KeysymTable()
{
    return {};
}

int VkFromKeysym(std::uint32_t)
{
    return 0;
}

int VkFromKeyLevels(std::uint32_t, std::uint32_t, bool)
{
    return 0;
}
#endif

int VkFromQtKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    struct QtVk {
        int key, vk;
    };
    static constexpr QtVk kKeys[] = {
        {Qt::Key_Backspace, 8},
        {Qt::Key_Tab, 9},
        {Qt::Key_Backtab, 9},
        {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18},
        {Qt::Key_AltGr, 18},
        {Qt::Key_Pause, 19},
        {Qt::Key_CapsLock, 20},
        {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},
        {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35},
        {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},
        {Qt::Key_Select, 41},
        {Qt::Key_Print, 44},
        {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},
        {Qt::Key_Help, 47},
        {Qt::Key_Super_L, 91},
        {Qt::Key_Meta, 91},
        {Qt::Key_Super_R, 92},
        {Qt::Key_Menu, 93},
        {Qt::Key_Asterisk, 106},
        {Qt::Key_NumLock, 144},
        {Qt::Key_ScrollLock, 145},
        {Qt::Key_Semicolon, 186},
        {Qt::Key_Equal, 187},
        {Qt::Key_Comma, 188},
        {Qt::Key_Minus, 189},
        {Qt::Key_Period, 190},
        {Qt::Key_Slash, 191},
        {Qt::Key_QuoteLeft, 192},
        {Qt::Key_BracketLeft, 219},
        {Qt::Key_Backslash, 220},
        {Qt::Key_BracketRight, 221},
        {Qt::Key_Apostrophe, 222},
        {Qt::Key_Back, 166},
        {Qt::Key_Forward, 167},
        {Qt::Key_Refresh, 168},
        {Qt::Key_Stop, 169},
        {Qt::Key_Search, 170},
        {Qt::Key_Favorites, 171},
        {Qt::Key_HomePage, 172},
        {Qt::Key_VolumeMute, 173},
        {Qt::Key_VolumeDown, 174},
        {Qt::Key_VolumeUp, 175},
        {Qt::Key_MediaNext, 176},
        {Qt::Key_MediaPrevious, 177},
        {Qt::Key_MediaStop, 178},
        {Qt::Key_MediaPlay, 179},
        {Qt::Key_LaunchMail, 180},
        {Qt::Key_LaunchMedia, 181},
        {Qt::Key_Launch0, 182},
        {Qt::Key_Launch1, 183},
    };
    for (const QtVk& k : kKeys) {
        if (k.key == key)
            return k.vk;
    }
    return 0;
}

} // namespace orb
