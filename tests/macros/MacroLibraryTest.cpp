#include "macros/MacroLibrary.h"

#include "rcdata.h"
#include "skin/LanguagePack.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace orb
{
namespace
{

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class LibraryFiles : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString at(const QString& name) const { return dir.filePath(name); }
    MacroLibrary Library(int entries)
    {
        MacroLibrary lib;
        for (int k = 0; k < entries; ++k) {
            EXPECT_EQ(lib.NewEntry(QStringLiteral("M%1").arg(k)), LibraryStatus::Ok);
            lib.Records[k][1] = static_cast<std::uint8_t>(k);
        }
        return lib;
    }
};

TEST(DefaultLibrary, TwentyTwoMacrosAsBuiltIn)
{
    MacroLibrary lib;
    ASSERT_TRUE(lib.LoadDefaultLibrary());
    EXPECT_EQ(lib.Count(), 22);
    EXPECT_EQ(lib.ToBytes(), *rcData("PCMacroData"));
    EXPECT_EQ(lib.ToBytes().size(), LibraryFileSize);
    const QStringList names = lib.NameList();
    EXPECT_EQ(names.first(), QString::fromUtf8("CF_5连发"));
    EXPECT_EQ(names.at(6), QString::fromUtf8("逆战_瞬狙+切枪"));
    EXPECT_EQ(names.last(), QString::fromUtf8("LOL_酒桶E闪"));
    const std::uint8_t entry0[] = {0x01, 0x0A, 0xFD, 0x04, 0xA1, 0xFE, 0x0A, 0x21, 0xFA, 0x02, 0xFC, 0x97};
    EXPECT_TRUE(std::equal(std::begin(entry0), std::end(entry0), lib.Records[0].begin()));
    for (int k = 0; k < 22; ++k) {
        SCOPED_TRACE(k);
        MacroRecord r = lib.Records[k];
        EXPECT_FALSE(CheckMacroContentBuf(r));
        const DecodedMacro d = DecodeRecord(r);
        EXPECT_TRUE(d.complete);
        EXPECT_EQ(EncodeScript(d.script, r[0] == 1).record, r);
    }
    EXPECT_EQ(
        DecodeRecord(lib.Records[0]).script.Lines.mid(1),
        (QStringList{"7 FD04", "1 LeftKey CODE:00A1", "0 80", "2 LeftKey CODE:0021", "5 FA02", "8 00FC"}));
}

TEST_F(LibraryFiles, FirstStartCreatesTheFileThenReadsIt)
{
    const QString path = at(LibraryFileName);
    MacroLibrary lib;
    CheckResult r = CheckPCMacro(lib, path);
    EXPECT_FALSE(r.fromFile);
    EXPECT_TRUE(r.save.ok);
    EXPECT_EQ(ReadAll(path), *rcData("PCMacroData"));

    lib.Delete(0);
    ASSERT_TRUE(SaveLibrary(lib, path).ok);
    MacroLibrary again;
    r = CheckPCMacro(again, path);
    EXPECT_TRUE(r.fromFile);
    EXPECT_EQ(again.Count(), 21);
    EXPECT_EQ(again.ToBytes(), lib.ToBytes());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files) == QStringList{LibraryFileName});
}

TEST_F(LibraryFiles, UnwritableFolderIsReportedNotFatal)
{
    // A folder below a plain file can never be created, not even by root.
    WriteAll(at("plain"), "x");
    const QString path = MacroLibraryFilePath(at("plain") + "/", {});
    MacroLibrary lib;
    const CheckResult r = CheckPCMacro(lib, path);
    EXPECT_FALSE(r.save.ok);
    EXPECT_FALSE(r.save.error.isEmpty());
    EXPECT_EQ(lib.Count(), 22); // runs with the library in memory
    EXPECT_FALSE(SaveLibrary(lib, path).ok);
    EXPECT_FALSE(ExportAllFile(lib, at("plain") + "/all").ok);
    MacroAreaBytes area{};
    EXPECT_FALSE(ReadBaseMacroFile(at("missing.bin"), area).ok);
    EXPECT_FALSE(ImportAllFile(lib, at("missing.bin")).ok);
    EXPECT_FALSE(ImportOneFile(lib, at("missing.bin")).file.ok);
    EXPECT_EQ(lib.Count(), 22);
}

