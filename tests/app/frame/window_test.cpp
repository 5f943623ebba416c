#include "AppFixture.h"
#include "app/frame/PageSelector.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace orb;
using namespace orb::test;

namespace
{
struct Window : AppFixture {
};
} // namespace

TEST_F(Window, FramelessWithTheExactCaption)
{
    start(false);
    EXPECT_EQ(window->objectName(), QStringLiteral("TForm1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ORB5610 Gaming Mouse v1.0"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    auto* busy = find(QStringLiteral("TFormLoadingUI"));
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->size(), QSize(206, 196));
    EXPECT_TRUE(busy->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(Window, DraggedByItsPageBackgrounds)
{
    start(false);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    struct Case {
        int page;
        const char* surface;
    };
    for (const Case c : {Case{1, "Img_Base_1"}, Case{6, "Img_Logo4"}}) {
        window->stack().showOnlyPage(c.page);
        QWidget* surface = find(QString::fromLatin1(c.surface));
        ASSERT_TRUE(surface) << c.surface;
        const QPoint start = window->pos();
        const QPoint at(300, 40);
        QTest::mousePress(surface, Qt::LeftButton, {}, at);
        QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(50, 30)),
                         QPointF(surface->mapToGlobal(at + QPoint(50, 30))), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(surface, &move);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, at + QPoint(50, 30));
        EXPECT_EQ(window->pos(), start + QPoint(50, 30)) << c.surface;
    }
}

TEST_F(Window, BusyWindowIsCentredOverTheMainWindow)
{
    start(false);
    window->move(100, 50);
    window->sessionHost().ShowLoading();
    const QRect busy = find(QStringLiteral("TFormLoadingUI"))->geometry();
    const QRect main = window->geometry();
    EXPECT_EQ(busy.left(), main.left() + (main.width() - 206) / 2);
    EXPECT_EQ(busy.top(), main.top() + (main.height() - 196) / 2);
    EXPECT_TRUE(find(QStringLiteral("TFormLoadingUI"))->isVisible());
    window->sessionHost().HideLoading();
    EXPECT_FALSE(find(QStringLiteral("TFormLoadingUI"))->isVisible());
}

TEST_F(Window, ClosingDropsTheMouseAndSendsNothingMore)
{
    start(true);
    untilOpened();
    ASSERT_TRUE(window->session().link().hasDevice());
    window->close();
    EXPECT_FALSE(window->session().link().hasDevice());
    mouse.clearTraffic();
    clock.advance(3500 * 3);
    EXPECT_TRUE(mouse.traffic().empty());
}

TEST_F(Window, MessageWindowSpeaksInTheLanguagesFont)
{
    start(false);
    EXPECT_EQ(services.messageFont, QStringLiteral("Microsoft YaHei"));
    window->Btn_Lang3_0Click();
    EXPECT_EQ(services.messageFont, QStringLiteral("Arial Narrow"));
}

TEST_F(Window, OverlaysTakeThePagesInputButExitAndMinimise)
{
    start(true);
    QWidget* page1 = window->page(1);
    const auto topAt = [&](const QString& name) {
        QWidget* w = find(name);
        EXPECT_TRUE(w) << qPrintable(name);
        return w ? page1->childAt(w->geometry().center()) : nullptr;
    };
    // No mouse yet: the overlay lies over the page and language buttons, the
    // key captions and the combination switches, also after the layout of a
    // language change raised captions over their pictures; exit and minimise
    // stay above it.
    for (const int language : {1, 3, 1}) {
        SCOPED_TRACE(language);
        window->LanguageButtonClick(language);
        for (const char* blocked :
             {"Btn_Adv_1", "Btn_Lang3_1", "Btn_Apply_1", "Key1", "IB_ComboKey1", "IB_ComboKey2"})
            EXPECT_EQ(topAt(QString::fromLatin1(blocked))->objectName(), QStringLiteral("Disable_All_1"))
                << blocked;
        EXPECT_EQ(topAt(QStringLiteral("Btn_Exit_1"))->objectName(), QStringLiteral("Btn_Exit_1"));
        EXPECT_EQ(topAt(QStringLiteral("Btn_Mini_1"))->objectName(), QStringLiteral("Btn_Mini_1"));
    }
    // Once the mouse is read the pages take input again.
    untilOpened();
    EXPECT_EQ(topAt(QStringLiteral("Btn_Adv_1"))->objectName(), QStringLiteral("Btn_Adv_1"));
}

TEST_F(Window, ActionButtonsShowTheirPressedPictureOnAllCopies)
{
    start(false);
    const struct {
        const char* group;
        void (FrameActions::*click)();
    } actions[] = {
        {"Confirm", &FrameActions::Btn_Confirm_0Click},   {"Apply", &FrameActions::Btn_Apply_0Click},
        {"Read", &FrameActions::Btn_Read_0Click},         {"Confirm1", &FrameActions::Btn_Confirm1_1Click},
        {"Confirm2", &FrameActions::Btn_Confirm2_1Click}, {"Confirm3", &FrameActions::Btn_Confirm3_1Click},
    };
    for (const auto& a : actions) {
        (window->actions().*a.click)();
        for (int copy = 1; copy <= 4; ++copy) {
            QWidget* img = find(QStringLiteral("Img_%1_%2").arg(QLatin1String(a.group)).arg(copy));
            ASSERT_TRUE(img) << a.group << copy;
            EXPECT_EQ(img->property("picture").toString(), QStringLiteral("BtnS_03")) << a.group << copy;
        }
    }
}

namespace
{
// Everything a user could see of the window's controls, shown or not: the
// start-up must leave exactly this, however its steps are arranged.
QStringList VisibleState(QWidget& window)
{
    QStringList out;
    const auto widgets = window.findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        // Qt's own parts (scroll bars, viewports) follow their owners.
        if (w->window() != &window || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        w->ensurePolished(); // style sheets reach the palette when the widget is first shown
        QString line = QStringLiteral("%1 %2 %3,%4 %5x%6 vis=%7 en=%8 font=%9/%10 fg=%11")
                           .arg(QLatin1String(w->metaObject()->className()), w->objectName())
                           .arg(w->x())
                           .arg(w->y())
                           .arg(w->width())
                           .arg(w->height())
                           .arg(w->isVisibleTo(&window))
                           .arg(w->isEnabled())
                           .arg(w->font().family())
                           .arg(w->font().pointSize())
                           .arg(w->palette().color(w->foregroundRole()).name());
        if (const auto* l = qobject_cast<const QLabel*>(w))
            line += QStringLiteral(" text=") + l->text() + QStringLiteral(" picture=") +
                    l->property("picture").toString();
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            line += QStringLiteral(" text=%1 checked=%2").arg(b->text()).arg(b->isChecked());
        if (const auto* e = qobject_cast<const QLineEdit*>(w))
            line += QStringLiteral(" text=") + e->text();
        if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            line += QStringLiteral(" index=%1 items=").arg(c->currentIndex());
            for (int i = 0; i < c->count(); ++i)
                line += c->itemText(i) + QLatin1Char('|');
        }
        if (const auto* list = qobject_cast<const QListWidget*>(w)) {
            line += QStringLiteral(" row=%1 items=").arg(list->currentRow());
            for (int i = 0; i < list->count(); ++i)
                line += list->item(i)->text() + QLatin1Char('|');
        }
        out << line;
    }
    return out;
}
} // namespace

