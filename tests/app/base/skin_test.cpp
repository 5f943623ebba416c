#include "AppFixture.h"
#include "app/base/ClickLabel.h"
#include "rcdata.h"

#include <QImage>
#include <QRadioButton>
#include <QTest>

using namespace orb;
using namespace orb::test;

namespace
{

struct SkinUi : AppFixture {
    QString picture(const QString& control) const { return find(control)->property("picture").toString(); }
    QString text(const QString& label) const { return find<QLabel>(label)->text(); }
    ClickLabel* label(const QString& name) const { return find<ClickLabel>(name); }
    void click(const QString& name) const
    {
        ClickLabel* l = label(name);
        EXPECT_TRUE(l) << qPrintable(name);
        if (l)
            QTest::mouseClick(l, Qt::LeftButton, {}, l->rect().center());
    }
    // Plugged in and opened, with the pages taking input (a read mouse).
    void readMouse()
    {
        start(true);
        untilOpened();
        ASSERT_TRUE(window->session().link().hasDevice());
        window->stack().setNoDeviceUI(false);
        services.messages.clear();
    }
    int shownPage() const
    {
        int shown = 0;
        for (int n : {1, 2, 3, 4, 6})
            if (!window->page(n)->isHidden())
                shown = shown ? -1 : n; // -1: more than one
        return shown;
    }
    QStringList groupPictures(const char* group) const
    {
        QStringList out;
        for (int copy = 1; copy <= 4; ++copy)
            out << picture(QStringLiteral("Img_%1_%2").arg(QLatin1String(group)).arg(copy));
        return out;
    }
    static QStringList four(const char* picture) { return QStringList(4, QLatin1String(picture)); }
};

} // namespace

// ---- page switching ----

TEST_F(SkinUi, PageButtonWithoutMouseShowsStr020AndChangesNothing)
{
    start(false);
    for (const char* button : {"Btn_Adv_1", "Btn_Macro_3", "Btn_Second_2", "Btn_Engineer_4"}) {
        services.messages.clear();
        click(QLatin1String(button));
        ASSERT_EQ(messages(), QStringList{QStringLiteral("正在查找指定设备")}) << button;
        EXPECT_EQ(services.messages[0].style, MessageStyle::Dialog);
        EXPECT_EQ(window->stack().PageState(), QStringLiteral("rb_1"));
        EXPECT_EQ(shownPage(), 1);
        EXPECT_EQ(groupPictures("Main"), four("SetS_03"));
        EXPECT_EQ(groupPictures("Adv"), four("SetS_01"));
    }
}

TEST_F(SkinUi, PageButtonBeforeTheMouseIsReadDoesNothing)
{
    start(true);
    untilOpened();
    ASSERT_TRUE(window->session().link().hasDevice());
    window->stack().setNoDeviceUI(true);
    services.messages.clear();
    click(QStringLiteral("Btn_Breath_1"));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(window->stack().PageState(), QStringLiteral("rb_1"));
    EXPECT_EQ(shownPage(), 1);
    EXPECT_EQ(groupPictures("Breath"), four("SetS_01"));
}

TEST_F(SkinUi, PagesSwitchWithAReadMouse)
{
    readMouse();
    struct Case {
        const char* button;
        const char* option;
        int page;
        const char* group;
        const char* overlay;
        const char* overlayPicture;
    };
    const Case cases[] = {
        {"Btn_Adv_1", "rb_4", 2, "Adv", "Img_P2", "L1_Back2"},
        {"Btn_Breath_2", "rb_5", 3, "Breath", "Img_P3", "L1_Back3"},
        {"Btn_Macro_3", "rb_6", 4, "Macro", "Img_P4", "L1_Back4"},
        {"Btn_Second_4", "rb_2", 1, "Second", "Img_P1", "L1_Back1"},
        {"Btn_Main_1", "rb_1", 1, "Main", "Img_P1", "L1_Back1"},
        {"Btn_Engineer_2", "rb_7", 6, "Engineer", nullptr, nullptr},
        {"Btn_Main_6", "rb_1", 1, "Main", "Img_P1", "L1_Back1"},
    };
    for (const Case& c : cases) {
        if (c.overlay)
            window->skin().SetPicture(QLatin1String(c.overlay),
                                      QStringLiteral("L3_Back1")); // must be reloaded
        if (QLatin1String(c.button).endsWith(QLatin1String("_6")))
            QTest::mouseClick(find<QWidget>(QLatin1String(c.button)), Qt::LeftButton);
        else
            click(QLatin1String(c.button));
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(window->stack().PageState(), QLatin1String(c.option)) << c.button;
        EXPECT_EQ(shownPage(), c.page) << c.button;
        EXPECT_EQ(groupPictures(c.group), four("SetS_03")) << c.button;
        for (const char* other : {"Main", "Second", "Adv", "Breath", "Macro", "Engineer", "Save", "Load"}) {
            if (QLatin1String(other) != QLatin1String(c.group)) {
                EXPECT_EQ(groupPictures(other), four("SetS_01")) << c.button << other;
            }
        }
        if (c.overlay) {
            EXPECT_EQ(picture(QLatin1String(c.overlay)), QLatin1String(c.overlayPicture)) << c.button;
        }
        EXPECT_EQ(window->size(), c.page == 6 ? QSize(1076, 640) : window->skin().skinSize()) << c.button;
    }
}

