// The macro library's file, macros on buttons, export and import, the base
// macros and the lists' scrolling through the macro page's widgets.
#include "MacroPageFixture.h"

using namespace orb;
using namespace orb::test;

namespace
{

TEST_F(MacroPageUi, FirstStartCreatesTheLibraryFileFromTheBuiltInOne)
{
    start(false);
    const QString path = macroFolder.path() + QStringLiteral("/ORB5610-Macro.bin");
    EXPECT_EQ(window->macroPage().libraryPath(), path);
    const QByteArray file = fileBytes(path);
    EXPECT_EQ(file.size(), 25600);
    const auto builtIn = rcData(QStringLiteral("PCMacroData"));
    ASSERT_TRUE(builtIn);
    EXPECT_EQ(file, *builtIn);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MacroPageUi, TheLibraryIsListedAfterTheFirstRead)
{
    startRead();
    EXPECT_EQ(list("LB_PCMacroName")->count(), 22);
    EXPECT_EQ(list("LB_Name")->count(), 22);
    EXPECT_EQ(list("LB_PCMacroName")->item(0)->text(), QStringLiteral("CF_5连发"));
}

TEST_F(MacroPageUi, AnUnwritableLibraryFolderStillStartsAndSaysSoOnce)
{
    // A folder under a plain file can be neither made nor written, also by root.
    const QString blocker = macroFolder.path() + QStringLiteral("/blocker");
    ASSERT_TRUE(writeBytes(blocker, "x"));
    macros.programFolder = blocker + QLatin1Char('/');
    macros.dataFolder = blocker + QStringLiteral("/data");
    start(true);
    untilOpened();
    ASSERT_EQ(messages().size(), 1);
    // Said in the window's language: the text up to the reason.
    const QString said = text("Str824");
    ASSERT_TRUE(said.contains(QStringLiteral("%2")));
    EXPECT_TRUE(messages()[0].startsWith(said.section(QStringLiteral("%1"), 0, 0)))
        << qPrintable(messages()[0]);
    EXPECT_TRUE(
        messages()[0].contains(said.section(QStringLiteral("%1"), 1).section(QStringLiteral("%2"), 0, 0)))
        << qPrintable(messages()[0]);
    EXPECT_EQ(window->macroPage().library().Count(), 22); // the built-in library, in memory
    EXPECT_FALSE(window->macroPage().RefreshPCMacro());
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(MacroPageUi, AFailedLibrarySaveIsTriedAgainAtTheNextChange)
{
    const QString blocker = macroFolder.path() + QStringLiteral("/blocker");
    ASSERT_TRUE(writeBytes(blocker, "x"));
    macros.programFolder = blocker + QLatin1Char('/');
    macros.dataFolder = blocker + QStringLiteral("/data");
    start(true);
    untilOpened();
    ASSERT_EQ(messages().size(), 1);
    MacroPage& p = page();
    // The folder can be made now: the next change reaches the file.
    ASSERT_TRUE(QFile::remove(blocker));
    ASSERT_TRUE(QDir().mkpath(p.libraryPath().section(QLatin1Char('/'), 0, -2)));
    ASSERT_EQ(p.library().Rename(0, QStringLiteral("renamed")), LibraryStatus::Ok);
    EXPECT_TRUE(p.RefreshPCMacro());
    EXPECT_EQ(fileBytes(p.libraryPath()), p.library().ToBytes());
    EXPECT_EQ(messages().size(), 1);
    // A new run of failures is said once more, once.
    ASSERT_TRUE(QDir(blocker).removeRecursively());
    ASSERT_TRUE(writeBytes(blocker, "x"));
    EXPECT_FALSE(p.RefreshPCMacro());
    EXPECT_FALSE(p.RefreshPCMacro());
    EXPECT_EQ(messages().size(), 2);
}

TEST_F(MacroPageUi, AnUnreadableLibraryFileIsNeverWrittenOver)
{
    const QString path = macroFolder.path() + QStringLiteral("/ORB5610-Macro.bin");
    const QByteArray mine(LibraryFileSize, '\x5A');
    ASSERT_TRUE(writeBytes(path, mine));
    // The file is there but its read fails, as for a file without read
    // permission: root reads those, so the read is refused here instead.
    int reads = 0;
    macros.readFile = [&reads](const QString&, qint64, QByteArray&) {
        ++reads;
        return FileResult{false, QStringLiteral("Permission denied")};
    };
    start(true);
    untilOpened();
    ASSERT_EQ(page().libraryPath(), path);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(page().library().Count(), 22); // the built-in library, in memory
    ASSERT_EQ(page().library().Rename(0, QStringLiteral("renamed")), LibraryStatus::Ok);
    EXPECT_FALSE(page().RefreshPCMacro());
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(fileBytes(path), mine);
}

TEST_F(MacroPageUi, ALibraryMacroOnAButtonIsAppliedReadBackAndShownByName)
{
    connect(false);
    const QString name = QStringLiteral("CF_5连发");
    click(QStringLiteral("Key2"));
    hover(QStringLiteral("Key_Macro"));
    ASSERT_TRUE(list("LB_Name")->isVisible());
    clickRow(list("LB_Name"), 0);
    EXPECT_FALSE(list("LB_Name")->isVisible());
    EXPECT_EQ(caption(QStringLiteral("Key2")), name);
    // Entry 0 stops on release: type 0E, slot 1.
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[1], QStringLiteral("0E0121"));

    window->actions().Btn_Apply_0Click();
    const std::size_t key2 = ProfileKeysAddr + KeyOffset(KeyMode::A, 2);
    EXPECT_EQ(mouse.memory[key2], 0x0E);
    EXPECT_EQ(mouse.memory[key2 + 1], 0x01);
    EXPECT_EQ(mouse.memory[key2 + 2], 0x21);
    const MacroLibrary& lib = window->macroPage().library();
    EXPECT_TRUE(std::equal(lib.Names[0].begin(), lib.Names[0].end(), mouse.memory.begin() + 0x100));
    EXPECT_TRUE(std::equal(lib.Records[0].begin(), lib.Records[0].end(), mouse.memory.begin() + 0x120));

    // Read back from the mouse: the button still shows the macro's name.
    window->actions().Btn_Read_0Click();
    EXPECT_EQ(window->macroPage().BaseMacroNames().value(0), name);
    EXPECT_EQ(caption(QStringLiteral("Key2")), name);
    EXPECT_EQ(window->engineerPage()
                  .container()
                  ->findChild<QWidget*>(QStringLiteral("btn_Key102"))
                  ->property("text")
                  .toString(),
              name);
}

TEST_F(MacroPageUi, MacroPicksShareASlotAndKeepALeftButton)
{
    connect(false);
    const auto pickMacro = [this](const char* key, int entry) {
        click(QLatin1String(key));
        hover(QStringLiteral("Key_Macro"));
        clickRow(list("LB_Name"), entry);
    };
    const auto keyBytes = [this](int key) {
        const std::size_t at = KeyOffset(KeyMode::A, key);
        const auto& p = window->session().image().ProfileKeys;
        return std::array<std::uint8_t, 3>{p[at], p[at + 1], p[at + 2]};
    };
    // The same macro on two buttons: one slot.
    pickMacro("Key2", 0);
    pickMacro("Key3", 0);
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[1], QStringLiteral("0E0121"));
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[2], QStringLiteral("0E0121"));
    // Another macro takes the next slot.
    pickMacro("Key4", 1);
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[3], QStringLiteral("060221"));
    EXPECT_EQ(page().BaseMacroNames().mid(0, 2),
              (QStringList{QStringLiteral("CF_5连发"), QStringLiteral("CF_21切枪")}));
    EXPECT_TRUE(messages().isEmpty());

    // A combination replaced the only left button; a macro on it is refused
    // and the key becomes the left button again, its bytes with its caption.
    click(QStringLiteral("Key1"));
    window->keyPage().SetCombination(QStringLiteral("Ctrl+A"), QStringLiteral("020104"));
    window->keyPage().ApplyCombination();
    ASSERT_EQ(keyBytes(1), (std::array<std::uint8_t, 3>{0x02, 0x01, 0x04}));
    pickMacro("Key1", 2);
    EXPECT_EQ(caption(QStringLiteral("Key1")), window->skin().textSlots().leftButtonName);
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[0], QStringLiteral("010100"));
    EXPECT_EQ(keyBytes(1), (std::array<std::uint8_t, 3>{0x01, 0x01, 0x00}));
    EXPECT_EQ(messages(), QStringList{window->skin().textSlots().keepLeftButton});
    EXPECT_EQ(page().BaseMacroNames().value(2), QString()); // nothing was copied
}

