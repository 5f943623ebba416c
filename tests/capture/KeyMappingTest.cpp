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
