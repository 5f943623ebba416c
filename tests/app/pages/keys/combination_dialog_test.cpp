#include "AppFixture.h"
#include "app/pages/keys/CombinationDialog.h"
#include "keys/KeyCodes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

using Bytes = std::array<std::uint8_t, 3>;

struct CombinationDialogUi : AppFixture {
    void SetUp() override
    {
        startRead();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseMove(window.get(), QPoint(1, 1));
        services.messages.clear();
    }
    // Key1's menu, "User-defined": the dialog, fresh.
    TForm2* open()
    {
        click(find(QStringLiteral("Key1")));
        QTest::mouseMove(find(QStringLiteral("Key_Assembly")));
        click(find(QStringLiteral("Key_Assembly")));
        const auto dialogs = window->findChildren<TForm2*>();
        EXPECT_EQ(dialogs.size(), 1);
        return dialogs.isEmpty() ? nullptr : dialogs.front();
    }
    static void click(QWidget* w)
    {
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    QLineEdit* edit(TForm2* d) const { return d->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly")); }
    static void tick(TForm2* d, const char* box)
    {
        auto* b = d->findChild<QCheckBox*>(QLatin1String(box));
        ASSERT_TRUE(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); // on the tick mark
    }
    void key(TForm2* d, Qt::Key k, Qt::KeyboardModifiers m = {}) const { QTest::keyClick(edit(d), k, m); }
    void confirm(TForm2* d) const { click(d->findChild<QWidget*>(QStringLiteral("IB_Confirm"))); }
    QString caption1() const { return find<QLabel>(QStringLiteral("Key1"))->text(); }
    Bytes key1Bytes() const
    {
        const std::size_t at = KeyOffset(KeyMode::A, 1);
        const auto& p = window->session().image().ProfileKeys;
        return {p[at], p[at + 1], p[at + 2]};
    }
};

TEST_F(CombinationDialogUi, OpensBorderlessAboveTheWindowCentredAndTexted)
{
    TForm2* d = open();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->objectName(), QStringLiteral("TForm2"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("Img_Assembly"))->property("picture").toString(),
              QStringLiteral("Msg"));
    EXPECT_EQ(d->size(), window->skin().picture(QStringLiteral("Msg")).size());
    const QRect m = window->geometry();
    EXPECT_EQ(d->pos(),
              QPoint(m.left() + (m.width() - d->width()) / 2, m.top() + (m.height() - d->height()) / 2 + 40));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lbl_Assembly"))->text(), QStringLiteral("键盘组合键"));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("IB_Confirm"))->text(), QStringLiteral("确认"));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("IB_Cancel"))->text(), QStringLiteral("清除"));
    EXPECT_TRUE(edit(d)->text().isEmpty());
    // Not modal: the window's own controls still answer.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Opening again gives a fresh dialog.
    key(d, Qt::Key_A);
    TForm2* again = open();
    ASSERT_TRUE(again);
    EXPECT_TRUE(edit(again)->text().isEmpty());
}

// The ticks, then the keys pressed in the edit, confirmed: caption and code.
TEST_F(CombinationDialogUi, ConfirmGivesTheButtonTheCombination)
{
    struct Case {
        std::vector<const char*> ticks;
        std::vector<Qt::Key> keys;
        QString text;
        Bytes bytes;
    };
    const std::vector<Case> cases{
        {{"CB_Ctrl", "CB_Shift"}, {Qt::Key_F5}, QStringLiteral("Ctrl+Shift+F5"), {0x02, 0x03, 0x3E}},
        {{"CB_Win"}, {}, QStringLiteral("Win"), {0x02, 0x08, 0x00}},
        {{}, {Qt::Key_A}, QStringLiteral("A"), {0x02, 0x00, 0x04}},
        {{}, {}, QString(), {0x02, 0x00, 0x00}},
        {{"CB_Alt"}, {Qt::Key_A, Qt::Key_B}, QStringLiteral("Alt+B"), {0x02, 0x04, 0x05}},     // B replaces A
        {{"CB_Ctrl"}, {Qt::Key_A, Qt::Key_Shift}, QStringLiteral("Ctrl"), {0x02, 0x01, 0x00}}, // refused
        {{}, {Qt::Key_A, Qt::Key_Meta}, QString(), {0x02, 0x00, 0x00}}, // Win key refused
    };
    for (const Case& c : cases) {
        TForm2* d = open();
        ASSERT_TRUE(d);
        for (const char* t : c.ticks)
            tick(d, t);
        for (Qt::Key k : c.keys)
            key(d, k);
        EXPECT_EQ(edit(d)->text(), c.text) << qPrintable(c.text);
        confirm(d);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window->findChildren<TForm2*>().isEmpty());
        EXPECT_EQ(caption1(), c.text);
        EXPECT_EQ(key1Bytes(), c.bytes) << qPrintable(c.text);
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(CombinationDialogUi, AKeyHeldWithAModifierIsRefused)
{
    TForm2* d = open();
    ASSERT_TRUE(d);
    key(d, Qt::Key_A);
    key(d, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(edit(d)->text().isEmpty());
    confirm(d);
    EXPECT_EQ(key1Bytes(), (Bytes{0x02, 0x00, 0x00}));
}

TEST_F(CombinationDialogUi, TickAndUntick)
{
    TForm2* d = open();
    ASSERT_TRUE(d);
    tick(d, "CB_Ctrl");
    EXPECT_EQ(edit(d)->text(), QStringLiteral("Ctrl"));
    key(d, Qt::Key_A);
    EXPECT_EQ(edit(d)->text(), QStringLiteral("Ctrl+A"));
    tick(d, "CB_Ctrl");
    EXPECT_EQ(edit(d)->text(), QStringLiteral("A"));
    tick(d, "CB_Shift");
    EXPECT_EQ(edit(d)->text(), QStringLiteral("Shift+A"));
    tick(d, "CB_Win");
    EXPECT_EQ(edit(d)->text(), QStringLiteral("Shift+Win+A"));
    tick(d, "CB_Win");
    EXPECT_EQ(edit(d)->text(), QStringLiteral("Shift+A"));
    confirm(d);
    EXPECT_EQ(caption1(), QStringLiteral("Shift+A"));
    EXPECT_EQ(key1Bytes(), (Bytes{0x02, 0x02, 0x04}));
}

TEST_F(CombinationDialogUi, ClearThenConfirmKeepsTheClearedKeyAway)
{
    TForm2* d = open();
    ASSERT_TRUE(d);
    tick(d, "CB_Alt");
    key(d, Qt::Key_A);
    click(d->findChild<QWidget*>(QStringLiteral("IB_Cancel")));
    EXPECT_TRUE(edit(d)->text().isEmpty());
    EXPECT_FALSE(d->findChild<QCheckBox*>(QStringLiteral("CB_Alt"))->isChecked());
    EXPECT_TRUE(d->isVisible());
    tick(d, "CB_Ctrl");
    confirm(d);
    EXPECT_EQ(caption1(), QStringLiteral("Ctrl"));
    EXPECT_EQ(key1Bytes(), (Bytes{0x02, 0x01, 0x00}));
}

TEST_F(CombinationDialogUi, CloseHandsNothingOver)
{
    const Bytes before = key1Bytes();
    const QString caption = caption1();
    TForm2* d = open();
    ASSERT_TRUE(d);
    key(d, Qt::Key_A);
    click(d->findChild<QWidget*>(QStringLiteral("IB_Close")));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->findChildren<TForm2*>().isEmpty());
    EXPECT_EQ(key1Bytes(), before);
    EXPECT_EQ(caption1(), caption);
    EXPECT_FALSE(window->keyPage().combinationPending());
}

TEST_F(CombinationDialogUi, ConfirmGoesToTheKeyTheDialogWasOpenedFor)
{
    const auto bytes = [this](KeyMode mode, int key) {
        const std::size_t at = KeyOffset(mode, key);
        const auto& p = window->session().image().ProfileKeys;
        return Bytes{p[at], p[at + 1], p[at + 2]};
    };
    struct Case {
        const char* meanwhile; // clicked while the dialog is open
        KeyMode otherMode;     // the key current at the confirm
        int otherKey;
        const char* backToModeA; // shows mode A again afterwards
    };
    const Case cases[] = {
        {"Key5", KeyMode::A, 5, nullptr},
        {"Btn_Second_1", KeyMode::B, 3, "Btn_Main_1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        const Bytes other = bytes(c.otherMode, c.otherKey);
        const QString key3 = window->keyPage().codes(KeyMode::A)[2];
        click(find(QStringLiteral("Key3")));
        QTest::mouseMove(find(QStringLiteral("Key_Assembly")));
        click(find(QStringLiteral("Key_Assembly")));
        const auto dialogs = window->findChildren<TForm2*>();
        ASSERT_EQ(dialogs.size(), 1);
        TForm2* d = dialogs.front();
        click(find(QLatin1String(c.meanwhile)));
        key(d, Qt::Key_A);
        confirm(d);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->keyPage().HideAllMenu();
        EXPECT_EQ(bytes(KeyMode::A, 3), (Bytes{0x02, 0x00, 0x04}));
        EXPECT_EQ(bytes(c.otherMode, c.otherKey), other);
        if (c.backToModeA)
            click(find(QLatin1String(c.backToModeA)));
        EXPECT_EQ(find<QLabel>(QStringLiteral("Key3"))->text(), QStringLiteral("A"));
        EXPECT_NE(find<QLabel>(QStringLiteral("Key5"))->text(), QStringLiteral("A"));
        // Mode A's key 3 is set back for the next case.
        window->keyPage().keys().SetKey(KeyMode::A, 3, key3);
        window->keyPage().ShowKeyCaptions(KeyMode::A);
    }
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace
