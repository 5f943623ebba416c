// The macro page's line editor through its widgets: right-click selection,
// the line menu, the edit-key dialog, deleting press/release pairs; every
// change reaches the library record and its file.
#include "MacroEditorFixture.h"

using namespace orb;
using namespace orb::test;

namespace
{

TEST_F(MacroEditorUi, EditKeyGivesLeftArrowOnPressAndReleaseLines)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("0 120"), QStringLiteral("2 A CODE:0204")});
    struct Case {
        int row;
        QString line;
    };
    for (const Case& c : {Case{0, QStringLiteral("1 Left Arrow CODE:8250")},
                          Case{2, QStringLiteral("2 Left Arrow CODE:0250")}}) {
        lineMenu(c.row, "Btn_Edit");
        auto* d = window->findChild<TForm5*>();
        ASSERT_TRUE(d);
        EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lbl_EditKey"))->text(),
                  QStringLiteral("请输入一个按键"));
        const QRect m = window->geometry();
        EXPECT_EQ(d->pos(),
                  QPoint(m.left() + (m.width() - d->width()) / 2, m.top() + (m.height() - d->height()) / 2));
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("Edt_EditKey"));
        QTest::keyClick(edit, Qt::Key_B);
        QTest::keyClick(edit, Qt::Key_Left); // replaces B
        EXPECT_EQ(edit->text(), QStringLiteral("Left Arrow"));
        QWidget* ok = d->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window->findChild<TForm5*>(), nullptr);
        EXPECT_EQ(page().script().item(c.row), c.line);
        EXPECT_EQ(page().CurrentLine(), c.row);
        expectStored();
    }
}

TEST_F(MacroEditorUi, EditKeyTakesModifiersAsOrdinaryKeysAndClearThenConfirmChangesNothing)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("2 A CODE:0204")});
    lineMenu(0, "Btn_Edit");
    auto* d = window->findChild<TForm5*>();
    ASSERT_TRUE(d);
    auto* edit = d->findChild<QLineEdit*>(QStringLiteral("Edt_EditKey"));
    QTest::keyClick(edit, Qt::Key_Shift);
    EXPECT_EQ(d->capturedLine(), QStringLiteral("Shift CODE:82E1"));
    QWidget* clear = d->findChild<QWidget*>(QStringLiteral("IB_Cancel"));
    QTest::mouseClick(clear, Qt::LeftButton, {}, clear->rect().center());
    EXPECT_TRUE(edit->text().isEmpty());
    QWidget* ok = d->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
    QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
    EXPECT_EQ(page().script().item(0), QStringLiteral("1 A CODE:8204"));
}

TEST_F(MacroEditorUi, DeletePairsForwardBackwardAndALonePress)
{
    const QStringList pair{QStringLiteral("1 A CODE:8204"), QStringLiteral("0 120"),
                           QStringLiteral("2 A CODE:0204")};
    struct Case {
        QStringList lines;
        int row;
        QStringList left;
        int selection;
    };
    const std::vector<Case> cases{
        {pair, 0, {QStringLiteral("0 120")}, 0},
        {pair, 2, {QStringLiteral("0 120")}, 0},
        {{QStringLiteral("0 50"), QStringLiteral("1 B CODE:8205"), QStringLiteral("0 120")},
         1,
         {QStringLiteral("0 50"), QStringLiteral("0 120")},
         0},
    };
    openMacro(pair);
    for (const Case& c : cases) {
        page().script().Lines = QStringList{QStringLiteral("10")} + c.lines;
        page().RefreshMacroList();
        lineMenu(c.row, "Btn_Del");
        EXPECT_EQ(events(), c.left);
        EXPECT_EQ(page().CurrentLine(), c.selection);
        expectStored();
    }
}

TEST_F(MacroEditorUi, RightClickBelowTheLastLineSelectsNothingAndShowsNoMenu)
{
    openMacro({QStringLiteral("0 120")});
    QListWidget* l = list("LB_macro");
    l->setCurrentRow(0);
    QTest::mouseClick(l->viewport(), Qt::RightButton, {}, QPoint(10, l->viewport()->height() - 5));
    EXPECT_EQ(page().CurrentLine(), -1);
    EXPECT_FALSE(find(QStringLiteral("Pnl_DevContent"))->isVisible());
}

