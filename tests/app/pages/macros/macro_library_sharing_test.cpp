// The window and the command-line tool on one macro library file: neither
// loses the other's changes.
#include "MacroEditorFixture.h"
#include "MacroPageFixture.h"
#include "ctl/Ctl.h"
#include "ctl/MouseLink.h"
#include "macros/LibrarySharing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{

struct LibrarySharingUi : MacroEditorUi {
    QTemporaryDir files;
    QString toolOut;

    // orb5610ctl on the window's library file.
    int tool(const QStringList& args)
    {
        toolOut.clear();
        QTextStream out(&toolOut);
        ctl::Environment env;
        env.out = &out;
        env.err = &out;
        env.programFolder = files.path() + QLatin1Char('/');
        return ctl::RunCtl(QStringList{QStringLiteral("--library"), page().libraryPath()} + args, env);
    }
    // A single-macro file called `name`, as the tool imports it.
    QString singleMacro(const QString& name)
    {
        MacroLibrary one;
        EXPECT_EQ(one.NewEntry(name), LibraryStatus::Ok);
        const QString path = files.filePath(name + QStringLiteral(".bin"));
        EXPECT_TRUE(writeBytes(path, one.EntryBytes(0)));
        return path;
    }
    MacroLibrary onDisk() const
    {
        MacroLibrary lib;
        lib.ReadEntries(fileBytes(page().libraryPath()));
        return lib;
    }
    // Another program changes the library file, holding its lock as the
    // tool does.
    void otherProgram(const std::function<void(MacroLibrary&)>& change)
    {
        const LibraryFileLock lock(page().libraryPath());
        ASSERT_TRUE(lock.held());
        MacroLibrary lib = onDisk();
        change(lib);
        ASSERT_TRUE(SaveLibrary(lib, page().libraryPath()).ok);
    }
    // Every message box from now on notes whether the library could be had
    // while it was open.
    std::vector<bool> libraryFreeDuringBox;
    void watchBoxes()
    {
        services.onMessage = [this](const FakeServices::Shown&) {
            libraryFreeDuringBox.push_back(LibraryFileLock(page().libraryPath(), {}, 0).held());
        };
    }
    // The window's message for `key` with `args`, in the window's language.
    QString said(const QString& key, const QStringList& args) const
    {
        return LibraryText([this](const QString& k) { return window->skin().LookupText(k); }, key, args);
    }
    static MacroRecord Lines(const QStringList& lines)
    {
        MacroScript s;
        s.Lines = QStringList{QStringLiteral("10")} + lines;
        return EncodeScript(s, false).record;
    }
    int entry(const QString& name) const { return int(page().library().NameList().indexOf(name)); }
};

TEST_F(LibrarySharingUi, AMacroTheToolImportedStaysThroughTheWindowsNextChanges)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")});
    const QStringList before = page().library().NameList();
    ASSERT_EQ(
        tool({QStringLiteral("macros"), QStringLiteral("import"), singleMacro(QStringLiteral("from tool"))}),
        ctl::ExitOk)
        << toolOut.toStdString();

    // Entry 1 renamed in the window: the file has both changes, and the
    // window lists the tool's macro too.
    libraryMenu(*this, 1, "Btn_NewName");
    confirmField<TForm3>(*this, QStringLiteral("renamed"), QStringLiteral("renamed"));
    QStringList expected = before;
    expected[1] = QStringLiteral("renamed");
    expected << QStringLiteral("from tool");
    EXPECT_EQ(onDisk().NameList(), expected);
    EXPECT_EQ(page().library().NameList(), expected);
    EXPECT_EQ(list("LB_PCMacroName")->count(), expected.size());
    ASSERT_EQ(list("LB_Name")->count(), expected.size());
    EXPECT_EQ(list("LB_Name")->item(expected.size() - 1)->text(), QStringLiteral("from tool"));
    EXPECT_EQ(page().SelectedLibraryMacro(), 1); // still the renamed one
    EXPECT_TRUE(services.messages.empty());

    // And the other way: the window deletes, the tool imports, the window deletes again.
    libraryMenu(*this, 0, "Btn_DelPCMacro");
    ASSERT_EQ(
        tool({QStringLiteral("macros"), QStringLiteral("import"), singleMacro(QStringLiteral("second"))}),
        ctl::ExitOk);
    libraryMenu(*this, 0, "Btn_DelPCMacro");
    expected = expected.mid(2) << QStringLiteral("second");
    EXPECT_EQ(onDisk().NameList(), expected);
    EXPECT_EQ(page().library().NameList(), expected);
}