TEST_F(LibraryFiles, WhereTheLibraryLives)
{
    EXPECT_EQ(MacroLibraryFilePath("/some/where/", dir.path()), "/some/where/ORB5610-Macro.bin");
    EXPECT_EQ(MacroLibraryFilePath("prefix-", dir.path()), "prefix-ORB5610-Macro.bin");
    EXPECT_EQ(MacroLibraryFilePath({}, dir.path() + "/"), dir.path() + "/ORB5610-Macro.bin");
    EXPECT_EQ(MacroLibraryFilePath({}, dir.path()), dir.path() + "/ORB5610-Macro.bin");
    // No usable program folder: the data folder, created on the way.
    const QString data = at("data/orb");
    EXPECT_EQ(MacroLibraryFilePath({}, at("no-such-folder"), data), data + "/ORB5610-Macro.bin");
    EXPECT_TRUE(QFileInfo(data).isDir());
}

TEST_F(LibraryFiles, DefaultDataFolderIsTheUsersNotTheProgramsName)
{
    // The window and the command-line tool carry different application
    // names; both must find the one library in the user's data folder.
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", at("xdg").toLocal8Bit());
    QDir().mkpath(at("xdg"));
    const QString path = MacroLibraryFilePath({}, {});
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(path, at("xdg/ORB5610 Gaming Mouse/ORB5610-Macro.bin"));
    EXPECT_TRUE(QFileInfo(at("xdg/ORB5610 Gaming Mouse")).isDir());
}

TEST(ExportFilePath, BinAppendedOnlyWhenMissing)
{
    EXPECT_EQ(ExportFilePath("/x/abc"), "/x/abc.bin");
    EXPECT_EQ(ExportFilePath("/x/abc.bin"), "/x/abc.bin");
    EXPECT_EQ(ExportFilePath("/x/abc.BIN"), "/x/abc.BIN");
    EXPECT_EQ(ExportFilePath("/x/abc.bin.txt"), "/x/abc.bin.txt.bin");
}

TEST_F(LibraryFiles, ExportOneThenImportItTwice)
{
    MacroLibrary source;
    source.LoadDefaultLibrary();
    ASSERT_TRUE(ExportOneFile(source, 0, at("one")).ok);
    EXPECT_EQ(ReadAll(at("one.bin")), source.EntryBytes(0));

    MacroLibrary lib = Library(5);
    ImportOneResult r = ImportOneFile(lib, at("one.bin"));
    EXPECT_EQ(r.status, LibraryStatus::Ok);
    EXPECT_EQ(r.index, 5);
    EXPECT_EQ(lib.Count(), 6);
    EXPECT_EQ(lib.Records[5], source.Records[0]);
    const QByteArray before = lib.ToBytes();
    r = ImportOneFile(lib, at("one.bin"));
    EXPECT_EQ(r.status, LibraryStatus::Duplicate);
    EXPECT_EQ(lib.ToBytes(), before); // refused whole: no name, no record taken
    EXPECT_EQ(lib.Count(), 6);
    EXPECT_EQ(lib.Names[6], MacroName{});
}

TEST_F(LibraryFiles, ImportOneNeedsFewerThanNinetyNine)
{
    WriteAll(at("one.bin"), Library(1).EntryBytes(0).replace(1, 1, "Z"));
    for (const auto& [entries, status, count] :
         {std::tuple{98, LibraryStatus::Ok, 99}, std::tuple{99, LibraryStatus::Full, 99},
          std::tuple{100, LibraryStatus::Full, 100}}) {
        SCOPED_TRACE(entries);
        MacroLibrary lib = Library(entries);
        EXPECT_EQ(ImportOneFile(lib, at("one.bin")).status, status);
        EXPECT_EQ(lib.Count(), count);
    }
    // A file with no name is not a macro.
    WriteAll(at("empty.bin"), QByteArray(10, '\0'));
    MacroLibrary lib = Library(3);
    EXPECT_EQ(ImportOneFile(lib, at("empty.bin")).status, LibraryStatus::EmptyName);
    EXPECT_EQ(lib.Count(), 3);
}

TEST_F(LibraryFiles, ShortWholeLibraryFileReplacesOnlyWhatItCovers)
{
    MacroLibrary lib = Library(10);
    MacroLibrary other = Library(0);
    other.NewEntry("X0");
    other.NewEntry("X1");
    other.NewEntry("X2");
    // Two whole entries and part of a third.
    WriteAll(at("short.bin"), other.ToBytes().left(2 * LibraryEntrySize + 100));
    ASSERT_TRUE(ImportAllFile(lib, at("short.bin")).ok);
    EXPECT_EQ(lib.NameList().mid(0, 4), (QStringList{"X0", "X1", "M2", "M3"}));
    EXPECT_EQ(lib.Count(), 10);

    ASSERT_TRUE(ExportAllFile(lib, at("all.BIN")).ok);
    EXPECT_EQ(ReadAll(at("all.BIN")), lib.ToBytes());
}