TEST_F(MacroPageUi, ExportAndImportThroughTheFileDialogs)
{
    connect();
    MacroPage& p = page();
    const QByteArray entry0 = p.library().EntryBytes(0);

    // Export One: ".bin" appended only when missing.
    clickRow(list("LB_PCMacroName"), 0);
    services.saveAnswers.push_back(macroFolder.path() + QStringLiteral("/one"));
    p.Btn_ExportOneClick();
    EXPECT_EQ(fileBytes(macroFolder.path() + QStringLiteral("/one.bin")), entry0);

    // Into a library without it: added as the last entry, and saved.
    ASSERT_EQ(p.library().Delete(0), LibraryStatus::Ok);
    p.RefreshPCMacroName();
    services.openAnswers.push_back(macroFolder.path() + QStringLiteral("/one.bin"));
    p.Btn_ImportOneClick();
    EXPECT_EQ(p.library().Count(), 22);
    EXPECT_EQ(p.library().EntryBytes(21), entry0);
    EXPECT_EQ(list("LB_PCMacroName")->count(), 22);
    EXPECT_EQ(list("LB_Name")->item(21)->text(), QStringLiteral("CF_5连发"));
    EXPECT_EQ(fileBytes(p.libraryPath()).mid(21 * LibraryEntrySize, LibraryEntrySize), entry0);
    EXPECT_TRUE(messages().isEmpty());

    // Again: already there.
    services.openAnswers.push_back(macroFolder.path() + QStringLiteral("/one.bin"));
    p.Btn_ImportOneClick();
    EXPECT_EQ(messages(), QStringList{text("Str106")});
    EXPECT_EQ(p.library().Count(), 22);

    // Export All, change the library, Import All brings it back.
    services.saveAnswers.push_back(macroFolder.path() + QStringLiteral("/all.bin"));
    p.Btn_ExportClick();
    const QByteArray all = fileBytes(macroFolder.path() + QStringLiteral("/all.bin"));
    EXPECT_EQ(all, p.library().ToBytes());
    ASSERT_EQ(p.library().Delete(3), LibraryStatus::Ok);
    services.openAnswers.push_back(macroFolder.path() + QStringLiteral("/all.bin"));
    p.Btn_ImportClick();
    EXPECT_EQ(p.library().ToBytes(), all);
    EXPECT_EQ(fileBytes(p.libraryPath()), all);
    EXPECT_EQ(list("LB_PCMacroName")->count(), 22);

    // A cancelled dialog changes nothing.
    p.Btn_ImportOneClick();
    p.Btn_ExportClick();
    EXPECT_EQ(p.library().ToBytes(), all);
}

