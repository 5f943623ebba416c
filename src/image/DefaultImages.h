#pragma once
#include "image/ConfigImage.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>

namespace orb
{

// An image from embedded data; nothing unless the data is exactly one image long.
std::optional<ImageBytes> ImageFromData(const QByteArray& data);

// Resource name of built-in default image 1, 2 or 3 ("ORB5610Data_Cfg1" ...).
const char* DefaultImageName(int number);

// Built-in default image 1, 2 or 3, read afresh from the embedded data.
// Nothing when the number is out of range or the item is missing or not
// exactly one image long.
std::optional<ImageBytes> LoadDefaultImage(int number);

// The three built-in default images (DefaultImage1..3 at index 0..2);
// nothing unless all three are present and whole.
std::optional<std::array<ImageBytes, 3>> LoadDefaultImages();

// Bytes 0x036 and 0x037 of default image 1: the identity a connected mouse
// is compared with. Nothing when that image cannot be read.
std::optional<std::array<std::uint8_t, 2>> LoadReferenceIdentity();

} // namespace orb