TEST_F(SkinUi, AHiddenPagesPictureIsDecodedAtItsFirstShow)
{
    readMouse();
    for (const char* overlay : {"Img_P2", "Img_P3", "Img_P4"})
        EXPECT_TRUE(picture(QLatin1String(overlay)).isEmpty()) << overlay;
    EXPECT_EQ(picture(QStringLiteral("Img_P1")), QStringLiteral("L1_Back1"));
    click(QStringLiteral("Btn_Breath_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_P3")), QStringLiteral("L1_Back3"));
    EXPECT_TRUE(picture(QStringLiteral("Img_P2")).isEmpty());
}

TEST_F(SkinUi, LosingTheMouseShowsTheMainPageSelectors)
{
    readMouse();
    click(QStringLiteral("Btn_Adv_1"));
    ASSERT_EQ(shownPage(), 2);
    host.plugMouse(&mouse, false);
    clock.advance(3500);
    EXPECT_TRUE(window->stack().noDeviceUI());
    EXPECT_EQ(shownPage(), 1);
    EXPECT_EQ(groupPictures("Main"), four("SetS_03"));
    EXPECT_EQ(groupPictures("Adv"), four("SetS_01"));
}

// ---- pointer pictures ----

TEST_F(SkinUi, PointingAtTheCurrentPageButtonAndLeaving)
{
    readMouse();
    click(QStringLiteral("Btn_Adv_1"));
    emit label(QStringLiteral("Btn_Adv_2"))->entered();
    EXPECT_EQ(picture(QStringLiteral("Img_Adv_2")), QStringLiteral("SetS_02"));
    EXPECT_EQ(picture(QStringLiteral("Img_Adv_1")), QStringLiteral("SetS_03")); // only the pointed copy
    emit label(QStringLiteral("Btn_Adv_2"))->left();
    EXPECT_EQ(groupPictures("Adv"), four("SetS_03"));

    // A profile button is never current: leaving it shows it normal again.
    window->skin().SetPicture(QStringLiteral("Img_Save_2"), QStringLiteral("SetS_03"));
    emit label(QStringLiteral("Btn_Save_2"))->entered();
    emit label(QStringLiteral("Btn_Save_2"))->left();
    EXPECT_EQ(picture(QStringLiteral("Img_Save_2")), QStringLiteral("SetS_01"));
}

TEST_F(SkinUi, FamiliesChangeTheirPictures)
{
    readMouse();
    struct Case {
        const char* label;
        QStringList entered; // copies 1..4 of the group
        QStringList left;
    };
    const QStringList one02 = {"SetS_01", "SetS_02", "SetS_01", "SetS_01"};
    const Case cases[] = {
        {"Btn_Apply_1", four("BtnS_02"), four("BtnS_01")},
        {"Btn_Exit_3", four("ExitS_02"), four("ExitS_01")},
        {"Btn_Mini_4", four("MiniS_02"), four("MiniS_01")},
        {"Btn_Web_2", four("WebS_03"), four("WebS_01")},
        // The current language's group gets its mark back.
        {"Btn_Lang3_2", one02, four("SetS_01")},
        {"Btn_Lang1_2", {"SetS_03", "SetS_02", "SetS_03", "SetS_03"}, four("SetS_03")},
    };
    for (const Case& c : cases) {
        const QString name = QLatin1String(c.label);
        const QString group = name.mid(4, name.size() - 6);
        emit label(name)->entered();
        EXPECT_EQ(groupPictures(group.toLatin1().constData()), c.entered) << c.label;
        emit label(name)->left();
        EXPECT_EQ(groupPictures(group.toLatin1().constData()), c.left) << c.label;
    }
}

TEST_F(SkinUi, WebButton)
{
    start(false);
    // Without a mouse the pointer changes nothing; the click still works.
    emit label(QStringLiteral("Btn_Web_1"))->entered();
    EXPECT_EQ(groupPictures("Web"), four("WebS_01"));
    click(QStringLiteral("Btn_Web_1"));
    EXPECT_EQ(groupPictures("Web"), four("WebS_02"));
    EXPECT_EQ(services.openedUrls, QStringList{window->skin().org().Web});
    EXPECT_FALSE(window->skin().org().Web.isEmpty());

    window->skin().org().Web_Enable = 0;
    click(QStringLiteral("Btn_Web_3"));
    EXPECT_EQ(services.openedUrls.size(), 1);
}

