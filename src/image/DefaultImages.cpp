#include "image/DefaultImages.h"

#include "rcdata.h"

#include <algorithm>

namespace orb
{

const char* DefaultImageName(int number)
{
    switch (number) {
    case 1:
        return "ORB5610Data_Cfg1";
    case 2:
        return "ORB5610Data_Cfg2";
    case 3:
        return "ORB5610Data_Cfg3";
    default:
        return nullptr;
    }
}

std::optional<ImageBytes> ImageFromData(const QByteArray& data)
{
    if (data.size() < 0 || static_cast<std::size_t>(data.size()) != ImageSize)
        return std::nullopt;
    ImageBytes image;
    std::copy_n(reinterpret_cast<const std::uint8_t*>(data.constData()), ImageSize, image.begin());
    return image;
}

std::optional<ImageBytes> LoadDefaultImage(int number)
{
    const char* name = DefaultImageName(number);
    if (!name)
        return std::nullopt;
    const std::optional<QByteArray> data = rcData(QString::fromLatin1(name));
    if (!data)
        return std::nullopt;
    return ImageFromData(*data);
}

std::optional<std::array<ImageBytes, 3>> LoadDefaultImages()
{
    std::array<ImageBytes, 3> images;
    for (int n = 1; n <= 3; ++n) {
        std::optional<ImageBytes> image = LoadDefaultImage(n);
        if (!image)
            return std::nullopt;
        images[static_cast<std::size_t>(n - 1)] = *image;
    }
    return images;
}

std::optional<std::array<std::uint8_t, 2>> LoadReferenceIdentity()
{
    const std::optional<ImageBytes> image = LoadDefaultImage(1);
    if (!image)
        return std::nullopt;
    return std::array<std::uint8_t, 2>{(*image)[IdentityAddr1], (*image)[IdentityAddr2]};
}

} // namespace orb
