#include "AppFixture.h"
#include "app/base/ClickLabel.h"
#include "keys/KeyAssignment.h"
#include "keys/KeyCodes.h"
#include "skin/LanguagePack.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

using Bytes = std::array<std::uint8_t, 3>;

struct KeyAssignmentUi : AppFixture {
    // The mouse read with the built-in image, or with `memory`; the window
    // shown so the pointer can move over the menu.
    void connect(const std::optional<ImageBytes>& memory = std::nullopt)
    {
        startRead(memory);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseMove(window.get(), QPoint(1, 1)); // the pointer is in the window
        services.messages.clear();
    }
    bool shown(const QString& name) const { return !widget(name)->isHidden(); }
    QString caption(const QString& name) const
    {
        QWidget* w = widget(name);
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QPushButton*>(w))
            return b->text();
        return {};
    }
    QString picture(const QString& name) const { return widget(name)->property("picture").toString(); }
    Bytes keyBytes(KeyMode mode, int key) const
    {
        const std::size_t at = KeyOffset(mode, key);
        const auto& p = window->session().image().ProfileKeys;
        return {p[at], p[at + 1], p[at + 2]};
    }
    static Bytes imageKey(const ImageBytes& image, KeyMode mode, int key)
    {
        const std::size_t at = ProfileKeysAddr + KeyOffset(mode, key);
        return {image[at], image[at + 1], image[at + 2]};
    }
    // Opens the menu on `label`, points at `group` and clicks `item`.
    void pick(const QString& label, const QString& group, const QString& item)
    {
        click(label);
        ASSERT_TRUE(shown(QStringLiteral("Pnl_Main")));
        hover(group);
        ASSERT_TRUE(widget(item)->isVisible()) << qPrintable(item);
        click(item);
    }
};

const QString kKeepLeft = QStringLiteral("请保留一个左键");

