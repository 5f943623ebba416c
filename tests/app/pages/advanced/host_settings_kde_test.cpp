// The host pointer settings on a KDE Plasma (Wayland) session: the real
// widgets over the KDE binding, KWin played by a stand-in on a private bus.
#ifndef _WIN32

#include "AppFixture.h"
#include "StandInKWin.h"

#include "app/frame/PageSelector.h"

#include "hostmouse/HostMouseTables.h"
#include "hostmouse/KdeHostMouse.h"

#include <QFile>
#include <QLabel>

namespace orb::test
{
namespace
{

struct HostSettingsKde : AppFixture {
    PrivateSessionBus bus;
    std::unique_ptr<StandInKWin> kwin;
    QDBusConnection program{QString()};
    QTemporaryDir config;
    std::unique_ptr<KdeHostMouseSystem> kde;

    void TearDown() override
    {
        window.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("page"));
    }
    // Plasma with a mouse at speed 0.4 (adaptive) and a flat one, a double-click
    // interval of 410 ms and 5 wheel lines; the window built over it.
    void startPlasma(bool mousePlugged)
    {
        ASSERT_TRUE(bus.ok()) << qPrintable(bus.why());
        kwin = std::make_unique<StandInKWin>(
            bus, std::vector<StandInKWin::Device>{
                     {"event4", "Logitech G Pro", 1133, 16495, true, false, 0.4, true},
                     {"event6", "ORB5610 Gaming Mouse", 0x1209, 0x08A0, true, false, 0.4, false}});
        ASSERT_TRUE(kwin->ok());
        QFile kdeglobals(config.filePath(QStringLiteral("kdeglobals")));
        ASSERT_TRUE(kdeglobals.open(QIODevice::WriteOnly));
        kdeglobals.write("[KDE]\nDoubleClickInterval=410\nWheelScrollLines=5\n");
        kdeglobals.close();
        program = bus.connect(QStringLiteral("page"));
        kde = std::make_unique<KdeHostMouseSystem>(KdeHostMouseSystem::Session::Wayland, program,
                                                   config.path());
        if (auto img = LoadDefaultImage(1))
            mouse.memory = *img;
        host.addStandardSet(&mouse, kVendor);
        host.plugMouse(&mouse, mousePlugged);
        window = std::make_unique<MainWindow>(
            MainWindowDeps{clock, services, host, kVendor, hostStore, *kde, macros, locale});
    }
    QString litSteps(const QString& bar) const
    {
        QStringList lit;
        for (int k = 1; k <= kHostSteps; ++k)
            if (widget(QStringLiteral("Img_%1%2").arg(bar).arg(k))->property("picture").toString() ==
                QLatin1String("Bar1_E"))
                lit << QString::number(k);
        return lit.join(QLatin1Char(' '));
    }
    QString hint() const { return find<QLabel>(QStringLiteral("lbl_HostHint"))->text(); }
    // For a look at the page: saved where ORB_TEST_SHOTS names a folder.
    void shot(const QString& name) const
    {
        const QString folder = qEnvironmentVariable("ORB_TEST_SHOTS");
        if (!folder.isEmpty())
            window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

TEST_F(HostSettingsKde, BarsShowPlasmasLiveValuesInEveryLanguage)
{
    startPlasma(true);
    untilOpened(); // the pages open with a mouse
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (int language : {1, 3}) {
        SCOPED_TRACE(language);
        if (language == 1)
            window->Btn_Lang1_0Click();
        else
            window->Btn_Lang3_0Click();
        window->selector().Btn_Adv_0Click(); // a language change shows the first page
        EXPECT_EQ(litSteps(QStringLiteral("Spd")), QStringLiteral("8"));   // 0.4
        EXPECT_EQ(litSteps(QStringLiteral("DbSpd")), QStringLiteral("8")); // 410 ms
        EXPECT_EQ(litSteps(QStringLiteral("ScrSpd")), QStringLiteral("5"));
        EXPECT_EQ(widget(QStringLiteral("Img_IsControl"))->property("picture").toString(),
                  QStringLiteral("CbS_E"));
        EXPECT_EQ(hint(), QString()); // Plasma takes all four
        shot(QStringLiteral("kde-host-settings-lang%1").arg(language));
    }
    EXPECT_TRUE(kwin->sets().isEmpty());
}

TEST_F(HostSettingsKde, ClicksReachKWinAndKdeApplications)
{
    startPlasma(false);
    click(QStringLiteral("Img_Spd10"));
    EXPECT_EQ(kwin->sets(),
              (QStringList{"event4 pointerAcceleration 0.8", "event6 pointerAcceleration 0.8"}));
    EXPECT_TRUE(kwin->notifications(program).isEmpty());
    click(QStringLiteral("Img_DbSpd6"));
    EXPECT_EQ(kwin->notifications(program), QStringList{"3 0"});
    // One screen at a time is not KDE's: the hint says the wheel lines were not taken.
    window->Btn_Lang3_0Click();
    click(QStringLiteral("lbl_IsScreen"));
    EXPECT_TRUE(hint().contains(QStringLiteral("wheel lines"))) << qPrintable(hint());
    EXPECT_FALSE(hint().contains(QStringLiteral("pointer speed"))) << qPrintable(hint());
}

TEST_F(HostSettingsKde, AnApplyWithNothingChangedSetsNothing)
{
    startPlasma(true);
    untilOpened();
    ASSERT_TRUE(window->session().link().hasDevice());
    const QByteArray before = [this] {
        QFile f(config.filePath(QStringLiteral("kdeglobals")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    window->actions().Btn_Apply_0Click();
    EXPECT_GT(mouse.requests().size(), 342u); // the mouse was written
    EXPECT_TRUE(kwin->sets().isEmpty()) << qPrintable(kwin->sets().join(", "));
    EXPECT_TRUE(kwin->notifications(program).isEmpty());
    EXPECT_FALSE(QFile::exists(config.filePath(QStringLiteral("kcminputrc"))));
    QFile after(config.filePath(QStringLiteral("kdeglobals")));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

} // namespace
} // namespace orb::test

#endif
