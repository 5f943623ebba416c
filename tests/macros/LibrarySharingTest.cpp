#include "macros/LibrarySharing.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace orb
{
namespace
{

// A library of named entries whose records tell them apart: {"A", 1} is a
// macro called A whose record starts with 1.
using Entry = std::pair<const char*, int>;

MacroLibrary Lib(std::initializer_list<Entry> entries)
{
    MacroLibrary lib;
    int k = 0;
    for (const auto& [name, mark] : entries) {
        EXPECT_EQ(lib.NewEntry(QString::fromLatin1(name)), LibraryStatus::Ok);
        lib.Records[std::size_t(k++)][0] = std::uint8_t(mark);
    }
    return lib;
}

QString Show(const MacroLibrary& lib)
{
    QStringList out;
    for (int k = 0; k < lib.Count(); ++k)
        out << QStringLiteral("%1:%2").arg(lib.NameList().at(k)).arg(lib.Records[std::size_t(k)][0]);
    return out.join(' ');
}

TEST(MergeLibraryChanges, OurChangesGoOnTopOfTheFileAsAnotherProgramLeftIt)
{
    const MacroLibrary base = Lib({{"A", 1}, {"B", 2}, {"C", 3}});
    const MacroLibrary added = Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}});
    const MacroLibrary replaced = Lib({{"E", 5}, {"F", 6}});
    struct Case {
        const char* name;
        MacroLibrary mine;
        const MacroLibrary& onDisk;
        const char* expected;
    };
    const Case cases[] = {
        {"nothing changed here", base, added, "A:1 B:2 C:3 D:4"},
        {"renamed", Lib({{"A", 1}, {"X", 2}, {"C", 3}}), added, "A:1 X:2 C:3 D:4"},
        {"deleted", Lib({{"A", 1}, {"C", 3}}), added, "A:1 C:3 D:4"},
        {"deleted the last", Lib({{"A", 1}, {"B", 2}}), added, "A:1 B:2 D:4"},
        {"new", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"N", 7}}), added, "A:1 B:2 C:3 D:4 N:7"},
        {"recorded", Lib({{"A", 9}, {"B", 2}, {"C", 3}}), added, "A:9 B:2 C:3 D:4"},
        {"new, the file replaced", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"N", 7}}), replaced, "E:5 F:6 N:7"},
        {"recorded, the file replaced", Lib({{"A", 9}, {"B", 2}, {"C", 3}}), replaced, "E:5 F:6 A:9"},
        {"the same name new on both", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 8}}), added,
         "A:1 B:2 C:3 D:8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int leftOut = -1;
        EXPECT_EQ(Show(MergeLibraryChanges(base, c.mine, c.onDisk, &leftOut)),
                  QString::fromLatin1(c.expected));
        EXPECT_EQ(leftOut, 0);
    }
}

TEST(MergeLibraryChanges, NewMacrosThatNoLongerFitAreCounted)
{
    const MacroLibrary base = Lib({{"A", 1}});
    MacroLibrary full;
    for (int k = 0; k < LibraryEntryCount; ++k)
        ASSERT_EQ(full.NewEntry(QStringLiteral("F%1").arg(k)), LibraryStatus::Ok);
    int leftOut = 0;
    const MacroLibrary merged =
        MergeLibraryChanges(base, Lib({{"A", 1}, {"N", 7}, {"O", 8}}), full, &leftOut);
    EXPECT_EQ(merged.Count(), LibraryEntryCount);
    EXPECT_EQ(leftOut, 2);
}

TEST(LibraryFileLock, OneHolderAtATime)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("ORB5610-Macro.bin"));
    {
        const LibraryFileLock first(library);
        ASSERT_TRUE(first.held()) << first.error().toStdString();
        const LibraryFileLock second(library, 0);
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.error().contains(QStringLiteral("in use"))) << second.error().toStdString();
    }
    const LibraryFileLock again(library, 0);
    EXPECT_TRUE(again.held());
}

} // namespace
} // namespace orb