TEST_F(KeyAssignmentUi, PickThroughTheCascadeChangesCaptionCodeAndBytes)
{
    connect();
    ASSERT_EQ(caption(QStringLiteral("Key2")), QStringLiteral("中键"));
    click(QStringLiteral("Key2"));
    EXPECT_TRUE(shown(QStringLiteral("Pnl_Main")));
    // At the label's centre: the label is at 140, 186, 170 x 27.
    EXPECT_EQ(widget(QStringLiteral("Pnl_Main"))->pos(), QPoint(140 + 85, 186 + 13));

    hover(QStringLiteral("Key_Special"));
    EXPECT_TRUE(shown(QStringLiteral("Pnl_Special")));
    hover(QStringLiteral("Key_CPIKey"));
    EXPECT_TRUE(shown(QStringLiteral("Pnl_CPIKey")));
    hover(QStringLiteral("Key_Standard"));
    EXPECT_TRUE(shown(QStringLiteral("Pnl_MseKey")));
    EXPECT_FALSE(shown(QStringLiteral("Pnl_Special")));
    EXPECT_FALSE(shown(QStringLiteral("Pnl_CPIKey")));

    click(QStringLiteral("Key_Right"));
    for (const char* panel : {"Pnl_Main", "Pnl_MseKey", "LB_Name"})
        EXPECT_FALSE(shown(QLatin1String(panel))) << panel;
    EXPECT_EQ(caption(QStringLiteral("Key2")), QStringLiteral("右键"));
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[1], QStringLiteral("010200"));
    EXPECT_EQ(keyBytes(KeyMode::A, 2), (Bytes{0x01, 0x02, 0x00}));
    EXPECT_EQ(keyBytes(KeyMode::B, 2), (Bytes{0x01, 0x04, 0x00})); // the other mode keeps its key
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(KeyAssignmentUi, TheOnlyLeftButtonCannotBeReassigned)
{
    connect();
    pick(QStringLiteral("Key1"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Right"));
    EXPECT_EQ(messages(), QStringList{kKeepLeft});
    EXPECT_EQ(services.messages[0].style, MessageStyle::MessageWindow);
    EXPECT_EQ(caption(QStringLiteral("Key1")), QStringLiteral("左键"));
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[0], QStringLiteral("010100"));
    EXPECT_EQ(keyBytes(KeyMode::A, 1), (Bytes{0x01, 0x01, 0x00}));

    // A second left button frees the first.
    services.messages.clear();
    pick(QStringLiteral("Key3"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Left"));
    pick(QStringLiteral("Key1"), QStringLiteral("Key_Media"), QStringLiteral("Key_Mute"));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(caption(QStringLiteral("Key1")), QStringLiteral("静音"));
    EXPECT_EQ(keyBytes(KeyMode::A, 1), (Bytes{0x03, 0x00, 0xE2}));
}

TEST_F(KeyAssignmentUi, ModeBPageEditsModeB)
{
    connect();
    click(QStringLiteral("Btn_Second_1"));
    // Mode B's only left button is key 1 as well; mode A's does not count.
    pick(QStringLiteral("Key1"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Middle"));
    EXPECT_EQ(messages(), QStringList{kKeepLeft});
    pick(QStringLiteral("Key3"), QStringLiteral("Key_WWW"), QStringLiteral("Key_WWWHome"));
    EXPECT_EQ(keyBytes(KeyMode::B, 3), (Bytes{0x03, 0x02, 0x23}));
    EXPECT_EQ(window->keyPage().codes(KeyMode::B)[2], QStringLiteral("030223"));
    EXPECT_EQ(keyBytes(KeyMode::A, 3), (Bytes{0x01, 0x02, 0x00}));
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[2], QStringLiteral("010200"));
}

TEST_F(KeyAssignmentUi, PressOutsideTheMenuClosesIt)
{
    connect();
    click(QStringLiteral("Key4"));
    hover(QStringLiteral("Key_Media"));
    ASSERT_TRUE(shown(QStringLiteral("Pnl_Media")));
    click(QStringLiteral("Img_P1"));
    EXPECT_FALSE(shown(QStringLiteral("Pnl_Main")));
    EXPECT_FALSE(shown(QStringLiteral("Pnl_Media")));
    EXPECT_EQ(window->keyPage().codes(KeyMode::A)[3], QStringLiteral("010800"));
}

// The item under the pointer wears the hover colours of the layout; it
// loses them when the pointer leaves and when the menu closes under it.
TEST_F(KeyAssignmentUi, TheItemUnderThePointerIsHighlightedUntilLeftOrClosed)
{
    connect();
    // What the item paints in its corner, clear of its text.
    const auto lit = [this](const char* name) {
        QWidget* item = find(QLatin1String(name));
        return item->grab().toImage().pixelColor(1, 1) == QColor(49, 106, 198);
    };
    click(QStringLiteral("Key4"));
    hover(QStringLiteral("Key_Media"));
    EXPECT_TRUE(lit("Key_Media"));
    hover(QStringLiteral("Key_WWW"));
    EXPECT_FALSE(lit("Key_Media"));
    EXPECT_TRUE(lit("Key_WWW"));
    window->HideAllMenu();
    EXPECT_FALSE(lit("Key_WWW"));
}

TEST_F(KeyAssignmentUi, AimBarWithAnAimKey)
{
    connect();
    pick(QStringLiteral("Key2"), QStringLiteral("Key_Special"), QStringLiteral("Key_AIMKey"));
    EXPECT_EQ(caption(QStringLiteral("Key2")), QStringLiteral("瞄准键"));
    EXPECT_EQ(keyBytes(KeyMode::A, 2), (Bytes{0x0A, 0x00, 0x00}));

    click(QStringLiteral("Btn_Adv_1"));
    click(QStringLiteral("Img_AIMKey_11"));
    EXPECT_EQ(window->keyPage().keys().AimValue, 10);
    EXPECT_EQ(caption(QStringLiteral("lbl_AIMKeyValue")), QStringLiteral("6400"));
    EXPECT_EQ(keyBytes(KeyMode::A, 2), (Bytes{0x0A, 0x0A, 0x00}));
    EXPECT_EQ(picture(QStringLiteral("Img_AIMKey_11")), QStringLiteral("Bar2_E"));
    EXPECT_EQ(picture(QStringLiteral("Img_AIMKey_1")), QStringLiteral("Bar2_D"));
    EXPECT_EQ(find<QComboBox>(QStringLiteral("cb_AIMKeyValue"))->currentIndex(), 10);
    EXPECT_TRUE(messages().isEmpty());

    // A later AIM pick carries the chosen value at once.
    click(QStringLiteral("Btn_Main_1"));
    pick(QStringLiteral("Key5"), QStringLiteral("Key_Special"), QStringLiteral("Key_AIMKey"));
    EXPECT_EQ(keyBytes(KeyMode::A, 5), (Bytes{0x0A, 0x0A, 0x00}));
}

TEST_F(KeyAssignmentUi, AimBarWithoutAnAimKey)
{
    connect();
    click(QStringLiteral("Btn_Adv_1"));
    const ProfileKeysBytes before = window->session().image().ProfileKeys;
    click(QStringLiteral("Img_AIMKey_5"));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Please select a AIM Key in Profile!")});
    EXPECT_EQ(window->keyPage().keys().AimValue, 0);
    EXPECT_EQ(caption(QStringLiteral("lbl_AIMKeyValue")), QStringLiteral("500"));
    EXPECT_EQ(picture(QStringLiteral("Img_AIMKey_1")), QStringLiteral("Bar2_E"));
    EXPECT_EQ(picture(QStringLiteral("Img_AIMKey_5")), QStringLiteral("Bar2_D"));
    EXPECT_EQ(window->session().image().ProfileKeys, before);

    // The engineering list: the same message, the list back at its first item.
    services.messages.clear();
    auto* list = find<QComboBox>(QStringLiteral("cb_AIMKeyValue"));
    list->setCurrentIndex(4);
    emit list->activated(4);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Please select a AIM Key in Profile!")});
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(window->keyPage().keys().AimValue, 0);
}

TEST_F(KeyAssignmentUi, AimValueOfTheImageModeBWinsAndTheWriteGivesItToEveryAimKey)
{
    ImageBytes memory = *LoadDefaultImage(1);
    const auto set = [&](KeyMode mode, int key, Bytes code) {
        std::copy(code.begin(), code.end(),
                  memory.begin() + std::ptrdiff_t(ProfileKeysAddr + KeyOffset(mode, key)));
    };
    set(KeyMode::A, 6, {0x0A, 0x02, 0x00});
    set(KeyMode::B, 4, {0x0A, 0x07, 0x00});
    memory[ProfileKeysAddr + 54] = SectionSum(memory.data() + ProfileKeysAddr, 54);
    connect(memory);
    EXPECT_EQ(window->keyPage().keys().AimValue, 7);
    EXPECT_EQ(caption(QStringLiteral("lbl_AIMKeyValue")), QStringLiteral("3200"));

    click(QStringLiteral("btn_Write"));
    EXPECT_EQ(imageKey(mouse.memory, KeyMode::A, 6), (Bytes{0x0A, 0x07, 0x00}));
    EXPECT_EQ(imageKey(mouse.memory, KeyMode::B, 4), (Bytes{0x0A, 0x07, 0x00}));
    EXPECT_EQ(mouse.memory[ProfileKeysAddr + 54], SectionSum(mouse.memory.data() + ProfileKeysAddr, 54));
}

TEST_F(KeyAssignmentUi, EngineeringButtonsOpenTheSameMenu)
{
    connect();
    click(QStringLiteral("Btn_Engineer_1"));
    ASSERT_FALSE(window->page(6)->isHidden());
    pick(QStringLiteral("btn_Key205"), QStringLiteral("Key_MyPC"), QStringLiteral("Key_Calculator"));
    EXPECT_EQ(caption(QStringLiteral("btn_Key205")), QStringLiteral("计算器"));
    EXPECT_EQ(keyBytes(KeyMode::B, 5), (Bytes{0x03, 0x01, 0x92}));
    EXPECT_EQ(window->keyPage().codes(KeyMode::B)[4], QStringLiteral("030192"));

    pick(QStringLiteral("btn_Key101"), QStringLiteral("Key_Standard"), QStringLiteral("Key_B4"));
    EXPECT_EQ(messages(), QStringList{kKeepLeft});
    EXPECT_EQ(caption(QStringLiteral("btn_Key101")), QStringLiteral("左键"));
    EXPECT_EQ(keyBytes(KeyMode::A, 1), (Bytes{0x01, 0x01, 0x00}));
}

// The key-mode options and the level count of the engineering tab close an
// open key menu before they act, also when chosen from the keyboard (a press
// of the mouse anywhere else in the window closes it anyway).
TEST_F(KeyAssignmentUi, EngineeringOptionsCloseTheKeyMenu)
{
    connect();
    click(QStringLiteral("Btn_Engineer_1"));
    ASSERT_FALSE(window->page(6)->isHidden());
    auto* steps = find<QComboBox>(QStringLiteral("cb_CPIStep"));
    const int stepsBefore = steps->currentIndex();
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"rb_NoSave", [this] { QTest::keyClick(widget(QStringLiteral("rb_NoSave")), Qt::Key_Space); }},
        {"rb_Save", [this] { QTest::keyClick(widget(QStringLiteral("rb_Save")), Qt::Key_Space); }},
        {"cb_CPIStep", [steps] { QTest::keyClick(steps, Qt::Key_Up); }},
    };
    for (const auto& [name, act] : actions) {
        SCOPED_TRACE(name);
        click(QStringLiteral("btn_Key101"));
        ASSERT_TRUE(shown(QStringLiteral("Pnl_Main")));
        act();
        EXPECT_FALSE(shown(QStringLiteral("Pnl_Main")));
    }
    EXPECT_TRUE(find<QRadioButton>(QStringLiteral("rb_Save"))->isChecked());
    EXPECT_EQ(steps->currentIndex(), stepsBefore - 1);
    EXPECT_EQ(window->advancedPage().levels().LevelCount(), stepsBefore + 1);
}

TEST_F(KeyAssignmentUi, CombinationReplacesEvenTheLastLeftButton)
{
    connect();
    bool dialogOpened = false;
    window->keyPage().setCombinationDialog([&] { dialogOpened = true; });
    window->keyPage().SetCombination(QStringLiteral("stale"), QStringLiteral("020105"));
    click(QStringLiteral("Key1"));
    hover(QStringLiteral("Key_Assembly"));
    click(QStringLiteral("Key_Assembly"));
    EXPECT_TRUE(dialogOpened);
    EXPECT_FALSE(shown(QStringLiteral("Pnl_Main")));
    EXPECT_FALSE(window->keyPage().combinationPending());

    // What the dialog's confirm hands over.
    window->keyPage().SetCombination(QStringLiteral("Ctrl+A"), QStringLiteral("020104"));
    window->keyPage().ApplyCombination();
    EXPECT_EQ(caption(QStringLiteral("Key1")), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(keyBytes(KeyMode::A, 1), (Bytes{0x02, 0x01, 0x04}));
    EXPECT_TRUE(messages().isEmpty());
    // No left button remains: other picks are refused until one is assigned.
    pick(QStringLiteral("Key2"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Right"));
    EXPECT_EQ(messages(), QStringList{kKeepLeft});
    EXPECT_EQ(caption(QStringLiteral("Key2")), QStringLiteral("中键"));
    pick(QStringLiteral("Key2"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Left"));
    EXPECT_EQ(keyBytes(KeyMode::A, 2), (Bytes{0x01, 0x01, 0x00}));
}

TEST_F(KeyAssignmentUi, LanguageSwitch)
{
    connect();
    click(QStringLiteral("Btn_Lang3_1"));
    EXPECT_EQ(caption(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    EXPECT_EQ(caption(QStringLiteral("Key_Left")), QStringLiteral(" * Left Key"));
    // The rule now looks for the English name.
    pick(QStringLiteral("Key1"), QStringLiteral("Key_Standard"), QStringLiteral("Key_Right"));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Please keep a Left Key")});
    EXPECT_EQ(caption(QStringLiteral("Key1")), QStringLiteral("Left Key"));

    // "后退" names both the back button and the internet back key; the
    // button's own function decides.
    services.messages.clear();
    click(QStringLiteral("Btn_Lang1_1"));
    ASSERT_EQ(caption(QStringLiteral("Key4")), QStringLiteral("后退"));
    click(QStringLiteral("Btn_Lang3_1"));
    EXPECT_EQ(caption(QStringLiteral("Key4")), QStringLiteral("Back"));
    EXPECT_EQ(caption(QStringLiteral("Key5")), QStringLiteral("Forward"));
    EXPECT_EQ(caption(QStringLiteral("Key2")), QStringLiteral("Middle Key"));
}

} // namespace

namespace
{
// The menu's functions named from the embedded packs themselves: every item's
// code gives its caption's text, in each language.
TEST(KeyNamesFromThePacks, EveryMenuFunctionIsNamedAsItsCaption)
{
    for (int language = 1; language <= 3; ++language) {
        const LanguagePack pack = LoadLanguagePack(language);
        const TextLookup lookup = MakeTextLookup(language);
        for (const MenuItem& item : MenuItems()) {
            const QString name = KeyFunctionName(CodeForMenuItem(item.tag, 0), lookup, {});
            EXPECT_FALSE(name.isEmpty()) << item.name << " pack " << language;
            EXPECT_EQ(name, LookupText(pack, QString::fromLatin1(item.textKey)))
                << item.name << " pack " << language;
        }
    }
}
} // namespace
