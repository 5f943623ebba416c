#include "image/ProfileFile.h"

#include <atomic>
#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace orb
{

namespace
{

// The system's text for an errno value; file streams leave the cause there.
std::string SystemReason(int error)
{
    if (error == 0)
        error = EIO; // the stream failed without saying why
    return std::error_code(error, std::generic_category()).message();
}

template <typename Char> bool EndsWithBin(const std::basic_string<Char>& name)
{
    static constexpr char ending[] = ".bin";
    constexpr std::size_t length = sizeof ending - 1;
    if (name.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        Char c = name[name.size() - length + i];
        if (c >= Char('A') && c <= Char('Z'))
            c = static_cast<Char>(c - Char('A') + Char('a'));
        if (c != static_cast<Char>(ending[i]))
            return false;
    }
    return true;
}

} // namespace

std::filesystem::path ProfileFilePath(const std::filesystem::path& chosen)
{
    if (EndsWithBin(chosen.filename().native()))
        return chosen;
    std::filesystem::path withEnding = chosen;
    withEnding += ".bin";
    return withEnding;
}

ProfileSaveResult SaveProfileFile(const std::filesystem::path& path, const ImageBytes& image)
{
    std::error_code ignored;
    // A profile reached through a link is replaced where it really lives.
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(path, ignored))
        target = std::filesystem::weakly_canonical(path, ignored);
    if (target.empty())
        target = path;
    // Written beside the target under a name no one else uses, and renamed
    // over it only when complete, so an existing profile survives any failure.
    static std::atomic<unsigned> serial{0};
    std::filesystem::path temporary = target;
    temporary +=
        ".orb5610-" + std::to_string(std::random_device{}()) + "-" + std::to_string(++serial) + ".tmp";

    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out)
        return {false, SystemReason(errno)};
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.flush();
    int error = errno;
    const bool written = static_cast<bool>(out);
    out.close();
    if (!written || out.fail()) {
        if (written)
            error = errno;
        std::filesystem::remove(temporary, ignored);
        return {false, SystemReason(error)};
    }

    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return {false, renameError.message()};
    }
    return {true, {}};
}

ProfileLoadResult LoadProfileFile(const std::filesystem::path& path, ImageBytes& image)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {ProfileLoadStatus::CannotRead, SystemReason(errno)};
    ImageBytes loaded = image;
    in.read(reinterpret_cast<char*>(loaded.data()), static_cast<std::streamsize>(loaded.size()));
    if (in.bad())
        return {ProfileLoadStatus::CannotRead, SystemReason(errno)};
    // The marker must come from the file: a file too short to hold 0x07F is
    // not taken on the strength of the bytes already in the image.
    const std::streamsize count = in.gcount();
    if (count <= static_cast<std::streamsize>(FileTypeMarkerAddr) ||
        loaded[FileTypeMarkerAddr] != FileTypeMarker)
        return {ProfileLoadStatus::WrongType, {}};
    image = loaded;
    return {ProfileLoadStatus::Ok, {}};
}

} // namespace orb