TEST_F(LibrarySharingUi, WhileTheWindowHoldsTheLibraryTheToolChangesNothingAndSaysWhy)
{
    startRead();
    const QByteArray before = fileBytes(page().libraryPath());
    {
        const LibraryFileLock window(page().libraryPath());
        ASSERT_TRUE(window.held());
        // Held past the tool's wait: it says so and changes nothing.
        EXPECT_EQ(
            tool({QStringLiteral("macros"), QStringLiteral("import"), singleMacro(QStringLiteral("late"))}),
            ctl::ExitBadFile);
        EXPECT_TRUE(toolOut.contains(QStringLiteral("in use"))) << toolOut.toStdString();
    }
    EXPECT_EQ(fileBytes(page().libraryPath()), before);
}

TEST_F(LibrarySharingUi, AMacroNewInTheWindowUnderANameTheToolJustImportedKeepsBothAndSaysSo)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")});
    watchBoxes();
    // The tool's "Fire" has lines; the window's new one is empty.
    MacroLibrary one;
    ASSERT_EQ(one.NewEntry(QStringLiteral("Fire")), LibraryStatus::Ok);
    one.Records[0] = Lines({QStringLiteral("1 B CODE:8205"), QStringLiteral("2 B CODE:0205")});
    const QString file = files.filePath(QStringLiteral("fire.bin"));
    ASSERT_TRUE(writeBytes(file, one.EntryBytes(0)));
    ASSERT_EQ(tool({QStringLiteral("macros"), QStringLiteral("import"), file}), ctl::ExitOk)
        << toolOut.toStdString();

    libraryMenu(*this, 0, "Btn_NewMacro");
    confirmField<TForm3>(*this, QStringLiteral("Fire"), QStringLiteral("Fire"));

    const QStringList names = onDisk().NameList();
    const int theirs = int(names.indexOf(QStringLiteral("Fire")));
    const int mine = int(names.indexOf(QStringLiteral("Fire (2)")));
    ASSERT_GE(theirs, 0);
    ASSERT_GE(mine, 0);
    EXPECT_EQ(onDisk().Records[std::size_t(theirs)], one.Records[0]);
    EXPECT_TRUE(MacroRecordEmpty(onDisk().Records[std::size_t(mine)]));
    EXPECT_EQ(page().library().NameList(), names);
    // The window's new macro stays the open one, under the name it has now.
    EXPECT_EQ(page().SelectedLibraryMacro(), mine);
    EXPECT_TRUE(events().isEmpty());
    ASSERT_EQ(services.texts().size(), 1);
    EXPECT_EQ(services.texts()[0],
              said(LibraryKeptAsTextKey,
                   {said(KeptNameTextKey, {QStringLiteral("Fire"), QStringLiteral("Fire (2)")})}));
    EXPECT_EQ(libraryFreeDuringBox, std::vector<bool>{true});
}

TEST_F(LibrarySharingUi, AfterAMergeTheOpenMacroShowsWhatTheLibraryHolds)
{
    const QStringList mine = {QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")};
    const QStringList theirs = {QStringLiteral("1 B CODE:8205"), QStringLiteral("2 B CODE:0205"),
                                QStringLiteral("1 C CODE:8206"), QStringLiteral("2 C CODE:0206")};
    openMacro(mine);
    ASSERT_TRUE(page().RefreshPCMacro());
    watchBoxes();
    otherProgram([&](MacroLibrary& lib) { lib.Records[0] = Lines(theirs); });

    // The open macro renamed: the save takes in the other program's lines,
    // and the page shows them.
    libraryMenu(*this, 0, "Btn_NewName");
    confirmField<TForm3>(*this, QStringLiteral("renamed"), QStringLiteral("renamed"));
    EXPECT_EQ(onDisk().NameList().at(0), QStringLiteral("renamed"));
    EXPECT_EQ(onDisk().Records[0], Lines(theirs));
    EXPECT_EQ(page().SelectedLibraryMacro(), 0);
    EXPECT_EQ(events(), theirs);
    EXPECT_EQ(services.texts(), QStringList{said(OpenMacroChangedTextKey, {QStringLiteral("renamed")})});

    // The next line edit goes on top of the other program's lines.
    lineMenu(0, "Btn_Del");
    EXPECT_TRUE(events().contains(QStringLiteral("1 C CODE:8206")));
    EXPECT_LT(events().size(), theirs.size());
    EXPECT_EQ(onDisk().Records[0], page().library().Records[0]);
    EXPECT_EQ(DecodeRecord(onDisk().Records[0]).script.Lines.mid(1), events());
    EXPECT_EQ(libraryFreeDuringBox, std::vector<bool>{true});
}

TEST_F(LibrarySharingUi, ALineEditOnAMacroTheOtherProgramChangedKeepsBoth)
{
    const QStringList mine = {QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")};
    const QStringList theirs = {QStringLiteral("1 B CODE:8205"), QStringLiteral("2 B CODE:0205")};
    openMacro(mine);
    ASSERT_TRUE(page().RefreshPCMacro());
    const QString name = page().library().NameList().at(0);
    otherProgram([&](MacroLibrary& lib) { lib.Records[0] = Lines(theirs); });

    // The edit was made on lines the other program has replaced meanwhile:
    // both are kept, and the window goes on with its own.
    lineMenu(0, "Btn_Del");
    const MacroLibrary disk = onDisk();
    EXPECT_EQ(MacroNameText(disk.Names[0]), name);
    EXPECT_EQ(disk.Records[0], Lines(theirs));
    const int at = int(disk.NameList().indexOf(name + QStringLiteral(" (2)")));
    ASSERT_GT(at, 0);
    EXPECT_LT(events().size(), mine.size());
    EXPECT_EQ(DecodeRecord(disk.Records[std::size_t(at)]).script.Lines.mid(1), events());
    EXPECT_EQ(page().SelectedLibraryMacro(), at);
    EXPECT_EQ(page().library().NameList(), disk.NameList());
}

TEST_F(LibrarySharingUi, AnExportOntoTheLibraryItselfIsRefused)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")});
    ASSERT_TRUE(page().RefreshPCMacro());
    const QString library = page().libraryPath();
    const QString link = files.filePath(QStringLiteral("link.bin"));
    ASSERT_TRUE(QFile::link(library, link));
    const QByteArray before = fileBytes(library);
    const struct {
        const char* item;
        QString chosen;
    } cases[] = {
        {"Btn_ExportOne", library},
        {"Btn_ExportOne", library.chopped(4)}, // ".bin" is added
        {"Btn_ExportOne", link},
        {"Btn_Export", library},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString() + " " + c.item);
        services.messages.clear();
        services.saveAnswers.push_back(c.chosen);
        libraryMenu(*this, 0, c.item);
        EXPECT_EQ(fileBytes(library), before);
        ASSERT_EQ(services.texts().size(), 1);
        EXPECT_EQ(services.texts()[0], said(ExportOntoLibraryTextKey, {ExportFilePath(c.chosen)}));
    }
    // The next save keeps every entry.
    const int count = page().library().Count();
    libraryMenu(*this, 1, "Btn_NewName");
    confirmField<TForm3>(*this, QStringLiteral("renamed"), QStringLiteral("renamed"));
    EXPECT_EQ(onDisk().Count(), count);
    EXPECT_EQ(page().library().Count(), count);
    // The tool refuses it too.
    EXPECT_EQ(tool({QStringLiteral("macros"), QStringLiteral("export"), QStringLiteral("--entry"),
                    QStringLiteral("1"), library}),
              ctl::ExitUsage)
        << toolOut.toStdString();
    EXPECT_EQ(onDisk().Count(), count);
}

