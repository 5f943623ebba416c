// Files the user hands the macro page: whole-library and single-macro
// imports, the library file read at start and the engineering page's
// base-macro file. Any bytes of any length: the library stays packed (named
// entries first, the rest empty), every named entry decodes, an import
// either takes the file or refuses it with a message and leaves the library
// as it was, Import One adds at most one entry, and a saved library reads
// back the same.
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace
{
void check(bool ok)
{
    if (!ok)
        std::abort();
}

const QString& scratch()
{
    static const QString path =
        QDir::tempPath() + QStringLiteral("/orb5610-fuzz-macros-%1.bin").arg(::getpid());
    return path;
}

void checkPacked(const orb::MacroLibrary& library)
{
    const int count = library.Count();
    for (int k = 0; k < orb::LibraryEntryCount; ++k)
        check(orb::LibraryNameEmpty(library.Names[std::size_t(k)]) == (k >= count));
    check(library.NameList().size() == count);
}

// Every named entry holds an empty record or one the mouse can play; an
// entry as `before` held it at the same place was checked with `before`.
void checkDecodes(const orb::MacroLibrary& library, const orb::MacroLibrary& before)
{
    for (int k = 0; k < library.Count(); ++k) {
        const orb::MacroRecord& record = library.Records[std::size_t(k)];
        if (orb::MacroRecordEmpty(record) || record == before.Records[std::size_t(k)])
            continue;
        orb::MacroRecord copy = record;
        check(!orb::CheckMacroContentBuf(copy) && orb::DecodeRecord(record).complete);
    }
}

bool same(const orb::MacroLibrary& a, const orb::MacroLibrary& b)
{
    return a.Names == b.Names && a.Records == b.Records;
}

// An import the file was refused for changes nothing and says why.
void checkImported(const orb::FileResult& result, const orb::MacroLibrary& before,
                   const orb::MacroLibrary& after)
{
    if (!result.ok) {
        check(!result.error.isEmpty());
        check(same(before, after));
    }
    checkPacked(after);
    checkDecodes(after, before);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(scratch());
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // The built-in library is decoded once; each run works on a copy.
    static const orb::MacroLibrary shipped = [] {
        orb::MacroLibrary l;
        check(l.LoadDefaultLibrary());
        checkDecodes(l, orb::MacroLibrary{});
        return l;
    }();

    // Import All over an empty library, then over the built-in one.
    orb::MacroLibrary library;
    checkImported(orb::ImportAllFile(library, scratch()), orb::MacroLibrary{}, library);
    orb::MacroLibrary overBuiltIn = shipped;
    checkImported(orb::ImportAllFile(overBuiltIn, scratch()), shipped, overBuiltIn);
    const QByteArray saved = library.ToBytes();
    check(saved.size() == orb::LibraryFileSize);
    orb::MacroLibrary reread;
    check(reread.ReadEntries(saved) == orb::LibraryEntryCount);
    check(reread.ToBytes() == saved);

    // Import One over the built-in library.
    orb::MacroLibrary builtIn = shipped;
    const int before = builtIn.Count();
    const orb::ImportOneResult one = orb::ImportOneFile(builtIn, scratch());
    checkImported(one.file, shipped, builtIn);
    const bool added = one.file.ok && one.status == orb::LibraryStatus::Ok;
    check(builtIn.Count() == before + (added ? 1 : 0));
    if (added)
        check(one.index == before);

    // The library file read at start: an existing file of any content.
    orb::MacroLibrary started;
    const orb::CheckResult start = orb::CheckPCMacro(started, scratch());
    check(start.fromFile && start.read.ok);
    checkPacked(started);

    // Base-macro file: the first 1792 bytes over the macro area.
    orb::MacroAreaBytes area;
    area.fill(0xA5);
    check(orb::ReadBaseMacroFile(scratch(), area).ok);
    const std::size_t taken = std::min<std::size_t>(size, area.size());
    check(std::equal(area.begin(), area.begin() + std::ptrdiff_t(taken), data));
    check(std::all_of(area.begin() + std::ptrdiff_t(taken), area.end(),
                      [](std::uint8_t b) { return b == 0xA5; }));
    (void)orb::ReadAndRefreshMacro(area);
    return 0;
}
