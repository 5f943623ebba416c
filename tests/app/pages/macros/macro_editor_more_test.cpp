// The line editor beyond single lines: emptied lists, pending renames and edit
// dialogs, colours, a macro built only through the editor, the dialogs' keys
// and the picture buttons.
#include "MacroEditorFixture.h"

using namespace orb;
using namespace orb::test;

namespace
{

// Closes the open dialog of type D without a result.
template <class D> void closeDialog(MacroEditorUi& t)
{
    auto* d = t.window->findChild<D*>();
    ASSERT_TRUE(d);
    QWidget* close = d->template findChild<QWidget*>(QStringLiteral("IB_Close"));
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(MacroEditorUi, AfterTheListIsEmptiedAnInsertNeverLandsOnAnotherMacro)
{
    openMacro({QStringLiteral("3 FB01"), QStringLiteral("3 FB02")});
    MacroLibrary& lib = page().library();
    const MacroRecord full = lib.Records[0];
    ASSERT_TRUE(page().RefreshPCMacro());
    const auto storedEntry0 = [&] {
        QFile f(page().libraryPath());
        return f.open(QIODevice::ReadOnly) ? f.read(LibraryEntrySize) : QByteArray();
    };
    const QByteArray fileEntry0 = storedEntry0();
    ASSERT_EQ(fileEntry0, lib.EntryBytes(0));
    // A file of a macro the library lacks, and one of a macro it holds.
    MacroLibrary other = lib;
    ASSERT_EQ(other.Rename(0, QStringLiteral("imported")), LibraryStatus::Ok);
    const QString fresh = macroFolder.path() + QStringLiteral("/fresh.bin");
    const QString known = macroFolder.path() + QStringLiteral("/known.bin");
    for (const auto& [path, bytes] :
         {std::pair{fresh, other.EntryBytes(0)}, std::pair{known, lib.EntryBytes(0)}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    struct Case {
        const char* path;
        std::function<void()> empty;
    };
    const Case cases[] = {
        {"new, name dialog closed",
         [&] {
             click(QStringLiteral("Btn_New"));
             closeDialog<TForm3>(*this);
         }},
        {"new from the library menu, name dialog closed",
         [&] {
             libraryMenu(*this, 0, "Btn_NewMacro");
             closeDialog<TForm3>(*this);
         }},
        {"import one of a new macro",
         [&] {
             services.openAnswers.push_back(fresh);
             libraryMenu(*this, 0, "Btn_ImportOne");
         }},
        {"import one of a macro already there",
         [&] {
             services.openAnswers.push_back(known);
             libraryMenu(*this, 0, "Btn_ImportOne");
         }},
        {"import all of a missing file",
         [&] {
             services.openAnswers.push_back(macroFolder.path() + QStringLiteral("/missing.bin"));
             libraryMenu(*this, 0, "Btn_Import");
         }},
    };
    QListWidget* names = list("LB_PCMacroName");
    QListWidget* lines = list("LB_macro");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        names->setCurrentRow(0);
        page().LB_PCMacroNameClick();
        ASSERT_EQ(lines->count(), 2);
        c.empty();
        services.messages.clear();
        // Whatever is selected is what the list shows.
        const int k = page().SelectedLibraryMacro();
        if (k >= 0) {
            const MacroRecord& r = lib.Records[std::size_t(k)];
            EXPECT_EQ(lines->count(), MacroRecordEmpty(r) ? 0 : DecodeRecord(r).script.itemCount());
        }
        // A pause put into the empty list changes no macro it does not show.
        if (lines->count() == 0) {
            QTest::mouseClick(lines->viewport(), Qt::RightButton, {}, QPoint(10, 10));
            QWidget* menu = find(QStringLiteral("Pnl_DevContent"));
            if (menu->isVisible()) {
                clickOn(menu->findChild<QWidget*>(QStringLiteral("Btn_Insert")));
                find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(0);
                clickOn(find(QStringLiteral("Btn_OK")));
            }
        }
        EXPECT_EQ(lib.Records[0], full);
        EXPECT_EQ(storedEntry0(), fileEntry0);
        page().HideAllMenu();
    }
}

TEST_F(MacroEditorUi, ARenameLeftUnconfirmedDoesNotTurnTheNextNewIntoARename)
{
    openMacro({QStringLiteral("3 FB01")});
    MacroLibrary& lib = page().library();
    const int count = lib.Count();
    const QStringList names = lib.NameList();
    libraryMenu(*this, 1, "Btn_NewName");
    closeDialog<TForm3>(*this);
    libraryMenu(*this, 1, "Btn_NewMacro");
    confirmField<TForm3>(*this, QStringLiteral("fresh"), QStringLiteral("fresh"));
    EXPECT_EQ(lib.Count(), count + 1);
    EXPECT_EQ(lib.NameList().mid(0, count), names);
    EXPECT_EQ(lib.NameList().value(count), QStringLiteral("fresh"));
    EXPECT_EQ(page().SelectedLibraryMacro(), count);
    EXPECT_EQ(list("LB_macro")->count(), 0);
}

TEST_F(MacroEditorUi, EachEditDialogChangesOnlyTheLineItWasOpenedFor)
{
    openMacro({QStringLiteral("1 A CODE:8204"), QStringLiteral("0 120"), QStringLiteral("2 A CODE:0204")});
    // A key dialog left open while a pause is edited.
    lineMenu(0, "Btn_Edit");
    auto* key = window->findChild<TForm5*>();
    ASSERT_TRUE(key);
    lineMenu(1, "Btn_Edit");
    confirmField<TForm6>(*this, QStringLiteral("300"), QStringLiteral("300"));
    auto* edit = key->findChild<QLineEdit*>(QStringLiteral("Edt_EditKey"));
    QTest::keyClick(edit, Qt::Key_Left);
    clickOn(key->findChild<QWidget*>(QStringLiteral("IB_Confirm")));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(events(), (QStringList{QStringLiteral("1 Left Arrow CODE:8250"), QStringLiteral("0 300"),
                                     QStringLiteral("2 A CODE:0204")}));
    expectStored();

    // The line of an open dialog deleted meanwhile: its result changes nothing.
    lineMenu(1, "Btn_Edit");
    ASSERT_TRUE(window->findChild<TForm6*>());
    lineMenu(1, "Btn_Del");
    const QStringList left = events();
    confirmField<TForm6>(*this, QStringLiteral("500"), QStringLiteral("500"));
    EXPECT_EQ(events(), left);
    expectStored();
}

TEST_F(MacroEditorUi, NewButtonOnThePageAsksForANameAndAddsAnEmptyMacro)
{
    openMacro({QStringLiteral("3 FB01")});
    const int count = page().library().Count();
    QWidget* button = find(QStringLiteral("Btn_New"));
    ASSERT_TRUE(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(page().script().itemCount(), 0);
    confirmField<TForm3>(*this, QStringLiteral("fresh"), QStringLiteral("fresh"));
    EXPECT_EQ(page().library().Count(), count + 1);
    EXPECT_EQ(page().SelectedLibraryMacro(), count);
    EXPECT_EQ(page().library().NameList().value(count), QStringLiteral("fresh"));
}

} // namespace

namespace
{

QColor textColour(const char* name, const MacroEditorUi& t)
{
    QWidget* w = t.find(QLatin1String(name));
    return w ? w->palette().color(QPalette::WindowText) : QColor();
}

// The menus and the insert panel wear the macro page's colours, never the
// window's colour key; the menu items light up under the pointer.
TEST_F(MacroEditorUi, MenusAndTheInsertPanelWearTheMacroPageColours)
{
    openMacro({QStringLiteral("0 120"), QStringLiteral("3 FB01")});
    QListWidget* l = list("LB_macro");
    QTest::mouseClick(l->viewport(), Qt::RightButton, {}, l->visualItemRect(l->item(1)).center());
    QWidget* menu = find(QStringLiteral("Pnl_DevContent"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->palette().color(QPalette::Window), QColor(0, 0, 0));
    EXPECT_TRUE(menu->geometry().intersects(window->rect()));
    auto* edit = menu->findChild<QLabel*>(QStringLiteral("Btn_Edit"));
    EXPECT_EQ(edit->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(0, 0, 0));
    // The widest text fits its item.
    for (QLabel* item : menu->findChildren<QLabel*>())
        EXPECT_LE(item->fontMetrics().horizontalAdvance(item->text()), item->contentsRect().width())
            << qPrintable(item->objectName());
    QTest::mouseMove(edit, edit->rect().center());
    EXPECT_EQ(edit->palette().color(QPalette::Window), edit->palette().color(QPalette::Highlight));
    QTest::mouseMove(window.get(), QPoint(1, 1));
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(0, 0, 0));

    auto* insert = menu->findChild<QWidget*>(QStringLiteral("Btn_Insert"));
    QTest::mouseClick(insert, Qt::LeftButton, {}, insert->rect().center());
    // Pause: the unit in the caption colour; keys: grey while the recorded delay is chosen.
    EXPECT_EQ(textColour("lbl_s_A", *this), QColor(255, 255, 255));
    EXPECT_EQ(textColour("lbl_Delay", *this), QColor(255, 255, 255));
    find<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(2);
    EXPECT_EQ(textColour("lbl_s_A", *this), QColor(114, 113, 113));
    EXPECT_FALSE(find(QStringLiteral("lbl_Delay"))->isVisible()); // the delay choice names the field
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Edt_InsertDelay"))->palette().color(QPalette::Text),
              QColor(114, 113, 113));
    // Each caption lies on its picture.
    for (const auto& [caption, picture] :
         {std::pair{"Btn_OK", "Img_OK"}, std::pair{"Btn_Cancel", "Img_Cancel"},
          std::pair{"Btn_InsertStart", "Img_InsertStart"}})
        EXPECT_EQ(find(QLatin1String(caption))->geometry(), find(QLatin1String(picture))->geometry())
            << caption;

    // In English too, each field's caption is whole and ends before its field.
    window->Btn_Lang3_0Click();
    for (const auto& [caption, field] :
         {std::pair{"lbl_Delay", "Edt_InsertDelay"}, std::pair{"lbl_XAxisValue", "edt_XAxisValue"},
          std::pair{"lbl_YAxisValue", "edt_YAxisValue"}, std::pair{"lbl_Repeat", "edt_Repeat"}}) {
        auto* l = find<QLabel>(QLatin1String(caption));
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << caption;
        EXPECT_LT(l->geometry().right(), find(QLatin1String(field))->x()) << caption;
    }
}

// A macro made without recording: a new library entry, every line put in
// through the insert panel and one changed through its dialog, given to a
// button and written to the mouse.
TEST_F(MacroEditorUi, AMacroBuiltOnlyThroughTheEditorReachesTheMouse)
{
    openMacro({QStringLiteral("0 120")});
    auto* newButton = find(QStringLiteral("Btn_New"));
    QTest::mouseClick(newButton, Qt::LeftButton, {}, newButton->rect().center());
    confirmField<TForm3>(*this, QStringLiteral("built"), QStringLiteral("built"));
    const int entry = page().SelectedLibraryMacro();
    ASSERT_EQ(page().library().NameList().value(entry), QStringLiteral("built"));
    ASSERT_EQ(list("LB_macro")->count(), 0);

    // The empty macro's menu offers Insert; its line becomes the first.
    QListWidget* l = list("LB_macro");
    QTest::mouseClick(l->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QWidget* menu = find(QStringLiteral("Pnl_DevContent"));
    ASSERT_TRUE(menu->isVisible());
    for (const char* nothing : {"Btn_Edit", "Btn_Del"}) {
        auto* item = menu->findChild<QWidget*>(QLatin1String(nothing));
        QTest::mouseClick(item, Qt::LeftButton, {}, item->rect().center());
        EXPECT_EQ(l->count(), 0);
        QTest::mouseClick(l->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    }
    auto* insert = menu->findChild<QWidget*>(QStringLiteral("Btn_Insert"));
    QTest::mouseClick(insert, Qt::LeftButton, {}, insert->rect().center());
    auto* kind = find<QComboBox>(QStringLiteral("CB_Insert"));
    const auto type = [this](const char* field, const char* value) {
        auto* e = find<QLineEdit>(QLatin1String(field));
        e->selectAll();
        QTest::keyClicks(e, QLatin1String(value));
    };
    kind->setCurrentIndex(4); // loop start
    type("edt_Repeat", "3");
    clickOn(find(QStringLiteral("Btn_OK")));
    ASSERT_EQ(events(), QStringList{QStringLiteral("7 FD02")});

    const struct {
        int line;
        int kind;
        const char* field;
        const char* value;
    } steps[] = {
        {0, 7, "edt_XAxisValue", "-12"},  // X move after
        {1, 9, "edt_YAxisValue", "5"},    // Y move after
        {2, 1, "Edt_InsertDelay", "100"}, // pause after
        {3, 5, nullptr, nullptr},         // loop end after
    };
    for (const auto& s : steps) {
        lineMenu(s.line, "Btn_Insert");
        kind->setCurrentIndex(s.kind);
        if (s.field)
            type(s.field, s.value);
        clickOn(find(QStringLiteral("Btn_OK")));
        EXPECT_EQ(page().CurrentLine(), s.line + 1);
    }
    clickOn(find(QStringLiteral("IB_ReleaseStop")));
    lineMenu(1, "Btn_Edit");
    confirmField<TForm7>(*this, QStringLiteral("-20"), QStringLiteral("-20"));
    EXPECT_EQ(events(),
              (QStringList{QStringLiteral("7 FD02"), QStringLiteral("4 FBEC"), QStringLiteral("5 FA05"),
                           QStringLiteral("0 100"), QStringLiteral("8 00FC")}));
    // Stops on release; nine event bytes; check byte (0x0A + events) ^ 0x5A.
    const std::array<std::uint8_t, 12> bytes{0x01, 0x0A, 0xFD, 0x02, 0xFB, 0xEC,
                                             0xFA, 0x05, 0xFE, 0x0C, 0xFC, 0xAF};
    const MacroRecord& stored = page().library().Records[entry];
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), stored.begin()));
    EXPECT_TRUE(std::all_of(stored.begin() + bytes.size(), stored.end(), [](auto b) { return b == 0; }));

    // Key2 plays it from slot 1 of the mouse.
    window->selector().Btn_Main_0Click();
    QWidget* key2 = find(QStringLiteral("Key2"));
    QTest::mouseClick(key2, Qt::LeftButton, {}, key2->rect().center());
    QWidget* macroItem = find(QStringLiteral("Key_Macro"));
    QTest::mouseMove(macroItem, macroItem->rect().center());
    QListWidget* names = list("LB_Name");
    ASSERT_TRUE(names->isVisible());
    names->scrollToItem(names->item(entry));
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      names->visualItemRect(names->item(entry)).center());
    window->actions().Btn_Apply_0Click();
    const std::size_t key = ProfileKeysAddr + KeyOffset(KeyMode::A, 2);
    EXPECT_EQ(mouse.memory[key], 0x0E);
    EXPECT_EQ(mouse.memory[key + 1], 0x01);
    EXPECT_EQ(mouse.memory[key + 2], 0x21);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), mouse.memory.begin() + 0x120));
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace

namespace
{

TEST_F(MacroEditorUi, EnterConfirmsAndEscapeClosesTheFieldDialogs)
{
    openMacro({QStringLiteral("0 120")});
    lineMenu(0, "Btn_Edit");
    auto* delay = window->findChild<TForm6*>();
    ASSERT_TRUE(delay);
    QTest::keyClicks(delay->field(), QStringLiteral("300"));
    QTest::keyClick(delay->field(), Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChild<TForm6*>(), nullptr);
    EXPECT_EQ(events(), QStringList{QStringLiteral("0 120")});

    lineMenu(0, "Btn_Edit");
    delay = window->findChild<TForm6*>();
    ASSERT_TRUE(delay);
    QTest::keyClicks(delay->field(), QStringLiteral("300"));
    QTest::keyClick(delay->field(), Qt::Key_Return);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChild<TForm6*>(), nullptr);
    EXPECT_EQ(events(), QStringList{QStringLiteral("0 300")});
    expectStored();
}

} // namespace

namespace
{

// The page's picture buttons follow the pointer like the rest of the skin.
TEST_F(MacroEditorUi, PictureButtonsFollowThePointer)
{
    openMacro({QStringLiteral("0 120")});
    const auto picture = [this](const char* name) {
        return find(QLatin1String(name))->property("picture").toString();
    };
    const auto follows = [&](const char* button, const char* image) {
        SCOPED_TRACE(button);
        QWidget* b = find(QLatin1String(button));
        const QString stem = picture(image).chopped(2);
        ASSERT_TRUE(stem == QLatin1String("MacroS_") || stem == QLatin1String("MacroBtnS_"));
        QTest::mouseMove(b, b->rect().center());
        EXPECT_EQ(picture(image), stem + QStringLiteral("02"));
        QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
        EXPECT_EQ(picture(image), stem + QStringLiteral("03"));
        // Let go away from it: no click, and the normal picture once the pointer is elsewhere.
        QTest::mouseMove(window.get(), QPoint(1, 1));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseMove(window.get(), QPoint(2, 2));
        EXPECT_EQ(picture(image), stem + QStringLiteral("01"));
    };
    follows("Btn_Start", "Img_Start");
    EXPECT_FALSE(page().Recording());
    follows("Btn_New", "Img_New");
    // With the insert panel open the record button rests; OK and Cancel follow.
    lineMenu(0, "Btn_Insert");
    QWidget* start = find(QStringLiteral("Btn_Start"));
    QTest::mouseMove(start, start->rect().center());
    EXPECT_EQ(picture("Img_Start"), QStringLiteral("MacroS_01"));
    follows("Btn_OK", "Img_OK");
    follows("Btn_Cancel", "Img_Cancel");
}

} // namespace
