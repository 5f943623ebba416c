#include "image/ProfileFile.h"

#include "core/FileReplace.h"

#include <QByteArray>
#include <QFileInfo>

#include <cerrno>
#include <fstream>
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
    const ReplaceResult r =
        ReplaceFile(QFileInfo(path).filePath(), QByteArray(reinterpret_cast<const char*>(image.data()),
                                                           static_cast<qsizetype>(image.size())));
    return {r.ok, r.ok ? std::string() : r.error.toStdString()};
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
