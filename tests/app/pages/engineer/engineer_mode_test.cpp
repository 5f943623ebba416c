// The engineering page's texts by the system locale, its hint line and
// engineering mode, through the real widgets.
#include "AppFixture.h"
#include "app/frame/PageSelector.h"
#include "app/pages/engineer/EngineerModeControl.h"
#include "app/pages/engineer/PassDialog.h"
#include "image/ConfigImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{

QString U(const char* s)
{
    return QString::fromUtf8(s);
}

const char* const kHardwareControls[] = {"gbLEDType",           "rb_NorLED",         "rb_MCULED",
                                         "gbMCULEDControlMode", "rb_MCULED3Control", "rb_MCULED6Control",
                                         "lbl_SensorOri",       "cb_SensorOri"};

struct EngineerUi : AppFixture {
    std::deque<std::optional<QString>> answers; // what the pass phrase dialog is answered
    int asked = 0;

    // The mouse read and the engineering page shown, the dialog answered
    // from `answers` (Cancel when empty).
    void openEngineerPage(bool fakeDialog = true)
    {
        startRead();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->selector().Btn_Engineer_0Click();
        ASSERT_TRUE(window->page(6)->isVisible());
        if (fakeDialog)
            mode().setPassPhraseDialog([this]() -> std::optional<QString> {
                ++asked;
                if (answers.empty())
                    return std::nullopt;
                auto a = answers.front();
                answers.pop_front();
                return a;
            });
    }
    EngineerModeControl& mode() const { return window->engineerPage().engineerMode(); }
    // A double-click on the logo strip as the pointer gives it.
    void doubleClickLogo() const
    {
        QWidget* logo = find(QStringLiteral("Img_Logo4"));
        const QPoint at(400, 50);
        QTest::mousePress(logo, Qt::LeftButton, {}, at);
        QTest::mouseRelease(logo, Qt::LeftButton, {}, at);
        QTest::mouseDClick(logo, Qt::LeftButton, {}, at);
        QTest::mouseRelease(logo, Qt::LeftButton, {}, at);
    }
    bool engineerTabShown() const
    {
        auto* tabs = find<QTabWidget>(QStringLiteral("Pg_Parameter"));
        return tabs->isTabVisible(tabs->indexOf(find(QStringLiteral("ts_Engineer"))));
    }
    // Everything engineering mode decides, checked against `unlocked`.
    void expectUnlocked(bool unlocked) const
    {
        EXPECT_EQ(mode().EngineerUnlocked(), unlocked);
        EXPECT_EQ(engineerTabShown(), unlocked);
        EXPECT_EQ(find(QStringLiteral("Btn_Default"))->isVisible(), unlocked);
        for (const char* name : kHardwareControls)
            EXPECT_EQ(find(QString::fromLatin1(name))->isEnabled(), unlocked) << name;
        // The engineer sheet is for display in both states, and what is never
        // shown stays hidden.
        EXPECT_FALSE(find(QStringLiteral("ts_Engineer"))->isEnabled());
        for (const char* name : {"gbNorLEDMode", "gbFireFn", "cb_GunPress", "Btn_Engineer_6"})
            EXPECT_TRUE(find(QString::fromLatin1(name))->isHidden()) << name;
    }
};

TEST_F(EngineerUi, FifthDoubleClickAsksTenthAgainOneLocks)
{
    openEngineerPage();
    EXPECT_EQ(mode().LogoClickCount(), 0);
    expectUnlocked(false);

    answers = {U("dravelkinqwt"), U("DravelkinQWT")};
    for (int n = 1; n <= 4; ++n)
        doubleClickLogo();
    EXPECT_EQ(asked, 0); // four double-clicks do nothing
    expectUnlocked(false);
    doubleClickLogo();
    EXPECT_EQ(asked, 1); // the fifth asks; the wrong letter case leaves it locked
    expectUnlocked(false);
    for (int n = 6; n <= 9; ++n)
        doubleClickLogo();
    EXPECT_EQ(asked, 1);
    doubleClickLogo();
    EXPECT_EQ(asked, 2); // the tenth asks again
    expectUnlocked(true);
    EXPECT_EQ(mode().LogoClickCount(), 10);

    // One double-click locks, without a dialog.
    doubleClickLogo();
    EXPECT_EQ(asked, 2);
    expectUnlocked(false);
    EXPECT_EQ(mode().LogoClickCount(), 10);
    // Locking does not reset the count: the next ask is at the fifteenth.
    for (int n = 11; n <= 14; ++n)
        doubleClickLogo();
    EXPECT_EQ(asked, 2);
    doubleClickLogo();
    EXPECT_EQ(asked, 3); // Cancel
    expectUnlocked(false);
    EXPECT_TRUE(messages().isEmpty()); // a refusal says nothing
}