TEST_F(LibrarySharingUi, NoMessageBoxHoldsTheLibrary)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")});
    ASSERT_TRUE(page().RefreshPCMacro());
    watchBoxes();
    const QString library = page().libraryPath();

    // The library full once the other program's macros are taken in.
    otherProgram([](MacroLibrary& lib) {
        for (int k = lib.Count(); k < LibraryEntryCount; ++k)
            ASSERT_EQ(lib.NewEntry(QStringLiteral("other %1").arg(k)), LibraryStatus::Ok);
    });
    libraryMenu(*this, 0, "Btn_NewMacro");
    confirmField<TForm3>(*this, QStringLiteral("late"), QStringLiteral("late"));
    ASSERT_EQ(services.texts().size(), 1);
    EXPECT_EQ(services.texts()[0],
              said(LibraryFullAfterMergeTextKey, {QDir::toNativeSeparators(library), QStringLiteral("1")}));
    EXPECT_EQ(onDisk().Count(), LibraryEntryCount);

    // A file that cannot be written.
    services.messages.clear();
    ASSERT_TRUE(QFile::setPermissions(library, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    libraryMenu(*this, 1, "Btn_NewName");
    confirmField<TForm3>(*this, QStringLiteral("renamed"), QStringLiteral("renamed"));
    ASSERT_EQ(services.texts().size(), 1);
    const QString cut = QStringLiteral("@@");
    EXPECT_TRUE(services.texts()[0].startsWith(
        said(LibraryCannotSaveTextKey, {QDir::toNativeSeparators(library), cut}).section(cut, 0, 0)))
        << services.texts()[0].toStdString();

    EXPECT_EQ(libraryFreeDuringBox, (std::vector<bool>{true, true}));
}

TEST_F(LibrarySharingUi, TheWindowSaysTheLibraryIsInUseInItsLanguage)
{
    startRead();
    const LibraryFileLock other(page().libraryPath());
    ASSERT_TRUE(other.held());
    EXPECT_FALSE(page().RefreshPCMacro()); // waits for the other program, then gives up
    ASSERT_EQ(services.texts().size(), 1);
    const QString inUse = said(LibraryInUseByTextKey, {QStringLiteral("%1"), QStringLiteral("%2")});
    EXPECT_TRUE(services.texts()[0].contains(inUse.section(QStringLiteral("%1"), 0, 0)))
        << services.texts()[0].toStdString();
    EXPECT_FALSE(services.texts()[0].contains(QStringLiteral("in use by"))); // the window shows language 1
}

} // namespace
