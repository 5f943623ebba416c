#include "macros/MacroLibrary.h"

#include "core/FileReplace.h"
#include "rcdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <numeric>

namespace orb
{

namespace
{

QString ReadError(const QFile& file)
{
    return file.errorString();
}

FileResult ReadFileBytes(const QString& path, qint64 limit, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, ReadError(file)};
    bytes = file.read(limit);
    if (file.error() != QFileDevice::NoError)
        return {false, ReadError(file)};
    return {true, {}};
}

} // namespace

int MacroLibrary::Count() const
{
    int count = 0;
    while (count < LibraryEntryCount && !LibraryNameEmpty(Names[count]))
        ++count;
    return count;
}

QStringList MacroLibrary::NameList() const
{
    QStringList names;
    for (int k = 0; k < Count(); ++k)
        names << MacroNameText(Names[k]);
    return names;
}

bool MacroLibrary::HasName(const QString& text) const
{
    const QString stored = MacroNameText(MacroNameStrToUnicode(text));
    return NameList().contains(stored);
}

QByteArray MacroLibrary::ToBytes() const
{
    QByteArray bytes;
    bytes.reserve(LibraryFileSize);
    for (int k = 0; k < LibraryEntryCount; ++k)
        bytes += EntryBytes(k);
    return bytes;
}

QByteArray MacroLibrary::EntryBytes(int k) const
{
    QByteArray bytes;
    if (k < 0 || k >= LibraryEntryCount)
        return bytes;
    bytes.append(reinterpret_cast<const char*>(Names[k].data()), MacroNameSize);
    bytes.append(reinterpret_cast<const char*>(Records[k].data()), MacroRecordSize);
    return bytes;
}

int MacroLibrary::ReadEntries(const QByteArray& bytes)
{
    const int covered = std::min<int>(static_cast<int>(bytes.size() / LibraryEntrySize), LibraryEntryCount);
    const QByteArrayView view(bytes);
    for (int k = 0; k < covered; ++k) {
        const QByteArrayView entry = view.sliced(qsizetype(k) * LibraryEntrySize, LibraryEntrySize);
        std::copy_n(reinterpret_cast<const std::uint8_t*>(entry.data()), MacroNameSize, Names[k].begin());
        std::copy_n(reinterpret_cast<const std::uint8_t*>(entry.data()) + MacroNameSize, MacroRecordSize,
                    Records[k].begin());
    }
    Pack();
    return covered;
}

void MacroLibrary::Pack()
{
    std::array<int, LibraryEntryCount> order{};
    std::iota(order.begin(), order.end(), 0);
    std::stable_partition(order.begin(), order.end(), [&](int k) { return !LibraryNameEmpty(Names[k]); });
    const auto names = Names;
    const auto records = Records;
    for (int k = 0; k < LibraryEntryCount; ++k) {
        Names[k] = names[order[k]];
        Records[k] = records[order[k]];
    }
}

bool MacroLibrary::LoadDefaultLibrary()
{
    Names = {};
    Records = {};
    const auto bytes = rcData(QStringLiteral("PCMacroData"));
    if (!bytes)
        return false;
    ReadEntries(*bytes);
    return true;
}

LibraryStatus MacroLibrary::NewEntry(const QString& name, int* index)
{
    const MacroName stored = MacroNameStrToUnicode(name);
    if (LibraryNameEmpty(stored))
        return LibraryStatus::EmptyName;
    if (HasName(name))
        return LibraryStatus::Duplicate;
    const int k = Count();
    if (k >= LibraryEntryCount)
        return LibraryStatus::Full;
    Names[k] = stored;
    Records[k] = {};
    if (index)
        *index = k;
    return LibraryStatus::Ok;
}

LibraryStatus MacroLibrary::Rename(int k, const QString& name)
{
    if (k < 0 || k >= Count())
        return LibraryStatus::NoEntry;
    const MacroName stored = MacroNameStrToUnicode(name);
    if (LibraryNameEmpty(stored))
        return LibraryStatus::EmptyName;
    if (HasName(name))
        return LibraryStatus::Duplicate;
    Names[k] = stored;
    return LibraryStatus::Ok;
}

LibraryStatus MacroLibrary::Delete(int k)
{
    if (k < 0 || k >= Count())
        return LibraryStatus::NoEntry;
    std::move(Names.begin() + k + 1, Names.end(), Names.begin() + k);
    std::move(Records.begin() + k + 1, Records.end(), Records.begin() + k);
    Names.back() = {};
    Records.back() = {};
    return LibraryStatus::Ok;
}

LibraryStatus MacroLibrary::ImportOne(const QByteArray& file, int* index)
{
    const int c = Count();
    if (c >= ImportOneLimit)
        return LibraryStatus::Full;
    QByteArray entry = file.left(LibraryEntrySize);
    entry.append(QByteArray(LibraryEntrySize - entry.size(), '\0'));
    MacroName name{};
    MacroRecord record{};
    const auto* from = reinterpret_cast<const std::uint8_t*>(entry.constData());
    std::copy_n(from, MacroNameSize, name.begin());
    std::copy_n(from + MacroNameSize, MacroRecordSize, record.begin());
    // A file without a name would become an entry no list shows.
    if (LibraryNameEmpty(name))
        return LibraryStatus::EmptyName;
    for (int k = 0; k < c; ++k)
        if (Names[k] == name)
            return LibraryStatus::Duplicate;
    Names[c] = name;
    Records[c] = record;
    if (index)
        *index = c;
    return LibraryStatus::Ok;
}

