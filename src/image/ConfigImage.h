#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace orb
{

// The mouse keeps its whole configuration in 2048 bytes of non-volatile
// memory; the program mirrors them byte for byte. Addresses are offsets in
// that memory and in the image.
inline constexpr std::size_t ImageSize = 2048;

inline constexpr std::size_t ParameterAAddr = 0x000;
inline constexpr std::size_t ParameterASize = 48; // checksum in the last byte (0x02F)
inline constexpr std::size_t ParameterBAddr = 0x030;
inline constexpr std::size_t ParameterBSize = 8; // three value/complement pairs, two identity bytes
inline constexpr std::size_t ProfileKeysAddr = 0x040;
inline constexpr std::size_t ProfileKeysSize = 55; // two key tables, checksum in the last byte (0x076)
inline constexpr std::size_t Block80Addr = 0x080;
inline constexpr std::size_t Block80Size = 30;
inline constexpr std::size_t BlockB0Addr = 0x0B0;
inline constexpr std::size_t BlockB0Size = 20;
inline constexpr std::size_t BlockD0Addr = 0x0D0;
inline constexpr std::size_t BlockD0Size = 30;
inline constexpr std::size_t FireKeyAddr = 0x0F0;
inline constexpr std::size_t FireKeySize = 11; // checksum in the last byte (0x0FA)
inline constexpr std::size_t MacroAreaAddr = 0x100;
inline constexpr std::size_t MacroAreaSize = 1792; // up to 0x7FF

// Single bytes of interest.
inline constexpr std::size_t IdentityAddr1 = 0x036; // the mouse maker's code
inline constexpr std::size_t IdentityAddr2 = 0x037; // the mouse model's code
inline constexpr std::size_t FileTypeMarkerAddr = 0x07F;
inline constexpr std::uint8_t FileTypeMarker = 0x99; // a profile file carries it at 0x07F

// Inside the profile section: nine three-byte key codes per key mode.
inline constexpr std::size_t KeysPerMode = 9;
inline constexpr std::size_t KeyCodeSize = 3;
inline constexpr std::size_t ModeAKeysOffset = 0;  // image 0x040
inline constexpr std::size_t ModeBKeysOffset = 27; // image 0x05B

// Inside the fire-key section: the two bytes the program edits.
inline constexpr std::size_t FireCountOffset = 2;    // image 0x0F2
inline constexpr std::size_t FireIntervalOffset = 8; // image 0x0F8

using ImageBytes = std::array<std::uint8_t, ImageSize>;
using ParameterABytes = std::array<std::uint8_t, ParameterASize>;
using ParameterBBytes = std::array<std::uint8_t, ParameterBSize>;
using ProfileKeysBytes = std::array<std::uint8_t, ProfileKeysSize>;
using Block80Bytes = std::array<std::uint8_t, Block80Size>;
using BlockB0Bytes = std::array<std::uint8_t, BlockB0Size>;
using BlockD0Bytes = std::array<std::uint8_t, BlockD0Size>;
using FireKeyBytes = std::array<std::uint8_t, FireKeySize>;
using MacroAreaBytes = std::array<std::uint8_t, MacroAreaSize>;

// Factory contents, used to repair damaged sections and by the factory reset.
extern const ParameterABytes FactoryParameterA; // last byte is its checksum (0x79)
extern const ParameterBBytes FactoryParameterB;
// Keys 1 to 9 of one key mode, three bytes each; both modes get the same.
extern const std::array<std::uint8_t, KeysPerMode * KeyCodeSize> FactoryKeys;
extern const FireKeyBytes FactoryFireKey; // last byte is its checksum (0x70)

// The mouse's section checksum: 8-bit sum of the bytes, XOR 0x5A.
std::uint8_t SectionSum(const std::uint8_t* bytes, std::size_t count);

// Section checks. Each repairs its section in place with factory contents
// and returns true when it had to; the program reports nothing either way.
bool CheckParameterASection(ParameterABytes& section);
bool CheckParameterBSection(ParameterBBytes& section);
bool CheckProfileSection(ProfileKeysBytes& section);
bool CheckFireKeySection(FireKeyBytes& section);

// Rewrites the AIM-key entries of the profile section in place.
using AimKeyHook = std::function<void(ProfileKeysBytes&)>;

// The image and its section buffers. The controls are filled from and into
// the section buffers; the gap bytes live only in ImageBuf and travel
// unchanged from the last source of the image to the next write.
struct ConfigImage {
    ImageBytes ImageBuf{};
    ParameterABytes ParameterA{};
    ParameterBBytes ParameterB{};
    ProfileKeysBytes ProfileKeys{};
    Block80Bytes Block80{};
    BlockB0Bytes BlockB0{};
    BlockD0Bytes BlockD0{};
    FireKeyBytes FireKey{};
    MacroAreaBytes MacroArea{};

    // ImageBuf into the section buffers, checking and repairing them.
    // ImageBuf itself keeps the bytes as they came.
    void SplitImage();

    // Section buffers into ImageBuf with the three checksums recomputed.
    // aimKeyToDataBuf rewrites the AIM-key entries of ProfileKeys before the
    // profile checksum is taken. Gap bytes are not touched.
    void JoinImage(const AimKeyHook& aimKeyToDataBuf = {});

    // Factory reset: every section and the macro area from the factory
    // contents, copied into ImageBuf. Gap bytes stay as they were.
    void BuildFactoryImage();
};

} // namespace orb
