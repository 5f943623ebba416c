// GNOME's pointer settings through GSettings' memory backend and the real
// GNOME schemas (gsettings-desktop-schemas).
// GIO comes first: its headers name a structure field "signals", which Qt
// defines as a keyword.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "hostmouse/FakeHostMouse.h"
#include "hostmouse/GnomeHostMouse.h"
#include "hostmouse/HostMouseSettings.h"
#include "hostmouse/KdeHostMouse.h"
#include "hostmouse/LinuxHostMouse.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace orb
{
namespace
{

struct Live {
    double speed;
    const char* profile;
    int doubleClick;
};

class GnomeHostMouse : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        // Before GIO's first look at it: nothing here may reach the user's own settings.
        qputenv("GSETTINGS_BACKEND", "memory");
    }
    void SetUp() override
    {
        GSettingsBackend* backend = g_settings_backend_get_default();
        const bool memory = g_strcmp0(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0;
        g_object_unref(backend);
        ASSERT_TRUE(memory) << "GSettings did not take the memory backend";
        if (!GnomeHostMouseSystem::schemaInstalled()) {
            if (needsSchema())
                GTEST_SKIP()
                    << "org.gnome.desktop.peripherals.mouse is not installed (gsettings-desktop-schemas)";
            return; // mouse_ stays empty
        }
        mouse_.reset(g_settings_new("org.gnome.desktop.peripherals.mouse"));
    }
    // The tests about a missing schema run without GNOME's too; where it is
    // installed they also check that its values were never touched.
    virtual bool needsSchema() const { return true; }

    void setLive(const Live& v)
    {
        g_settings_set_double(mouse_.get(), "speed", v.speed);
        g_settings_set_string(mouse_.get(), "accel-profile", v.profile);
        g_settings_set_int(mouse_.get(), "double-click", v.doubleClick);
    }
    double speed() const { return g_settings_get_double(mouse_.get(), "speed"); }
    std::string profile() const
    {
        gchar* s = g_settings_get_string(mouse_.get(), "accel-profile");
        std::string r(s);
        g_free(s);
        return r;
    }
    int doubleClick() const { return g_settings_get_int(mouse_.get(), "double-click"); }

    struct Unref {
        void operator()(GSettings* s) const { g_object_unref(s); }
    };
    std::unique_ptr<GSettings, Unref> mouse_;
    GnomeHostMouseSystem system;
    FakeHostMouseStore store;
};

TEST_F(GnomeHostMouse, LiveValuesFillTheBarsAndTheSwitch)
{
    struct Case {
        Live live;
        int speedStep;
        bool precision;
        int doubleClickStep;
    };
    const Case cases[] = {
        {{0.0, "default", 400}, 6, true, 9}, // GNOME's own defaults
        {{-1.0, "flat", 900}, 1, false, 1},    {{0.13, "adaptive", 250}, 7, true, 11},
        {{1.0, "flat", 1000}, 11, false, 1}, // a double-click time beyond the table
        {{-0.5, "adaptive", 480}, 4, true, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.live.speed);
        setLive(c.live);
        HostMouseSettings settings(store, system);
        settings.RefreshMouseSystemParameterA();
        settings.RefreshMouseSystemParameterB();
        settings.FillUnknownSteps();
        EXPECT_EQ(settings.state().SpeedStep, c.speedStep);
        EXPECT_EQ(settings.state().IsControl, c.precision);
        EXPECT_EQ(settings.state().DoubleClickStep, c.doubleClickStep);
        EXPECT_EQ(settings.state().DoubleClickTime, c.live.doubleClick);
    }
}

TEST_F(GnomeHostMouse, OnlyWhatChangedOnThePageIsWritten)
{
    // None of these is a step of its own: a write would round it.
    setLive({0.13, "default", 400});
    store.desktop = {{"WheelScrollLines", "5"}};
    HostMouseSettings settings(store, system);
    settings.RefreshMouseSystemParameterA();
    settings.RefreshMouseSystemParameterB();
    settings.FillUnknownSteps();
    EXPECT_EQ(settings.DesktopReach().notApplied, QStringList{"wheel lines"});

    HostApplyResult result = settings.ApplyHostMouseSettings();
    EXPECT_EQ(speed(), 0.13);
    EXPECT_EQ(profile(), "default");
    EXPECT_EQ(doubleClick(), 400);
    EXPECT_TRUE(store.writes.isEmpty()) << qPrintable(store.writes.join(' '));
    EXPECT_EQ(result.notApplied, QStringList{"wheel lines"});

    settings.MseSpd_OnClick(3);
    EXPECT_DOUBLE_EQ(speed(), -0.6);
    EXPECT_EQ(profile(), "default");
    EXPECT_EQ(doubleClick(), 400);

    settings.lbl_IsControlClick(); // on ('default') -> off
    EXPECT_EQ(profile(), "flat");
    settings.MseDbSpd_OnClick(7);
    EXPECT_EQ(doubleClick(), 480);

    // Wheel lines stay in the store and the bar; GNOME has no such setting.
    result = settings.MseScrSpd_OnClick(8);
    EXPECT_EQ(store.desktop["WheelScrollLines"], "8");
    EXPECT_EQ(result.notApplied, QStringList{"wheel lines"});
    EXPECT_TRUE(result.mouseKeyWritten && result.desktopKeyWritten);

    // Changed elsewhere meanwhile, read again: the next Apply leaves it alone.
    g_settings_set_double(mouse_.get(), "speed", 0.33);
    settings.RefreshMouseSystemParameterA();
    settings.ApplyHostMouseSettings();
    EXPECT_EQ(speed(), 0.33);
}

TEST_F(GnomeHostMouse, TheStepMappingBothWays)
{
    const double speeds[] = {-1.0, -0.8, -0.6, -0.4, -0.2, 0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
    for (int step = 1; step <= kHostSteps; ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(system.setMouseSpeed(*SensitivityForStep(step)));
        EXPECT_DOUBLE_EQ(speed(), speeds[step - 1]);
        EXPECT_EQ(system.currentValue("MouseSensitivity"), QString::number(*SensitivityForStep(step)));

        ASSERT_TRUE(system.setDoubleClickTime(*DoubleClickTimeForStep(step)));
        EXPECT_EQ(doubleClick(), 900 - 70 * (step - 1));
        EXPECT_EQ(DoubleClickStepForTime(system.currentValue("DoubleClickSpeed")->toInt()), step);
    }
    for (bool on : {true, false}) {
        const AccelTriple t = AccelForPrecision(on);
        ASSERT_TRUE(system.setMouseAcceleration(t.threshold1, t.threshold2, t.speed));
        EXPECT_EQ(profile(), on ? "adaptive" : "flat");
        EXPECT_EQ(system.currentValue("MouseSpeed"), QString::number(t.speed));
        EXPECT_EQ(system.currentValue("MouseThreshold1"), QString::number(t.threshold1));
        EXPECT_EQ(system.currentValue("MouseThreshold2"), QString::number(t.threshold2));
    }
    // Off the table: not a step, refused, nothing written.
    EXPECT_FALSE(system.setMouseSpeed(21));
    EXPECT_DOUBLE_EQ(speed(), 1.0);
    EXPECT_FALSE(system.setWheelScrollLines(3));
    EXPECT_FALSE(system.currentValue("WheelScrollLines"));
}

class GnomeHostMouseWithoutItsSchema : public GnomeHostMouse
{
  protected:
    bool needsSchema() const override { return false; }
};

TEST_F(GnomeHostMouseWithoutItsSchema, AMissingSchemaIsAFalseAnswerAndNoAbort)
{
    if (mouse_)
        setLive({0.4, "flat", 700});
    QTemporaryDir empty;
    // A compiled folder with schemas, but not GNOME's.
    QTemporaryDir other;
    QFile xml(other.filePath("org.example.other.gschema.xml"));
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write("<schemalist><schema id=\"org.example.other\" path=\"/org/example/other/\">"
              "<key name=\"speed\" type=\"d\"><default>0</default></key></schema></schemalist>");
    xml.close();
    const QString compiler = QStandardPaths::findExecutable("glib-compile-schemas");
    std::vector<QString> folders{empty.path(), empty.filePath("none")};
    if (!compiler.isEmpty() && QProcess::execute(compiler, {other.path()}) == 0 &&
        QFile::exists(other.filePath("gschemas.compiled")))
        folders.push_back(other.path());

    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        GnomeHostMouseSystem missing(folder);
        EXPECT_FALSE(GnomeHostMouseSystem::schemaInstalled(folder));
        EXPECT_FALSE(missing.setMouseSpeed(10));
        EXPECT_FALSE(missing.setMouseAcceleration(6, 10, 1));
        EXPECT_FALSE(missing.setDoubleClickTime(480));
        EXPECT_FALSE(missing.currentValue("MouseSensitivity"));
        EXPECT_FALSE(missing.currentValue("DoubleClickSpeed"));

        FakeHostMouseStore kept;
        kept.mouse = {{"MouseSensitivity", "4"}};
        HostMouseSettings settings(kept, missing);
        settings.RefreshMouseSystemParameterA();
        settings.FillUnknownSteps();
        EXPECT_EQ(settings.state().SpeedStep, 3); // the store's value
        EXPECT_EQ(settings.DesktopReach().notApplied.size(), 4);
        const HostApplyResult result = settings.MseSpd_OnClick(6);
        EXPECT_EQ(kept.mouse["MouseSensitivity"], "10");
        EXPECT_TRUE(result.notApplied.contains("pointer speed"));
    }
    // The installed schema's values were never touched.
    if (mouse_) {
        EXPECT_DOUBLE_EQ(speed(), 0.4);
        EXPECT_EQ(doubleClick(), 700);
    }
    EXPECT_EQ(folders.size(), compiler.isEmpty() ? 2u : 3u);
}

TEST(HostDesktopChoice, GnomeNeedsItsSchemaAndItsSession)
{
    struct Case {
        const char* platform;
        bool display;
        const char* desktop;
        bool schema;
        HostDesktop expected;
        bool schemaAsked; // asking loads GIO: only a GNOME session may
    };
    const Case cases[] = {
        {"wayland", false, "GNOME", true, HostDesktop::Gnome, true},
        {"xcb", true, "ubuntu:GNOME", true, HostDesktop::Gnome, true},
        {"xcb", true, "GNOME-Classic:GNOME", true, HostDesktop::Gnome, true},
        {"wayland", true, "GNOME", false, HostDesktop::Unreachable, true}, // GNOME without its schema
        {"xcb", true, "GNOME", false, HostDesktop::X11, true},
        {"xcb", true, "KDE", true, HostDesktop::KdeX11, false}, // the schema alone comes with GTK
        {"xcb", true, "", true, HostDesktop::X11, false},
        {"wayland", true, "sway", true, HostDesktop::Unreachable, false},
        {"offscreen", false, "", true, HostDesktop::Unreachable, false},
    };
    for (const Case& c : cases) {
        bool asked = false;
        const auto schema = [&] {
            asked = true;
            return c.schema;
        };
        EXPECT_EQ(ChooseHostDesktop(c.platform, c.display, c.desktop, schema), c.expected)
            << c.platform << " " << c.desktop << " " << c.schema;
        EXPECT_EQ(asked, c.schemaAsked) << c.platform << " " << c.desktop;
    }
}

// Hands out GIO's functions from another loader (none: GIO is not
// installed), all but one left out, and keeps the names it was asked for.
class RecordingGio final : public GioLoader
{
  public:
    explicit RecordingGio(GioLoader* from, QByteArray missing = {})
        : from_(from), missing_(std::move(missing))
    {
    }
    QFunctionPointer resolve(const char* name) override
    {
        asked.push_back(name);
        return from_ && missing_ != name ? from_->resolve(name) : nullptr;
    }
    QList<QByteArray> asked;

  private:
    GioLoader* from_;
    QByteArray missing_;
};

TEST_F(GnomeHostMouseWithoutItsSchema, WithoutGioOrOneOfItsFunctionsNothingIsReachedAndNothingEnds)
{
    if (mouse_)
        setLive({0.4, "flat", 700});
    // Every name the binding needs, from a run that has them all (all are
    // looked up at once, whether the schema is there or not).
    RecordingGio all(&SystemGioLoader());
    {
        GnomeHostMouseSystem complete({}, all);
        if (mouse_) {
            ASSERT_TRUE(complete.reaches(HostSetting::Speed));
        }
    }
    ASSERT_GE(all.asked.size(), 20);

    // A library that is not there, then each function missing in turn.
    std::vector<std::pair<QByteArray, std::unique_ptr<GioLoader>>> loaders;
    loaders.emplace_back("no library", std::make_unique<LibraryGioLoader>(QStringLiteral("orb-no-such-gio")));
    loaders.emplace_back("no functions", std::make_unique<RecordingGio>(nullptr));
    for (const QByteArray& name : all.asked)
        loaders.emplace_back("without " + name, std::make_unique<RecordingGio>(&SystemGioLoader(), name));

    for (const auto& [what, gio] : loaders) {
        SCOPED_TRACE(what.toStdString());
        EXPECT_FALSE(GnomeHostMouseSystem::schemaInstalled({}, *gio));
        GnomeHostMouseSystem without({}, *gio);
        EXPECT_FALSE(without.setMouseSpeed(10));
        EXPECT_FALSE(without.setMouseAcceleration(6, 10, 1));
        EXPECT_FALSE(without.setDoubleClickTime(480));
        EXPECT_FALSE(without.currentValue("MouseSensitivity"));
        EXPECT_FALSE(without.currentValue("MouseSpeed"));
        EXPECT_FALSE(without.currentValue("DoubleClickSpeed"));

        // The page keeps the store's value and names every setting in its hint.
        FakeHostMouseStore kept;
        kept.mouse = {{"MouseSensitivity", "4"}};
        HostMouseSettings settings(kept, without);
        settings.RefreshMouseSystemParameterA();
        settings.FillUnknownSteps();
        EXPECT_EQ(settings.state().SpeedStep, 3);
        EXPECT_EQ(settings.DesktopReach().notApplied.size(), 4);
        const HostApplyResult result = settings.MseSpd_OnClick(6);
        EXPECT_EQ(kept.mouse["MouseSensitivity"], "10");
        EXPECT_TRUE(result.notApplied.contains("pointer speed"));
    }
    if (mouse_) {
        EXPECT_DOUBLE_EQ(speed(), 0.4);
        EXPECT_EQ(profile(), "flat");
        EXPECT_EQ(doubleClick(), 700);
    }
}

TEST_F(GnomeHostMouse, GioIsLoadedOnlyInAGnomeSession)
{
    struct Case {
        const char* platform;
        bool display;
        const char* desktop;
        bool gioInstalled;
        const char* expected; // the system made, by its class
        bool gioAsked;
    };
    const Case cases[] = {
        {"xcb", true, "KDE", true, "Kde", false},
        {"wayland", true, "KDE", true, "Kde", false},
        {"xcb", true, "XFCE", true, "X11", false},
        {"wayland", true, "sway", true, "None", false},
        {"offscreen", false, "", true, "None", false},
        {"wayland", false, "GNOME", true, "Gnome", true},
        {"xcb", true, "ubuntu:GNOME", true, "Gnome", true},
        // GNOME without GIO is GNOME without its schema.
        {"wayland", false, "GNOME", false, "None", true},
        {"xcb", true, "ubuntu:GNOME", false, "X11", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + " " + c.desktop + (c.gioInstalled ? "" : " without GIO"));
        RecordingGio gio(c.gioInstalled ? &SystemGioLoader() : nullptr);
        const std::unique_ptr<HostMouseSystem> made =
            CreateHostMouseSystem(c.platform, c.display, c.desktop, gio);
        const char* kind = dynamic_cast<GnomeHostMouseSystem*>(made.get()) ? "Gnome"
                           : dynamic_cast<KdeHostMouseSystem*>(made.get()) ? "Kde"
                           : dynamic_cast<X11HostMouseSystem*>(made.get()) ? "X11"
                           : dynamic_cast<NoHostMouseSystem*>(made.get())  ? "None"
                                                                           : "?";
        EXPECT_STREQ(kind, c.expected);
        EXPECT_EQ(!gio.asked.isEmpty(), c.gioAsked) << gio.asked.join(' ').toStdString();
        if (c.gioInstalled && c.gioAsked) {
            EXPECT_TRUE(made->reaches(HostSetting::Speed));
        }
    }
}

} // namespace
} // namespace orb
