// The macro page's recordings through its widgets: from the (fake) capture
// into the line list and the library file; insert recordings; the capture's
// hint.
#include "MacroPageFixture.h"

using namespace orb;
using namespace orb::test;

namespace
{

TEST_F(MacroPageUi, ARecordingShowsItsLinesWithIconsAndIsStoredInTheLibraryFile)
{
    connect();
    clickRow(list("LB_PCMacroName"), 1);
    ASSERT_EQ(page().SelectedLibraryMacro(), 1);
    EXPECT_FALSE(lines().isEmpty()); // the macro opened
    // Its pauses are all equal, so it opened with a fixed delay.
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_DelayTime"))->isChecked());
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("Edt_Delay"))->text(), QStringLiteral("48"));
    click(QStringLiteral("IB_RecDelay"));
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_RecDelay"))->isChecked());

    click(QStringLiteral("Btn_Start"));
    ASSERT_TRUE(capture);
    ASSERT_TRUE(capture->isRunning());
    EXPECT_TRUE(page().Recording());
    EXPECT_EQ(caption(QStringLiteral("Btn_Start")), text("Str401"));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(widget(QStringLiteral("Gb_Delay"))->isEnabled());

    // Ctrl+C, held C repeating, then a right click, all while another window has the focus.
    capture->pressKey(17, 1000);
    capture->pressKey('C', 1100);
    capture->pressKey('C', 1130); // auto-repeat: no line
    capture->releaseKey('C', 1300);
    capture->releaseKey(17, 1400);
    capture->click(MouseButton::Right, true, 6400);
    capture->click(MouseButton::Right, false, 6500);
    const QStringList expected = {KeyLine(true, 17),
                                  PauseLine(100),
                                  KeyLine(true, 'C'),
                                  PauseLine(200),
                                  KeyLine(false, 'C'),
                                  PauseLine(100),
                                  KeyLine(false, 17),
                                  PauseLine(2040),
                                  PauseLine(2040),
                                  PauseLine(920),
                                  ButtonLine(true, MacroButton::Right),
                                  PauseLine(100),
                                  ButtonLine(false, MacroButton::Right)};
    EXPECT_EQ(lines(), expected);
    QListWidget* l = list("LB_macro");
    EXPECT_EQ(l->currentRow(), l->count() - 1);

    // Every row is drawn with its kind's icon at its left edge and its text.
    for (int i = 0; i < l->count(); ++i) {
        const int kind = l->item(i)->data(MacroLineKindRole).toInt();
        EXPECT_EQ(kind, KindOf(expected[i]).value_or(-1));
        EXPECT_FALSE(MacroLineIcon(kind).isNull());
        EXPECT_EQ(l->item(i)->text(), QString()); // items carry no text
        EXPECT_EQ(l->item(i)->data(MacroLineTextRole).toString(), DisplayText(expected[i]));
    }
    EXPECT_EQ(l->visualItemRect(l->item(0)).height(), window->skin().keep().listRowHeight);
    const QImage shot = l->viewport()->grab().toImage();
    const QRect row0 = l->visualItemRect(l->item(0));
    EXPECT_EQ(shot.pixelColor(row0.left() + 3, row0.center().y()), QColor(45, 114, 189)); // the icon's blue

    // The click that stops is not recorded: the pointer is on the button.
    hover(QStringLiteral("Btn_Start"));
    capture->click(MouseButton::Left, true, 7000);
    capture->click(MouseButton::Left, false, 7050);
    click(QStringLiteral("Btn_Start"));
    EXPECT_FALSE(page().Recording());
    EXPECT_FALSE(capture->isRunning());
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(caption(QStringLiteral("Btn_Start")), text("Str400"));
    EXPECT_TRUE(widget(QStringLiteral("Gb_Delay"))->isEnabled());

    // Encoded into the library entry and written to the library file.
    MacroScript script;
    script.Lines = QStringList{QStringLiteral("10")} + expected;
    const MacroRecord record = EncodeScript(script, false).record;
    EXPECT_EQ(page().library().Records[1], record);
    const QByteArray file = fileBytes(page().libraryPath());
    ASSERT_EQ(file.size(), LibraryFileSize);
    EXPECT_EQ(file.mid(LibraryEntrySize + 32, 224),
              QByteArray(reinterpret_cast<const char*>(record.data()), 224));
    EXPECT_TRUE(messages().isEmpty());
}