// ---- caption scrolling ----

TEST_F(SkinUi, CaptionsScrollUnderThePointer)
{
    start(false);
    window->skin().org().TR_Enable = 1;
    struct Case {
        const char* label;
        const char* caption; // nullptr: as it is (the exit label has none)
        QStringList steps;
    };
    const Case cases[] = {
        {"Btn_Apply_1", "X", {"    X", "   X ", "  X  "}},
        {"Btn_Exit_1", nullptr, {"    ", "    "}},
    };
    for (const Case& c : cases) {
        ClickLabel* l = label(QLatin1String(c.label));
        if (c.caption)
            l->setText(QString::fromUtf8(c.caption));
        const QString before = l->text();
        emit l->entered();
        EXPECT_TRUE(window->hover().labelRun().isEnabled());
        for (const QString& step : c.steps) {
            clock.advance(200);
            EXPECT_EQ(l->text(), step) << c.label;
        }
        emit l->left();
        EXPECT_FALSE(window->hover().labelRun().isEnabled());
        EXPECT_EQ(l->text(), before);
    }
}

TEST_F(SkinUi, CaptionsStayWithoutTheOptionOrOnADisabledLabel)
{
    start(false);
    ClickLabel* apply = label(QStringLiteral("Btn_Apply_2"));
    ASSERT_EQ(window->skin().org().TR_Enable, 0); // as shipped
    emit apply->entered();
    EXPECT_TRUE(window->hover().labelRun().isEnabled()); // runs, but moves nothing
    clock.advance(1000);
    EXPECT_EQ(apply->text(), QStringLiteral("应用"));
    emit apply->left();

    window->skin().org().TR_Enable = 1;
    apply->setEnabled(false);
    emit apply->entered();
    EXPECT_FALSE(window->hover().labelRun().isEnabled());
    clock.advance(1000);
    EXPECT_EQ(apply->text(), QStringLiteral("应用"));
}

// ---- language ----

