// The window driven from the keyboard alone: Tab never stays in one place,
// focus follows the page shown.
#include "AppFixture.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

struct Keyboard : AppFixture {
    // The window shown and active, so that keys go to its focus widget.
    void showActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    static QWidget* focus() { return QApplication::focusWidget(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        QWidget* target = focus() ? focus() : window.get();
        QTest::keyClick(target, k, m);
    }
};

TEST_F(Keyboard, TabLeavesTheFireKeyEditsAndFocusFollowsThePageShown)
{
    startRead();
    showActive();
    click(QStringLiteral("Btn_Adv_1"));
    ASSERT_TRUE(find(QStringLiteral("gbPage2"))->isVisible());
    for (const char* name : {"Edt_Repeat1", "Edt_DelayTime1"}) {
        for (const Qt::KeyboardModifiers m :
             {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::ShiftModifier}}) {
            SCOPED_TRACE(name);
            auto* edit = find<QLineEdit>(QString::fromLatin1(name));
            edit->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(focus(), edit);
            key(Qt::Key_Tab, m);
            EXPECT_NE(focus(), edit) << "Tab stays in the edit";
            // Typed letters are still refused.
            edit->setFocus(Qt::TabFocusReason);
            const QString before = edit->text();
            QTest::keyClicks(edit, QStringLiteral("x"));
            EXPECT_EQ(edit->text(), before);
        }
    }

    // A page switch by pointer leaves no focus on the hidden page.
    find(QStringLiteral("Edt_Repeat1"))->setFocus(Qt::TabFocusReason);
    click(QStringLiteral("Btn_Breath_2"));
    QWidget* shown = find(QStringLiteral("gbPage3"));
    ASSERT_TRUE(shown->isVisible());
    ASSERT_TRUE(focus());
    EXPECT_TRUE(focus() == shown || shown->isAncestorOf(focus())) << qPrintable(focus()->objectName());
    EXPECT_TRUE(focus()->isVisible());
}

TEST_F(Keyboard, KeyMenuOpensWalksAndClosesFromTheKeyboard)
{
    startRead();
    showActive();
    auto* key1 = find(QStringLiteral("Key1"));
    key1->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    QWidget* menu = find(QStringLiteral("Pnl_Main"));
    ASSERT_TRUE(menu->isVisible());
    ASSERT_TRUE(focus());
    EXPECT_EQ(focus()->parentWidget(), menu) << qPrintable(focus()->objectName());
    QWidget* first = focus();
    key(Qt::Key_Down);
    EXPECT_NE(focus(), first);
    EXPECT_EQ(focus()->parentWidget(), menu);
    key(Qt::Key_Up);
    EXPECT_EQ(focus(), first);
    key(Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(focus(), key1);
}

TEST_F(Keyboard, CtrlPageKeysSwitchPagesWithTheSelectorFocused)
{
    startRead();
    showActive();
    struct Step {
        Qt::Key key;
        const char* shown;
        const char* focused;
    };
    for (const Step& s :
         {Step{Qt::Key_PageDown, "gbPage1", "Btn_Second_1"}, Step{Qt::Key_PageDown, "gbPage2", "Btn_Adv_2"},
          Step{Qt::Key_PageUp, "gbPage1", "Btn_Second_1"}, Step{Qt::Key_PageUp, "gbPage1", "Btn_Main_1"},
          Step{Qt::Key_PageUp, "gbPage4", "Btn_Macro_4"}}) {
        SCOPED_TRACE(s.focused);
        key(s.key, Qt::ControlModifier);
        EXPECT_TRUE(find(QLatin1String(s.shown))->isVisible());
        ASSERT_TRUE(focus());
        EXPECT_EQ(focus()->objectName(), QLatin1String(s.focused));
    }
}

TEST_F(Keyboard, CombinationDialogCapturesEscapeAndIsLeftByTab)
{
    startRead();
    showActive();
    find(QStringLiteral("Key1"))->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    // "User-defined" opens the combination dialog.
    auto* entry = find<QWidget>(QStringLiteral("Key_Assembly"));
    ASSERT_TRUE(entry && entry->isVisible());
    entry->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    QWidget* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TForm2") && w->isVisible())
            dialog = w;
    ASSERT_TRUE(dialog);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
    field->setFocus(Qt::TabFocusReason);
    // Escape in the field is a key to capture; Tab leaves it.
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus()) << "Tab stays in the capture field";
}

} // namespace
