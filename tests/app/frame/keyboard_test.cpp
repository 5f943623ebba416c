// The window driven from the keyboard alone: Tab never stays in one place,
// focus follows the page shown.
#include "AppFixture.h"

#include <QLineEdit>
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

} // namespace
