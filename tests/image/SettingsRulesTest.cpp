#include "image/SettingsRules.h"
#include "image/DefaultImages.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orb;

namespace
{

struct Sections {
    ParameterABytes a{};
    ParameterBBytes b{};
    FireKeyBytes fire{};
};

Sections FromImage(const ImageBytes& image)
{
    Sections s;
    std::copy_n(image.begin() + ParameterAAddr, ParameterASize, s.a.begin());
    std::copy_n(image.begin() + ParameterBAddr, ParameterBSize, s.b.begin());
    std::copy_n(image.begin() + FireKeyAddr, FireKeySize, s.fire.begin());
    return s;
}

Sections DefaultSections()
{
    const auto image = LoadDefaultImage(1);
    EXPECT_TRUE(image.has_value());
    return image ? FromImage(*image) : Sections{};
}

template <std::size_t N> std::array<std::uint8_t, N> Complement(const std::array<std::uint8_t, N>& bytes)
{
    std::array<std::uint8_t, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = static_cast<std::uint8_t>(~bytes[i]);
    return out;
}

// Controls as they stand after showing the sections.
SettingsControls Shown(const Sections& s)
{
    SettingsControls c;
    ShowSettings(s.a, s.b, s.fire, c);
    return c;
}

// Stores the controls over sections whose every bit differs from `reference`,
// so a bit the rules forget to write shows up as a difference.
Sections StoredOverComplement(const SettingsControls& c, const Sections& reference)
{
    Sections out{Complement(reference.a), Complement(reference.b), Complement(reference.fire)};
    StoreSettings(c, out.a, out.b, out.fire);
    return out;
}

} // namespace

TEST(SettingsRules, SensorOrientationCodesBothWays)
{
    const std::uint8_t codes[] = {0x7, 0x2, 0x4, 0x1, 0x6, 0x5, 0x0, 0x3};
    for (int index = 0; index < SensorOriCount; ++index) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(SensorOriCode(index).has_value());
        EXPECT_EQ(*SensorOriCode(index), codes[index]);
        EXPECT_EQ(SensorOriIndex(codes[index]), index);
    }
    EXPECT_FALSE(SensorOriCode(-1).has_value());
    EXPECT_FALSE(SensorOriCode(8).has_value());
}

TEST(SettingsRules, LedCountNibbleOnlyForFourToThirteen)
{
    EXPECT_EQ(LedCountNibble(13), 0);
    EXPECT_EQ(LedCountNibble(10), 3);
    EXPECT_EQ(LedCountNibble(4), 9);
    EXPECT_FALSE(LedCountNibble(3).has_value());
    EXPECT_FALSE(LedCountNibble(14).has_value());
    EXPECT_EQ(LedCountFromNibble(0), 13);
    EXPECT_EQ(LedCountFromNibble(9), 4);
    for (std::uint8_t n = 10; n < 16; ++n)
        EXPECT_FALSE(LedCountFromNibble(n).has_value()) << int(n);
}