TEST_F(LibraryFiles, GapsInAnImportedLibraryAreClosed)
{
    MacroLibrary gaps = Library(4);
    gaps.Records = {}; // empty macros: the names are what this is about
    gaps.Names[1] = {};
    WriteAll(at("gaps.bin"), gaps.ToBytes());
    MacroLibrary lib;
    ASSERT_TRUE(ImportAllFile(lib, at("gaps.bin")).ok);
    EXPECT_EQ(lib.NameList(), (QStringList{"M0", "M2", "M3"}));
    int index = -1;
    ASSERT_EQ(lib.NewEntry("New", &index), LibraryStatus::Ok);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(lib.NameList(), (QStringList{"M0", "M2", "M3", "New"}));
}

// Import All takes a file only when every named entry it covers holds a
// macro that decodes: a damaged file, or a single macro's file picked by
// mistake, leaves the library as it was.
TEST_F(LibraryFiles, ImportAllRefusesAFileWithAMacroThatDoesNotDecode)
{
    MacroLibrary good;
    ASSERT_TRUE(good.LoadDefaultLibrary()); // the built-in macros all decode
    const int length = good.Records[1][1];
    ASSERT_GT(length, 1);
    struct Damage {
        const char* what;
        int entry;
        int offset; // in the record
        std::uint8_t value;
    };
    for (const Damage d :
         {Damage{"check byte", 1, length + 1, std::uint8_t(good.Records[1][length + 1] ^ 0x01)},
          Damage{"length past the record", 2, 1, 0xF0}}) {
        QByteArray bytes = good.ToBytes();
        bytes[d.entry * int(LibraryEntrySize) + int(MacroNameSize) + d.offset] = static_cast<char>(d.value);
        WriteAll(at("bad.bin"), bytes);
        MacroLibrary lib = Library(5);
        const QByteArray before = lib.ToBytes();
        // Said in each language, the entry named.
        for (int language = 1; language <= LanguageCount; ++language) {
            const TextLookup text = MakeTextLookup(language);
            const FileResult r = ImportAllFile(lib, at("bad.bin"), text);
            EXPECT_FALSE(r.ok) << d.what;
            EXPECT_TRUE(r.error.contains(text(UndecodableEntryTextKey).section(QStringLiteral("%2"), 1)))
                << qPrintable(r.error);
            EXPECT_TRUE(r.error.contains(QString::number(d.entry + 1))) << qPrintable(r.error);
            EXPECT_FALSE(r.error.contains(QLatin1Char('%'))) << qPrintable(r.error);
            if (language == 3) {
                EXPECT_TRUE(r.error.contains(QStringLiteral("entry %1").arg(d.entry + 1)))
                    << qPrintable(r.error);
            }
            EXPECT_EQ(lib.ToBytes(), before) << d.what;
        }
        // The same entry alone, as a single macro's file picked by mistake.
        WriteAll(at("one.bin"), bytes.mid(d.entry * int(LibraryEntrySize), int(LibraryEntrySize)));
        EXPECT_FALSE(ImportAllFile(lib, at("one.bin")).ok) << d.what;
        EXPECT_EQ(lib.ToBytes(), before) << d.what;
    }
    MacroLibrary lib = Library(5);
    WriteAll(at("good.bin"), good.ToBytes());
    ASSERT_TRUE(ImportAllFile(lib, at("good.bin")).ok);
    EXPECT_EQ(lib.ToBytes(), good.ToBytes());
}