TEST_F(EngineerUi, LockingWhileOnTheEngineerSheetLeavesIt)
{
    openEngineerPage();
    answers = {U("DravelkinQWT")};
    for (int n = 1; n <= 5; ++n)
        doubleClickLogo();
    expectUnlocked(true);
    auto* tabs = find<QTabWidget>(QStringLiteral("Pg_Parameter"));
    tabs->setCurrentWidget(find(QStringLiteral("ts_Engineer")));
    doubleClickLogo();
    expectUnlocked(false);
    EXPECT_EQ(tabs->currentWidget(), find(QStringLiteral("ts_Operator")));
}

// The real dialog: its caption, prompt, masked input and buttons; OK with
// the phrase unlocks, Cancel does not.
TEST_F(EngineerUi, PassPhraseDialog)
{
    openEngineerPage(false);
    struct Seen {
        QString object, title, prompt, ok, cancel, mask;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        bool modal = false;
    } seen;
    const auto answerWith = [&](const QString& phrase, bool ok) {
        QTimer::singleShot(0, window.get(), [&, phrase, ok] {
            auto* dialog = window->findChild<PassDialog*>();
            ASSERT_NE(dialog, nullptr);
            seen = {dialog->objectName(),
                    dialog->windowTitle(),
                    dialog->findChild<QLabel*>()->text(),
                    dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->text(),
                    dialog->findChild<QPushButton*>(QStringLiteral("CancelButton"))->text(),
                    QChar(dialog->input()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                              dialog->input())),
                    dialog->input()->echoMode(),
                    dialog->isModal()};
            QTest::keyClicks(dialog->input(), phrase);
            QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? QStringLiteral("OKButton")
                                                                 : QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        });
    };
    for (int n = 1; n <= 4; ++n)
        doubleClickLogo();
    answerWith(U("DravelkinQWT"), false); // the right phrase, but Cancel
    doubleClickLogo();
    expectUnlocked(false);
    EXPECT_EQ(seen.object, QStringLiteral("dlgPass"));
    EXPECT_EQ(seen.title, QStringLiteral("Password"));
    EXPECT_EQ(seen.prompt, QStringLiteral("PASSWORD:"));
    EXPECT_EQ(seen.ok, QStringLiteral("OK"));
    EXPECT_EQ(seen.cancel, QStringLiteral("Cancel"));
    EXPECT_EQ(seen.mask, QStringLiteral("*"));
    EXPECT_EQ(seen.echo, QLineEdit::Password);
    EXPECT_TRUE(seen.modal);

    for (int n = 6; n <= 9; ++n)
        doubleClickLogo();
    answerWith(U("DravelkinQWT"), true);
    doubleClickLogo();
    expectUnlocked(true);
}

// Btn_Default shows only in engineering mode; the factory reset shows its
// result in Img_Result, which goes with the button when the page locks.
TEST_F(EngineerUi, FactoryResetShowsItsResult)
{
    openEngineerPage();
    auto* result = find(QStringLiteral("Img_Result"));
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->isHidden());
    answers = {U("DravelkinQWT")};
    for (int n = 1; n <= 5; ++n)
        doubleClickLogo();
    mouse.memory[MacroAreaAddr + 5] = 0x11;
    QTest::mouseClick(find<QPushButton>(QStringLiteral("Btn_Default")), Qt::LeftButton);
    EXPECT_TRUE(result->isVisible());
    EXPECT_EQ(mouse.memory[MacroAreaAddr + 5], 0); // the mouse took the factory contents
    doubleClickLogo();
    EXPECT_TRUE(result->isHidden());
    EXPECT_TRUE(find(QStringLiteral("Btn_Default"))->isHidden());
}

