#include "ctl/FileCheck.h"

#include "ctl/MouseLink.h"
#include "image/ConfigImage.h"
#include "image/DefaultImages.h"
#include "image/ProfileFile.h"
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace orb::ctl
{

namespace
{
// Slots the slot check would clear: a record that holds something but fails
// its check byte or length.
void checkSlots(const MacroAreaBytes& area, QStringList& repairs)
{
    for (int slot = 0; slot < DeviceSlotCount; ++slot) {
        MacroRecord record;
        const std::size_t at = std::size_t(slot) * DeviceSlotSize + MacroNameSize;
        std::copy_n(area.begin() + std::ptrdiff_t(at), MacroRecordSize, record.begin());
        if (MacroRecordEmpty(record))
            continue;
        if (CheckMacroContentBuf(record))
            repairs
                << QStringLiteral("macro slot %1: record fails its check, would be cleared").arg(slot + 1);
    }
}

void checkProfile(const QString& path, FileCheckResult& r)
{
    // A short file lies over the built-in default image, as over the image
    // the window holds when no mouse has been read.
    ConfigImage image;
    if (const auto def = LoadDefaultImage(1))
        image.ImageBuf = *def;
    const ProfileLoadResult load = LoadProfileFile(path.toStdString(), image.ImageBuf);
    if (load.status == ProfileLoadStatus::WrongType) {
        r.code = ExitBadFile;
        r.error = QStringLiteral("not a profile (no 0x99 at 0x07F) nor a library file");
        return;
    }
    if (load.status != ProfileLoadStatus::Ok) {
        r.code = ExitBadFile;
        r.error = QString::fromStdString(load.reason);
        return;
    }
    r.kind = QStringLiteral("profile");
    const ImageBytes& b = image.ImageBuf;
    auto section = [&b](std::size_t addr, auto& out) {
        std::copy_n(b.begin() + std::ptrdiff_t(addr), out.size(), out.begin());
    };
    ParameterABytes a;
    section(ParameterAAddr, a);
    if (CheckParameterASection(a))
        r.repairs << QStringLiteral("parameter section A (0x000-0x02F): checksum wrong, factory contents");
    ParameterBBytes pb;
    section(ParameterBAddr, pb);
    const ParameterBBytes pbBefore = pb;
    if (CheckParameterBSection(pb)) {
        static const char* pairs[] = {"current CPI level (0x030/0x031)", "LED state (0x032/0x033)",
                                      "key mode (0x034/0x035)"};
        for (int i = 0; i < 3; ++i)
            if (pb[std::size_t(2 * i)] != pbBefore[std::size_t(2 * i)] ||
                pb[std::size_t(2 * i + 1)] != pbBefore[std::size_t(2 * i + 1)])
                r.repairs << QStringLiteral("parameter section B: pair %1 broken, reset")
                                 .arg(QLatin1String(pairs[i]));
    }
    ProfileKeysBytes keys;
    section(ProfileKeysAddr, keys);
    if (CheckProfileSection(keys))
        r.repairs << QStringLiteral("key tables (0x040-0x076): checksum wrong, factory keys");
    FireKeyBytes fire;
    section(FireKeyAddr, fire);
    if (CheckFireKeySection(fire))
        r.repairs << QStringLiteral("fire key (0x0F0-0x0FA): checksum wrong, factory sequence");
    MacroAreaBytes area;
    section(MacroAreaAddr, area);
    checkSlots(area, r.repairs);
    const qint64 size = QFile(path).size();
    if (size < qint64(ImageSize))
        r.repairs << QStringLiteral(
                         "file of %1 bytes: bytes 0x%2-0x7FF come from the image it is loaded over")
                         .arg(size)
                         .arg(size, 3, 16, QLatin1Char('0'));
}

void checkLibrary(const QByteArray& bytes, FileCheckResult& r)
{
    // Entries are read as they are, without packing, to see the order.
    bool sawEmpty = false;
    for (int k = 0; k < LibraryEntryCount && (k + 1) * LibraryEntrySize <= bytes.size(); ++k) {
        MacroName name;
        MacroRecord record;
        std::memcpy(name.data(), bytes.constData() + k * LibraryEntrySize, MacroNameSize);
        std::memcpy(record.data(), bytes.constData() + k * LibraryEntrySize + MacroNameSize, MacroRecordSize);
        if (LibraryNameEmpty(name)) {
            sawEmpty = true;
            continue;
        }
        if (sawEmpty)
            r.repairs << QStringLiteral(
                             "entry %1 \"%2\" follows an empty entry: the library is packed on loading")
                             .arg(k)
                             .arg(MacroNameText(name));
        if (!MacroRecordEmpty(record) && CheckMacroContentBuf(record))
            r.repairs << QStringLiteral(
                             "entry %1 \"%2\": record fails its check, cleared when put into a slot")
                             .arg(k)
                             .arg(MacroNameText(name));
    }
}
} // namespace

FileCheckResult CheckFile(const QString& path)
{
    FileCheckResult r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.code = ExitBadFile;
        r.error = file.errorString();
        return r;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.size() == LibraryFileSize) {
        r.kind = QStringLiteral("library");
        checkLibrary(bytes, r);
    } else if (bytes.size() == LibraryEntrySize) {
        r.kind = QStringLiteral("single macro");
        checkLibrary(bytes, r);
        MacroName name;
        std::memcpy(name.data(), bytes.constData(), MacroNameSize);
        if (LibraryNameEmpty(name))
            r.repairs << QStringLiteral("no name: Import One refuses it");
    } else if (bytes.size() == qsizetype(MacroAreaSize)) {
        r.kind = QStringLiteral("base macros");
        MacroAreaBytes area;
        std::memcpy(area.data(), bytes.constData(), MacroAreaSize);
        checkSlots(area, r.repairs);
    } else {
        checkProfile(path, r);
    }
    return r;
}

} // namespace orb::ctl
