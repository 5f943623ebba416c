#include "image/ConfigImage.h"
#include "image/DefaultImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace orb;

namespace
{

template <std::size_t N> std::array<std::uint8_t, N> Slice(const ImageBytes& image, std::size_t addr)
{
    std::array<std::uint8_t, N> out;
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(addr), N, out.begin());
    return out;
}

ProfileKeysBytes FactoryProfile()
{
    ProfileKeysBytes p;
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), p.begin());
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), p.begin() + 27);
    p[54] = 0xFE;
    return p;
}

// The address ranges that belong to no section.
const std::vector<std::pair<std::size_t, std::size_t>> kGaps = {
    {0x038, 0x040}, {0x077, 0x080}, {0x09E, 0x0B0}, {0x0C4, 0x0D0}, {0x0EE, 0x0F0}, {0x0FB, 0x100}};

class ConfigImageTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const std::optional<ImageBytes> image = LoadDefaultImage(1);
        ASSERT_TRUE(image);
        defaults = *image;
        cfg.ImageBuf = defaults;
    }
    ImageBytes defaults{};
    ConfigImage cfg;
};

} // namespace

TEST(SectionSum, SumsModulo256ThenXors5A)
{
    EXPECT_EQ(SectionSum(nullptr, 0), 0x5A);
    const std::uint8_t bytes[] = {0xFF, 0x02, 0x10};
    EXPECT_EQ(SectionSum(bytes, 3), ((0xFF + 0x02 + 0x10) & 0xFF) ^ 0x5A);
    EXPECT_EQ(SectionSum(bytes, 1), 0xFF ^ 0x5A);
}

TEST(FactoryContents, CarryValidChecksums)
{
    EXPECT_EQ(SectionSum(FactoryParameterA.data(), 47), 0x79);
    EXPECT_EQ(FactoryParameterA[47], 0x79);
    EXPECT_EQ(SectionSum(FactoryFireKey.data(), 10), 0x70);
    EXPECT_EQ(FactoryFireKey[10], 0x70);
    const ProfileKeysBytes profile = FactoryProfile();
    EXPECT_EQ(SectionSum(profile.data(), 54), 0xFE);
    EXPECT_EQ(FactoryKeys[0], 0x01);
    EXPECT_EQ(FactoryKeys[26], 0x00);
    EXPECT_EQ(FactoryKeys[24], 0x09);
}