// The mark says the mouse holds the factory contents: never after a write
// the mouse refused, did not answer or did not keep.
TEST_F(EngineerUi, FactoryResetShowsItsResultOnlyAfterAWriteThatLanded)
{
    struct Case {
        const char* name;
        std::function<void(SimMouse&)> fault;
        bool shown;
        bool failMessage; // "Str109"
    };
    const Case cases[] = {
        {"written", [](SimMouse&) {}, true, false},
        {"a macro chunk refused",
         [](SimMouse& m) {
             m.onCommand = [&m, chunks = 0](int) mutable {
                 if (m.requests().back()[1] == WriteDataCmd && ++chunks == 199) {
                     m.config.refuseWith = 0x55;
                     m.config.refusals = 5;
                 }
             };
         },
         false, true},
        {"not kept", [](SimMouse& m) { m.config.writeProtected = true; }, false, true},
        {"memory access not allowed", [](SimMouse& m) { m.config.memoryAccess = false; }, false, false},
        {"no answer", [](SimMouse& m) { m.config.silent = true; }, false, false},
    };
    openEngineerPage();
    answers = {U("DravelkinQWT")};
    for (int n = 1; n <= 5; ++n)
        doubleClickLogo();
    auto* result = find(QStringLiteral("Img_Result"));
    ASSERT_NE(result, nullptr);
    const auto original = mouse.memory;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.memory = original;
        mouse.config = SimMouse::Config{};
        mouse.onCommand = {};
        c.fault(mouse);
        result->show(); // the mark of an earlier reset
        services.messages.clear();
        QTest::mouseClick(find<QPushButton>(QStringLiteral("Btn_Default")), Qt::LeftButton);
        mouse.onCommand = {};
        EXPECT_EQ(result->isVisible(), c.shown);
        EXPECT_EQ(messages().contains(text("Str109")), c.failMessage)
            << messages().join(QLatin1Char('|')).toStdString();
    }
}

// --- Texts by the system locale ---

struct LocaleCase {
    const char* locale;
    int language; // chosen on the user pages afterwards
    const char* testKeys;
    const char* keyMode1B;
    const char* operatorTab;
    const char* sensorOri4;
    const char* mode1;
};

class EngineerTexts : public EngineerUi, public ::testing::WithParamInterface<LocaleCase>
{
};

TEST_P(EngineerTexts, FollowTheSystemLocaleNotTheLanguage)
{
    const LocaleCase& c = GetParam();
    locale = QLocale(QString::fromLatin1(c.locale));
    start(false);
    window->LanguageButtonClick(c.language); // never reaches the engineering page
    auto* tabs = find<QTabWidget>(QStringLiteral("Pg_Parameter"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("btn_TestKeys"))->text(), U(c.testKeys));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_KeyMode1B"))->text(), U(c.keyMode1B));
    EXPECT_EQ(tabs->tabText(tabs->indexOf(find(QStringLiteral("ts_Operator")))), U(c.operatorTab));
    EXPECT_EQ(find<QComboBox>(QStringLiteral("cb_SensorOri"))->itemText(4), U(c.sensorOri4));
    EXPECT_EQ(find<QCheckBox>(QStringLiteral("cb_Mode1"))->text(), U(c.mode1));
    // The current-mode list is rebuilt from the ticked modes with the same names.
    EXPECT_EQ(find<QComboBox>(QStringLiteral("cb_MCULEDCurrentMode"))->itemText(0), U(c.mode1));
    EXPECT_EQ(window->engineerPage().mcuModeNames().first(), U(c.mode1));
    // Captions not in the table keep their texts.
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_CPI1R"))->text(), QStringLiteral("CPI1 R:"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_ms6"))->text(), QStringLiteral("(*8ms)"));
    for (const char* name : {"Btn_Main_6", "gbCPI", "rb_Save", "cb_CPI1Color", "edt_FireTime", "lbl_Notes"})
        EXPECT_EQ(find(QString::fromLatin1(name))->font().family(), QStringLiteral("MS Sans Serif")) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, EngineerTexts,
    ::testing::Values(
        LocaleCase{"zh_CN", 3, "测试按键位置", "模式1 B:", "操作人员界面", "X镜面反向", "模式1"},
        LocaleCase{"en_US", 1, "Test Keys Position", "Mode1 B::", "Operation", "X Reverse", "Mode 1"},
        LocaleCase{"zh_TW", 2, "Test Keys Position", "Mode1 B::", "Operation", "X Reverse", "Mode 1"},
        LocaleCase{"de_DE", 1, "Test Keys Position", "Mode1 B::", "Operation", "X Reverse", "Mode 1"}));

