#include "image/SettingsRules.h"

#include "image/Bits.h"

#include <algorithm>

namespace orb
{

namespace
{

// Codes of the orientation list items, bits 6..4 of byte 0x000.
constexpr std::array<std::uint8_t, SensorOriCount> kSensorOriCodes{0b111, 0b010, 0b100, 0b001,
                                                                   0b110, 0b101, 0b000, 0b011};

constexpr std::uint8_t Low8(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t StorePair(std::uint8_t byte, int bit, PairChoice choice)
{
    switch (choice) {
    case PairChoice::First:
        return static_cast<std::uint8_t>(BitSet(byte, bit));
    case PairChoice::Second:
        return static_cast<std::uint8_t>(BitClear(byte, bit));
    case PairChoice::Neither:
        break;
    }
    return byte;
}

std::uint8_t StoreFlag(std::uint8_t byte, int bit, bool on)
{
    return static_cast<std::uint8_t>(on ? BitSet(byte, bit) : BitClear(byte, bit));
}

void StoreEdit(std::uint8_t& byte, const std::optional<int>& value)
{
    if (value)
        byte = Low8(*value);
}

PairChoice ShowPair(std::uint8_t byte, int bit)
{
    return BitTest(byte, bit) ? PairChoice::First : PairChoice::Second;
}

} // namespace

std::optional<std::uint8_t> SensorOriCode(int index)
{
    if (index < 0 || index >= SensorOriCount)
        return std::nullopt;
    return kSensorOriCodes[static_cast<std::size_t>(index)];
}

int SensorOriIndex(std::uint8_t code)
{
    code &= 0x07;
    for (int i = 0; i < SensorOriCount; ++i)
        if (kSensorOriCodes[static_cast<std::size_t>(i)] == code)
            return i;
    return -1; // not reached: the eight codes are all there
}

std::optional<std::uint8_t> LedCountNibble(int count)
{
    if (count < 4 || count > 13)
        return std::nullopt;
    return static_cast<std::uint8_t>(13 - count);
}

std::optional<int> LedCountFromNibble(std::uint8_t nibble)
{
    if (nibble > 9)
        return std::nullopt;
    return 13 - nibble;
}

void StoreSettings(const SettingsControls& c, ParameterABytes& a, ParameterBBytes& b, FireKeyBytes& fire)
{
    // 0x000: option flags, orientation, LED type.
    std::uint8_t flags = a[0x00];
    flags = StorePair(flags, 0, c.mcpi);
    flags = StorePair(flags, 1, c.fireFn);
    flags = StorePair(flags, 2, c.lcpi);
    flags = StorePair(flags, 3, c.noSave);
    if (const auto code = SensorOriCode(c.sensorOri))
        flags = static_cast<std::uint8_t>((flags & 0x8F) | (*code << 4));
    flags = StorePair(flags, 7, c.ledType);
    a[0x00] = flags;

    // 0x001: long presses that switch the key mode; bits 3-7 are the mouse's.
    a[0x01] = StoreFlag(a[0x01], 0, c.midPress);
    a[0x01] = StoreFlag(a[0x01], 1, c.cpiPress);
    a[0x01] = StoreFlag(a[0x01], 2, c.gunPress);

    a[0x02] = Low8(c.cpiStep + 2);

    // 0x003: scan type and LED count; bits 0-2 are the mouse's.
    a[0x03] = StorePair(a[0x03], 3, c.mcuScan);
    if (c.mcuLedNum)
        if (const auto nibble = LedCountNibble(*c.mcuLedNum))
            a[0x03] = static_cast<std::uint8_t>((a[0x03] & 0x0F) | (*nibble << 4));

    // 0x004: enabled MCU LED modes; the smart LED has them all set.
    if (c.ledType == PairChoice::First) {
        a[0x04] = 0xFF;
    } else if (c.ledType == PairChoice::Second) {
        std::uint8_t modes = static_cast<std::uint8_t>(BitSet(a[0x04], 0));
        for (int k = 1; k <= 7; ++k)
            modes = StoreFlag(modes, k, c.mcuModes[static_cast<std::size_t>(k - 1)]);
        a[0x04] = modes;
    }

    StoreEdit(a[0x05], c.norLedStep);
    for (std::size_t n = 0; n < 7; ++n) {
        a[0x06 + n] = Low8(c.cpiValue[n]);
        a[0x0D + n] = Low8(c.cpiColour[n]);
    }
    for (std::size_t i = 0; i < c.keyModeRgb.size(); ++i)
        StoreEdit(a[0x14 + i], c.keyModeRgb[i]);
    for (std::size_t i = 0; i < c.cpiRgb.size(); ++i)
        StoreEdit(a[0x1A + i], c.cpiRgb[i]);

    // Section B: each value with its complement.
    b[0] = Low8(c.currentCpi);
    b[1] = static_cast<std::uint8_t>(0xFF - b[0]);

    std::uint8_t led = 0;
    if (c.ledType == PairChoice::First) {
        if (c.norLedCpi)
            led = 0x01;
    } else if (c.ledType == PairChoice::Second) {
        if (c.mcuCurrentMode >= 0 && c.mcuCurrentMode <= 6)
            led = static_cast<std::uint8_t>(c.mcuCurrentMode + 1);
        if (c.mcuStep && *c.mcuStep >= 0 && *c.mcuStep <= 7)
            led = static_cast<std::uint8_t>(led | (*c.mcuStep << 5));
    }
    led = StorePair(led, 3, c.ledOff);
    b[2] = led;
    b[3] = static_cast<std::uint8_t>(0xFF - b[2]);

    b[4] = c.keyMode == 1 ? 0x80 : 0x00;
    b[5] = static_cast<std::uint8_t>(0xFF - b[4]);

    StoreEdit(b[6], c.vendorId);
    StoreEdit(b[7], c.productId);

    fire[FireCountOffset] = Low8(c.fireCount + 1);
    StoreEdit(fire[FireIntervalOffset], c.fireTime);
}

void ShowSettings(const ParameterABytes& a, const ParameterBBytes& b, const FireKeyBytes& fire,
                  SettingsControls& c)
{
    c.mcpi = ShowPair(a[0x00], 0);
    c.fireFn = ShowPair(a[0x00], 1);
    c.lcpi = ShowPair(a[0x00], 2);
    c.noSave = ShowPair(a[0x00], 3);
    c.sensorOri = SensorOriIndex(static_cast<std::uint8_t>(a[0x00] >> 4));
    c.ledType = ShowPair(a[0x00], 7);

    c.midPress = BitTest(a[0x01], 0);
    c.cpiPress = BitTest(a[0x01], 1);
    c.gunPress = BitTest(a[0x01], 2);

    // cb_CPIStep holds the counts 2..7: a damaged count shows as the nearest
    // of them, so that every later store writes the count that is shown.
    c.cpiStep = std::clamp(a[0x02] - 2, 0, 5);

    c.mcuScan = ShowPair(a[0x03], 3);
    if (const auto count = LedCountFromNibble(static_cast<std::uint8_t>(a[0x03] >> 4)))
        c.mcuLedNum = *count;

    for (int k = 1; k <= 7; ++k)
        c.mcuModes[static_cast<std::size_t>(k - 1)] = BitTest(a[0x04], k);

    c.norLedStep = a[0x05];
    for (std::size_t n = 0; n < 7; ++n) {
        c.cpiValue[n] = a[0x06 + n];
        c.cpiColour[n] = a[0x0D + n];
    }
    for (std::size_t i = 0; i < c.keyModeRgb.size(); ++i)
        c.keyModeRgb[i] = a[0x14 + i];
    for (std::size_t i = 0; i < c.cpiRgb.size(); ++i)
        c.cpiRgb[i] = a[0x1A + i];

    c.currentCpi = b[0];

    if (c.ledType == PairChoice::First) {
        if ((b[2] & 0x07) == 0x01)
            c.norLedCpi = true;
    } else {
        c.mcuCurrentMode = (b[2] & 0x07) - 1;
        c.mcuStep = b[2] >> 5;
    }
    c.ledOff = ShowPair(b[2], 3);

    c.keyMode = BitTest(b[4], 7) ? 1 : 0;
    c.vendorId = b[6];
    c.productId = b[7];

    c.fireCount = fire[FireCountOffset] - 1;
    c.fireTime = fire[FireIntervalOffset];
}

} // namespace orb