TEST_F(MacroEditorUi, PauseMoveAndLoopEditsThroughTheirDialogsWithTheirClamps)
{
    openMacro({QStringLiteral("0 120"), QStringLiteral("3 FB0C"), QStringLiteral("7 FD01"),
               QStringLiteral("6 FAF4"), QStringLiteral("8 00FC")});
    lineMenu(0, "Btn_Edit");
    confirmField<TForm6>(*this, QStringLiteral("3000"), QStringLiteral("2040"));
    lineMenu(1, "Btn_Edit");
    confirmField<TForm7>(*this, QStringLiteral("-12"), QStringLiteral("-12"));
    lineMenu(2, "Btn_Edit");
    confirmField<TForm7>(*this, QStringLiteral("10"), QStringLiteral("10"));
    lineMenu(3, "Btn_Edit");
    confirmField<TForm7>(*this, QStringLiteral("200"), QStringLiteral("127"));
    EXPECT_EQ(events(),
              (QStringList{QStringLiteral("0 2040"), QStringLiteral("4 FBF4"), QStringLiteral("7 FD09"),
                           QStringLiteral("5 FA7F"), QStringLiteral("8 00FC")}));
    EXPECT_EQ(list("LB_macro")->item(2)->data(MacroLineTextRole).toString(), QStringLiteral("Rep-Start  10"));
    expectStored();
    // A lone "-" confirmed changes nothing.
    lineMenu(1, "Btn_Edit");
    confirmField<TForm7>(*this, QStringLiteral("-"), QStringLiteral("-"));
    EXPECT_EQ(page().script().item(1), QStringLiteral("4 FBF4"));
}

