#include "image/ConfigImage.h"

#include <algorithm>

namespace orb
{

const ParameterABytes FactoryParameterA = {
    0xFF, 0xFE, 0x04, 0x00, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x01, 0x04, 0x03,
    0x00, 0x02, 0x05, 0x06, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x79,
};

const ParameterBBytes FactoryParameterB = {0x01, 0xFE, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF};

// Nine key codes, type byte first.
const std::array<std::uint8_t, KeysPerMode* KeyCodeSize> FactoryKeys = {
    0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x01, 0x02, 0x00, 0x01, 0x08, 0x00, 0x01, 0x10,
    0x00, 0x05, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x02, 0x08, 0x07, 0x09, 0x00, 0x00,
};

const FireKeyBytes FactoryFireKey = {0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x64, 0xFC, 0x70};

std::uint8_t SectionSum(const std::uint8_t* bytes, std::size_t count)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return static_cast<std::uint8_t>(sum ^ 0x5A);
}

namespace
{

template <std::size_t N> void SetChecksum(std::array<std::uint8_t, N>& section)
{
    section[N - 1] = SectionSum(section.data(), N - 1);
}

template <std::size_t N> bool ChecksumOk(const std::array<std::uint8_t, N>& section)
{
    return section[N - 1] == SectionSum(section.data(), N - 1);
}

void FillFactoryProfile(ProfileKeysBytes& section)
{
    section.fill(0xFF);
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), section.begin() + ModeAKeysOffset);
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), section.begin() + ModeBKeysOffset);
    SetChecksum(section);
}

template <std::size_t N>
void CopyTo(ImageBytes& image, std::size_t addr, const std::array<std::uint8_t, N>& from)
{
    static_assert(N <= ImageSize);
    std::copy(from.begin(), from.end(), image.begin() + static_cast<std::ptrdiff_t>(addr));
}

template <std::size_t N>
void CopyFrom(const ImageBytes& image, std::size_t addr, std::array<std::uint8_t, N>& to)
{
    const auto first = image.begin() + static_cast<std::ptrdiff_t>(addr);
    std::copy(first, first + static_cast<std::ptrdiff_t>(N), to.begin());
}

static_assert(ParameterAAddr + ParameterASize <= ParameterBAddr);
static_assert(ParameterBAddr + ParameterBSize <= ProfileKeysAddr);
static_assert(ProfileKeysAddr + ProfileKeysSize <= FileTypeMarkerAddr);
static_assert(FileTypeMarkerAddr < Block80Addr);
static_assert(Block80Addr + Block80Size <= BlockB0Addr);
static_assert(BlockB0Addr + BlockB0Size <= BlockD0Addr);
static_assert(BlockD0Addr + BlockD0Size <= FireKeyAddr);
static_assert(FireKeyAddr + FireKeySize <= MacroAreaAddr);
static_assert(MacroAreaAddr + MacroAreaSize == ImageSize);
static_assert(ModeBKeysOffset + KeysPerMode * KeyCodeSize == ProfileKeysSize - 1);

} // namespace

bool CheckParameterASection(ParameterABytes& section)
{
    if (ChecksumOk(section))
        return false;
    section = FactoryParameterA;
    SetChecksum(section);
    return true;
}

bool CheckParameterBSection(ParameterBBytes& section)
{
    // Each pair is a value and its complement; a broken pair gets its factory value.
    struct Pair {
        std::size_t at;
        std::uint8_t value;
    };
    static constexpr Pair pairs[] = {{0, 0x01}, {2, 0x01}, {4, 0x00}};
    bool repaired = false;
    for (const Pair& p : pairs) {
        if (section[p.at] + section[p.at + 1] != 0xFF) {
            section[p.at] = p.value;
            section[p.at + 1] = static_cast<std::uint8_t>(0xFF - p.value);
            repaired = true;
        }
    }
    return repaired;
}

bool CheckProfileSection(ProfileKeysBytes& section)
{
    if (ChecksumOk(section))
        return false;
    FillFactoryProfile(section);
    return true;
}

bool CheckFireKeySection(FireKeyBytes& section)
{
    if (ChecksumOk(section))
        return false;
    section = FactoryFireKey;
    SetChecksum(section);
    return true;
}

void ConfigImage::SplitImage()
{
    CopyFrom(ImageBuf, ParameterAAddr, ParameterA);
    CheckParameterASection(ParameterA);
    CopyFrom(ImageBuf, ParameterBAddr, ParameterB);
    CheckParameterBSection(ParameterB);
    CopyFrom(ImageBuf, ProfileKeysAddr, ProfileKeys);
    CheckProfileSection(ProfileKeys);
    CopyFrom(ImageBuf, Block80Addr, Block80);
    CopyFrom(ImageBuf, BlockB0Addr, BlockB0);
    CopyFrom(ImageBuf, BlockD0Addr, BlockD0);
    CopyFrom(ImageBuf, FireKeyAddr, FireKey);
    CheckFireKeySection(FireKey);
    CopyFrom(ImageBuf, MacroAreaAddr, MacroArea);
}

void ConfigImage::JoinImage(const AimKeyHook& aimKeyToDataBuf)
{
    SetChecksum(ParameterA);
    CopyTo(ImageBuf, ParameterAAddr, ParameterA);
    // The complements of section B were set when the controls were stored.
    CopyTo(ImageBuf, ParameterBAddr, ParameterB);
    if (aimKeyToDataBuf)
        aimKeyToDataBuf(ProfileKeys);
    SetChecksum(ProfileKeys);
    CopyTo(ImageBuf, ProfileKeysAddr, ProfileKeys);
    CopyTo(ImageBuf, Block80Addr, Block80);
    CopyTo(ImageBuf, BlockB0Addr, BlockB0);
    CopyTo(ImageBuf, BlockD0Addr, BlockD0);
    SetChecksum(FireKey);
    CopyTo(ImageBuf, FireKeyAddr, FireKey);
    CopyTo(ImageBuf, MacroAreaAddr, MacroArea);
}

void ConfigImage::BuildFactoryImage()
{
    ParameterA = FactoryParameterA;
    CopyTo(ImageBuf, ParameterAAddr, ParameterA);
    ParameterB = FactoryParameterB;
    CopyTo(ImageBuf, ParameterBAddr, ParameterB);
    FillFactoryProfile(ProfileKeys);
    CopyTo(ImageBuf, ProfileKeysAddr, ProfileKeys);
    Block80.fill(0);
    BlockB0.fill(0);
    BlockD0.fill(0);
    CopyTo(ImageBuf, Block80Addr, Block80);
    CopyTo(ImageBuf, BlockB0Addr, BlockB0);
    CopyTo(ImageBuf, BlockD0Addr, BlockD0);
    FireKey = FactoryFireKey;
    SetChecksum(FireKey);
    CopyTo(ImageBuf, FireKeyAddr, FireKey);
    MacroArea.fill(0);
    CopyTo(ImageBuf, MacroAreaAddr, MacroArea);
}

} // namespace orb
