#pragma once
#include "core/Text.h"
#include "macros/MacroLibrary.h"

#include <QLockFile>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace orb
{

// Holds the library file for one read-modify-write against the window and
// the command-line tool doing the same: a lock file beside it
// ("ORB5610-Macro.bin.lock", QLockFile), since the library file itself is
// replaced by every save. A holder that died leaves a stale lock, which is
// taken over.
class LibraryFileLock
{
  public:
    // Waits up to `waitMs` for another program to let go; `text` gives the
    // reason why not in the user's language.
    explicit LibraryFileLock(const QString& libraryPath, const TextLookup& text = {},
                             int waitMs = DefaultWaitMs);
    ~LibraryFileLock();
    LibraryFileLock(const LibraryFileLock&) = delete;
    LibraryFileLock& operator=(const LibraryFileLock&) = delete;

    // Whether the read-modify-write may go on: the lock is ours, or the
    // folder takes no lock file (and so no new library file either), so the
    // read or write that follows fails with its own reason.
    bool held() const { return held_; }
    // Why not, for the user.
    const QString& error() const { return error_; }

    static constexpr int DefaultWaitMs = 3000;

  private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    QString error_;
};

// What a merge could not do as asked.
struct MergeReport {
    // New entries that no longer fit.
    int leftOut = 0;
    // Entries of ours kept under another name, since the other program made
    // or changed an entry of the same name: (our name, the name kept).
    std::vector<std::pair<MacroName, MacroName>> keptAs;
    // The name entry `name` of ours has in the merged library (itself unless kept as another).
    MacroName nameOf(const MacroName& name) const;
};

// The library after a save that found the file changed by another program
// since `base` was read or written: `onDisk` with this program's own
// changes from `base` to `mine` applied on top of it, entry by entry (by
// name): renames, deletes, new and changed macros. Nothing either side made
// is lost: entries the other program added or changed stay under their
// names (a delete here does not take an entry changed there); an entry of
// ours whose name the other program made or changed too is kept beside it
// under a free name ("Fire (2)").
MacroLibrary MergeLibraryChanges(const MacroLibrary& base, const MacroLibrary& mine,
                                 const MacroLibrary& onDisk, MergeReport* report = nullptr);

// Whether `target` is the library file itself (the same file by another
// path or link too): a file written there would replace the library.
bool IsLibraryFile(const QString& target, const QString& libraryPath);

// Language keys of the library's messages.
inline const QString LibraryInUseByTextKey = QStringLiteral("Str820");        // %1 program, %2 process
inline const QString LibraryInUseTextKey = QStringLiteral("Str821");          //
inline const QString LibraryNoLockFileTextKey = QStringLiteral("Str822");     // %1 lock file
inline const QString LibraryFullAfterMergeTextKey = QStringLiteral("Str823"); // %1 file, %2 count
inline const QString LibraryCannotSaveTextKey = QStringLiteral("Str824");     // %1 file, %2 reason
inline const QString LibraryKeptAsTextKey = QStringLiteral("Str826");         // %1 the list of names
inline const QString OpenMacroChangedTextKey = QStringLiteral("Str827");      // %1 macro
inline const QString ExportOntoLibraryTextKey = QStringLiteral("Str828");     // %1 file
// One kept name in LibraryKeptAsTextKey's list: %1 our name, %2 the name kept.
inline const QString KeptNameTextKey = QStringLiteral("Str829");

} // namespace orb
