#pragma once
#include "macros/MacroLibrary.h"

#include <QLockFile>
#include <QString>

#include <memory>

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
    // Waits up to `waitMs` for another program to let go.
    explicit LibraryFileLock(const QString& libraryPath, int waitMs = DefaultWaitMs);
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

// The library after a save that found the file changed by another program
// since `base` was read or written: `onDisk` with this program's own
// changes from `base` to `mine` applied on top of it, entry by entry (by
// name): renames, deletes, new and changed macros. Entries the other
// program added or changed stay. New entries that no longer fit are counted
// in *leftOut.
MacroLibrary MergeLibraryChanges(const MacroLibrary& base, const MacroLibrary& mine,
                                 const MacroLibrary& onDisk, int* leftOut = nullptr);

} // namespace orb
