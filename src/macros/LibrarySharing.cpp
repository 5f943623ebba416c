#include "macros/LibrarySharing.h"

#include <QFileInfo>

#include <filesystem>
#include <vector>

namespace orb
{

LibraryFileLock::LibraryFileLock(const QString& libraryPath, const TextLookup& text, int waitMs)
    : lock_(std::make_unique<QLockFile>(libraryPath + QStringLiteral(".lock")))
{
    held_ = lock_->tryLock(waitMs);
    if (held_)
        return;
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, program;
        if (lock_->getLockInfo(&pid, &host, &program) && !program.isEmpty())
            error_ = LibraryText(text, LibraryInUseByTextKey, {program, QString::number(pid)});
        else
            error_ = LibraryText(text, LibraryInUseTextKey);
        return;
    }
    // No lock file can be made: in a folder we may not write (or that is not
    // there) nobody makes a new library file either, and what fails next
    // says why. A folder we may write that takes no lock file is refused.
    const QFileInfo folder(QFileInfo(libraryPath).absolutePath());
    held_ = !(folder.isDir() && folder.isWritable());
    if (!held_)
        error_ = LibraryText(text, LibraryNoLockFileTextKey, {libraryPath + QStringLiteral(".lock")});
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

MacroName MergeReport::nameOf(const MacroName& name) const
{
    for (const auto& [ours, kept] : keptAs)
        if (ours == name)
            return kept;
    return name;
}

namespace
{

// A name for an entry of ours beside the other program's of the same name:
// "Fire (2)", "Fire (3)" ..., cut to fit, taken by none of the libraries.
MacroName FreeName(const MacroName& name, std::initializer_list<const MacroLibrary*> libraries)
{
    const QString text = MacroNameText(name);
    for (int n = 2;; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        QString stem = text.left(MacroNameUnits - suffix.size());
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
        const MacroName candidate = MacroNameStrToUnicode(stem + suffix);
        bool taken = false;
        for (const MacroLibrary* l : libraries)
            taken = taken || Find(*l, candidate) >= 0;
        if (!taken)
            return candidate;
    }
}

} // namespace

MacroLibrary MergeLibraryChanges(const MacroLibrary& base, const MacroLibrary& mine,
                                 const MacroLibrary& onDisk, MergeReport* report)
{
    MacroLibrary result = onDisk;
    result.Pack();
    MergeReport said;
    const int baseCount = base.Count();
    const int mineCount = mine.Count();
    // Whether the other program changed the record of entry `name` since
    // base (a name new there counts as changed).
    const auto changedThere = [&](const MacroName& name) {
        const int there = Find(result, name);
        const int before = Find(base, name);
        return there >= 0 &&
               (before < 0 || result.Records[std::size_t(there)] != base.Records[std::size_t(before)]);
    };

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
        const bool recordedHere = mine.Records[std::size_t(k)] != base.Records[std::size_t(k)];
        if (recordedHere && changedThere(before)) {
            // Both changed the macro: theirs stays as it is, ours goes in as new.
            renamedFrom[std::size_t(k)] = true;
            continue;
        }
        result.Names[std::size_t(there)] = after;
        if (recordedHere)
            result.Records[std::size_t(there)] = mine.Records[std::size_t(k)];
        renamedFrom[std::size_t(k)] = true;
        renamedTo[std::size_t(k)] = true;
    }
    // Deleted here: deleted there too, unless the other program changed it.
    for (int k = 0; k < baseCount; ++k) {
        const MacroName& name = base.Names[std::size_t(k)];
        if (renamedFrom[std::size_t(k)] || Find(mine, name) >= 0 || changedThere(name))
            continue;
        const int there = Find(result, name);
        if (there >= 0)
            result.Delete(there);
    }
    // New or changed here: the same there, added at the end when missing;
    // beside theirs under a free name when the other program made or changed
    // an entry of that name too.
    for (int k = 0; k < mineCount; ++k) {
        if (renamedTo[std::size_t(k)])
            continue;
        const MacroName& name = mine.Names[std::size_t(k)];
        const MacroRecord& record = mine.Records[std::size_t(k)];
        const int before = Find(base, name);
        if (before >= 0 && base.Records[std::size_t(before)] == record)
            continue; // unchanged here: whatever is there stays
        const int there = Find(result, name);
        if (there >= 0 && result.Records[std::size_t(there)] == record)
            continue; // the same on both sides
        if (there >= 0 && !changedThere(name)) {
            result.Records[std::size_t(there)] = record;
            continue;
        }
        MacroName kept = name;
        if (there >= 0)
            kept = FreeName(name, {&result, &mine, &base});
        if (!Append(result, kept, record))
            ++said.leftOut;
        else if (kept != name)
            said.keptAs.emplace_back(name, kept);
    }
    if (report)
        *report = said;
    return result;
}

bool IsLibraryFile(const QString& target, const QString& libraryPath)
{
    std::error_code error;
    const std::filesystem::path a(target.toStdString()), b(libraryPath.toStdString());
    if (std::filesystem::equivalent(a, b, error))
        return true; // the same file, by a link or another spelling
    // Not there yet (or not readable): the same path once made absolute and clean.
    return QFileInfo(target).absoluteFilePath() == QFileInfo(libraryPath).absoluteFilePath();
}

} // namespace orb