// The start applies the first language's layout and texts once before the
// image is shown; choosing that language again changes nothing on screen.
// However a user page comes to show while the engineering page was shown,
// the window has the skin's size and mask again (not 1076 x 640, unmasked,
// with the page's bottom cut off).
TEST_F(Window, AUserPageShownAfterTheEngineeringPageHasTheSkinsShape)
{
    QTemporaryDir files;
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"unplugged",
         [this] {
             host.plugMouse(&mouse, false);
             clock.advance(3500);
         }},
        {"saved in key mode B",
         [&, this] {
             mouse.memory[ParameterBAddr + 4] = 0x80; // key mode B
             mouse.memory[ParameterBAddr + 5] = 0x7F;
             services.saveAnswers.push_back(files.filePath(QStringLiteral("p.bin")));
             QTest::mouseClick(find(QStringLiteral("Btn_Save_6")), Qt::LeftButton);
         }},
    };
    start(true);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QSize skin = window->skin().skinSize();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!window->session().link().hasDevice()) {
            host.plugMouse(&mouse, true);
            clock.advance(3500);
        }
        ASSERT_TRUE(window->session().link().hasDevice());
        services.messages.clear();
        const QRegion userMask = window->mask();
        ASSERT_FALSE(userMask.isEmpty());
        window->selector().Btn_Engineer_0Click();
        ASSERT_TRUE(window->page(6)->isVisible());
        ASSERT_EQ(window->size(), QSize(1076, 640));

        c.run();
        EXPECT_TRUE(window->page(6)->isHidden());
        EXPECT_EQ(window->size(), skin);
        EXPECT_EQ(window->mask(), userMask);
    }
}

struct StartState : AppFixture, ::testing::WithParamInterface<bool> {
};

TEST_P(StartState, IsWhatChoosingItsLanguageAgainShows)
{
    start(GetParam());
    if (GetParam())
        untilOpened(); // the image read and shown
    const QStringList atStart = VisibleState(*window);
    window->Btn_Lang1_0Click();
    const QStringList again = VisibleState(*window);
    ASSERT_EQ(atStart.size(), again.size());
    for (int i = 0; i < atStart.size(); ++i)
        EXPECT_EQ(atStart[i].toStdString(), again[i].toStdString());
}

INSTANTIATE_TEST_SUITE_P(Window, StartState, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "MousePlugged" : "NoMouse"; });
