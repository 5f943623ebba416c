// What a screen reader finds in the window, asked in-process as it would
// ask over the bus: each control's role, name (languages 1 and 3), actions,
// state and value; and what a Tab walk reaches on each page.
#include "AppFixture.h"

#include "app/base/AccessibilityTeller.h"
#include "app/base/ClickLabel.h"
#include "app/base/ControlAccess.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <functional>
#include <set>

using namespace orb;
using namespace orb::test;

namespace
{

std::vector<std::pair<QObject*, QAccessible::Event>>* recorded = nullptr;
void recordEvent(QAccessibleEvent* e)
{
    if (recorded)
        recorded->emplace_back(e->object(), e->type());
}

struct Access : AppFixture {
    std::vector<std::pair<QObject*, QAccessible::Event>> events;

    void SetUp() override
    {
        recorded = &events;
        SetAccessibilityTeller(recordEvent);
    }
    void TearDown() override
    {
        SetAccessibilityTeller({});
        recorded = nullptr;
    }
    void showActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    static QAccessibleInterface* iface(QObject* o) { return QAccessible::queryAccessibleInterface(o); }
    bool told(QObject* o, QAccessible::Event type) const
    {
        return std::any_of(events.begin(), events.end(),
                           [&](const auto& e) { return e.first == o && e.second == type; });
    }
    int shownPage() const { return window->stack().shownPage(); }
    void language(int n) { click(QStringLiteral("Btn_Lang%1_%2").arg(n).arg(shownPage())); }

    // Every control a pointer user can click on the page shown (and in the
    // menus open over it).
    QList<QWidget*> clickable() const
    {
        QList<QWidget*> out;
        for (ClickLabel* l : window->findChildren<ClickLabel*>())
            if (l->isVisible() && l->isEnabled() && l->access().role != ControlRole::Hidden)
                out << l;
        for (ValueBar* b : window->findChildren<ValueBar*>())
            if (b->isVisible() && b->isEnabled())
                out << b;
        for (QWidget* w : window->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QListWidget*>(w)) && w->isVisible() &&
                w->isEnabled())
                out << w;
        return out;
    }
};

struct Row {
    const char* page; // the page selector clicked first
    const char* control;
    QAccessible::Role role;
    // The name in languages 1 and 3.
    std::function<QString(Access&)> name;
    QString action; // one of its actions; empty for none
    std::function<void(Access&, QAccessibleInterface*)> more = {};
};

QString pack(Access& t, const char* key)
{
    return t.text(key);
}

