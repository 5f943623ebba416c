#pragma once
#include "image/ConfigImage.h"
#include "image/DefaultImages.h"

#include <gtest/gtest.h>

namespace orb::test
{

// The built-in default image of set 1, split into its sections.
inline ConfigImage DefaultSplitImage()
{
    ConfigImage image;
    const auto bytes = LoadDefaultImage(1);
    EXPECT_TRUE(bytes.has_value());
    if (bytes) {
        image.ImageBuf = *bytes;
        image.SplitImage();
    }
    return image;
}

} // namespace orb::test
