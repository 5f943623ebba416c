#include "image/Bits.h"

#include <gtest/gtest.h>

using namespace orb;

TEST(Bits, TestSetClearWithBitNumberModulo32)
{
    struct Case {
        std::uint32_t value;
        int n;
        bool test;
        std::uint32_t set;
        std::uint32_t cleared;
    };
    const Case cases[] = {
        {0x00, 0, false, 0x01, 0x00},
        {0x45, 2, true, 0x45, 0x41},
        {0x45, 7, false, 0xC5, 0x45},
        {0x80, 7, true, 0x80, 0x00},
        {0x80000000u, 31, true, 0x80000000u, 0x00},
        {0x01, 32, true, 0x01, 0x00},               // 32 is bit 0
        {0x00, 39, false, 0x80, 0x00},              // 39 is bit 7
        {0x80000000u, -1, true, 0x80000000u, 0x00}, // wraps to bit 31
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(BitTest(c.value, c.n), c.test);
        EXPECT_EQ(BitSet(c.value, c.n), c.set);
        EXPECT_EQ(BitClear(c.value, c.n), c.cleared);
    }
    static_assert(BitSet(0, 3) == 8 && BitTest(8, 3) && BitClear(0xFF, 0) == 0xFE);
}
