// The macro page opened on a library macro, for the line editor's tests.
#pragma once
#include "AppFixture.h"
#include "app/frame/PageSelector.h"
#include "app/pages/macros/DelayDialog.h"
#include "app/pages/macros/EditKeyDialog.h"
#include "app/pages/macros/MacroEditor.h"
#include "app/pages/macros/MacroList.h"
#include "app/pages/macros/NameDialog.h"
#include "app/pages/macros/ValueDialog.h"
#include "keys/KeyAssignment.h"
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <array>
#include <functional>

namespace orb::test
{

struct MacroEditorUi : AppFixture {
    // The mouse read, the macro page shown, library macro 0 holding `lines`
    // and opened.
    void openMacro(const QStringList& lines)
    {
        startRead();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseMove(window.get(), QPoint(1, 1));
        window->selector().Btn_Macro_0Click();
        MacroScript s;
        s.Lines = QStringList{QStringLiteral("10")} + lines;
        page().library().Records[0] = EncodeScript(s, false).record;
        page().RefreshPCMacroName();
        QListWidget* names = list("LB_PCMacroName");
        ASSERT_GT(names->count(), 0);
        names->scrollToItem(names->item(0));
        QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                          names->visualItemRect(names->item(0)).center());
        ASSERT_EQ(page().SelectedLibraryMacro(), 0);
        ASSERT_EQ(events(), lines);
        services.messages.clear();
    }
    MacroPage& page() const { return window->macroPage(); }
    QListWidget* list(const char* name) const { return find<QListWidget>(QLatin1String(name)); }
    // Right-click on item `row` of LB_macro, then the menu item `name`.
    void lineMenu(int row, const char* name)
    {
        QListWidget* l = list("LB_macro");
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::RightButton, {}, r.center());
        ASSERT_EQ(page().CurrentLine(), row);
        QWidget* menu = find(QStringLiteral("Pnl_DevContent"));
        ASSERT_TRUE(menu && menu->isVisible());
        QWidget* item = menu->findChild<QWidget*>(QLatin1String(name));
        ASSERT_TRUE(item);
        QTest::mouseClick(item, Qt::LeftButton, {}, item->rect().center());
        EXPECT_FALSE(menu->isVisible());
    }
    QStringList events() const { return page().script().Lines.mid(1); }
    // The library record holds the script as shown.
    void expectStored() const
    {
        EXPECT_EQ(page().library().Records[0],
                  EncodeScript(page().script(), page().ReleaseStopChosen()).record);
    }
};

// Right-click on library entry `row`, then the library menu's `name`.
inline void libraryMenu(MacroEditorUi& t, int row, const char* name)
{
    QListWidget* l = t.list("LB_PCMacroName");
    l->scrollToItem(l->item(row));
    QTest::mouseClick(l->viewport(), Qt::RightButton, {}, l->visualItemRect(l->item(row)).center());
    ASSERT_EQ(t.page().SelectedLibraryMacro(), row);
    QWidget* menu = t.find(QStringLiteral("Pnl_PCMacro"));
    ASSERT_TRUE(menu && menu->isVisible());
    QWidget* item = menu->findChild<QWidget*>(QLatin1String(name));
    ASSERT_TRUE(item);
    QTest::mouseClick(item, Qt::LeftButton, {}, item->rect().center());
}

template <class D> void confirmField(MacroEditorUi& t, const QString& typed, const QString& shown)
{
    auto* d = t.window->findChild<D*>();
    ASSERT_TRUE(d);
    // Qt Test types only ASCII; other names are put in as an input method would.
    bool ascii = true;
    for (QChar c : typed)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(d->field(), typed);
    else
        d->field()->insert(typed);
    EXPECT_EQ(d->field()->text(), shown);
    QWidget* ok = d->template findChild<QWidget*>(QStringLiteral("IB_Confirm"));
    QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(t.window->findChild<D*>(), nullptr);
}

inline void clickOn(QWidget* w)
{
    ASSERT_TRUE(w);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace orb::test