TEST_F(Access, EveryNamedControlHasItsRoleNameActionsAndState)
{
    startRead();
    const QString press = QAccessibleActionInterface::pressAction();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    const QString menu = QAccessibleActionInterface::showMenuAction();
    const auto key = [](const char* k) { return [k](Access& t) { return pack(t, k); }; };
    const auto checked = [](bool on) {
        return [on](Access&, QAccessibleInterface* i) { EXPECT_EQ(bool(i->state().checked), on); };
    };
    const auto slider = [](int max) {
        return [max](Access&, QAccessibleInterface* i) {
            QAccessibleValueInterface* v = i->valueInterface();
            ASSERT_TRUE(v);
            EXPECT_EQ(v->minimumValue().toInt(), 1);
            EXPECT_EQ(v->maximumValue().toInt(), max);
            // 0: no step lit, a desktop setting the program could not read.
            EXPECT_GE(v->currentValue().toInt(), 0);
            EXPECT_LE(v->currentValue().toInt(), max);
        };
    };
    const std::vector<Row> rows = {
        {"Btn_Main_1", "Btn_Apply_1", QAccessible::Button, key("Str001"), press},
        {"Btn_Main_1", "Btn_Confirm_1", QAccessible::Button, key("Str000"), press},
        {"Btn_Main_1", "Btn_Read_1", QAccessible::Button, key("Str017"), press},
        {"Btn_Main_1", "Btn_Save_1", QAccessible::Button, key("Str009"), press},
        {"Btn_Main_1", "Btn_Mini_1", QAccessible::Button, key("Str863"), press},
        {"Btn_Main_1", "Btn_Exit_1", QAccessible::Button, key("Str003"), press},
        {"Btn_Main_1", "Btn_Main_1", QAccessible::PageTab, key("Str004"), press,
         [](Access&, QAccessibleInterface* i) { EXPECT_TRUE(i->state().selected); }},
        {"Btn_Main_1", "Btn_Adv_1", QAccessible::PageTab, key("Str007"), press,
         [](Access&, QAccessibleInterface* i) { EXPECT_FALSE(i->state().selected); }},
        {"Btn_Main_1", "Btn_Lang3_1", QAccessible::RadioButton, key("Str013"), toggle},
        {"Btn_Main_1", "Key1", QAccessible::ButtonMenu, key("Str210"), menu},
        {"Btn_Main_1", "IB_ComboKey1", QAccessible::CheckBox, key("Str700"), toggle},
        {"Btn_Adv_1",
         "Bar_DPI1",
         QAccessible::Slider,
         [](Access& t) {
             return QStringLiteral("DPI1 ") + t.find<QLabel>(QStringLiteral("lbl_DPI1Value"))->text();
         },
         {},
         slider(11)},
        {"Btn_Adv_1", "Img_DPI1", QAccessible::Button, [](Access&) { return QStringLiteral("DPI1"); }, press},
        {"Btn_Adv_1", "lbl_DPI1Col", QAccessible::Button,
         [](Access& t) { return QStringLiteral("DPI1 ") + pack(t, "Str860"); }, press},
        {"Btn_Adv_1",
         "Bar_Spd",
         QAccessible::Slider,
         [](Access& t) {
             return t.window->skin().languageIndex() == 1 ? QStringLiteral("指针速度")
                                                          : QStringLiteral("Pointer Speed");
         },
         {},
         slider(11)},
        {"Btn_Adv_1",
         "Bar_AIMKey",
         QAccessible::Slider,
         [](Access& t) { return t.find<QLabel>(QStringLiteral("lbl_AIMKey"))->text().simplified(); },
         {}},
        {"Btn_Adv_1",
         "Edt_Repeat1",
         QAccessible::EditableText,
         [](Access& t) {
             return t.window->skin().languageIndex() == 1 ? QStringLiteral("连发次数")
                                                          : QStringLiteral("Fire Count");
         },
         {}},
        {"Btn_Breath_1", "Bar_MCULEDNum", QAccessible::Slider, key("Str861"), {}},
        {"Btn_Breath_1", "IB_Mode1Color", QAccessible::Button, key("Str862"), press},
        {"Btn_Macro_1", "LB_PCMacroName", QAccessible::List, key("Str865"), {}},
        {"Btn_Macro_1", "LB_macro", QAccessible::List, key("Str866"), {}},
        {"Btn_Macro_1", "Btn_Start", QAccessible::Button, key("Str400"), press},
    };
    (void)checked;
    for (int lang : {1, 3}) {
        language(lang);
        ASSERT_EQ(window->skin().languageIndex(), lang);
        for (const Row& r : rows) {
            SCOPED_TRACE(
                QStringLiteral("%1 in language %2").arg(QLatin1String(r.control)).arg(lang).toStdString());
            click(QString::fromLatin1(r.page).replace(QLatin1String("_1"),
                                                      QStringLiteral("_%1").arg(shownPage())));
            QWidget* w = widget(QLatin1String(r.control));
            ASSERT_TRUE(w);
            QAccessibleInterface* i = iface(w);
            ASSERT_TRUE(i);
            EXPECT_EQ(i->role(), r.role);
            const QString name = i->text(QAccessible::Name);
            EXPECT_EQ(name, r.name(*this));
            EXPECT_EQ(name, name.trimmed()) << "padding in the name";
            EXPECT_FALSE(name.isEmpty());
            if (!r.action.isEmpty()) {
                ASSERT_TRUE(i->actionInterface());
                EXPECT_TRUE(i->actionInterface()->actionNames().contains(r.action));
            }
            EXPECT_TRUE(i->state().focusable);
            if (r.more)
                r.more(*this, i);
        }
    }
}

