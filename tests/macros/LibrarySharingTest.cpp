#include "macros/LibrarySharing.h"
#include "skin/LanguagePack.h"

#include <QDir>
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

QString Kept(const MergeReport& report)
{
    QStringList out;
    for (const auto& [ours, kept] : report.keptAs)
        out << MacroNameText(ours) + QLatin1Char('>') + MacroNameText(kept);
    return out.join(' ');
}

TEST(MergeLibraryChanges, OurChangesGoOnTopOfTheFileAsAnotherProgramLeftIt)
{
    const MacroLibrary base = Lib({{"A", 1}, {"B", 2}, {"C", 3}});
    const MacroLibrary added = Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}});
    const MacroLibrary replaced = Lib({{"E", 5}, {"F", 6}});
    const MacroLibrary recordedThere = Lib({{"A", 5}, {"B", 2}, {"C", 3}});
    const MacroLibrary longNameThere = Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"ABCDEFGHIJKLMNOP", 4}});
    struct Case {
        const char* name;
        MacroLibrary mine;
        const MacroLibrary& onDisk;
        const char* expected;
        const char* kept = ""; // ours kept under another name
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
        // Nothing either side made is lost: ours goes beside theirs.
        {"the same name new on both", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 8}}), added,
         "A:1 B:2 C:3 D:4 D (2):8", "D>D (2)"},
        {"the same macro new on both", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}}), added,
         "A:1 B:2 C:3 D:4"},
        {"a long name new on both", Lib({{"A", 1}, {"B", 2}, {"C", 3}, {"ABCDEFGHIJKLMNOP", 8}}),
         longNameThere, "A:1 B:2 C:3 ABCDEFGHIJKLMNOP:4 ABCDEFGHIJKL (2):8",
         "ABCDEFGHIJKLMNOP>ABCDEFGHIJKL (2)"},
        {"renamed to a name new there", Lib({{"A", 1}, {"D", 2}, {"C", 3}}), added, "A:1 C:3 D:4 D (2):2",
         "D>D (2)"},
        {"recorded on both", Lib({{"A", 9}, {"B", 2}, {"C", 3}}), recordedThere, "A:5 B:2 C:3 A (2):9",
         "A>A (2)"},
        {"deleted here, recorded there", Lib({{"B", 2}, {"C", 3}}), recordedThere, "A:5 B:2 C:3"},
        {"renamed here, recorded there", Lib({{"X", 1}, {"B", 2}, {"C", 3}}), recordedThere, "X:5 B:2 C:3"},
        {"renamed and recorded here, recorded there", Lib({{"X", 9}, {"B", 2}, {"C", 3}}), recordedThere,
         "A:5 B:2 C:3 X:9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MergeReport report;
        report.leftOut = -1;
        EXPECT_EQ(Show(MergeLibraryChanges(base, c.mine, c.onDisk, &report)),
                  QString::fromLatin1(c.expected));
        EXPECT_EQ(report.leftOut, 0);
        EXPECT_EQ(Kept(report), QString::fromLatin1(c.kept));
    }
}

TEST(MergeLibraryChanges, NewMacrosThatNoLongerFitAreCounted)
{
    const MacroLibrary base = Lib({{"A", 1}});
    MacroLibrary full;
    for (int k = 0; k < LibraryEntryCount; ++k)
        ASSERT_EQ(full.NewEntry(QStringLiteral("F%1").arg(k)), LibraryStatus::Ok);
    MergeReport report;
    const MacroLibrary merged = MergeLibraryChanges(base, Lib({{"A", 1}, {"N", 7}, {"O", 8}}), full, &report);
    EXPECT_EQ(merged.Count(), LibraryEntryCount);
    EXPECT_EQ(report.leftOut, 2);
}

TEST(LibraryFileLock, OneHolderAtATime)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("ORB5610-Macro.bin"));
    {
        const LibraryFileLock first(library);
        ASSERT_TRUE(first.held()) << first.error().toStdString();
        // Why not, in the language asked for.
        for (int language = 1; language <= LanguageCount; ++language) {
            const TextLookup text = MakeTextLookup(language);
            const LibraryFileLock second(library, text, 0);
            EXPECT_FALSE(second.held());
            const QString inUse = text(LibraryInUseByTextKey);
            ASSERT_FALSE(inUse.isEmpty());
            EXPECT_TRUE(second.error().startsWith(inUse.section(QStringLiteral("%1"), 0, 0)))
                << second.error().toStdString();
            EXPECT_FALSE(second.error().contains(QLatin1Char('%'))) << second.error().toStdString();
        }
    }
    const LibraryFileLock again(library, {}, 0);
    EXPECT_TRUE(again.held());
}

TEST(LibraryFile, AnExportTargetIsTheLibraryByAnyPathOrLink)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("ORB5610-Macro.bin"));
    QFile f(library);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
    ASSERT_TRUE(QFile::link(library, dir.filePath(QStringLiteral("link.bin"))));
    const struct {
        QString target;
        bool isLibrary;
    } cases[] = {
        {library, true},
        {dir.filePath(QStringLiteral("sub/../ORB5610-Macro.bin")), true},
        {dir.filePath(QStringLiteral("link.bin")), true},
        {dir.filePath(QStringLiteral("ORB5610-Macro.bin.bin")), false},
        {dir.filePath(QStringLiteral("sub/ORB5610-Macro.bin")), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsLibraryFile(c.target, library), c.isLibrary) << c.target.toStdString();
}

} // namespace
} // namespace orb