TEST_F(MacroEditorUi, NewRenameAndDeleteLibraryEntries)
{
    openMacro({QStringLiteral("0 120")});
    MacroLibrary& lib = page().library();
    // Entries 0..4 in use.
    while (lib.Count() > 5)
        lib.Delete(lib.Count() - 1);
    for (int k = lib.Count(); k < 5; ++k)
        lib.NewEntry(QStringLiteral("m%1").arg(k));
    page().RefreshPCMacroName();
    ASSERT_EQ(list("LB_PCMacroName")->count(), 5);
    const QStringList names = lib.NameList();

    // Its own name again is refused.
    libraryMenu(*this, 1, "Btn_NewName");
    confirmField<TForm3>(*this, names[1], names[1]);
    EXPECT_EQ(messages(), QStringList{window->skin().LookupText(QStringLiteral("Str106"))});
    EXPECT_EQ(lib.NameList(), names);
    services.messages.clear();
    libraryMenu(*this, 1, "Btn_NewName");
    confirmField<TForm3>(*this, QStringLiteral("renamed"), QStringLiteral("renamed"));
    EXPECT_EQ(lib.NameList()[1], QStringLiteral("renamed"));
    EXPECT_EQ(find<QListWidget>(QStringLiteral("LB_Name"))->item(1)->text(), QStringLiteral("renamed"));

    // Delete entry 2: 3 and 4 move down, 4 is left empty.
    const MacroRecord r3 = lib.Records[3];
    const MacroRecord r4 = lib.Records[4];
    libraryMenu(*this, 2, "Btn_DelPCMacro");
    EXPECT_EQ(lib.Count(), 4);
    EXPECT_EQ(lib.NameList(), (QStringList{names[0], QStringLiteral("renamed"), names[3], names[4]}));
    EXPECT_EQ(lib.Records[2], r3);
    EXPECT_EQ(lib.Records[3], r4);
    EXPECT_EQ(lib.Records[4], MacroRecord{});
    EXPECT_EQ(page().SelectedLibraryMacro(), 1);
    EXPECT_EQ(list("LB_PCMacroName")->count(), 4);
    // The entry selected now is open: its lines are shown.
    const MacroScript entry1 = DecodeRecord(lib.Records[1]).script;
    ASSERT_GT(entry1.itemCount(), 0);
    EXPECT_EQ(events(), entry1.Lines.mid(1));
    EXPECT_EQ(list("LB_macro")->count(), entry1.itemCount());

    // A new one goes after the last and is selected.
    libraryMenu(*this, 0, "Btn_NewMacro");
    confirmField<TForm3>(*this, QStringLiteral("a name longer than sixteen"),
                         QStringLiteral("a name longer th"));
    EXPECT_EQ(lib.Count(), 5);
    EXPECT_EQ(lib.NameList()[4], QStringLiteral("a name longer th"));
    EXPECT_EQ(page().SelectedLibraryMacro(), 4);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MacroEditorUi, InsertPanelPutsMovesAndLoopMarksAroundTheCurrentLine)
{
    const QStringList lines{QStringLiteral("3 FB01"), QStringLiteral("3 FB02"), QStringLiteral("3 FB03"),
                            QStringLiteral("3 FB04")};
    openMacro(lines);
    lineMenu(2, "Btn_Insert");
    QWidget* panel = find(QStringLiteral("Gb_Insert"));
    ASSERT_TRUE(panel && panel->isVisible());
    EXPECT_FALSE(find(QStringLiteral("Gb_Delay"))->isVisible());
    auto* kind = find<QComboBox>(QStringLiteral("CB_Insert"));
    ASSERT_EQ(kind->count(), 10);
    kind->setCurrentIndex(7); // X move after
    auto* x = find<QLineEdit>(QStringLiteral("edt_XAxisValue"));
    EXPECT_TRUE(x->isVisible());
    EXPECT_FALSE(find(QStringLiteral("edt_Repeat"))->isVisible());
    x->selectAll();
    QTest::keyClicks(x, QStringLiteral("-12"));
    clickOn(find(QStringLiteral("Btn_OK")));
    EXPECT_EQ(page().script().Lines.value(4), QStringLiteral("4 FBF4"));
    EXPECT_EQ(page().CurrentLine(), 3);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(find(QStringLiteral("Gb_Delay"))->isVisible());
    expectStored();

    // A loop start of 10 before the current line; a value out of range is clamped as typed.
    lineMenu(0, "Btn_Insert");
    kind->setCurrentIndex(4);
    auto* repeat = find<QLineEdit>(QStringLiteral("edt_Repeat"));
    repeat->selectAll();
    QTest::keyClicks(repeat, QStringLiteral("999"));
    EXPECT_EQ(repeat->text(), QStringLiteral("255"));
    repeat->selectAll();
    QTest::keyClicks(repeat, QStringLiteral("10"));
    clickOn(find(QStringLiteral("Btn_OK")));
    EXPECT_EQ(page().script().item(0), QStringLiteral("7 FD09"));
    EXPECT_EQ(list("LB_macro")->item(0)->data(MacroLineTextRole).toString(), QStringLiteral("Rep-Start  10"));
    EXPECT_EQ(page().CurrentLine(), 0);
    expectStored();
}

TEST_F(MacroEditorUi, CancelAfterAnInsertRecordingRestoresTheStoredMacro)
{
    openMacro({QStringLiteral("3 FB01"), QStringLiteral("3 FB02")});
    const MacroRecord stored = page().library().Records[0];
    lineMenu(1, "Btn_Insert");
    find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(3); // keys after
    clickOn(find(QStringLiteral("Btn_InsertStart")));
    ASSERT_TRUE(page().InsertRecording());
    ASSERT_TRUE(capture);
    capture->pressKey('A', 100);
    capture->releaseKey('A', 200);
    QCoreApplication::processEvents();
    const int recorded = page().script().itemCount();
    // The click that stops the recording is not recorded.
    QWidget* start = find(QStringLiteral("Btn_InsertStart"));
    QTest::mouseMove(start, start->rect().center());
    capture->click(MouseButton::Left, true, 300);
    QCoreApplication::processEvents();
    clickOn(start);
    QCoreApplication::processEvents();
    EXPECT_FALSE(page().Recording());
    EXPECT_GT(page().script().itemCount(), 2);
    EXPECT_EQ(page().script().itemCount(), recorded);
    clickOn(find(QStringLiteral("Btn_Cancel")));
    EXPECT_EQ(events(), (QStringList{QStringLiteral("3 FB01"), QStringLiteral("3 FB02")}));
    EXPECT_EQ(page().library().Records[0], stored);
    EXPECT_EQ(page().CurrentLine(), 1);
    EXPECT_FALSE(find(QStringLiteral("Gb_Insert"))->isVisible());
}

} // namespace
