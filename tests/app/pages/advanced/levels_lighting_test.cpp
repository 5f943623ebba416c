// The advanced page's CPI rows and the lighting page, through their widgets,
// mirrored on the engineering tab, down to the simulated mouse.
#include "AppFixture.h"

#include "app/pages/advanced/LedColourDialog.h"
#include "lighting/CpiLevels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

struct Levels : AppFixture {
    using AppFixture::click;
    void click(QWidget* parent, const QString& name) const
    {
        QWidget* w = parent->findChild<QWidget*>(name);
        ASSERT_TRUE(w) << qPrintable(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    QString picture(const QString& name) const { return widget(name)->property("picture").toString(); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(QString::fromLatin1(name)); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(QString::fromLatin1(name)); }
    const CpiLevels& levels() const { return window->advancedPage().levels(); }
    // The user picks an item of an engineering list.
    void choose(const char* list, int index) const
    {
        QComboBox* c = combo(list);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void typeInto(const char* name, const QString& text) const
    {
        QLineEdit* e = edit(name);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    // Default image 1 with its parameter section changed by `change`.
    static ImageBytes image(const std::function<void(ConfigImage&)>& change)
    {
        ConfigImage img;
        img.ImageBuf = *LoadDefaultImage(1);
        img.SplitImage();
        change(img);
        img.JoinImage();
        return img.ImageBuf;
    }
    static ImageBytes normalLight(int levelCount = 6)
    {
        return image([levelCount](ConfigImage& i) {
            i.ParameterA[0x00] |= 0x80;
            i.ParameterA[0x02] = std::uint8_t(levelCount);
        });
    }
    int current() const { return combo("cb_CurrentCPI")->currentIndex() + 1; }
    std::vector<QString> selectors() const
    {
        std::vector<QString> out;
        for (int n = 1; n <= 7; ++n)
            out.push_back(picture(QStringLiteral("Img_DPI%1").arg(n)));
        return out;
    }
    std::vector<QString> tickedOnly(int n) const
    {
        std::vector<QString> out(7, QStringLiteral("CbS_D"));
        out[std::size_t(n - 1)] = QStringLiteral("CbS_E");
        return out;
    }
};

// --- CPI levels ---

TEST_F(Levels, LevelLabelsAddAndRemoveOnlyAtTheEndOfTheRange)
{
    startRead(image([](ConfigImage& i) { i.ParameterA[0x02] = 4; }));
    ASSERT_EQ(levels().LevelCount(), 4);

    click(QStringLiteral("lbl_DPI5"));
    EXPECT_EQ(levels().LevelCount(), 5);
    EXPECT_EQ(combo("cb_CPIStep")->currentIndex(), 3);
    EXPECT_EQ(combo("cb_CurrentCPI")->count(), 5);
    EXPECT_EQ(current(), 5);
    EXPECT_EQ(selectors(), tickedOnly(5));
    EXPECT_FALSE(find(QStringLiteral("cb_CPI5"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("Img_DPI5_3"))->isEnabled());

    click(QStringLiteral("lbl_DPI5"));
    EXPECT_EQ(levels().LevelCount(), 4);
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(selectors(), tickedOnly(4));
    EXPECT_TRUE(find(QStringLiteral("cb_CPI5"))->isHidden());
    EXPECT_FALSE(find(QStringLiteral("Img_DPI5_3"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("lbl_DPI5Col"))->isEnabled());

    for (const char* name : {"lbl_DPI3", "lbl_DPI1", "lbl_DPI2"}) {
        SCOPED_TRACE(name);
        click(QLatin1String(name));
        EXPECT_EQ(levels().LevelCount(), 4);
        EXPECT_EQ(combo("cb_CPIStep")->currentIndex(), 2);
        EXPECT_EQ(current(), 4);
    }

    // Removing a level that is not current keeps the current one.
    click(QStringLiteral("Img_DPI2"));
    EXPECT_EQ(current(), 2);
    click(QStringLiteral("lbl_DPI4"));
    EXPECT_EQ(levels().LevelCount(), 3);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(selectors(), tickedOnly(2));
    // An inactive level's selector changes nothing.
    click(QStringLiteral("Img_DPI6"));
    EXPECT_EQ(current(), 2);
}

TEST_F(Levels, StepChangeMakesTheLastLevelCurrent)
{
    startRead();
    for (int count = 2; count <= 7; ++count) {
        SCOPED_TRACE(count);
        choose("cb_CPIStep", count - 2);
        EXPECT_EQ(levels().LevelCount(), count);
        EXPECT_EQ(current(), count);
        EXPECT_EQ(combo("cb_CurrentCPI")->count(), count);
        EXPECT_EQ(selectors(), tickedOnly(count));
        for (int n = 1; n <= 7; ++n)
            EXPECT_EQ(find(QStringLiteral("Img_DPI%1").arg(n))->isEnabled(), n <= count) << n;
    }
    // The current level from the engineering tab.
    choose("cb_CurrentCPI", 2);
    EXPECT_EQ(selectors(), tickedOnly(3));
}

TEST_F(Levels, BarStylesForValue1600)
{
    startRead();
    struct Case {
        int style;
        std::vector<int> lit;
    };
    const Case cases[] = {{1, {5}}, {0, {1, 2, 3, 4, 5}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        window->skin().org().DPILED_Status = c.style;
        click(QStringLiteral("Img_DPI2_5"));
        EXPECT_EQ(combo("cb_CPI2")->currentIndex(), 4);
        EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_DPI2Value"))->text(), QStringLiteral("1600"));
        for (int k = 1; k <= 11; ++k) {
            const bool lit = std::find(c.lit.begin(), c.lit.end(), k) != c.lit.end();
            EXPECT_EQ(picture(QStringLiteral("Img_DPI2_%1").arg(k)),
                      lit ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"))
                << k;
        }
    }
    // The value from the engineering tab paints the bar the same way.
    choose("cb_CPI2", 10);
    EXPECT_EQ(picture(QStringLiteral("Img_DPI2_11")), QStringLiteral("Bar2_E"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_DPI2Value"))->text(), QStringLiteral("6400"));
}

TEST_F(Levels, RgbEditsClampAndFillTheSwatch)
{
    startRead();
    typeInto("edt_CPI1G", QStringLiteral("300"));
    EXPECT_EQ(edit("edt_CPI1G")->text(), QStringLiteral("255"));
    EXPECT_EQ(levels().Swatch(1).green(), 255);
    EXPECT_TRUE(find<QLabel>(QStringLiteral("cs_DPI1Col"))->styleSheet().contains(levels().Swatch(1).name()));
    edit("edt_CPI1G")->selectAll();
    QTest::keyClick(edit("edt_CPI1G"), Qt::Key_Backspace);
    EXPECT_EQ(edit("edt_CPI1G")->text(), QStringLiteral("0"));
    EXPECT_EQ(levels().Swatch(1).green(), 0);
    // A named colour chosen last decides the swatch.
    choose("cb_CPI1Color", 2);
    EXPECT_EQ(levels().Swatch(1), QColor(255, 255, 0));
}

// A change of the level count leaves every swatch on the colour changed last.
TEST_F(Levels, LevelCountChangesKeepTheSwatchesAsLastChanged)
{
    const std::pair<const char*, std::function<void(Levels&)>> changes[] = {
        {"level label", [](Levels& t) { t.click(QStringLiteral("lbl_DPI5")); }},
        {"step list", [](Levels& t) { t.choose("cb_CPIStep", 4); }},
    };
    startRead(normalLight(4)); // named colours shown
    for (const auto& [how, change] : changes) {
        SCOPED_TRACE(how);
        choose("cb_CPI2Color", 3);
        typeInto("edt_CPI1R", QStringLiteral("10"));
        const QColor rgb = levels().Rgb(1);
        ASSERT_EQ(levels().Swatch(1), rgb);
        const QColor named2 = levels().Swatch(2);
        change(*this);
        EXPECT_EQ(levels().Swatch(1), rgb);
        EXPECT_EQ(levels().Swatch(2), named2);
        EXPECT_TRUE(find<QLabel>(QStringLiteral("cs_DPI1Col"))->styleSheet().contains(rgb.name()));
        choose("cb_CPIStep", 2); // back to four levels
    }
}

TEST_F(Levels, ColourCellDoesNothingBeforeAMouseWasRead)
{
    start(false);
    services.colourAnswers.push_back(QColor(1, 2, 3));
    click(QStringLiteral("lbl_DPI1Col"));
    EXPECT_EQ(services.colourAnswers.size(), 1u); // the picker was not asked
    EXPECT_EQ(window->advancedPage().colourDialog(), nullptr);
}

TEST_F(Levels, SystemPickerColoursAnMcuLevel)
{
    startRead(); // the built-in image has the MCU light
    services.colourAnswers.push_back(QColor(10, 200, 30));
    click(QStringLiteral("lbl_DPI2Col"));
    EXPECT_EQ(edit("edt_CPI2R")->text(), QStringLiteral("10"));
    EXPECT_EQ(edit("edt_CPI2G")->text(), QStringLiteral("200"));
    EXPECT_EQ(edit("edt_CPI2B")->text(), QStringLiteral("30"));
    EXPECT_EQ(levels().Swatch(2), QColor(10, 200, 30));
    // Cancelled: nothing changes.
    click(QStringLiteral("lbl_DPI2Col"));
    EXPECT_EQ(edit("edt_CPI2R")->text(), QStringLiteral("10"));
}

TEST_F(Levels, ColourDialogConfirmWithAndWithoutAChoice)
{
    startRead(normalLight());
    choose("cb_CPI3Color", 0);
    click(QStringLiteral("lbl_DPI3Col"));
    LedColourDialog* dialog = window->advancedPage().colourDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("TForm4"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lbl_NorLEDTitle"))->text(),
              window->skin().LookupText(QStringLiteral("Str522")));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("IB_Confirm"))->text(),
              window->skin().LookupText(QStringLiteral("Str511")));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Img_EditKey"))->size(), QSize(530, 200));
    EXPECT_EQ(dialog->size(), QSize(530, 200));
    // Cells 20 pixels apart from the layout's first cell; marks under them.
    EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("lbl_DPI1Col"))->geometry(), QRect(60, 68, 32, 40));
    EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("lbl_DPI2Col"))->pos(), QPoint(112, 68));
    EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("Img_DPI1ColSel"))->pos(), QPoint(68, 116));

    // Confirm without a choice: nothing changes.
    click(dialog, QStringLiteral("IB_Confirm"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->advancedPage().colourDialog(), nullptr);
    EXPECT_EQ(combo("cb_CPI3Color")->currentIndex(), 0);

    // Cell 3, cleared, then cell 3 again and confirmed: Yellow.
    click(QStringLiteral("lbl_DPI3Col"));
    dialog = window->advancedPage().colourDialog();
    ASSERT_TRUE(dialog);
    click(dialog, QStringLiteral("lbl_DPI3Col"));
    EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("Img_DPI3ColSel"))->property("picture").toString(),
              QStringLiteral("CbS_E"));
    click(dialog, QStringLiteral("IB_Cancel"));
    EXPECT_EQ(window->advancedPage().colourDialogState().ColourChoice(), NoColourChoice);
    EXPECT_TRUE(dialog->isVisible());
    click(dialog, QStringLiteral("lbl_DPI3Col"));
    click(dialog, QStringLiteral("IB_Confirm"));
    EXPECT_EQ(combo("cb_CPI3Color")->currentIndex(), 2);
    EXPECT_EQ(levels().Swatch(3), QColor(255, 255, 0));
}

TEST_F(Levels, LevelValueAndColourReachTheMouseAndComeBack)
{
    startRead();
    click(QStringLiteral("Img_DPI3_8")); // 3200
    services.colourAnswers.push_back(QColor(12, 34, 56));
    click(QStringLiteral("lbl_DPI3Col"));
    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(mouse.memory[0x008], 7);
    EXPECT_EQ(mouse.memory[0x01A + 6], 12);
    EXPECT_EQ(mouse.memory[0x01A + 7], 34);
    EXPECT_EQ(mouse.memory[0x01A + 8], 56);

    // Changed on the page but not written: a read brings the mouse's back.
    click(QStringLiteral("Img_DPI3_1"));
    typeInto("edt_CPI3R", QStringLiteral("99"));
    window->actions().Btn_Read_0Click();
    EXPECT_EQ(combo("cb_CPI3")->currentIndex(), 7);
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_DPI3Value"))->text(), QStringLiteral("3200"));
    EXPECT_EQ(picture(QStringLiteral("Img_DPI3_8")), QStringLiteral("Bar2_E"));
    EXPECT_EQ(edit("edt_CPI3R")->text(), QStringLiteral("12"));
    EXPECT_EQ(levels().Swatch(3), QColor(12, 34, 56));
}

// A count byte outside 2..7 shows as the nearest count in both views, and
// Apply writes that count: every page's store agrees with what is shown.
struct CountByte {
    std::uint8_t count;
    int shown;
};
void PrintTo(const CountByte& k, std::ostream* os)
{
    *os << "count byte " << int(k.count);
}
struct LevelCountByte : Levels, ::testing::WithParamInterface<CountByte> {
};

TEST_P(LevelCountByte, IsShownAndStoredAsTheNearestCount)
{
    const CountByte k = GetParam();
    startRead(image([&k](ConfigImage& i) { i.ParameterA[0x02] = k.count; }));
    EXPECT_EQ(levels().LevelCount(), k.shown);
    EXPECT_EQ(combo("cb_CPIStep")->currentIndex(), k.shown - 2);
    EXPECT_EQ(combo("cb_CurrentCPI")->count(), k.shown);

    window->actions().Btn_Apply_0Click();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(mouse.memory[0x002], k.shown);
    EXPECT_LT(mouse.memory[0x030], k.shown);
    EXPECT_EQ(mouse.memory[0x031], 0xFF - mouse.memory[0x030]);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelCountByte,
                         ::testing::Values(CountByte{0, 2}, CountByte{1, 2}, CountByte{8, 7},
                                           CountByte{0xFF, 7}));

// --- Lighting page ---

TEST_F(Levels, NoSaveForcesKeyModeAAndLocksIt)
{
    startRead(image([](ConfigImage& i) {
        i.ParameterB[0x04] = 0x80;
        i.ParameterB[0x05] = 0x7F;
    }));
    ASSERT_EQ(combo("cb_KeyMode")->currentIndex(), 1);
    click(QStringLiteral("lbl_NoSaveKeyMode"));
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_NoSave"))->isChecked());
    EXPECT_EQ(combo("cb_KeyMode")->currentIndex(), 0);
    EXPECT_FALSE(combo("cb_KeyMode")->isEnabled());
    EXPECT_EQ(picture(QStringLiteral("Img_NoSaveKeyMode")), QStringLiteral("RdS_E"));
    EXPECT_EQ(picture(QStringLiteral("Img_SaveKeyMode")), QStringLiteral("RdS_D"));
    click(QStringLiteral("lbl_SaveKeyMode"));
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_Save"))->isChecked());
    EXPECT_TRUE(combo("cb_KeyMode")->isEnabled());
    EXPECT_EQ(combo("cb_KeyMode")->currentIndex(), 0);
    EXPECT_EQ(picture(QStringLiteral("Img_SaveKeyMode")), QStringLiteral("RdS_E"));
}

TEST_F(Levels, OptionPairsFollowEitherView)
{
    startRead();
    struct Pair {
        const char* on;
        const char* off;
        const char* rbOn;
    };
    const Pair pairs[] = {{"LEDOn", "LEDOff", "rb_LEDOn"},
                          {"MCPIOn", "MCPIOff", "rb_MCPIOn"},
                          {"LCPIOn", "LCPIOff", "rb_LCPIOn"}};
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.on);
        click(QStringLiteral("lbl_") + QLatin1String(p.off));
        EXPECT_FALSE(find<QRadioButton>(QLatin1String(p.rbOn))->isChecked());
        EXPECT_EQ(picture(QStringLiteral("Img_") + QLatin1String(p.off)), QStringLiteral("RdS_E"));
        EXPECT_EQ(picture(QStringLiteral("Img_") + QLatin1String(p.on)), QStringLiteral("RdS_D"));
        // On the radio's mark: its click area ends with its short caption.
        auto* rb = find<QRadioButton>(QLatin1String(p.rbOn));
        QTest::mouseClick(rb, Qt::LeftButton, {}, QPoint(6, rb->height() / 2));
        EXPECT_TRUE(rb->isChecked());
        EXPECT_EQ(picture(QStringLiteral("Img_") + QLatin1String(p.on)), QStringLiteral("RdS_E"));
    }
}