// However keys, buttons and long pauses mix, the stored macro fits its slot.
TEST_F(MacroPageUi, ARecordingOfKeysWithoutDelaysStopsByItselfWithinTheSlot)
{
    recordUntilFull("IB_NoDelay", false);
    EXPECT_EQ(KindOf(lines().last()), LineKind::Release); // the refused press ended it
}

TEST_F(MacroPageUi, ARecordingOfKeysWithLongPausesStopsByItselfWithinTheSlot)
{
    recordUntilFull("IB_RecDelay", false);
    EXPECT_EQ(KindOf(lines().last()), LineKind::Release);
}

TEST_F(MacroPageUi, ARecordingOfButtonsWithLongPausesStopsByItselfWithinTheSlot)
{
    recordUntilFull("IB_RecDelay", true);
}

TEST_F(MacroPageUi, AnInsertRecordingPutsItsLinesInOrderBeforeTheCurrentLine)
{
    connect();
    clickRow(list("LB_PCMacroName"), 0); // "CF_5连发": six lines
    const QStringList before = lines();
    ASSERT_EQ(before.size(), 6);
    clickRow(list("LB_macro"), 2);
    page().Btn_InsertStartClick();
    ASSERT_TRUE(page().InsertRecording());
    capture->pressKey('A', 500);
    capture->releaseKey('A', 620);
    page().Btn_InsertStartClick();
    EXPECT_FALSE(page().Recording());
    QStringList expected = before;
    expected.insert(2, KeyLine(false, 'A'));
    expected.insert(2, PauseLine(120));
    expected.insert(2, KeyLine(true, 'A'));
    EXPECT_EQ(lines(), expected);
    // Nothing is stored until the insert panel's OK.
    EXPECT_EQ(DecodeRecord(page().library().Records[0]).script.itemCount(), 6);
}

TEST_F(MacroPageUi, WithALimitedCaptureAHintSaysSo)
{
    macros.inputCapture = [this] {
        auto c = std::make_unique<FakeInputCapture>();
        c->limited = true;
        capture = c.get();
        return c;
    };
    connect();
    clickRow(list("LB_PCMacroName"), 0);
    click(QStringLiteral("Btn_Start"));
    EXPECT_TRUE(page().Recording());
    // In the window's language (Simplified Chinese at start).
    EXPECT_TRUE(window->stack().hintLine()->text().contains(QStringLiteral("本窗口")));
    click(QStringLiteral("Btn_Start"));
}

TEST_F(MacroPageUi, CaptureTextsAreInTheChosenLanguage)
{
    macros.inputCapture = [this] {
        auto c = std::make_unique<FakeInputCapture>();
        c->limited = true;
        capture = c.get();
        return c;
    };
    connect();
    clickRow(list("LB_PCMacroName"), 0);
    const char* const onlyThisWindow[] = {"本窗口", "本視窗", "this window"};
    const char* const cannotRecord[] = {"无法录制", "無法錄製", "cannot be recorded"};
    QLabel* hint = window->stack().hintLine();
    for (int language = 1; language <= 3; ++language) {
        SCOPED_TRACE(language);
        click(QStringLiteral("Btn_Lang%1_4").arg(language));
        ASSERT_EQ(window->skin().languageIndex(), language);
        if (capture)
            capture->startFails = false;
        click(QStringLiteral("Btn_Start"));
        ASSERT_TRUE(capture);
        ASSERT_TRUE(page().Recording());
        EXPECT_TRUE(hint->text().contains(QString::fromUtf8(onlyThisWindow[language - 1])))
            << hint->text().toStdString();
        // A language chosen while it records changes the hint too.
        const int other = language % 3 + 1;
        click(QStringLiteral("Btn_Lang%1_4").arg(other));
        EXPECT_TRUE(hint->text().contains(QString::fromUtf8(onlyThisWindow[other - 1])));
        click(QStringLiteral("Btn_Lang%1_4").arg(language));
        click(QStringLiteral("Btn_Start"));
        ASSERT_FALSE(page().Recording());
        capture->startFails = true;
        services.messages.clear();
        click(QStringLiteral("Btn_Start"));
        EXPECT_FALSE(page().Recording());
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages().front().contains(QString::fromUtf8(cannotRecord[language - 1])));
    }
}

} // namespace