TEST_F(ConfigImageTest, DefaultImagePassesAllChecksUnchanged)
{
    EXPECT_EQ(defaults[0x02F], 0x70);
    EXPECT_EQ(defaults[0x076], 0x06);
    EXPECT_EQ(defaults[0x0FA], 0x96);

    auto a = Slice<48>(defaults, 0x000);
    auto b = Slice<8>(defaults, 0x030);
    auto p = Slice<55>(defaults, 0x040);
    auto f = Slice<11>(defaults, 0x0F0);
    EXPECT_FALSE(CheckParameterASection(a));
    EXPECT_FALSE(CheckParameterBSection(b));
    EXPECT_FALSE(CheckProfileSection(p));
    EXPECT_FALSE(CheckFireKeySection(f));

    cfg.SplitImage();
    EXPECT_EQ(cfg.ParameterA, (Slice<48>(defaults, 0x000)));
    EXPECT_EQ(cfg.ParameterB, (ParameterBBytes{0x01, 0xFE, 0x42, 0xBD, 0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(cfg.ProfileKeys, (Slice<55>(defaults, 0x040)));
    EXPECT_EQ(cfg.Block80, (Slice<30>(defaults, 0x080)));
    EXPECT_EQ(cfg.BlockB0, (Slice<20>(defaults, 0x0B0)));
    EXPECT_EQ(cfg.BlockD0, (Slice<30>(defaults, 0x0D0)));
    EXPECT_EQ(cfg.FireKey, (Slice<11>(defaults, 0x0F0)));
    EXPECT_EQ(cfg.MacroArea, (Slice<1792>(defaults, 0x100)));
    EXPECT_EQ(cfg.ImageBuf, defaults);

    // Joining what was split gives the same image back.
    cfg.JoinImage();
    EXPECT_EQ(cfg.ImageBuf, defaults);
}

TEST_F(ConfigImageTest, OneFlippedBitInSectionAReplacesTheWholeSection)
{
    struct Case {
        std::size_t addr;
        int bit;
    };
    for (const Case c : {Case{0x000, 0}, Case{0x006, 3}, Case{0x00D, 1}, Case{0x02E, 7}, Case{0x02F, 0}}) {
        SCOPED_TRACE(c.addr);
        cfg.ImageBuf = defaults;
        cfg.ImageBuf[c.addr] ^= static_cast<std::uint8_t>(1u << c.bit);
        cfg.SplitImage();
        EXPECT_EQ(cfg.ParameterA, FactoryParameterA);
        // Only section A is affected, and the image keeps the damaged byte.
        EXPECT_EQ(cfg.ParameterB, (Slice<8>(defaults, 0x030)));
        EXPECT_EQ(cfg.ProfileKeys, (Slice<55>(defaults, 0x040)));
        EXPECT_EQ(cfg.ImageBuf[c.addr], defaults[c.addr] ^ (1u << c.bit));
    }
}

TEST_F(ConfigImageTest, BrokenPairResetsOnlyThatPair)
{
    // Valid pairs that differ from the repair values, so a reset shows.
    const ParameterBBytes valid = {0x03, 0xFC, 0x42, 0xBD, 0x80, 0x7F, 0xFF, 0xFF};
    struct Case {
        std::size_t addr;
        std::size_t pair;
        std::uint8_t repairValue;
    };
    const Case cases[] = {
        {0x030, 0, 0x01}, {0x031, 0, 0x01}, {0x032, 2, 0x01},
        {0x033, 2, 0x01}, {0x034, 4, 0x00}, {0x035, 4, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addr);
        cfg.ImageBuf = defaults;
        std::copy(valid.begin(), valid.end(), cfg.ImageBuf.begin() + 0x030);
        cfg.ImageBuf[c.addr] = static_cast<std::uint8_t>(cfg.ImageBuf[c.addr] + 1);
        ParameterBBytes expected = valid;
        expected[c.pair] = c.repairValue;
        expected[c.pair + 1] = static_cast<std::uint8_t>(0xFF - c.repairValue);
        cfg.SplitImage();
        EXPECT_EQ(cfg.ParameterB, expected);
    }
}

TEST_F(ConfigImageTest, IdentityBytesTakeAnyValue)
{
    cfg.ImageBuf[0x036] = 0x12;
    cfg.ImageBuf[0x037] = 0x00;
    cfg.SplitImage();
    EXPECT_EQ(cfg.ParameterB[6], 0x12);
    EXPECT_EQ(cfg.ParameterB[7], 0x00);
}

TEST_F(ConfigImageTest, ProfileWithValidChecksumButMeaninglessCodesPasses)
{
    for (std::size_t i = 0; i < 54; ++i)
        cfg.ImageBuf[0x040 + i] = static_cast<std::uint8_t>(0xE0 + i);
    cfg.ImageBuf[0x076] = SectionSum(&cfg.ImageBuf[0x040], 54);
    cfg.SplitImage();
    EXPECT_EQ(cfg.ProfileKeys, (Slice<55>(cfg.ImageBuf, 0x040)));
}

TEST_F(ConfigImageTest, DamagedProfileAndFireKeyTakeFactoryContents)
{
    cfg.ImageBuf[0x050] ^= 0x01;
    cfg.ImageBuf[0x0F8] = 0x07; // interval changed without its checksum
    cfg.SplitImage();
    EXPECT_EQ(cfg.ProfileKeys, FactoryProfile());
    EXPECT_EQ(cfg.FireKey, FactoryFireKey);
    EXPECT_EQ(cfg.ParameterA, (Slice<48>(defaults, 0x000)));
}

TEST_F(ConfigImageTest, AllFFImageRepairsSectionsAndLeavesTheRest)
{
    cfg.ImageBuf.fill(0xFF);
    cfg.SplitImage();
    EXPECT_EQ(cfg.ParameterA, FactoryParameterA);
    EXPECT_EQ(cfg.ParameterB, (ParameterBBytes{0x01, 0xFE, 0x01, 0xFE, 0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(cfg.ProfileKeys, FactoryProfile());
    EXPECT_EQ(cfg.FireKey, FactoryFireKey);
    auto allFF = [](const auto& bytes) {
        return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
    };
    EXPECT_TRUE(allFF(cfg.Block80));
    EXPECT_TRUE(allFF(cfg.BlockB0));
    EXPECT_TRUE(allFF(cfg.BlockD0));
    EXPECT_TRUE(allFF(cfg.MacroArea));
    EXPECT_TRUE(allFF(cfg.ImageBuf)); // repairs stay in the section buffers

    cfg.JoinImage();
    for (const auto& [from, to] : kGaps)
        for (std::size_t i = from; i < to; ++i)
            EXPECT_EQ(cfg.ImageBuf[i], 0xFF) << i;
    EXPECT_TRUE(allFF(Slice<1792>(cfg.ImageBuf, 0x100)));
    EXPECT_EQ((Slice<48>(cfg.ImageBuf, 0x000)), FactoryParameterA);
}

TEST_F(ConfigImageTest, JoinRecomputesChecksumsAndLeavesGapsAlone)
{
    cfg.SplitImage();
    // Gap bytes changed after the split must survive the join.
    for (const auto& [from, to] : kGaps)
        for (std::size_t i = from; i < to; ++i)
            cfg.ImageBuf[i] = static_cast<std::uint8_t>(i * 7);
    const ImageBytes before = cfg.ImageBuf;

    cfg.ParameterA[0x006] = 0x0A;
    cfg.ParameterA[47] = 0x00; // stale checksum
    cfg.ProfileKeys[0] = 0x02;
    cfg.FireKey[8] = 0x20;
    cfg.Block80[0] = 0x11;
    cfg.BlockB0[19] = 0x22;
    cfg.BlockD0[29] = 0x33;
    cfg.MacroArea[0] = 0x44;
    cfg.MacroArea[1791] = 0x55;
    cfg.JoinImage();

    const ImageBytes& img = cfg.ImageBuf;
    for (const auto& [from, to] : kGaps)
        for (std::size_t i = from; i < to; ++i)
            EXPECT_EQ(img[i], before[i]) << i;
    EXPECT_EQ(img[0x006], 0x0A);
    EXPECT_EQ(img[0x02F], SectionSum(&img[0x000], 47));
    EXPECT_EQ(img[0x040], 0x02);
    EXPECT_EQ(img[0x076], SectionSum(&img[0x040], 54));
    EXPECT_EQ(img[0x0F8], 0x20);
    EXPECT_EQ(img[0x0FA], SectionSum(&img[0x0F0], 10));
    EXPECT_EQ(img[0x080], 0x11);
    EXPECT_EQ(img[0x0C3], 0x22);
    EXPECT_EQ(img[0x0ED], 0x33);
    EXPECT_EQ(img[0x100], 0x44);
    EXPECT_EQ(img[0x7FF], 0x55);
    // Section B is copied as it stands: its complements are not recomputed.
    EXPECT_EQ((Slice<8>(img, 0x030)), cfg.ParameterB);

    // The joined image splits again without any repair.
    ConfigImage again;
    again.ImageBuf = img;
    again.SplitImage();
    EXPECT_EQ(again.ParameterA, cfg.ParameterA);
    EXPECT_EQ(again.ProfileKeys, cfg.ProfileKeys);
    EXPECT_EQ(again.FireKey, cfg.FireKey);
}

TEST_F(ConfigImageTest, AimHookRunsOnProfileKeysBeforeTheChecksum)
{
    cfg.SplitImage();
    int calls = 0;
    cfg.JoinImage([&](std::array<std::uint8_t, ProfileKeysSize>& keys) {
        ++calls;
        EXPECT_EQ(&keys, &cfg.ProfileKeys);
        keys[3] = 0x0A; // key 2 of mode A becomes an AIM key
        keys[4] = 0x03;
        keys[5] = 0x00;
    });
    EXPECT_EQ(calls, 1);
    const ImageBytes& img = cfg.ImageBuf;
    EXPECT_EQ(img[0x043], 0x0A);
    EXPECT_EQ(img[0x044], 0x03);
    EXPECT_EQ(img[0x076], SectionSum(&img[0x040], 54));
    EXPECT_NE(img[0x076], defaults[0x076]);
}

TEST_F(ConfigImageTest, FactoryImageBuildsSectionsAndKeepsGaps)
{
    cfg.SplitImage();
    for (const auto& [from, to] : kGaps)
        for (std::size_t i = from; i < to; ++i)
            cfg.ImageBuf[i] = 0xA5;
    cfg.BuildFactoryImage();

    EXPECT_EQ(cfg.ParameterA, FactoryParameterA);
    EXPECT_EQ(cfg.ParameterB, FactoryParameterB);
    EXPECT_EQ(cfg.ProfileKeys, FactoryProfile());
    EXPECT_EQ(cfg.FireKey, FactoryFireKey);
    EXPECT_EQ(cfg.Block80, Block80Bytes{});
    EXPECT_EQ(cfg.BlockB0, BlockB0Bytes{});
    EXPECT_EQ(cfg.BlockD0, BlockD0Bytes{});
    EXPECT_EQ(cfg.MacroArea, MacroAreaBytes{});

    const ImageBytes& img = cfg.ImageBuf;
    EXPECT_EQ((Slice<48>(img, 0x000)), FactoryParameterA);
    EXPECT_EQ((Slice<8>(img, 0x030)), FactoryParameterB);
    EXPECT_EQ((Slice<55>(img, 0x040)), FactoryProfile());
    EXPECT_EQ((Slice<11>(img, 0x0F0)), FactoryFireKey);
    EXPECT_EQ((Slice<30>(img, 0x080)), Block80Bytes{});
    EXPECT_EQ((Slice<20>(img, 0x0B0)), BlockB0Bytes{});
    EXPECT_EQ((Slice<30>(img, 0x0D0)), BlockD0Bytes{});
    EXPECT_EQ((Slice<1792>(img, 0x100)), MacroAreaBytes{});
    for (const auto& [from, to] : kGaps)
        for (std::size_t i = from; i < to; ++i)
            EXPECT_EQ(img[i], 0xA5) << i;

    // The factory image passes its own checks.
    ConfigImage again;
    again.ImageBuf = img;
    again.SplitImage();
    EXPECT_EQ(again.ParameterA, FactoryParameterA);
    EXPECT_EQ(again.ParameterB, FactoryParameterB);
    EXPECT_EQ(again.ProfileKeys, FactoryProfile());
    EXPECT_EQ(again.FireKey, FactoryFireKey);
}