TEST_F(Levels, DisabledModeHidesItsOptionAndOptionsSetTheMode)
{
    startRead();
    ASSERT_FALSE(find(QStringLiteral("Img_MCULEDMode1"))->isHidden());
    // The mode boxes sit on the engineering sheet, open only in engineering mode.
    auto* mode1 = find<QCheckBox>(QStringLiteral("cb_Mode1"));
    mode1->setChecked(false);
    emit mode1->clicked(false);
    EXPECT_EQ(combo("cb_MCULEDCurrentMode")->itemText(0), QStringLiteral("------"));
    EXPECT_TRUE(find(QStringLiteral("Img_MCULEDMode1"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("lbl_MCULEDMode1"))->isHidden());

    click(QStringLiteral("lbl_MCULEDMode4"));
    EXPECT_EQ(combo("cb_MCULEDCurrentMode")->currentIndex(), 3);
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(picture(QStringLiteral("Img_MCULEDMode%1").arg(n)),
                  n == 4 ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"))
            << n;
    choose("cb_MCULEDCurrentMode", 1);
    EXPECT_EQ(picture(QStringLiteral("Img_MCULEDMode2")), QStringLiteral("RdS_E"));
    EXPECT_EQ(picture(QStringLiteral("Img_MCULEDMode4")), QStringLiteral("RdS_D"));
}

TEST_F(Levels, NineLedsInBothBarStyles)
{
    startRead();
    const std::pair<int, std::vector<int>> cases[] = {{0, {1, 2, 3, 4, 5, 6}}, {1, {6}}};
    for (const auto& [style, lit] : cases) {
        SCOPED_TRACE(style);
        window->skin().org().DPILED_Status = style;
        typeInto("edt_MCULEDNum", QStringLiteral("9"));
        for (int k = 1; k <= 10; ++k) {
            const bool on = std::find(lit.begin(), lit.end(), k) != lit.end();
            EXPECT_EQ(picture(QStringLiteral("Img_MCULEDNum_%1").arg(k)),
                      on ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"))
                << k;
        }
    }
    // A bar click sets the edit.
    click(QStringLiteral("Img_MCULEDNum_2"));
    EXPECT_EQ(edit("edt_MCULEDNum")->text(), QStringLiteral("5"));
    click(QStringLiteral("Img_MCULEDStep_8"));
    EXPECT_EQ(edit("edt_MCULEDCrtStep")->text(), QStringLiteral("7"));
    typeInto("edt_MCULEDCrtStep", QStringLiteral("9"));
    EXPECT_EQ(edit("edt_MCULEDCrtStep")->text(), QStringLiteral("7"));
}

TEST_F(Levels, DescendingCaptionOrderPutsThirteenUnderTheFirstSegment)
{
    start(false);
    window->skin().org().Num_Order = 1;
    window->skin().ApplyLanguageLayout();
    // Placed below the visible window by the shipped layout, but in order.
    EXPECT_EQ(find(QStringLiteral("lbl_MCULEDNum_10"))->x(), find(QStringLiteral("Img_MCULEDNum_1"))->x());
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_MCULEDNum_10"))->text(), QStringLiteral("13"));
    EXPECT_EQ(find(QStringLiteral("lbl_MCULEDNum_1"))->x(), find(QStringLiteral("Img_MCULEDNum_10"))->x());
    EXPECT_EQ(find(QStringLiteral("lbl_MCULEDStep_8"))->x(), find(QStringLiteral("Img_MCULEDStep_1"))->x());
    EXPECT_EQ(find(QStringLiteral("lbl_MCULEDStep_8"))->y(),
              find(QStringLiteral("Img_MCULEDStep_1"))->y() + 24);
}

TEST_F(Levels, SingleOneInLedNumberBecomesFourOnLeaving)
{
    startRead();
    typeInto("edt_MCULEDNum", QStringLiteral("1"));
    EXPECT_EQ(edit("edt_MCULEDNum")->text(), QStringLiteral("1"));
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(picture(QStringLiteral("Img_MCULEDNum_%1").arg(k)), QStringLiteral("Bar1_D")) << k;
    emit edit("edt_MCULEDNum")->editingFinished();
    EXPECT_EQ(edit("edt_MCULEDNum")->text(), QStringLiteral("4"));
    EXPECT_EQ(picture(QStringLiteral("Img_MCULEDNum_1")), QStringLiteral("Bar1_E"));
}

TEST_F(Levels, KeyModeColourCellsAndLightTypeView)
{
    startRead();
    services.colourAnswers.push_back(QColor(1, 2, 3));
    click(QStringLiteral("IB_Mode2Color"));
    EXPECT_EQ(edit("edt_KeyMode2R")->text(), QStringLiteral("1"));
    EXPECT_EQ(edit("edt_KeyMode2B")->text(), QStringLiteral("3"));
    typeInto("edt_KeyMode2G", QStringLiteral("256"));
    EXPECT_EQ(edit("edt_KeyMode2G")->text(), QStringLiteral("255"));
    EXPECT_TRUE(
        find<QLabel>(QStringLiteral("cs_Mode2Color"))->styleSheet().contains(QColor(1, 255, 3).name()));

    // The normal light hides the MCU items of the lighting page.
    startRead(normalLight());
    EXPECT_TRUE(find(QStringLiteral("Img_LCPIOn"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("lbl_TitleLCPI"))->isHidden()); // its title goes with it
    EXPECT_FALSE(find(QStringLiteral("lbl_TitleLEDStatus"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("lbl_MCULEDMode2"))->isHidden());
    EXPECT_TRUE(find(QStringLiteral("Img_MCULEDStep_1"))->isHidden());
    EXPECT_FALSE(find(QStringLiteral("Img_LEDOn"))->isHidden());
}

} // namespace