TEST_F(SkinUi, LanguageSwitchRetextsReskinsAndRelays)
{
    readMouse();
    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_EQ(text(QStringLiteral("Btn_Apply_3")), QStringLiteral("应用"));
    EXPECT_EQ(find(QStringLiteral("Btn_Apply_1"))->geometry(), QRect(820, 600, 110, 27));
    EXPECT_EQ(find(QStringLiteral("Btn_Apply_1"))->font().pointSize(), 11);
    EXPECT_EQ(find(QStringLiteral("Btn_Apply_1"))->font().family(), QStringLiteral("Microsoft YaHei"));

    click(QStringLiteral("Btn_Lang3_2"));
    EXPECT_EQ(window->skin().languageIndex(), 3);
    EXPECT_EQ(text(QStringLiteral("Btn_Apply_3")), QStringLiteral("Apply"));
    EXPECT_EQ(text(QStringLiteral("Btn_Adv_4")), QStringLiteral("Advanced"));
    EXPECT_EQ(text(QStringLiteral("Btn_Engineer_1")), QStringLiteral("Engineer"));
    EXPECT_EQ(find(QStringLiteral("Btn_Apply_1"))->font().family(), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(find(QStringLiteral("Btn_Apply_1"))->geometry(), QRect(820, 600, 110, 27));
    EXPECT_EQ(picture(QStringLiteral("Img_Base_2")), QStringLiteral("L3_BackGround"));
    // Only the current page's overlay is replaced.
    EXPECT_EQ(picture(QStringLiteral("Img_P2")), QStringLiteral("L3_Back2"));
    EXPECT_EQ(picture(QStringLiteral("Img_P1")), QStringLiteral("L1_Back1"));
    EXPECT_EQ(groupPictures("Lang3"), four("SetS_03"));
    EXPECT_EQ(groupPictures("Lang1"), four("SetS_01"));
    EXPECT_EQ(shownPage(), 2); // the page that was current
    EXPECT_EQ(window->skin().textSlots().noDevice, QStringLiteral("Finding the device"));

    click(QStringLiteral("Btn_Lang1_1"));
    EXPECT_EQ(text(QStringLiteral("Btn_Apply_3")), QStringLiteral("应用"));
    EXPECT_EQ(picture(QStringLiteral("Img_Base_4")), QStringLiteral("L1_BackGround"));
}

TEST_F(SkinUi, LayoutPlacesTheFramePerLanguage)
{
    start(false);
    struct Case {
        int language;
        const char* control;
        bool shown;
        QPoint pos;
    };
    const Case cases[] = {
        {1, "Btn_Apply_1", true, {820, 600}},  {2, "Btn_Apply_1", true, {760, 560}},
        {3, "Img_Apply_4", true, {820, 600}},  {2, "Img_Lang2_3", true, {150, 600}},
        {1, "Btn_Lang2_1", false, {}},         {3, "Img_Lang2_2", false, {}},
        {2, "Btn_Save_1", true, {50, 560}},    {1, "Btn_Save_1", false, {}},
        {1, "Btn_Engineer_3", true, {10, 10}}, {2, "Btn_Main_1", true, {50, 50}},
        {1, "Btn_Exit_2", true, {980, 10}},    {2, "Img_P1", true, {100, 130}},
        {1, "Btn_Web_1", true, {50, 575}},
    };
    for (const Case& c : cases) {
        window->LanguageButtonClick(c.language);
        QWidget* w = find(QLatin1String(c.control));
        ASSERT_TRUE(w) << c.control;
        EXPECT_EQ(!w->isHidden(), c.shown) << c.language << c.control;
        if (c.shown) {
            EXPECT_EQ(w->pos(), c.pos) << c.language << c.control;
        }
    }
    // Each caption lies exactly on its picture.
    for (const char* name : {"Apply_2", "Main_3", "Lang3_1", "Engineer_4", "Exit_1", "Web_2"})
        EXPECT_EQ(find(QStringLiteral("Btn_") + QLatin1String(name))->geometry(),
                  find(QStringLiteral("Img_") + QLatin1String(name))->geometry())
            << name;
}

TEST_F(SkinUi, LanguageClickUnderThePointerScrollsTheNewCaption)
{
    start(false);
    window->skin().org().TR_Enable = 1;
    ClickLabel* lang3 = label(QStringLiteral("Btn_Lang3_1"));
    emit lang3->entered();
    clock.advance(400);
    click(QStringLiteral("Btn_Lang3_1"));
    clock.advance(200);
    EXPECT_EQ(lang3->text(), QStringLiteral("nglish    E"));
    emit lang3->left();
    EXPECT_EQ(lang3->text(), QStringLiteral("English"));
}

// ---- window shape ----

TEST_F(SkinUi, WindowShapeFollowsTheBackground)
{
    readMouse();
    QImage background;
    background.loadFromData(*rcData(QStringLiteral("L1_BackGround")));
    ASSERT_EQ(background.size(), window->skin().skinSize());
    QPoint clear(-1, -1);
    for (int y = background.height() - 1; y >= 0 && clear.x() < 0; --y)
        for (int x = 0; x < background.width() && clear.x() < 0; ++x)
            if (qAlpha(background.pixel(x, y)) == 0)
                clear = {x, y};
    ASSERT_GE(clear.x(), 0);
    const QPoint solid(background.width() / 2, background.height() / 2);
    ASSERT_EQ(qAlpha(background.pixel(solid)), 255);

    EXPECT_TRUE(window->mask().contains(solid));
    EXPECT_FALSE(window->mask().contains(clear));

    click(QStringLiteral("Btn_Engineer_1")); // a plain rectangle
    EXPECT_TRUE(window->mask().isEmpty());
    QTest::mouseClick(find<QWidget>(QStringLiteral("Btn_Adv_6")), Qt::LeftButton);
    EXPECT_FALSE(window->mask().contains(clear));
    EXPECT_TRUE(window->mask().contains(solid));

    // The placeholder set does not cover the window: nothing is cut away.
    window->LanguageButtonClick(2);
    EXPECT_TRUE(window->mask().isEmpty());
    window->LanguageButtonClick(3);
    EXPECT_FALSE(window->mask().contains(clear));
}

TEST_F(SkinUi, DialogLayoutSetsFontsByRoleAndPlacesControls)
{
    start(false);
    window->LanguageButtonClick(3);
    QWidget dialog;
    auto* title = new QLabel(&dialog);
    title->setProperty("layoutRole", QStringLiteral("title"));
    auto* input = new QLabel(&dialog);
    input->setObjectName(QStringLiteral("Edt_Name"));
    input->setProperty("layoutRole", QStringLiteral("input"));
    auto* other = new QLabel(&dialog);
    LayoutRow row;
    row.keyPrefix = QStringLiteral("MNC_");
    row.control = QStringLiteral("Edt_Name");
    window->skin().ApplyDialogLayout(&dialog, QStringLiteral("L"), {row});
    EXPECT_EQ(title->font().pointSize(), 9 + 5);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(input->font().pointSize(), 9 + 3);
    EXPECT_EQ(input->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(input->pos(), QPoint(128, 76));
    EXPECT_EQ(other->font().pointSize(), 9);
    EXPECT_EQ(other->font().family(), QStringLiteral("Arial Narrow"));
}
