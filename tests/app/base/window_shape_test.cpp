// The borderless windows show only their pictures: what they draw has no
// pixel of the colour key, and outside the picture they are see-through.
#include "AppFixture.h"
#include "XvfbServer.h"
#include "app/base/DialogLook.h"
#include "app/base/WindowShape.h"
#include "app/frame/LoadingWindow.h"
#include "app/pages/advanced/LedColourDialog.h"
#include "lighting/ColourDialog.h"
#include "rcdata.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProcess>

using namespace orb;
using namespace orb::test;

namespace
{

struct Drawn {
    int key = 0;   // opaque pixels of the colour key
    int clear = 0; // fully transparent pixels
};

Drawn drawn(QWidget* w)
{
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    Drawn d;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (p == WindowShape::kColourKey.rgb())
                ++d.key;
            if (qAlpha(p) == 0)
                ++d.clear;
        }
    return d;
}

struct WindowShapeUi : AppFixture {
};

} // namespace

TEST_F(WindowShapeUi, NoWindowDrawsTheColourKey)
{
    start(false);
    ColourDialogState colours;
    LedColourDialog colourDialog(window->skin(), colours, {});
    QWidget small(window.get());
    auto* background = new QLabel(&small);
    DialogLook::Setup(&small, window.get(), window->skin(), background);

    const struct {
        const char* name;
        QWidget* w;
        bool cut; // the shipped "Msg" fills its rectangle
    } cases[] = {
        {"main window", window.get(), true},
        {"small dialog", &small, false},
        {"colour dialog", &colourDialog, false},
        {"busy window", window->loadingWindow(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.w->testAttribute(Qt::WA_TranslucentBackground));
        const Drawn d = drawn(c.w);
        EXPECT_EQ(d.key, 0);
        EXPECT_EQ(d.clear > 0, c.cut);
        // Where nothing composites, the mask cuts the same pixels away.
        EXPECT_FALSE(c.w->mask().isEmpty());
        EXPECT_EQ(c.w->mask() != QRegion(c.w->rect()), c.cut);
    }
}

TEST(WindowShape, KeyedPictureKeepsItsOtherPixels)
{
    QImage img(4, 1, QImage::Format_RGB888);
    img.setPixelColor(0, 0, WindowShape::kColourKey);
    img.setPixelColor(1, 0, QColor(128, 0, 1));
    img.setPixelColor(2, 0, Qt::black);
    img.setPixelColor(3, 0, Qt::white);
    const QImage keyed =
        WindowShape::Keyed(QPixmap::fromImage(img)).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(128, 0, 1));
    EXPECT_EQ(keyed.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(keyed.pixel(3, 0), qRgb(255, 255, 255));
    const QBitmap mask = WindowShape::Mask(QPixmap::fromImage(img));
    EXPECT_EQ(QRegion(mask), QRegion(1, 0, 3, 1));
}

TEST_F(WindowShapeUi, AScaledScreenLoadsTheTwiceSizedPictures)
{
    start(false);
    Skin& skin = window->skin();
    EXPECT_EQ(skin.picture(QStringLiteral("Msg")).devicePixelRatio(), 1);

    skin.setPictureRatio(2);
    for (const char* name : {"L1_BackGround", "Msg", "BtnS_01", "Bar1_E", "ExitS_02"}) {
        SCOPED_TRACE(name);
        const QPixmap& pm = skin.picture(QString::fromLatin1(name));
        QPixmap plain;
        plain.loadFromData(*rcData(QString::fromLatin1(name)), "PNG");
        EXPECT_EQ(pm.devicePixelRatio(), 2);
        EXPECT_EQ(pm.size(), plain.size() * 2);
        EXPECT_EQ(pm.deviceIndependentSize().toSize(), plain.size());
    }
    // Layout and shape keep their points.
    skin.LoadBaseImage();
    skin.FitWindowToSkin();
    EXPECT_EQ(skin.skinSize(), QSize(1030, 662));
    EXPECT_EQ(window->size(), QSize(1030, 662));
    EXPECT_EQ(window->mask().boundingRect(), QRect(0, 0, 1030, 662));
    const QRegion mask = window->mask();
    skin.setPictureRatio(1);
    skin.LoadBaseImage();
    skin.FitWindowToSkin();
    EXPECT_EQ(window->mask(), mask);
}

// Where nothing composites the windows are opaque over black: the same
// pixels such a display shows of the see-through window, every one opaque.
TEST_F(WindowShapeUi, WithoutCompositingTheWindowShowsWhatTheSeeThroughOneShowed)
{
    start(false);
    ColourDialogState colours;
    LedColourDialog colourDialog(window->skin(), colours, {});
    const struct {
        const char* name;
        QWidget* w;
    } cases[] = {{"main window", window.get()},
                 {"colour dialog", &colourDialog},
                 {"busy window", window->loadingWindow()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage seeThrough = c.w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        WindowShape::MakeTranslucent(c.w, false);
        EXPECT_FALSE(c.w->testAttribute(Qt::WA_TranslucentBackground));
        const QImage opaque = c.w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(opaque.size(), seeThrough.size());
        int differing = 0, notOpaque = 0;
        for (int y = 0; y < opaque.height(); ++y)
            for (int x = 0; x < opaque.width(); ++x) {
                const QRgb o = opaque.pixel(x, y);
                const QRgb s = seeThrough.pixel(x, y); // premultiplied: blended over black
                notOpaque += qAlpha(o) != 255;
                differing += std::abs(qRed(o) - qRed(s)) > 1 || std::abs(qGreen(o) - qGreen(s)) > 1 ||
                             std::abs(qBlue(o) - qBlue(s)) > 1;
            }
        EXPECT_EQ(notOpaque, 0);
        EXPECT_EQ(differing, 0);
        WindowShape::MakeTranslucent(c.w, true);
        EXPECT_TRUE(c.w->testAttribute(Qt::WA_TranslucentBackground));
    }
}

TEST(WindowShape, OnlyAnX11DisplayMayNotComposite)
{
    // The tests' display is not X11: it takes the see-through windows.
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    EXPECT_TRUE(WindowShape::DisplayComposites());

    // An X server of our own, where no compositing manager runs unless the
    // probe claims its selection. The answer is asked once per process: one
    // probe per case.
    XvfbServer server;
    if (!server.ok())
        GTEST_SKIP() << server.why().toStdString();
    const struct {
        const char* name;
        QStringList args;
        const char* said;
    } cases[] = {
        {"nothing composites", {}, "xcb no-compositing opaque"},
        {"a compositing manager runs", {QStringLiteral("claim")}, "xcb composites see-through"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(server.display()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(ORB_SHAPE_PROBE), c.args);
        ASSERT_TRUE(probe.waitForFinished(30000));
        EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QLatin1String(c.said));
    }
}