QString LibraryText(const TextLookup& text, const QString& key, const QStringList& args)
{
    const QString said = text ? text(key) : QString();
    if (said.isEmpty())
        return (QStringList{key} + args).join(QLatin1Char(' '));
    // One pass, so an argument holding "%2" (a file name) stays as it is.
    QString out;
    for (qsizetype i = 0; i < said.size(); ++i) {
        const int n = i + 1 < said.size() ? said.at(i + 1).digitValue() : -1;
        if (said.at(i) == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            out += args.at(n - 1);
            ++i;
        } else {
            out += said.at(i);
        }
    }
    return out;
}

QString MacroLibraryFilePath(const QString& pathSetting, const QString& programFolder,
                             const QString& dataFolder)
{
    if (!pathSetting.isEmpty())
        return pathSetting + LibraryFileName;
    const QFileInfo program(programFolder);
    if (!programFolder.isEmpty() && program.isDir() && program.isWritable())
        return QDir(programFolder).filePath(LibraryFileName);
    QString data = dataFolder;
    if (data.isEmpty())
        data = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                   .filePath(LibraryDataFolderName);
    QDir().mkpath(data);
    return QDir(data).filePath(LibraryFileName);
}

QString ExportFilePath(const QString& chosen)
{
    if (chosen.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".bin");
}

FileResult WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    const ReplaceResult r = ReplaceFile(path, bytes);
    return {r.ok, r.error};
}

FileResult SaveLibrary(const MacroLibrary& library, const QString& path)
{
    return WriteFileAtomically(path, library.ToBytes());
}

CheckResult CheckPCMacro(MacroLibrary& library, const QString& path, const LibraryFileReader& read)
{
    CheckResult result;
    library = MacroLibrary{};
    if (QFileInfo::exists(path)) {
        QByteArray bytes;
        result.read = read ? read(path, LibraryFileSize, bytes) : ReadFileBytes(path, LibraryFileSize, bytes);
        if (result.read.ok) {
            library.ReadEntries(bytes);
            result.fromFile = true;
            return result;
        }
        // Unreadable: keep the file for the user, work from the built-in library.
        library.LoadDefaultLibrary();
        return result;
    }
    result.read.ok = true;
    library.LoadDefaultLibrary();
    result.save = SaveLibrary(library, path);
    return result;
}

namespace
{
// Whether one entry of a library's layout holds a name whose record the
// mouse can play: empty, or a length within the record, its check byte
// right and every event known.
bool EntryDecodes(QByteArrayView entry)
{
    MacroName name{};
    MacroRecord record{};
    entry = entry.first(std::min<qsizetype>(entry.size(), LibraryEntrySize));
    const auto* from = reinterpret_cast<const std::uint8_t*>(entry.data());
    std::copy_n(from, std::min<qsizetype>(entry.size(), MacroNameSize), name.begin());
    if (entry.size() > qsizetype(MacroNameSize))
        std::copy_n(from + MacroNameSize, std::min<qsizetype>(entry.size() - MacroNameSize, MacroRecordSize),
                    record.begin());
    if (LibraryNameEmpty(name) || MacroRecordEmpty(record))
        return true;
    MacroRecord checked = record;
    return !CheckMacroContentBuf(checked) && DecodeRecord(record).complete;
}

FileResult UndecodableEntry(const TextLookup& text, const QString& path, int entry)
{
    return {false, LibraryText(text, UndecodableEntryTextKey,
                               {QDir::toNativeSeparators(path), QString::number(entry)})};
}
} // namespace

FileResult ImportAllFile(MacroLibrary& library, const QString& path, const TextLookup& text)
{
    QByteArray bytes;
    FileResult result = ReadFileBytes(path, LibraryFileSize, bytes);
    if (!result.ok)
        return result;
    // A named entry whose record does not decode (a single macro's file or a
    // damaged one picked by mistake) would put a macro into the library that
    // no list can show and no mouse can play: the library stays as it is.
    const int covered = std::min<int>(static_cast<int>(bytes.size() / LibraryEntrySize), LibraryEntryCount);
    for (int k = 0; k < covered; ++k)
        if (!EntryDecodes(bytes.sliced(qsizetype(k) * LibraryEntrySize, LibraryEntrySize)))
            return UndecodableEntry(text, path, k + 1);
    library.ReadEntries(bytes);
    return result;
}

ImportOneResult ImportOneFile(MacroLibrary& library, const QString& path, const TextLookup& text)
{
    ImportOneResult result;
    if (library.Count() >= ImportOneLimit) {
        result.file.ok = true;
        result.status = LibraryStatus::Full;
        return result;
    }
    QByteArray bytes;
    result.file = ReadFileBytes(path, LibraryEntrySize, bytes);
    if (result.file.ok && !EntryDecodes(bytes))
        result.file = UndecodableEntry(text, path, 1);
    if (result.file.ok)
        result.status = library.ImportOne(bytes, &result.index);
    return result;
}

FileResult ExportOneFile(const MacroLibrary& library, int k, const QString& chosen)
{
    if (k < 0 || k >= library.Count())
        return {false, {}};
    return WriteFileAtomically(ExportFilePath(chosen), library.EntryBytes(k));
}

FileResult ExportAllFile(const MacroLibrary& library, const QString& chosen)
{
    return WriteFileAtomically(ExportFilePath(chosen), library.ToBytes());
}

FileResult ReadBaseMacroFile(const QString& path, MacroAreaBytes& area)
{
    QByteArray bytes;
    FileResult result = ReadFileBytes(path, static_cast<qint64>(area.size()), bytes);
    if (result.ok)
        std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size(), area.begin());
    return result;
}

} // namespace orb
