// The macro page's one open macro and its recordings: the open macro is the
// one the library list shows selected, however it was selected; an edit
// dialog changes only the macro it was opened on; nothing but the button
// that stops a recording can change the script or the selection while it
// runs.
#include "MacroEditorFixture.h"

#include <QRadioButton>

#include <tuple>

using namespace orb;
using namespace orb::test;

namespace
{

MacroRecord recordOf(const QStringList& events)
{
    MacroScript s;
    s.Lines = QStringList{QStringLiteral("10")} + events;
    return EncodeScript(s, false).record;
}

QStringList eventsOf(const MacroRecord& r)
{
    return MacroRecordEmpty(r) ? QStringList() : DecodeRecord(r).script.Lines.mid(1);
}

// Entries 0 and 1 with lines of their own; entry 0 open.
struct TwoMacros : MacroEditorUi {
    const QStringList first{QStringLiteral("3 FB01"), QStringLiteral("3 FB02")};
    const QStringList second{QStringLiteral("3 FB01"), QStringLiteral("5 FA07"), QStringLiteral("5 FA08")};

    void openFirst()
    {
        openMacro(first);
        page().library().Records[1] = recordOf(second);
        ASSERT_TRUE(page().RefreshPCMacro());
    }
    QListWidget* names() const { return list("LB_PCMacroName"); }
    QRect row(QListWidget* l, int r) const
    {
        l->scrollToItem(l->item(r));
        return l->visualItemRect(l->item(r));
    }
    // A right-click on a list's row, then the item of the menu that shows,
    // if one shows (a dialog it opens is confirmed with `name`).
    void menuItem(QListWidget* l, int r, const char* menuName, const char* itemName)
    {
        QTest::mouseClick(l->viewport(), Qt::RightButton, {}, row(l, r).center());
        QWidget* menu = find(QLatin1String(menuName));
        if (!menu || !menu->isVisible())
            return;
        clickOn(menu->findChild<QWidget*>(QLatin1String(itemName)));
        if (window->findChild<TForm3*>())
            confirmField<TForm3>(*this, QStringLiteral("other"), QStringLiteral("other"));
        if (window->findChild<TForm7*>())
            confirmField<TForm7>(*this, QStringLiteral("5"), QStringLiteral("5"));
    }
};

TEST_F(TwoMacros, TheOpenMacroIsTheSelectedOneHoweverItWasSelected)
{
    const std::pair<const char*, std::function<void(TwoMacros&)>> ways[] = {
        {"Down key",
         [](TwoMacros& t) {
             t.names()->setFocus();
             QTest::keyClick(t.names(), Qt::Key_Down);
         }},
        {"drag from entry 0 to entry 1",
         [](TwoMacros& t) {
             QWidget* v = t.names()->viewport();
             QTest::mousePress(v, Qt::LeftButton, {}, t.row(t.names(), 0).center());
             QTest::mouseMove(v, t.row(t.names(), 1).center());
             QTest::mouseRelease(v, Qt::LeftButton, {}, t.row(t.names(), 1).center());
         }},
    };
    openFirst();
    for (const auto& [how, select] : ways) {
        SCOPED_TRACE(how);
        QTest::mouseClick(names()->viewport(), Qt::LeftButton, {}, row(names(), 0).center());
        ASSERT_EQ(events(), first);
        select(*this);
        ASSERT_EQ(names()->currentRow(), 1);
        EXPECT_EQ(page().SelectedLibraryMacro(), 1);
        EXPECT_EQ(events(), second);
        // A line deleted now is deleted from the macro shown.
        menuItem(list("LB_macro"), 1, "Pnl_DevContent", "Btn_Del");
        EXPECT_EQ(eventsOf(page().library().Records[0]), first);
        EXPECT_EQ(eventsOf(page().library().Records[1]), (QStringList{second[0], second[2]}));
        page().library().Records[1] = recordOf(second);
    }
}

TEST_F(TwoMacros, AnEditDialogChangesOnlyTheMacroItWasOpenedOn)
{
    openFirst(); // both macros start with "3 FB01"
    lineMenu(0, "Btn_Edit");
    ASSERT_TRUE(window->findChild<TForm7*>());
    QTest::mouseClick(names()->viewport(), Qt::LeftButton, {}, row(names(), 1).center());
    ASSERT_EQ(events(), second);
    confirmField<TForm7>(*this, QStringLiteral("9"), QStringLiteral("9"));
    EXPECT_EQ(events(), second);
    EXPECT_EQ(eventsOf(page().library().Records[1]), second);
    EXPECT_EQ(eventsOf(page().library().Records[0]), first);
}

TEST_F(TwoMacros, InsertPanelCancelKeepsTheReleaseChoiceAndTheListKeepsNewOff)
{
    openFirst();
    click(QStringLiteral("IB_ReleaseStop"));
    ASSERT_TRUE(find<QRadioButton>(QStringLiteral("rb_ReleaseStop"))->isChecked());
    lineMenu(1, "Btn_Insert");
    ASSERT_TRUE(find(QStringLiteral("Gb_Insert"))->isVisible());
    clickOn(find(QStringLiteral("Btn_Cancel")));
    // The record is decoded again; the release choice made stays.
    EXPECT_EQ(events(), first);
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_ReleaseStop"))->isChecked());
    EXPECT_TRUE(find(QStringLiteral("Btn_New"))->isEnabled());

    // A new list of names (as after a read of the mouse) leaves Btn_New off
    // while the panel is open.
    lineMenu(1, "Btn_Insert");
    EXPECT_FALSE(find(QStringLiteral("Btn_New"))->isEnabled());
    page().RefreshPCMacroName();
    EXPECT_FALSE(find(QStringLiteral("Btn_New"))->isEnabled());
    clickOn(find(QStringLiteral("Btn_Cancel")));
    EXPECT_TRUE(find(QStringLiteral("Btn_New"))->isEnabled());
}

// What the user tries while a recording runs.
enum class Try {
    LineInsert,
    LineDelete,
    LineEdit,
    ClickEntry,
    LibraryDelete,
    LibraryNew,
    LibraryRename,
    DownKey
};

struct Derail : TwoMacros, ::testing::WithParamInterface<std::tuple<bool, Try>> {
    void attempt(Try t)
    {
        switch (t) {
        case Try::LineInsert:
            return menuItem(list("LB_macro"), 0, "Pnl_DevContent", "Btn_Insert");
        case Try::LineDelete:
            return menuItem(list("LB_macro"), 0, "Pnl_DevContent", "Btn_Del");
        case Try::LineEdit:
            return menuItem(list("LB_macro"), 0, "Pnl_DevContent", "Btn_Edit");
        case Try::ClickEntry:
            QTest::mouseClick(names()->viewport(), Qt::LeftButton, {}, row(names(), 1).center());
            return;
        case Try::LibraryDelete:
            return menuItem(names(), 0, "Pnl_PCMacro", "Btn_DelPCMacro");
        case Try::LibraryNew:
            return menuItem(names(), 1, "Pnl_PCMacro", "Btn_NewMacro");
        case Try::LibraryRename:
            return menuItem(names(), 0, "Pnl_PCMacro", "Btn_NewName");
        case Try::DownKey:
            QTest::keyClick(names(), Qt::Key_Down);
            return;
        }
    }
};

TEST_P(Derail, TheRecordingStopsByItsButtonAndWritesOnlyItsMacro)
{
    const auto [insert, t] = GetParam();
    openFirst();
    const MacroLibrary before = page().library();
    if (insert) {
        lineMenu(1, "Btn_Insert");
        find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(2); // keys before
        clickOn(find(QStringLiteral("Btn_InsertStart")));
        ASSERT_TRUE(page().InsertRecording());
    } else {
        click(QStringLiteral("IB_RecDelay"));
        click(QStringLiteral("Btn_Start"));
        ASSERT_TRUE(page().Recording());
    }
    ASSERT_TRUE(capture);
    capture->pressKey('A', 100);
    capture->releaseKey('A', 200);
    QCoreApplication::processEvents();

    attempt(t);
    QCoreApplication::processEvents();
    ASSERT_TRUE(page().Recording());
    EXPECT_EQ(page().SelectedLibraryMacro(), 0);
    capture->pressKey('B', 300);
    capture->releaseKey('B', 400);
    QCoreApplication::processEvents();

    QWidget* stop = find(insert ? QStringLiteral("Btn_InsertStart") : QStringLiteral("Btn_Start"));
    ASSERT_TRUE(stop->isVisible() && stop->isEnabled());
    QTest::mouseMove(stop, stop->rect().center());
    clickOn(stop);
    ASSERT_FALSE(page().Recording());
    if (insert)
        clickOn(find(QStringLiteral("Btn_OK")));

    const QStringList recorded{KeyLine(true, 'A'), PauseLine(100), KeyLine(false, 'A'), PauseLine(100),
                               KeyLine(true, 'B'), PauseLine(100), KeyLine(false, 'B')};
    const QStringList expected = insert ? QStringList{first[0]} + recorded + QStringList{first[1]} : recorded;
    const MacroLibrary& after = page().library();
    EXPECT_EQ(after.Records[0], recordOf(expected));
    EXPECT_EQ(after.Names[0], before.Names[0]);
    for (int k = 1; k < LibraryEntryCount; ++k) {
        EXPECT_EQ(after.Names[std::size_t(k)], before.Names[std::size_t(k)]) << k;
        EXPECT_EQ(after.Records[std::size_t(k)], before.Records[std::size_t(k)]) << k;
    }
    QFile f(page().libraryPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    for (int k = 0; k < LibraryEntryCount; ++k)
        EXPECT_EQ(file.mid(k * LibraryEntrySize, LibraryEntrySize), after.EntryBytes(k)) << k;
}

std::string derailName(const ::testing::TestParamInfo<std::tuple<bool, Try>>& info)
{
    static const char* const names[] = {"LineInsert",    "LineDelete", "LineEdit",      "ClickEntry",
                                        "LibraryDelete", "LibraryNew", "LibraryRename", "DownKey"};
    return std::string(std::get<0>(info.param) ? "Insert_" : "Normal_") +
           names[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryTry, Derail,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(Try::LineInsert, Try::LineDelete, Try::LineEdit,
                                                              Try::ClickEntry, Try::LibraryDelete,
                                                              Try::LibraryNew, Try::LibraryRename,
                                                              Try::DownKey)),
                         derailName);

} // namespace
