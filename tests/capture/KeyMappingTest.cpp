#include "capture/KeyMapping.h"
#include "keys/KeyTable.h"

#include <gtest/gtest.h>

#include <set>

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/XF86keysym.h>
#include <X11/keysymdef.h>

namespace orb
{
namespace
{

TEST(KeyMapping, KeysymsToVirtualKeys)
{
    const std::pair<std::uint32_t, int> cases[] = {
        {XK_a, 65},         {XK_A, 65},           {XK_z, 90},
        {XK_c, 67},         {XK_0, 48},           {XK_9, 57},
        {XK_KP_0, 96},      {XK_KP_9, 105},       {XK_F1, 112},
        {XK_F12, 123},      {XK_F24, 135},        {XK_Shift_L, 16},
        {XK_Shift_R, 16},   {XK_Control_L, 17},   {XK_Control_R, 17},
        {XK_Alt_L, 18},     {XK_Super_L, 91},     {XK_Super_R, 92},
        {XK_Menu, 93},      {XK_Return, 13},      {XK_space, 32},
        {XK_Escape, 27},    {XK_BackSpace, 8},    {XK_Tab, 9},
        {XK_Delete, 46},    {XK_Left, 37},        {XK_Down, 40},
        {XK_KP_Insert, 45}, {XK_KP_Add, 107},     {XK_semicolon, 186},
        {XK_grave, 192},    {XK_apostrophe, 222}, {XF86XK_AudioMute, 173},
        {XF86XK_Back, 166}, {XK_Num_Lock, 144},   {0, 0},
        {XK_eacute, 0},
    };
    for (auto [keysym, vk] : cases)
        EXPECT_EQ(VkFromKeysym(keysym), vk) << std::hex << keysym;
}

// A key by the keysyms of its first two levels, as Windows names it.
TEST(KeyMapping, KeysByTheirLevels)
{
    struct Case {
        std::uint32_t level0, level1;
        bool numLock;
        int vk;
    };
    const Case cases[] = {
        {XK_KP_End, XK_KP_1, false, 35},          // keypad 1, NumLock off: End
        {XK_KP_End, XK_KP_1, true, 97},           // NumLock on: Num 1
        {XK_KP_Insert, XK_KP_0, true, 96},        //
        {XK_KP_Delete, XK_KP_Decimal, true, 110}, // the keypad's point
        {XK_KP_Delete, XK_KP_Separator, true, 110},
        {XK_KP_Delete, XK_KP_Decimal, false, 46},
        {XK_KP_Add, XK_KP_Add, true, 107},
        {XK_1, XK_exclam, false, 49},      // US: Shift+1 is the key 1
        {XK_ampersand, XK_1, false, 49},   // AZERTY: the digit on the shifted level
        {XK_quotedbl, XK_3, false, 51},    // even where the first level has a key of its own
        {XK_minus, XK_6, true, 54},        //
        {XK_a, XK_A, true, 65},            //
        {XK_ugrave, XK_percent, false, 0}, // nothing in the key table
    };
    for (const Case& c : cases)
        EXPECT_EQ(VkFromKeyLevels(c.level0, c.level1, c.numLock), c.vk)
            << std::hex << c.level0 << " " << c.level1 << " " << c.numLock;
}

TEST(KeyMapping, EveryMappedKeyIsInTheKeyTable)
{
    std::set<int> known;
    for (const KeyTableEntry& key : KeyTable())
        known.insert(key.vk);
    std::set<std::uint32_t> keysyms;
    for (const KeysymVk& k : KeysymTable()) {
        EXPECT_TRUE(known.count(k.vk))
            << "keysym " << std::hex << k.keysym << " gives vk " << std::dec << k.vk;
        EXPECT_TRUE(keysyms.insert(k.keysym).second) << "keysym twice: " << std::hex << k.keysym;
    }
}

TEST(KeyMapping, QtKeysToVirtualKeys)
{
    const std::pair<int, int> cases[] = {
        {Qt::Key_A, 65},       {Qt::Key_C, 67},      {Qt::Key_5, 53},     {Qt::Key_F5, 116},
        {Qt::Key_Control, 17}, {Qt::Key_Shift, 16},  {Qt::Key_Alt, 18},   {Qt::Key_Return, 13},
        {Qt::Key_Space, 32},   {Qt::Key_Minus, 189}, {Qt::Key_Eacute, 0}, {Qt::Key_unknown, 0},
    };
    for (auto [key, vk] : cases)
        EXPECT_EQ(VkFromQtKey(key), vk) << std::hex << key;
}

} // namespace
} // namespace orb