TEST(LibraryEntries, NewRenameDelete)
{
    MacroLibrary lib;
    for (const char* n : {"A", "B", "C", "D", "E"})
        lib.NewEntry(n);
    for (int k = 0; k < 5; ++k)
        lib.Records[k][1] = static_cast<std::uint8_t>(k + 1);

    EXPECT_EQ(lib.Rename(2, "C"), LibraryStatus::Duplicate); // its own name too
    EXPECT_EQ(lib.Rename(2, "A"), LibraryStatus::Duplicate);
    EXPECT_EQ(lib.Rename(2, ""), LibraryStatus::EmptyName);
    EXPECT_EQ(lib.Rename(7, "Q"), LibraryStatus::NoEntry);
    EXPECT_EQ(lib.Rename(2, "Q"), LibraryStatus::Ok);
    EXPECT_EQ(lib.NewEntry("Q"), LibraryStatus::Duplicate);
    // Names are compared as stored: sixteen units.
    lib.Rename(4, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(lib.NewEntry("ABCDEFGHIJKLMNOPQ"), LibraryStatus::Duplicate);

    EXPECT_EQ(lib.Delete(2), LibraryStatus::Ok);
    EXPECT_EQ(lib.NameList(), (QStringList{"A", "B", "D", "ABCDEFGHIJKLMNOP"}));
    EXPECT_EQ(lib.Records[2][1], 4);
    EXPECT_EQ(lib.Records[3][1], 5);
    EXPECT_EQ(lib.Names[4], MacroName{});
    EXPECT_EQ(lib.Records[4], MacroRecord{});
    EXPECT_EQ(lib.Delete(4), LibraryStatus::NoEntry);

    MacroLibrary full;
    for (int k = 0; k < LibraryEntryCount; ++k)
        ASSERT_EQ(full.NewEntry(QString::number(k)), LibraryStatus::Ok);
    EXPECT_EQ(full.NewEntry("one more"), LibraryStatus::Full);
    EXPECT_EQ(full.Delete(99), LibraryStatus::Ok);
    EXPECT_EQ(full.Count(), 99);
}

TEST_F(LibraryFiles, BaseMacroFileOverTheMacroArea)
{
    MacroAreaBytes area{};
    area.fill(0x11);
    WriteAll(at("base.bin"), QByteArray(300, '\x22'));
    ASSERT_TRUE(ReadBaseMacroFile(at("base.bin"), area).ok);
    EXPECT_EQ(area[299], 0x22);
    EXPECT_EQ(area[300], 0x11);
    WriteAll(at("big.bin"), QByteArray(5000, '\x33'));
    ASSERT_TRUE(ReadBaseMacroFile(at("big.bin"), area).ok);
    EXPECT_EQ(area.back(), 0x33);
    const DeviceMacros device = ReadAndRefreshMacro(area);
    for (const MacroRecord& r : device.Records)
        EXPECT_EQ(r, MacroRecord{}); // length 0x33 with a wrong check byte
}

// Hostile files: random bytes, length bytes 0xFF, truncated and
// over-long files through every reading path, then every record decoded.
TEST_F(LibraryFiles, GeneratedFilesNeverCrashOrHang)
{
    std::mt19937 random(6400);
    MacroLibrary good;
    good.LoadDefaultLibrary();
    const QByteArray base = good.ToBytes();
    constexpr int Files = 400;
    // What the generated files reached: named entries and decoded lines.
    int namedLibraries = 0;
    int libraryLines = 0;
    for (int n = 0; n < Files; ++n) {
        QByteArray bytes;
        switch (n % 4) {
        case 0: // random bytes of a random size
            bytes.resize(static_cast<qsizetype>(random() % (LibraryFileSize + 600)));
            for (auto& c : bytes)
                c = static_cast<char>(random());
            break;
        case 1: // the built-in library cut short
            bytes = base.left(static_cast<qsizetype>(random() % LibraryFileSize));
            break;
        default: // the built-in library with damaged bytes and 0xFF lengths
            bytes = base;
            for (int k = 0, m = static_cast<int>(random() % 200); k < m; ++k)
                bytes[random() % bytes.size()] = static_cast<char>(random());
            for (int k = 0; k < LibraryEntryCount; ++k)
                if (random() % 3 == 0)
                    bytes[k * LibraryEntrySize + MacroNameSize + 1] = '\xFF';
            break;
        }
        const QString path = at("f.bin");
        WriteAll(path, bytes);
        MacroLibrary lib;
        CheckPCMacro(lib, path);
        ImportAllFile(lib, path);
        ImportOneFile(lib, path);
        MacroAreaBytes area{};
        ReadBaseMacroFile(path, area);
        DeviceMacros device = ReadAndRefreshMacro(area);
        for (const MacroRecord& r : device.Records)
            ASSERT_LE(DecodeRecord(r).script.storedSize(), MaxEventBytes);
        for (int k = 0; k < LibraryEntryCount; ++k) {
            const DecodedMacro d = DecodeRecord(lib.Records[k]);
            ASSERT_LE(d.script.storedSize(), MaxEventBytes);
            libraryLines += d.script.itemCount();
        }
        namedLibraries += lib.NameList().isEmpty() ? 0 : 1;
    }
    // The damaged and cut libraries were read as libraries, not all refused.
    EXPECT_GT(namedLibraries, Files / 2);
    EXPECT_GT(libraryLines, Files * 10);
}

} // namespace
} // namespace orb
