// The window and the command-line tool on one macro library file: neither
// loses the other's changes.
#include "MacroEditorFixture.h"
#include "MacroPageFixture.h"
#include "ctl/Ctl.h"
#include "ctl/MouseLink.h"
#include "macros/LibrarySharing.h"

#include <QTemporaryDir>
#include <QTextStream>

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

} // namespace