TEST_F(MacroPageUi, BaseMacroImportWritesTheSevenSlotsIntoTheMouse)
{
    connect();
    QByteArray area(1792, '\0');
    const QByteArray entry0 = page().library().EntryBytes(0);
    area.replace(2 * 256, 256, entry0); // slot 3
    const QString path = macroFolder.path() + QStringLiteral("/base.bin");
    ASSERT_TRUE(writeBytes(path, area));
    services.openAnswers.push_back(path);
    page().Btn_ImportBaseMacroClick();
    EXPECT_TRUE(
        std::equal(area.begin(), area.end(), reinterpret_cast<const char*>(mouse.memory.data()) + 0x100));
    EXPECT_EQ(page().BaseMacroNames().value(2), QStringLiteral("CF_5连发"));
    EXPECT_TRUE(window->session().devTimer().isEnabled());
}

TEST_F(MacroPageUi, BaseMacroImportWritesOnlyWhenTheSessionMayWrite)
{
    connect();
    QByteArray area(1792, '\0');
    area.replace(2 * 256, 256, page().library().EntryBytes(0)); // slot 3
    const QString path = macroFolder.path() + QStringLiteral("/base.bin");
    ASSERT_TRUE(writeBytes(path, area));
    const auto mouseArea = [this] {
        return QByteArray(reinterpret_cast<const char*>(mouse.memory.data()) + 0x100, 1792);
    };
    const QByteArray before = mouseArea();
    ASSERT_NE(before, area);
    struct Case {
        const char* mouseSays;
        std::function<void(SimMouse::Config&)> set;
        bool written;
    };
    const Case cases[] = {
        {"no ready signature", [](SimMouse::Config& c) { c.signature = 0x55; }, false},
        {"memory access off", [](SimMouse::Config& c) { c.memoryAccess = false; }, false},
        {"another controller", [](SimMouse::Config& c) { c.controllerCode = 0x35; }, false},
        // An unknown code leaves the one the session knows from its read.
        {"an unknown controller code", [](SimMouse::Config& c) { c.controllerCode = 0x00; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouseSays);
        mouse.config = SimMouse::Config{};
        std::copy(before.begin(), before.end(), mouse.memory.begin() + 0x100);
        // The session's own status query first: a refused code is what it knows.
        ASSERT_TRUE(window->session().QueryStatus());
        window->session().memoryAccess().CloseExchange();
        c.set(mouse.config);
        services.openAnswers.push_back(path);
        page().Btn_ImportBaseMacroClick();
        EXPECT_EQ(mouseArea(), c.written ? area : before);
        EXPECT_TRUE(window->session().devTimer().isEnabled());
    }
    // Without a mouse nothing is tried; the slots of the page still follow the file.
    mouse.config = SimMouse::Config{};
    std::copy(before.begin(), before.end(), mouse.memory.begin() + 0x100);
    host.plugMouse(&mouse, false);
    clock.advance(3500);
    ASSERT_FALSE(window->session().link().hasDevice());
    mouse.clearTraffic();
    services.openAnswers.push_back(path);
    page().Btn_ImportBaseMacroClick();
    EXPECT_EQ(mouseArea(), before);
    EXPECT_TRUE(mouse.traffic().empty());
    EXPECT_EQ(page().BaseMacroNames().value(2), QStringLiteral("CF_5连发"));
}

// The row drawn at the top of a list, and the row its scroll bar puts there.
int shownTopRow(const QListWidget* l)
{
    return l->indexAt(QPoint(2, 1)).row();
}
int barTopRow(const QListWidget* l)
{
    const int value = l->verticalScrollBar()->value();
    if (l->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
        return value;
    const int row = l->sizeHintForRow(0);
    return row > 0 ? value / row : value;
}
void wheelDown(QListWidget* l)
{
    const QPointF at = l->viewport()->rect().center();
    QWheelEvent e(at, l->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(l->viewport(), &e);
}

TEST_F(MacroPageUi, LayoutSizedListsOpenAtTheirFirstRowAndTheirScrollBarsAgree)
{
    connect();
    QListWidget* names = list("LB_PCMacroName");
    ASSERT_GT(names->count() * names->sizeHintForRow(0), names->viewport()->height()); // it scrolls
    const auto opensAtTheTop = [](QListWidget* l) {
        EXPECT_EQ(shownTopRow(l), 0);
        EXPECT_EQ(l->verticalScrollBar()->value(), l->verticalScrollBar()->minimum());
    };
    const auto followsTheWheel = [](QListWidget* l) {
        const int before = shownTopRow(l);
        wheelDown(l);
        EXPECT_GT(shownTopRow(l), before);
        EXPECT_EQ(shownTopRow(l), barTopRow(l));
    };
    {
        SCOPED_TRACE("first show");
        opensAtTheTop(names);
        followsTheWheel(names);
    }
    for (const auto& [language, choose] :
         {std::pair{3, &MainWindow::Btn_Lang3_0Click}, std::pair{2, &MainWindow::Btn_Lang2_0Click},
          std::pair{1, &MainWindow::Btn_Lang1_0Click}}) {
        SCOPED_TRACE(language);
        (window.get()->*choose)();
        window->selector().Btn_Macro_0Click();
        opensAtTheTop(names);
        followsTheWheel(names);
    }
    {
        SCOPED_TRACE("read again");
        window->actions().Btn_Read_0Click();
        window->selector().Btn_Macro_0Click();
        opensAtTheTop(names);
    }
    {
        SCOPED_TRACE("new");
        click(QStringLiteral("Btn_New"));
        auto* d = window->findChild<QWidget*>(QStringLiteral("TForm3"));
        ASSERT_TRUE(d);
        QLineEdit* field = d->findChild<QLineEdit*>(QStringLiteral("Edt_MacroName"));
        QTest::keyClicks(field, QStringLiteral("fresh"));
        QTest::keyClick(field, Qt::Key_Return);
        // The new macro is selected: it is in view, the bar agrees.
        const int k = page().SelectedLibraryMacro();
        ASSERT_EQ(k, names->count() - 1);
        EXPECT_TRUE(names->viewport()->rect().intersects(names->visualItemRect(names->item(k))));
        EXPECT_EQ(shownTopRow(names), barTopRow(names));
    }

    // A long macro opens at its selected (last) line, the bar agreeing.
    MacroScript s;
    s.Lines << QStringLiteral("10");
    for (int i = 0; i < 40; ++i)
        s.Lines << QStringLiteral("3 FB%1").arg(i + 1, 2, 16, QLatin1Char('0')).toUpper();
    page().library().Records[0] = EncodeScript(s, false).record;
    clickRow(names, 0);
    QListWidget* lines = list("LB_macro");
    ASSERT_EQ(lines->count(), 40);
    EXPECT_TRUE(lines->viewport()->rect().intersects(lines->visualItemRect(lines->item(39))));
    EXPECT_EQ(shownTopRow(lines), barTopRow(lines));
    lines->verticalScrollBar()->setValue(0);
    opensAtTheTop(lines);
    followsTheWheel(lines);

    // The key menu's macro list opens at its first entry.
    window->selector().Btn_Main_0Click();
    click(QStringLiteral("Key2"));
    hover(QStringLiteral("Key_Macro"));
    QListWidget* keyMacros = list("LB_Name");
    ASSERT_TRUE(keyMacros->isVisible());
    opensAtTheTop(keyMacros);
    followsTheWheel(keyMacros);
}

} // namespace

// The lists' style sheets colour the lists only; their scroll bars must not
// stay in the platform style's light colours on the dark page.
TEST_F(MacroPageUi, ListScrollBarsAreDrawnDarkInEveryLanguage)
{
    connect();
    const auto meanLightness = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += QColor(image.pixel(x, y)).lightness();
        return image.isNull() ? 255 : int(sum / (qint64(image.width()) * image.height()));
    };
    for (const auto& [language, choose] :
         {std::pair{1, &MainWindow::Btn_Lang1_0Click}, std::pair{3, &MainWindow::Btn_Lang3_0Click}}) {
        SCOPED_TRACE(language);
        (window.get()->*choose)();
        window->selector().Btn_Macro_0Click();
        for (const char* name : {"LB_PCMacroName", "LB_macro", "LB_Name"}) {
            QScrollBar* bar = list(name)->verticalScrollBar();
            bar->resize(16, 200); // drawn alike whether it is shown now or not
            EXPECT_LT(meanLightness(bar), 100) << name;
        }
    }
}