TEST_F(EngineerUi, ListsTakeTheirItemsInTheLocalesColumn)
{
    locale = QLocale(QStringLiteral("zh_CN"));
    start(false);
    auto* colours = find<QComboBox>(QStringLiteral("cb_CPI3Color"));
    ASSERT_EQ(colours->count(), 7);
    EXPECT_EQ(colours->itemText(0), U("红色"));
    EXPECT_EQ(colours->itemText(6), U("白色"));
    auto* keyMode = find<QComboBox>(QStringLiteral("cb_KeyMode"));
    ASSERT_EQ(keyMode->count(), 2);
    EXPECT_EQ(keyMode->itemText(1), U("模式B"));
    EXPECT_EQ(find<QGroupBox>(QStringLiteral("gbKeyMode2"))->title(), U("模式B"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_Notes"))->text(), U("注释: "));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("Btn_Default"))->text(), U("恢复默认值"));
    // The built-in image is shown in the filled lists.
    EXPECT_EQ(find<QComboBox>(QStringLiteral("cb_SensorOri"))->currentText(), U("180°"));
}

// --- Hint line ---

TEST_F(EngineerUi, HintFollowsThePointer)
{
    openEngineerPage();
    auto* line = find<QLabel>(QStringLiteral("lbl_Content"));
    const QString mcuColour =
        U("MCU LED各档CPI对应颜色参数设定，用户通过颜色R/G/B值参数设定，控制MCU LED各档CPI颜色。");
    // A point of `w` where no child of it lies.
    const auto bare = [](QWidget* w) {
        for (int y = w->height() - 2; y > 0; --y)
            for (int x = w->width() - 2; x > 0; --x)
                if (!w->childAt(x, y))
                    return QPoint(x, y);
        return QPoint();
    };
    const auto moveTo = [](QWidget* w, const QPoint& at) { QTest::mouseMove(w, at); };

    QWidget* edit = find(QStringLiteral("edt_CPI1R"));
    ASSERT_TRUE(edit->isVisible()); // the built-in image has the MCU light
    moveTo(edit, edit->rect().center());
    EXPECT_EQ(line->text(), mcuColour);
    // The group's own background: the nearest group with a hint gives it.
    QWidget* group = find(QStringLiteral("gbMCULEDCPIColor"));
    moveTo(group, bare(group));
    EXPECT_EQ(line->text(), mcuColour);
    // The bare sheet has no hint and no group around it: the empty text.
    QWidget* sheet = find(QStringLiteral("ts_Operator"));
    moveTo(sheet, QPoint(100, 170));
    ASSERT_EQ(sheet->childAt(100, 170), nullptr);
    EXPECT_EQ(line->text(), QString());

    moveTo(edit, edit->rect().center());
    QWidget* disabled = find(QStringLiteral("rb_NorLED")); // locked, still explained
    moveTo(disabled, disabled->rect().center());
    EXPECT_EQ(line->text(),
              U("本方案灯光控制支持智控灯和MCU LED，请根据鼠标硬件设计时的实际情况，选取智控灯或MCU "
                "LED，程序才会正确的控制。"));
    QWidget* load = find(QStringLiteral("Btn_Load_6"));
    moveTo(load, load->rect().center());
    EXPECT_EQ(line->text(), U("把指定Bin档的参数导入到当前设定软件里，并显示出来。"));
    QWidget* logo = find(QStringLiteral("Img_Logo4"));
    moveTo(logo, QPoint(900, 80));
    EXPECT_EQ(line->text(), QString());
}

} // namespace
