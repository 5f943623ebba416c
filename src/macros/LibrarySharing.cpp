#include "macros/LibrarySharing.h"

#include <QFileInfo>

#include <vector>

namespace orb
{

LibraryFileLock::LibraryFileLock(const QString& libraryPath, int waitMs)
    : lock_(std::make_unique<QLockFile>(libraryPath + QStringLiteral(".lock")))
{
    held_ = lock_->tryLock(waitMs);
    if (held_)
        return;
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, program;
        if (lock_->getLockInfo(&pid, &host, &program))
            error_ = QStringLiteral("the macro library is in use by %1 (process %2)")
                         .arg(program.isEmpty() ? QStringLiteral("another program") : program)
                         .arg(pid);
        else
            error_ = QStringLiteral("the macro library is in use by another program");
        return;
    }
    // No lock file can be made: in a folder we may not write (or that is not
    // there) nobody makes a new library file either, and what fails next
    // says why. A folder we may write that takes no lock file is refused.
    const QFileInfo folder(QFileInfo(libraryPath).absolutePath());
    held_ = !(folder.isDir() && folder.isWritable());
    if (!held_)
        error_ = QStringLiteral("cannot make the lock file %1.lock").arg(libraryPath);
}

LibraryFileLock::~LibraryFileLock() = default; // QLockFile lets go and removes its file

namespace
{

// The entry called `name` among the entries in use, or -1.
int Find(const MacroLibrary& library, const MacroName& name)
{
    const int count = library.Count();
    for (int k = 0; k < count; ++k)
        if (library.Names[std::size_t(k)] == name)
            return k;
    return -1;
}

bool Append(MacroLibrary& library, const MacroName& name, const MacroRecord& record)
{
    const int count = library.Count();
    if (count >= LibraryEntryCount)
        return false;
    library.Names[std::size_t(count)] = name;
    library.Records[std::size_t(count)] = record;
    return true;
}

} // namespace

MacroLibrary MergeLibraryChanges(const MacroLibrary& base, const MacroLibrary& mine,
                                 const MacroLibrary& onDisk, int* leftOut)
{
    MacroLibrary result = onDisk;
    result.Pack();
    int notTaken = 0;
    const int baseCount = base.Count();
    const int mineCount = mine.Count();

    // A rename keeps the entry's place: the old name gone from that place
    // and a name new to the library in it.
    std::vector<bool> renamedFrom(std::size_t(LibraryEntryCount), false);
    std::vector<bool> renamedTo(std::size_t(LibraryEntryCount), false);
    for (int k = 0; k < baseCount && k < mineCount; ++k) {
        const MacroName& before = base.Names[std::size_t(k)];
        const MacroName& after = mine.Names[std::size_t(k)];
        if (before == after || Find(mine, before) >= 0 || Find(base, after) >= 0)
            continue;
        const int there = Find(result, before);
        if (there < 0 || Find(result, after) >= 0)
            continue; // gone or taken meanwhile: the entry counts as new below
        result.Names[std::size_t(there)] = after;
        if (mine.Records[std::size_t(k)] != base.Records[std::size_t(k)])
            result.Records[std::size_t(there)] = mine.Records[std::size_t(k)];
        renamedFrom[std::size_t(k)] = true;
        renamedTo[std::size_t(k)] = true;
    }
    // Deleted here: deleted there too.
    for (int k = 0; k < baseCount; ++k) {
        if (renamedFrom[std::size_t(k)] || Find(mine, base.Names[std::size_t(k)]) >= 0)
            continue;
        const int there = Find(result, base.Names[std::size_t(k)]);
        if (there >= 0)
            result.Delete(there);
    }
    // New or changed here: the same there, added at the end when missing.
    for (int k = 0; k < mineCount; ++k) {
        if (renamedTo[std::size_t(k)])
            continue;
        const MacroName& name = mine.Names[std::size_t(k)];
        const MacroRecord& record = mine.Records[std::size_t(k)];
        const int before = Find(base, name);
        if (before >= 0 && base.Records[std::size_t(before)] == record)
            continue; // unchanged here: whatever is there stays
        const int there = Find(result, name);
        if (there >= 0)
            result.Records[std::size_t(there)] = record;
        else if (!Append(result, name, record))
            ++notTaken;
    }
    if (leftOut)
        *leftOut = notTaken;
    return result;
}

} // namespace orb
