#pragma once
#include "core/Text.h"
#include "image/ConfigImage.h"
#include "macros/MacroCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace orb
{

// The program's own macros: 100 entries of a 32-byte name and a macro
// record, kept packed (entries in use first). The library file and the
// built-in library are the 100 entries in order, 256 bytes each.
inline constexpr int LibraryEntryCount = 100;
inline constexpr int LibraryEntrySize = static_cast<int>(MacroNameSize + MacroRecordSize);
inline constexpr int LibraryFileSize = LibraryEntryCount * LibraryEntrySize;
// Import One takes a macro only while fewer than this many are in use.
inline constexpr int ImportOneLimit = 99;
inline const QString LibraryFileName = QStringLiteral("ORB5610-Macro.bin");
// The library's folder below the user's data location.
inline const QString LibraryDataFolderName = QStringLiteral("ORB5610 Gaming Mouse");
// Language key of the message for a name already in the library.
inline const QString DuplicateNameTextKey = QStringLiteral("Str106");
// Language key of the refusal of a file whose macro does not decode: %1 file, %2 entry.
inline const QString UndecodableEntryTextKey = QStringLiteral("Str825");

// The text of language key `key` with `args` for %1, %2, ...; without a
// lookup (tests, fuzzing) the key and the arguments.
QString LibraryText(const TextLookup& text, const QString& key, const QStringList& args = {});

enum class LibraryStatus {
    Ok,
    Duplicate, // the name is already in the library: show DuplicateNameTextKey
    Full,      // no room for another entry
    NoEntry,   // no entry with that number is in use
    EmptyName, // an empty name, or a file that holds none
};

class MacroLibrary
{
  public:
    std::array<MacroName, LibraryEntryCount> Names{};
    std::array<MacroRecord, LibraryEntryCount> Records{};

    // Entries in use (named ones; they are packed at the front).
    int Count() const;
    // The names of the entries in use, in order (the library lists).
    QStringList NameList() const;
    // Whether some entry in use is called `text` (after cutting it to a name's length).
    bool HasName(const QString& text) const;

    // The 25600 bytes of the library file.
    QByteArray ToBytes() const;
    // One entry's 256 bytes.
    QByteArray EntryBytes(int k) const;
    // Entries the bytes cover whole replace those of the library (a shorter
    // file leaves the rest as they were); returns how many. Then Pack().
    int ReadEntries(const QByteArray& bytes);
    // Named entries move to the front in their order, so new and imported
    // entries (which go after the last one in use) never land on one.
    void Pack();
    // Everything from the built-in library "PCMacroData"; false when the
    // program does not carry it (the library is then empty).
    bool LoadDefaultLibrary();

    // A new, empty macro after the last one; its number goes to *index.
    LibraryStatus NewEntry(const QString& name, int* index = nullptr);
    // Another name for entry k; its own current name counts as taken.
    LibraryStatus Rename(int k, const QString& name);
    // Removes entry k; the later ones move down by one.
    LibraryStatus Delete(int k);
    // One macro from the bytes of a single-macro file (shorter files are
    // taken as zero-filled), added after the last one.
    LibraryStatus ImportOne(const QByteArray& file, int* index = nullptr);
};

// Outcome of a file operation; error holds the system's text on failure.
struct FileResult {
    bool ok = false;
    QString error;
};

// Where the library file lives: pathSetting + LibraryFileName when the
// [org] "Path" is set (a prefix used exactly as written); else the program's
// folder when it can be written; else dataFolder (when empty, the user's
// data folder: "ORB5610 Gaming Mouse" in the generic data location, the same
// for the window and the command-line tool), created as needed.
QString MacroLibraryFilePath(const QString& pathSetting, const QString& programFolder,
                             const QString& dataFolder = {});

// The file an export goes to: ".bin" appended unless the name already ends
// in it (any letter case).
QString ExportFilePath(const QString& chosen);

// Writes all bytes to path through ReplaceFile: a failure leaves any earlier
// file as it was, and an existing file keeps its mode, owner and links.
FileResult WriteFileAtomically(const QString& path, const QByteArray& bytes);
// RefreshPCMacro: the whole library to its file.
FileResult SaveLibrary(const MacroLibrary& library, const QString& path);

struct CheckResult {
    bool fromFile = false; // the file existed and was read
    FileResult read;       // reading an existing file
    FileResult save;       // creating the file from the built-in library
};
// Reads at most `limit` bytes of the file at `path` into `bytes`.
using LibraryFileReader = std::function<FileResult(const QString& path, qint64 limit, QByteArray& bytes)>;
// Start-up: the library from its file, or from the built-in library, which
// is then written to the file. A file that exists but cannot be read is
// left alone (the built-in library is used in memory). `read` reads the
// existing file (empty: from the disk). Never throws.
CheckResult CheckPCMacro(MacroLibrary& library, const QString& path, const LibraryFileReader& read = {});

// Import All: whole entries the file covers replace the library's. `text`
// words the refusal of an entry that does not decode.
FileResult ImportAllFile(MacroLibrary& library, const QString& path, const TextLookup& text = {});
struct ImportOneResult {
    FileResult file;
    LibraryStatus status = LibraryStatus::Ok;
    int index = -1;
};
ImportOneResult ImportOneFile(MacroLibrary& library, const QString& path, const TextLookup& text = {});
// Export One / Export All to the chosen name (ExportFilePath applied).
FileResult ExportOneFile(const MacroLibrary& library, int k, const QString& chosen);
FileResult ExportAllFile(const MacroLibrary& library, const QString& chosen);
// Base-macro import: the first 1792 bytes of the file over the macro area
// (a shorter file leaves the rest as it was). Run ReadAndRefreshMacro after.
FileResult ReadBaseMacroFile(const QString& path, MacroAreaBytes& area);

} // namespace orb
