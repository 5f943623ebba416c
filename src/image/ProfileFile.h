#pragma once
#include "image/ConfigImage.h"

#include <filesystem>
#include <string>

namespace orb
{

// The file a profile is saved to: the chosen path with ".bin" appended,
// unless its name already ends in ".bin" in any letter case.
std::filesystem::path ProfileFilePath(const std::filesystem::path& chosen);

struct ProfileSaveResult {
    bool ok = false;
    std::string reason; // the system's text for the failure; empty on success
};

// Writes the 2048 image bytes, address 0 first, no header, through
// ReplaceFile: an existing profile keeps its mode, owner, links and
// access list, a read-only one is refused, and any failure leaves it as it was.
ProfileSaveResult SaveProfileFile(const std::filesystem::path& path, const ImageBytes& image);

enum class ProfileLoadStatus {
    Ok,         // image holds the loaded bytes
    WrongType,  // no 0x99 marker at 0x07F in the file; image unchanged
    CannotRead, // the file could not be opened or read; image unchanged
};

struct ProfileLoadResult {
    ProfileLoadStatus status = ProfileLoadStatus::CannotRead;
    std::string reason; // the system's text when status is CannotRead
};

// Reads up to 2048 bytes from the start of the file over a copy of image;
// bytes past the end of a shorter file keep their current values. The copy
// replaces image only when the file itself carries the marker 0x99 at
// 0x07F, so a file shorter than 128 bytes is of the wrong type.
ProfileLoadResult LoadProfileFile(const std::filesystem::path& path, ImageBytes& image);

} // namespace orb