TEST_F(Access, StatesAndValuesFollowAndAreTold)
{
    startRead();
    showActive();
    // A check look: toggled by Space, checked state told.
    auto* combo = find<ClickLabel>(QStringLiteral("IB_ComboKey1"));
    const bool was = iface(combo)->state().checked;
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_Space);
    EXPECT_NE(bool(iface(combo)->state().checked), was);
    EXPECT_TRUE(told(combo, QAccessible::StateChanged));

    // The page tab's selected state follows the page; Ctrl+Page Down moves on.
    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_TRUE(iface(find(QStringLiteral("Btn_Adv_2")))->state().selected);
    EXPECT_FALSE(iface(find(QStringLiteral("Btn_Main_2")))->state().selected);

    // A bar: arrows, Home/End and Page Up/Down step it as clicks would.
    auto* bar = find<ValueBar>(QStringLiteral("Bar_DPI1"));
    ASSERT_TRUE(bar);
    QAccessibleValueInterface* value = iface(bar)->valueInterface();
    bar->setFocus(Qt::TabFocusReason);
    struct Step {
        Qt::Key key;
        int expected;
    };
    for (const Step& s : {Step{Qt::Key_Home, 1}, Step{Qt::Key_Right, 2}, Step{Qt::Key_Up, 3},
                          Step{Qt::Key_PageUp, 6}, Step{Qt::Key_Left, 5}, Step{Qt::Key_PageDown, 2},
                          Step{Qt::Key_End, 11}, Step{Qt::Key_Right, 11}, Step{Qt::Key_Down, 10}}) {
        QTest::keyClick(bar, s.key);
        EXPECT_EQ(value->currentValue().toInt(), s.expected) << s.key;
    }
    EXPECT_TRUE(told(bar, QAccessible::ValueChanged));
    // The cells are no controls of their own.
    QAccessibleInterface* cell = iface(find(QStringLiteral("Img_DPI1_3")));
    EXPECT_TRUE(cell->state().invisible);
    EXPECT_FALSE(cell->state().focusable);
    // Set through the value interface as a screen reader does.
    value->setCurrentValue(4);
    EXPECT_EQ(value->currentValue().toInt(), 4);

    // A language switch re-announces the names.
    events.clear();
    language(3);
    EXPECT_TRUE(told(find(QStringLiteral("Btn_Apply_2")), QAccessible::NameChanged));
    EXPECT_TRUE(told(bar, QAccessible::NameChanged));
}

// Tab from the page's first control around the page: every control a
// pointer user clicks is reached, each Tab moves, and the order runs by rows.
TEST_F(Access, TabWalkReachesEveryControlOfEachPageInOrder)
{
    startRead();
    showActive();
    for (const char* tab : {"Btn_Main_", "Btn_Second_", "Btn_Adv_", "Btn_Breath_", "Btn_Macro_"}) {
        click(QLatin1String(tab) + QString::number(shownPage()));
        SCOPED_TRACE(tab);
        const QList<QWidget*> controls = clickable();
        ASSERT_FALSE(controls.isEmpty());
        QWidget* page = window->stack().page(shownPage());
        PageStack::focusFirstControl(page);
        QWidget* start = QApplication::focusWidget();
        ASSERT_TRUE(start);
        std::set<QWidget*> reached{start};
        QList<QWidget*> walk{start};
        for (qsizetype n = 0; n < controls.size() * 2 + 10; ++n) {
            QWidget* before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            ASSERT_TRUE(now);
            ASSERT_NE(now, before) << "Tab stays on " << qPrintable(before->objectName());
            ASSERT_TRUE(now->isVisible()) << qPrintable(now->objectName());
            if (now == start)
                break;
            reached.insert(now);
            walk << now;
        }
        for (QWidget* c : controls)
            EXPECT_TRUE(reached.count(c)) << "not reached by Tab: " << qPrintable(c->objectName());
        // By rows: within the page each step goes right on its row or down.
        int wraps = 0;
        for (qsizetype k = 1; k < walk.size(); ++k) {
            if (!page->isAncestorOf(walk[k]) || !page->isAncestorOf(walk[k - 1]))
                continue;
            const QPoint a = walk[k - 1]->mapTo(page, QPoint(0, 0)), b = walk[k]->mapTo(page, QPoint(0, 0));
            if (b.y() < a.y() - 10) {
                ++wraps;
                ADD_FAILURE() << "Tab goes up from " << qPrintable(walk[k - 1]->objectName()) << " to "
                              << qPrintable(walk[k]->objectName());
            }
        }
        EXPECT_LE(wraps, 0) << "Tab goes back up the page";
        // And back: Shift+Tab returns to where it came from.
        QWidget* here = QApplication::focusWidget();
        QTest::keyClick(here, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), here);
    }
}

} // namespace
