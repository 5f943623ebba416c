// The fire key's fields on the advanced and engineering pages, and the
// key-mode options on the key, lighting and engineering pages, through the
// real widgets with the simulated mouse behind them.
#include "AppFixture.h"

#include "app/base/ClickLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

struct FireKey : AppFixture {
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(QString::fromLatin1(name)); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(QString::fromLatin1(name)); }
    QString picture(const char* name) const
    {
        return find(QString::fromLatin1(name))->property("picture").toString();
    }
    // Empties a field as a user does: the cursor to the end, then Backspace.
    static void empty(QLineEdit* e)
    {
        QTest::keyClick(e, Qt::Key_End);
        for (qsizetype n = e->text().size(); n > 0; --n)
            QTest::keyClick(e, Qt::Key_Backspace);
    }
    // Types over the whole text (emptying it first would be corrected).
    static void type(QLineEdit* e, const char* text)
    {
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClicks(e, QString::fromLatin1(text));
    }
    static void leave(QLineEdit* e)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e, &out);
    }
    void apply() { QTest::mouseClick(find<QPushButton>(QStringLiteral("btn_Write")), Qt::LeftButton); }
    void click(const char* name)
    {
        QWidget* w = find(QString::fromLatin1(name));
        ASSERT_TRUE(w) << name;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
};

