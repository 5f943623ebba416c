#include "keys/KeyTable.h"

#include <gtest/gtest.h>

#include <set>

namespace orb
{
namespace
{

struct VkCase {
    int vk;
    const char* name;
    int usage;
};

TEST(KeyTable, NameAndUsageOfVirtualKeys)
{
    const VkCase cases[] = {
        {8, "Backspace", 0x2A},
        {12, "Clear", 0x9C},
        {16, "Shift", 0xE1},
        {17, "Ctrl", 0xE0},
        {18, "Alt", 0xE2},
        {32, "Space bar", 0x2C},
        {48, "0", 0x27},
        {49, "1", 0x1E},
        {57, "9", 0x26},
        {65, "A", 0x04},
        {90, "Z", 0x1D},
        {91, "Left Windows", 0xE3},
        {92, "Right Windows", 0xE7},
        {96, "0 (numeric pad)", 0x62},
        {97, "1 (numeric pad)", 0x59},
        {105, "9 (numeric pad)", 0x61},
        {109, "Subtract (numeric pad)", 0x56},
        {112, "F1", 0x3A},
        {116, "F5", 0x3E},
        {123, "F12", 0x45},
        {124, "F13", 0x68},
        {135, "F24", 0x73},
        {160, "Left Shift", 0xE1},
        {162, "Left Ctrl", 0xE0},
        {165, "Right Alt", 0xE6},
        {176, "Media_Next_Track", 0xC0},
        {181, "Launch_Media_Select", 0xD1},
        {182, "Launch_App1", 0},
        {183, "Launch_App2", 0},
        {186, "OEM_1", 0x33},
        {222, "OEM_7", 0x34},
        {223, "OEM_8", 0},
        {255, "255", 0},
        // Not in the table.
        {0, "None", 0},
        {10, "None", 0},
        {254, "None", 0},
        {256, "None", 0},
        {-1, "None", 0},
    };
    for (const VkCase& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(KeyName(c.vk), QString::fromLatin1(c.name));
        EXPECT_EQ(KeyUsage(c.vk), c.usage);
    }
}

TEST(KeyTable, VirtualKeysAreUniqueAndNamed)
{
    std::set<int> seen;
    for (const KeyTableEntry& key : KeyTable()) {
        EXPECT_TRUE(seen.insert(key.vk).second) << key.vk;
        EXPECT_NE(QString::fromLatin1(key.name), QString()) << key.vk;
        EXPECT_EQ(KeyName(key.vk), QString::fromLatin1(key.name));
    }
    EXPECT_EQ(seen.size(), 142u);
}

TEST(UsageNames, SharedAndModifierUsages)
{
    const std::pair<int, const char*> cases[] = {
        {0xE0, "Left Ctrl"},
        {0xE1, "Left Shift"},
        {0xE2, "Left Alt"},
        {0xE3, "Win"},
        {0xE4, "Right Ctrl"},
        {0xE5, "Right Shift"},
        {0xE6, "Right Alt"},
        {0xE7, "Win"},
        {0x04, "A"},
        {0x27, "0"},
        {0x62, "0 (numeric pad)"},
        {0x3E, "F5"},
        {0xC0, "Media_Next_Track"},
        {0x9C, "Clear"},
        // No key produces these.
        {0x00, ""},
        {0x01, ""},
        {0x64, ""},
        {0xFF, ""},
        {-1, ""},
        {256, ""},
    };
    for (const auto& [usage, name] : cases) {
        SCOPED_TRACE(usage);
        EXPECT_EQ(UsageName(usage), QString::fromLatin1(name));
    }
}

TEST(UsageNames, ReverseOfKeyTableOutsideModifiers)
{
    for (const KeyTableEntry& key : KeyTable()) {
        if (key.usage == 0 || key.usage >= 0xE0)
            continue;
        SCOPED_TRACE(key.vk);
        EXPECT_EQ(UsageName(key.usage), QString::fromLatin1(key.name));
    }
    // VK 17 and VK 162 share E0, shown by the left-hand name.
    EXPECT_EQ(UsageName(KeyUsage(17)), "Left Ctrl");
    EXPECT_EQ(UsageName(KeyUsage(91)), "Win");
}

} // namespace
} // namespace orb
