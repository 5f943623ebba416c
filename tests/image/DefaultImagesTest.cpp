#include "image/DefaultImages.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orb;

TEST(DefaultImages, ThreeWholeImagesThatAreByteIdentical)
{
    const auto images = LoadDefaultImages();
    ASSERT_TRUE(images);
    EXPECT_EQ((*images)[0], (*images)[1]);
    EXPECT_EQ((*images)[0], (*images)[2]);
    for (int n = 1; n <= 3; ++n) {
        const auto one = LoadDefaultImage(n);
        ASSERT_TRUE(one) << n;
        EXPECT_EQ(*one, (*images)[static_cast<std::size_t>(n - 1)]);
    }
}

TEST(DefaultImages, ContentOfImageOne)
{
    const auto image = LoadDefaultImage(1);
    ASSERT_TRUE(image);
    const ImageBytes& img = *image;
    const std::uint8_t head[16] = {0x45, 0xF8, 0x06, 0x38, 0xFF, 0x00, 0x01, 0x04,
                                   0x06, 0x07, 0x09, 0x0A, 0x07, 0x01, 0x04, 0x03};
    EXPECT_TRUE(std::equal(std::begin(head), std::end(head), img.begin()));
    const std::uint8_t fire[16] = {0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE,
                                   0x06, 0xFC, 0x96, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(std::begin(fire), std::end(fire), img.begin() + 0x0F0));
    EXPECT_EQ(img[0x02F], 0x70);
    EXPECT_EQ(img[0x076], 0x06);
    EXPECT_EQ(img[0x07F], 0x99);
    EXPECT_EQ(img[0x080], 0x0E);
    EXPECT_EQ(img[0x0E3], 0x80);
    EXPECT_TRUE(std::all_of(img.begin() + 0x100, img.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(DefaultImages, ReferenceIdentityIsBytes36And37OfImageOne)
{
    const auto identity = LoadReferenceIdentity();
    ASSERT_TRUE(identity);
    const auto one = LoadDefaultImage(1);
    ASSERT_TRUE(one);
    EXPECT_EQ(*identity, (std::array<std::uint8_t, 2>{(*one)[0x036], (*one)[0x037]}));
    // The shipped images hold FF around them too: the addresses the mouse is
    // read at are checked by number.
    EXPECT_EQ(IdentityAddr1, 0x036u);
    EXPECT_EQ(IdentityAddr2, 0x037u);
}

TEST(DefaultImages, NoImageForUnknownNumbers)
{
    EXPECT_FALSE(LoadDefaultImage(0));
    EXPECT_FALSE(LoadDefaultImage(4));
    EXPECT_EQ(DefaultImageName(0), nullptr);
    EXPECT_STREQ(DefaultImageName(2), "ORB5610Data_Cfg2");
}

TEST(DefaultImages, DataOfAnyOtherLengthIsRefused)
{
    for (const int size : {0, 1, 2047, 2049}) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(ImageFromData(QByteArray(size, '\x5A')));
    }
    const auto image = ImageFromData(QByteArray(2048, '\x5A'));
    ASSERT_TRUE(image);
    EXPECT_EQ((*image)[2047], 0x5A);
}