TEST_F(FireKey, FieldsShowTheImageCountAsTheListDoes)
{
    mouse.memory = *LoadDefaultImage(1);
    startRead();
    const int loop = mouse.memory[0x0F2];
    // The loop byte is count - 1: the field shows the count, as the list does.
    EXPECT_EQ(edit("Edt_Repeat1")->text(), QString::number(loop + 1));
    EXPECT_EQ(combo("cb_FireCount")->currentText(), QString::number(loop + 1));
    EXPECT_EQ(edit("Edt_DelayTime1")->text(), QString::number(mouse.memory[0x0F8]));
    EXPECT_EQ(edit("edt_FireTime")->text(), QString::number(mouse.memory[0x0F8]));
    EXPECT_EQ(edit("Edt_Repeat1")->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(FireKey, CountCorrectedAsTypedAndOnLeaving)
{
    startRead();
    QLineEdit* repeat = edit("Edt_Repeat1");
    struct Case {
        const char* typed;
        const char* whileTyping;
        const char* afterLeaving;
    };
    // 0 is corrected like 1: the list has no item below 2 and the mouse's
    // loop must run at least twice.
    for (const Case& c : {Case{"1", "1", "2"}, Case{"0", "0", "2"}, Case{"200", "127", "127"},
                          Case{"15", "15", "15"}, Case{"1a2", "12", "12"}}) {
        SCOPED_TRACE(c.typed);
        type(repeat, c.typed);
        EXPECT_EQ(repeat->text(), QString::fromLatin1(c.whileTyping));
        leave(repeat);
        EXPECT_EQ(repeat->text(), QString::fromLatin1(c.afterLeaving));
        EXPECT_EQ(combo("cb_FireCount")->currentText(), QString::fromLatin1(c.afterLeaving));
    }
    empty(repeat);
    EXPECT_EQ(repeat->text(), QStringLiteral("2"));
    EXPECT_EQ(combo("cb_FireCount")->currentText(), QStringLiteral("2"));

    // The list leads the field too.
    combo("cb_FireCount")->setCurrentIndex(40);
    EXPECT_EQ(repeat->text(), QStringLiteral("42"));
}

TEST_F(FireKey, IntervalFieldsMirrorEachOtherWithTheirOwnCorrections)
{
    startRead();
    QLineEdit* delay = edit("Edt_DelayTime1");
    QLineEdit* time = edit("edt_FireTime");

    empty(delay);
    EXPECT_EQ(delay->text(), QStringLiteral("0"));
    EXPECT_EQ(time->text(), QStringLiteral("0"));

    empty(time);
    EXPECT_EQ(time->text(), QStringLiteral("100"));
    EXPECT_EQ(delay->text(), QStringLiteral("100"));

    type(time, "300");
    EXPECT_EQ(time->text(), QStringLiteral("255"));
    EXPECT_EQ(delay->text(), QStringLiteral("255"));

    type(delay, "40");
    EXPECT_EQ(time->text(), QStringLiteral("40"));
    type(delay, "300");
    EXPECT_EQ(delay->text(), QStringLiteral("255"));
    EXPECT_EQ(time->text(), QStringLiteral("255"));

    type(delay, "-5"); // the minus never gets in
    EXPECT_EQ(delay->text(), QStringLiteral("5"));
}

// A loop byte outside the list's counts shows as the nearest count in both
// copies, and Apply stores that count.
struct FireByte : FireKey, ::testing::WithParamInterface<std::pair<int, int>> {
};

TEST_P(FireByte, BothCountCopiesAgreeAndApplyStoresWhatTheyShow)
{
    const auto [loop, count] = GetParam();
    ImageBytes image = *LoadDefaultImage(1);
    image[0x0F2] = std::uint8_t(loop);
    image[0x0FA] = SectionSum(image.data() + 0x0F0, 10);
    startRead(image);
    ASSERT_EQ(mouse.memory[0x0F2], loop); // the image was taken as it is
    EXPECT_EQ(edit("Edt_Repeat1")->text(), QString::number(count));
    EXPECT_EQ(combo("cb_FireCount")->currentText(), QString::number(count));
    apply();
    EXPECT_EQ(mouse.memory[0x0F2], count - 1);
}

INSTANTIATE_TEST_SUITE_P(LoopBytes, FireByte,
                         ::testing::Values(std::pair{0, 2}, std::pair{5, 6}, std::pair{127, 127},
                                           std::pair{128, 127}, std::pair{255, 127}));

TEST_F(FireKey, AnIntervalThatIsNoNumberIsNeitherShownNorKeptFromStoring)
{
    startRead();
    QLineEdit* delay = edit("Edt_DelayTime1");
    QLineEdit* time = edit("edt_FireTime");
    type(time, "1a");
    EXPECT_EQ(time->text(), QStringLiteral("1"));
    EXPECT_EQ(delay->text(), QStringLiteral("1"));
    apply();
    EXPECT_EQ(mouse.memory[0x0F8], 1);
    delay->setText(QStringLiteral("4x2")); // pasted past the key filter
    EXPECT_EQ(delay->text(), QStringLiteral("42"));
    EXPECT_EQ(time->text(), QStringLiteral("42"));
    apply();
    EXPECT_EQ(mouse.memory[0x0F8], 42);
}

TEST_F(FireKey, CountReachesTheMouseAsCountMinusOne)
{
    startRead();
    struct Case {
        const char* typed;
        bool leave;
        int loopByte;
    };
    // Apply with the cursor still in the field stores the corrected count.
    for (const Case& c :
         {Case{"3", true, 2}, Case{"127", true, 126}, Case{"1", false, 1}, Case{"0", false, 1}}) {
        SCOPED_TRACE(c.typed);
        type(edit("Edt_Repeat1"), c.typed);
        type(edit("Edt_DelayTime1"), "40");
        if (c.leave)
            leave(edit("Edt_Repeat1"));
        apply();
        EXPECT_EQ(mouse.memory[0x0F2], c.loopByte);
        EXPECT_EQ(mouse.memory[0x0F8], 40);
        EXPECT_EQ(mouse.memory[0x0FA], SectionSum(mouse.memory.data() + 0x0F0, 10));
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FireKey, NoSaveLocksKeyModeAUntilSaveIsChosen)
{
    startRead();
    QComboBox* keyMode = combo("cb_KeyMode");
    keyMode->setCurrentIndex(1);
    click("rb_NoSave");
    EXPECT_EQ(keyMode->currentIndex(), 0);
    EXPECT_FALSE(keyMode->isEnabled());
    EXPECT_EQ(picture("Img_NoSaveKeyMode"), QStringLiteral("RdS_E"));
    EXPECT_EQ(picture("Img_SaveKeyMode"), QStringLiteral("RdS_D"));
    apply();
    EXPECT_TRUE(mouse.memory[0x000] & 0x08);
    EXPECT_FALSE(mouse.memory[0x034] & 0x80);

    click("rb_Save");
    EXPECT_TRUE(keyMode->isEnabled());
    EXPECT_EQ(keyMode->currentIndex(), 0);
    EXPECT_EQ(picture("Img_SaveKeyMode"), QStringLiteral("RdS_E"));

    // The lighting page's labels choose as the radio buttons do.
    keyMode->setCurrentIndex(1);
    click("lbl_NoSaveKeyMode");
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_NoSave"))->isChecked());
    EXPECT_EQ(keyMode->currentIndex(), 0);
    EXPECT_FALSE(keyMode->isEnabled());
    click("lbl_SaveKeyMode");
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_Save"))->isChecked());
    EXPECT_TRUE(keyMode->isEnabled());
}

TEST_F(FireKey, ImageWithNoSaveShowsTheListLocked)
{
    ImageBytes image = *LoadDefaultImage(1);
    image[0x000] |= 0x08;
    image[0x02F] = SectionSum(image.data(), 0x2F);
    startRead(image);
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_NoSave"))->isChecked());
    EXPECT_FALSE(combo("cb_KeyMode")->isEnabled());
    EXPECT_EQ(picture("Img_NoSaveKeyMode"), QStringLiteral("RdS_E"));
}

TEST_F(FireKey, ComboKeyPicturesToggleTheLongPressOptions)
{
    startRead();
    auto* mid = find<QCheckBox>(QStringLiteral("cb_MidPress"));
    auto* cpi = find<QCheckBox>(QStringLiteral("cb_CPIPress"));
    const bool midBefore = mid->isChecked();
    EXPECT_EQ(picture("Img_ComboKey1"), midBefore ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
    EXPECT_TRUE(find<QLabel>(QStringLiteral("IB_ComboKey1"))->text().startsWith(QStringLiteral("     ")));
    EXPECT_TRUE(find<QLabel>(QStringLiteral("IB_ComboKey2"))
                    ->text()
                    .endsWith(window->skin().LookupText(QStringLiteral("Str701"))));

    click("IB_ComboKey1");
    EXPECT_EQ(mid->isChecked(), !midBefore);
    EXPECT_EQ(picture("Img_ComboKey1"), !midBefore ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));

    cpi->setChecked(false);
    click("IB_ComboKey2");
    EXPECT_TRUE(cpi->isChecked());
    EXPECT_EQ(picture("Img_ComboKey2"), QStringLiteral("CbS_E"));
    apply();
    EXPECT_EQ(bool(mouse.memory[0x001] & 0x01), !midBefore);
    EXPECT_TRUE(mouse.memory[0x001] & 0x02);

    // The engineering tick box leads the picture too.
    cpi->setChecked(false);
    EXPECT_EQ(picture("Img_ComboKey2"), QStringLiteral("CbS_D"));
}

} // namespace
