#pragma once
#include "device/Transport.h"
#include "image/ConfigImage.h"

#include <optional>

namespace orb
{

// Bytes the mouse changes by itself: its current CPI level and complement,
// stored when its CPI button is pressed. Whatever was read of them may be
// stale by the next write.
inline constexpr std::array<std::size_t, 2> MouseOwnBytes{0x030, 0x031};

// What this program knows the mouse's memory holds: the image of the last
// complete read, replaced by each write whose verification passed; unknown
// after anything else that may have changed it (a failed or cut write, an
// unplug, an incomplete read, an exchange a page ran itself) and after any
// take of the mouse's lock that found another program had had it since
// (Transport::TakeOthersHadTheMouse, read at every look at it here). While
// unknown, the next write sends the whole image.
class KnownMouseImage
{
  public:
    explicit KnownMouseImage(Transport& link) : link_(link) {}

    // The image as known now; none while unknown.
    const std::optional<ImageBytes>& get() const
    {
        if (link_.TakeOthersHadTheMouse())
            held_.reset();
        return held_;
    }
    void forget() { held_.reset(); }
    // A complete read or a verified write under the lock: the mouse holds
    // `image`, whatever another program did before it.
    void learn(const ImageBytes& image)
    {
        link_.TakeOthersHadTheMouse();
        held_ = image;
    }

  private:
    Transport& link_;
    mutable std::optional<ImageBytes> held_;
};

} // namespace orb
