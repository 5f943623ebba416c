// A profile file picked by the user: any bytes of any length. The load must
// keep its promises (only a marked file replaces the image, bytes past a
// short file keep their values), and the section checks must leave sections
// that pass them, so a second split of the joined image repairs nothing.
#include "image/ConfigImage.h"
#include "image/ProfileFile.h"
#include "image/SettingsRules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
const std::filesystem::path& scratchFile()
{
    static const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                              ("orb5610-fuzz-profile-" + std::to_string(::getpid()) + ".bin");
    return path;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    orb::ImageBytes before;
    before.fill(0xA5);
    orb::ImageBytes image = before;
    const orb::ProfileLoadResult result = orb::LoadProfileFile(scratchFile(), image);

    const bool marked =
        size > orb::FileTypeMarkerAddr && data[orb::FileTypeMarkerAddr] == orb::FileTypeMarker;
    if (!marked) {
        check(result.status == orb::ProfileLoadStatus::WrongType);
        check(image == before);
        return 0;
    }
    check(result.status == orb::ProfileLoadStatus::Ok);
    const std::size_t taken = std::min(size, orb::ImageSize);
    check(std::memcmp(image.data(), data, taken) == 0);
    check(std::equal(image.begin() + std::ptrdiff_t(taken), image.end(),
                     before.begin() + std::ptrdiff_t(taken)));

    // The window splits the loaded image, shows it, stores it back and joins it.
    orb::ConfigImage config;
    config.ImageBuf = image;
    config.SplitImage();
    check(config.ImageBuf == image); // the split leaves the bytes as they came

    orb::SettingsControls controls;
    orb::ShowSettings(config.ParameterA, config.ParameterB, config.FireKey, controls);
    orb::StoreSettings(controls, config.ParameterA, config.ParameterB, config.FireKey);
    config.JoinImage();

    // What was repaired once and joined needs no repair the second time.
    orb::ConfigImage again;
    again.ImageBuf = config.ImageBuf;
    check(!orb::CheckParameterASection(again.ParameterA = config.ParameterA));
    check(!orb::CheckParameterBSection(again.ParameterB = config.ParameterB));
    check(!orb::CheckProfileSection(again.ProfileKeys = config.ProfileKeys));
    check(!orb::CheckFireKeySection(again.FireKey = config.FireKey));
    again.SplitImage();
    check(again.ParameterA == config.ParameterA);
    check(again.ParameterB == config.ParameterB);
    check(again.ProfileKeys == config.ProfileKeys);
    check(again.FireKey == config.FireKey);
    check(again.MacroArea == config.MacroArea);
    return 0;
}