// Show then store gives back sections A and B and the fire count/interval,
// except 0x001 bits 3-7 and 0x003 bits 0-2 (carried, never written) and bit 4
// of 0x032 (always written as 0).
TEST(SettingsRules, ShowThenStoreReproducesTheSections)
{
    struct Case {
        const char* name;
        void (*edit)(Sections&);
    };
    const Case cases[] = {
        {"built-in default (MCU LED)", [](Sections&) {}},
        {"smart LED, CPI breathing, lights off, mode B",
         [](Sections& s) {
             s.a[0x00] = 0x80 | 0x30 | 0x0A; // smart LED, orientation 011, fire Fn, no save
             s.a[0x04] = 0xFF;
             s.b[2] = 0x09;
             s.b[3] = 0xF6;
             s.b[4] = 0x80;
             s.b[5] = 0x7F;
         }},
        {"every orientation code and edge values",
         [](Sections& s) {
             s.a[0x00] = 0x05; // orientation 000, MCU LED
             s.a[0x01] = 0xFF; // all three long presses
             s.a[0x02] = 7;    // seven levels
             s.a[0x03] = 0x97; // 4 LEDs, 6-line scan, low bits set
             s.a[0x04] = 0x55; // modes 2, 4, 6
             for (std::size_t i = 0x05; i < 0x2F; ++i)
                 s.a[i] = static_cast<std::uint8_t>(i * 37);
             for (std::size_t i = 0x06; i < 0x0D; ++i)
                 s.a[i] = 10;
             for (std::size_t i = 0x0D; i < 0x14; ++i)
                 s.a[i] = 6;
             s.b[0] = 6;
             s.b[1] = 0xF9;
             s.b[2] = 0xEF; // mode 7, step 7, lights off
             s.b[3] = static_cast<std::uint8_t>(0xFF - s.b[2]);
             s.b[6] = 0;
             s.b[7] = 0x12;
             s.fire[FireCountOffset] = 126; // fire count 127
             s.fire[FireIntervalOffset] = 0;
         }},
        {"orientation 101 with 13 LEDs",
         [](Sections& s) {
             s.a[0x00] = 0x50;
             s.a[0x03] = 0x08;
             s.fire[FireCountOffset] = 1;
             s.fire[FireIntervalOffset] = 255;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sections original = DefaultSections();
        c.edit(original);
        const Sections stored = StoredOverComplement(Shown(original), original);

        ParameterABytes maskA;
        maskA.fill(0xFF);
        maskA[0x01] = 0x07;
        maskA[0x03] = 0xF8;
        maskA[0x2F] = 0x00; // the checksum is JoinImage's
        for (std::size_t i = 0; i < ParameterASize; ++i)
            EXPECT_EQ(stored.a[i] & maskA[i], original.a[i] & maskA[i]) << "byte 0x" << std::hex << i;
        for (std::size_t i = 0; i < ParameterBSize; ++i) {
            const std::uint8_t mask = i == 2 ? 0xEF : 0xFF;
            EXPECT_EQ(stored.b[i] & mask, original.b[i] & mask) << "byte 0x" << std::hex << 0x30 + i;
        }
        EXPECT_EQ(stored.b[2] & 0x10, 0);
        EXPECT_EQ(stored.fire[FireCountOffset], original.fire[FireCountOffset]);
        EXPECT_EQ(stored.fire[FireIntervalOffset], original.fire[FireIntervalOffset]);
        // Carried bits stay as the sections held them.
        const Sections before{Complement(original.a), Complement(original.b), Complement(original.fire)};
        EXPECT_EQ(stored.a[0x01] & 0xF8, before.a[0x01] & 0xF8);
        EXPECT_EQ(stored.a[0x03] & 0x07, before.a[0x03] & 0x07);
        EXPECT_EQ(stored.fire[0], before.fire[0]);
    }
}

TEST(SettingsRules, StoreLeavesWhatTheControlsDoNotSay)
{
    const Sections original = DefaultSections();
    SettingsControls c = Shown(original);
    c.mcpi = c.fireFn = c.lcpi = c.noSave = c.ledType = c.mcuScan = PairChoice::Neither;
    c.sensorOri = -1;
    c.norLedStep.reset();
    c.keyModeRgb.fill(std::nullopt);
    c.cpiRgb.fill(std::nullopt);
    c.vendorId.reset();
    c.fireTime.reset();
    for (const int count : {3, 14, 0}) {
        SCOPED_TRACE(count);
        c.mcuLedNum = count;
        Sections s = original;
        StoreSettings(c, s.a, s.b, s.fire);
        EXPECT_EQ(s.a[0x00], original.a[0x00]);
        EXPECT_EQ(s.a[0x03], original.a[0x03]); // count nibble kept
        EXPECT_EQ(s.a[0x04], original.a[0x04]); // no LED type: modes kept
        EXPECT_TRUE(std::equal(s.a.begin() + 0x14, s.a.begin() + 0x2F, original.a.begin() + 0x14));
        EXPECT_EQ(s.a[0x05], original.a[0x05]);
        EXPECT_EQ(s.b[6], original.b[6]);
        EXPECT_EQ(s.fire[FireIntervalOffset], original.fire[FireIntervalOffset]);
        // Without a LED type, 0x032 keeps only the lights-off bit.
        EXPECT_EQ(s.b[2], 0x00);
        EXPECT_EQ(s.b[3], 0xFF);
    }
}

TEST(SettingsRules, StoreConversions)
{
    struct Case {
        const char* name;
        void (*set)(SettingsControls&);
        std::size_t section; // 0: A, 1: B, 2: fire key
        std::size_t offset;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"colour edit keeps the low 8 bits", [](SettingsControls& c) { c.cpiRgb[1] = 300; }, 0, 0x1B, 44},
        {"key mode colour", [](SettingsControls& c) { c.keyModeRgb[5] = 511; }, 0, 0x19, 0xFF},
        {"identity 255", [](SettingsControls& c) { c.productId = 255; }, 1, 7, 255},
        {"no current level", [](SettingsControls& c) { c.currentCpi = -1; }, 1, 0, 0xFF},
        {"its complement", [](SettingsControls& c) { c.currentCpi = -1; }, 1, 1, 0x00},
        {"no level count", [](SettingsControls& c) { c.cpiStep = -1; }, 0, 0x02, 1},
        {"no CPI value", [](SettingsControls& c) { c.cpiValue[6] = -1; }, 0, 0x0C, 0xFF},
        {"fire count 3 is 2", [](SettingsControls& c) { c.fireCount = 1; }, 2, FireCountOffset, 2},
        {"fire count 127 is 126", [](SettingsControls& c) { c.fireCount = 125; }, 2, FireCountOffset, 126},
        {"key mode B", [](SettingsControls& c) { c.keyMode = 1; }, 1, 4, 0x80},
        {"key mode unselected is A", [](SettingsControls& c) { c.keyMode = -1; }, 1, 5, 0xFF},
        {"MCU step 8 and no mode give 000",
         [](SettingsControls& c) {
             c.mcuStep = 8;
             c.mcuCurrentMode = -1;
             c.ledOff = PairChoice::First;
         },
         1, 2, 0x08},
        {"smart LED: 0x004 all set",
         [](SettingsControls& c) {
             c.ledType = PairChoice::First;
             c.mcuModes.fill(false);
         },
         0, 0x04, 0xFF},
        {"smart LED: no MCU mode or step",
         [](SettingsControls& c) {
             c.ledType = PairChoice::First;
             c.norLedCpi = true;
             c.ledOff = PairChoice::Second;
         },
         1, 2, 0x01},
        {"MCU LED: bit 0 set, modes 1 and 7",
         [](SettingsControls& c) {
             c.ledType = PairChoice::Second;
             c.mcuModes = {true, false, false, false, false, false, true};
         },
         0, 0x04, 0x83},
        {"orientation 270", [](SettingsControls& c) { c.sensorOri = 3; }, 0, 0x00, 0x15},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Sections s = DefaultSections(); // 0x000 = 0x45: MCU LED, orientation 180
        SettingsControls c = Shown(s);
        k.set(c);
        StoreSettings(c, s.a, s.b, s.fire);
        const std::uint8_t got = k.section == 0   ? s.a[k.offset]
                                 : k.section == 1 ? s.b[k.offset]
                                                  : s.fire[k.offset];
        EXPECT_EQ(got, k.expected);
    }
}

TEST(SettingsRules, ShowLeavesWhatTheBytesDoNotSay)
{
    Sections s = DefaultSections();
    s.a[0x03] = 0xC8;  // nibble 12
    s.a[0x00] |= 0x80; // smart LED
    s.b[2] = 0x02;     // not CPI breathing
    SettingsControls c;
    c.mcuLedNum = 7;
    c.norLedCpi = false;
    c.mcuCurrentMode = 4;
    c.mcuStep = 5;
    ShowSettings(s.a, s.b, s.fire, c);
    EXPECT_EQ(c.mcuLedNum, 7);
    EXPECT_FALSE(c.norLedCpi);
    // The MCU fields are not the smart LED's business.
    EXPECT_EQ(c.mcuCurrentMode, 4);
    EXPECT_EQ(c.mcuStep, 5);
    EXPECT_EQ(c.mcuScan, PairChoice::First);
    EXPECT_EQ(c.ledType, PairChoice::First);

    s.b[2] = 0x01;
    ShowSettings(s.a, s.b, s.fire, c);
    EXPECT_TRUE(c.norLedCpi);
}
