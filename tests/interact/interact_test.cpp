// Random sequences of user actions against the real window, the invariants
// checked after each. The suite runs fixed seeds; scripts/interact.sh runs
// new ones for as long as asked (environment below), and replays one seed.
#include "Interaction.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace orb;
using namespace orb::interact;

namespace
{

// The suite's seeds and their length: about a minute under the sanitizers.
constexpr std::uint64_t kFirstSeed = 1;
constexpr int kSuiteSeeds = 8;
constexpr int kSuiteActions = 300;

std::optional<long long> env(const char* name)
{
    const QByteArray v = qgetenv(name);
    if (v.isEmpty())
        return std::nullopt;
    bool ok = false;
    const long long n = v.toLongLong(&ok);
    return ok ? std::optional<long long>(n) : std::nullopt;
}

// Runs one seed; on a violation, shrinks it and fails with the report.
// Invariants in `shrunkAlready` are reported without shrinking again (a
// long run meets the same fault many times).
bool RunAndReport(std::uint64_t seed, int actions, const Options& options, long long* actionsRun = nullptr,
                  QStringList* shrunkAlready = nullptr)
{
    const SeedResult r = RunSeed(seed, actions, options);
    if (actionsRun)
        *actionsRun += static_cast<long long>(r.actions.size());
    if (!r.violation)
        return true;
    if (shrunkAlready && shrunkAlready->contains(r.violation->invariant)) {
        ADD_FAILURE() << "seed " << seed << ": " << qPrintable(r.violation->invariant) << ": "
                      << qPrintable(r.violation->detail) << " (after " << r.actions.size() << " actions)";
        return false;
    }
    if (shrunkAlready)
        *shrunkAlready << r.violation->invariant;
    const Sequence shrunk = Shrink(r.actions, r.violation->invariant, options);
    ADD_FAILURE() << qPrintable(Report(seed, *r.violation, shrunk)) << "replay: scripts/interact.sh --seed "
                  << seed << " --actions " << r.actions.size();
    return false;
}

Sequence Parse(std::initializer_list<const char*> lines)
{
    Sequence out;
    for (const char* line : lines) {
        const auto act = Action::parse(QString::fromLatin1(line));
        EXPECT_TRUE(act) << line;
        if (act)
            out.push_back(*act);
    }
    return out;
}

TEST(Interact, ActionsPrintAndParseBack)
{
    const Sequence all = {
        {Kind::Click, QStringLiteral("Btn_Apply_4"), 0, 500, 499, 2, 0},
        {Kind::Drag, QStringLiteral("LB_PCMacroName"), 1, 10, 20, 900, 800},
        {Kind::Key, {}, 0, Qt::Key_Down, int(Qt::ShiftModifier), 0, 0},
        {Kind::UnplugAt, {}, 0, 7, 120, 0, 0},
        {Kind::StopRecord, {}, 0, 0, 0, 0, 0},
        {Kind::OtherWrites, {}, 0, 512, 119, 40, 1},
        {Kind::KeyTest, {}, 0, 0, 0, 0, 0},
        {Kind::LoseChunk, {}, 0, 129, 0, 0, 0},
    };
    for (const Action& a : all) {
        const auto back = Action::parse(a.describe());
        ASSERT_TRUE(back) << qPrintable(a.describe());
        EXPECT_EQ(back->describe(), a.describe());
    }
    EXPECT_FALSE(Action::parse(QStringLiteral("wave Btn_Apply_1#0 1 2 3 4")));
}

// The fixed seeds of the suite: every invariant holds for each.
TEST(Interact, FixedSeedsKeepEveryInvariant)
{
    for (int i = 0; i < kSuiteSeeds; ++i)
        if (!RunAndReport(kFirstSeed + std::uint64_t(i), kSuiteActions, {}))
            break;
}

// Sequences the random runs found, shrunk; each once broke an invariant.
TEST(Interact, FoundSequencesKeepEveryInvariant)
{
    const std::vector<std::pair<const char*, Sequence>> found = {
        // A transfer refused without a mouse left the user page in the
        // engineering page's size.
        {"refused read from the engineering page",
         Parse({"unplug 0 0 0 0", "click Btn_Engineer_2#0 297 343 0 0", "click Btn_Read_1#0 116 94 0 0"})},
        {"refused write from the engineering page",
         Parse({"unplug-at 7 2 0 0", "click Btn_Engineer_1#0 79 800 0 0", "click btn_Write#0 456 690 0 0"})},
        {"save from the engineering page without a mouse",
         Parse({"file 6 0 0 0", "unplug 0 0 0 0", "click Btn_Engineer_1#0 630 406 0 0",
                "click Btn_Save_6#0 314 300 0 0"})},
        // A drag across the library list selected a macro without opening
        // it; a recording then went into it.
        {"recording after a drag across the library",
         Parse({"click Btn_Macro_2#0 667 22 0 0", "drag LB_PCMacroName#0 437 916 790 9",
                "click Btn_Start#0 145 325 0 0"})},
        // A damaged single macro's file given to Import All put a record
        // that does not decode into the library and its file.
        {"damaged single macro through Import All",
         Parse({"file 5 0 0 0", "click Btn_Import#0 784 685 0 0"})},
        // An exchange cut by an unplug at its end command, then a new one.
        {"unplug at the end of an Apply", Parse({"unplug-at 2 1 0 0", "click Btn_Apply_1#0 305 147 2 0",
                                                 "plug 0 0 0 0", "advance 5911 0 0 0"})},
        // A base-macro import cut by an unplug after a verified write: the
        // write's result was taken for the import's block.
        {"base-macro import cut after a verified write",
         Parse({"click Img_DPI2_2#0 395 506 0 0", "click btn_Write#0 426 637 0 0", "unplug-at 7 197 0 0",
                "file 4 0 0 0", "click Btn_ImportBaseMacro#0 260 861 0 0"})},
        // Invariants that were too strict once the window closes and a new
        // one starts: another program's library change not yet taken in, a
        // Confirm before the advanced page ever read the desktop, a click the
        // run sends to a hidden edit of the new window.
        {"the library file changed by another program, then a close",
         Parse({"other-library 0 93 0 0", "click Btn_Exit_1#0 514 429 0 0"})},
        {"a Confirm before the pointer settings were read",
         Parse({"click Btn_Adv_1#0 347 799 0 0", "click Btn_Confirm_2#0 469 941 0 0"})},
        {"a click on a hidden edit of the window started after a close",
         Parse({"unplug-at 1 1 0 0", "click Btn_Exit_3#0 622 317 2 0", "click edt_FireTime#0 316 526 0 0"})},
        // A profile saved onto the macro library file replaced it; the
        // library's next save took that for another program's deletes.
        {"a profile saved over the library file",
         Parse({"file 8 0 0 0", "other-library 0 51 0 0", "click Btn_Save_6#0 37 731 0 0"})},
        // Export One onto the library file replaced it with one entry.
        {"one macro exported over the library file",
         Parse({"click Btn_Macro_1#0 500 500 0 0", "file 8 0 0 0", "click LB_PCMacroName#0 100 10 1 0",
                "click Btn_ExportOne#0 500 500 0 0"})},
    };
    for (const auto& [name, actions] : found) {
        const RunResult r = Replay(actions);
        EXPECT_FALSE(r.violation) << name << ": " << qPrintable(r.violation->invariant) << ": "
                                  << qPrintable(r.violation->detail);
    }
}

// The user sets the pointer speed here, another program changes it, then the
// user applies and sets another pointer setting: the desktop keeps the other
// program's speed.
TEST(Interact, APointerSettingChangedElsewhereOutlivesLaterApplies)
{
    const Sequence actions =
        Parse({"click Btn_Adv_1#0 500 500 0 0", "click Img_Spd10#0 500 500 0 0", "desktop-set 0 5 0 0",
               "click Btn_Apply_2#0 500 500 0 0", "click Img_DbSpd3#0 500 500 0 0"});
    const RunResult r = Replay(actions);
    EXPECT_EQ(r.actionsRun, int(actions.size()));
    EXPECT_FALSE(r.violation) << qPrintable(r.violation->invariant) << ": "
                              << qPrintable(r.violation->detail);
}

// Found by a long run (231 actions, kept as they ran since the crash left no
// time to shrink): the window closed while a popup was open, the popup handed
// the focus back to the LED count edit on its way out, and the edit's
// focus-out handler redrew a page whose widgets were half deleted.
TEST(Interact, AClosePassesNoFocusToAHandlerOfAHalfDeletedWindow)
{
    QFile in(QStringLiteral(QT_TESTCASE_SOURCEDIR "/found/exit-while-a-popup-closes.txt"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Text));
    Sequence actions;
    for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n')))
        if (const auto act = Action::parse(line))
            actions.push_back(*act);
    ASSERT_EQ(actions.size(), 231u);
    const RunResult r = Replay(actions);
    EXPECT_EQ(r.actionsRun, int(actions.size()));
    EXPECT_FALSE(r.violation) << qPrintable(r.violation->invariant) << ": "
                              << qPrintable(r.violation->detail);
}

// A close does not end a run: a new window starts on the same mouse, library
// and settings, what outlived the old one is checked, and the actions go on.
TEST(Interact, ClosingTheWindowStartsANewOne)
{
    const std::vector<std::pair<const char*, Sequence>> closes = {
        {"Confirm after a change",
         Parse({"click Img_DPI2_2#0 395 506 0 0", "click Btn_Confirm_1#0 500 500 0 0",
                "click Btn_Main_1#0 500 500 0 0"})},
        {"exit in the middle of an Apply",
         Parse({"click Img_DPI2_2#0 395 506 0 0", "pump-click Btn_Exit_1#0 500 500 40 0",
                "click Btn_Apply_1#0 500 500 0 0", "click Btn_Read_1#0 500 500 0 0"})},
        {"exit while recording",
         Parse({"click Btn_Macro_1#0 500 500 0 0", "drag LB_PCMacroName#0 884 776 693 245",
                "click Btn_Start#0 137 65 0 0", "click Btn_Exit_4#0 347 493 0 0",
                "click Btn_Macro_1#0 500 500 0 0"})},
    };
    for (const auto& [name, actions] : closes) {
        const RunResult r = Replay(actions);
        EXPECT_FALSE(r.violation) << name << ": " << qPrintable(r.violation->invariant) << ": "
                                  << qPrintable(r.violation->detail);
        EXPECT_EQ(r.actionsRun, int(actions.size())) << name;
    }
}

// The mouse is shared: another program writes it through its lock (the
// same one or one new to the mouse, between actions or inside a transfer),
// the key test takes the lock, a read loses a chunk. Whatever comes between,
// a verified write leaves the mouse with what the window holds.
TEST(Interact, SharedMouseSequencesKeepEveryInvariant)
{
    const std::vector<std::pair<const char*, Sequence>> sequences = {
        {"another program's write, then an Apply",
         Parse({"other-writes 512 119 0 0", "click Btn_Apply_1#0 305 147 0 0"})},
        {"a writer new to the mouse, then an Apply",
         Parse({"other-writes 512 119 0 1", "click Btn_Apply_1#0 305 147 0 0"})},
        {"another program's write, the key test, then an Apply",
         Parse({"other-writes 512 119 0 0", "key-test 0 0 0 0", "click Btn_Apply_1#0 305 147 0 0"})},
        {"another program's write tried inside an Apply, then an Apply",
         Parse({"other-writes 512 119 40 0", "click Btn_Apply_1#0 305 147 0 0",
                "click Btn_Apply_1#0 305 147 0 0"})},
        {"a read that loses a chunk, then an Apply",
         Parse({"lose-chunk 129 0 0 0", "click Btn_Read_1#0 116 94 0 0", "click Btn_Apply_1#0 305 147 0 0",
                "click Btn_Read_1#0 116 94 0 0", "click Btn_Apply_1#0 305 147 0 0"})},
    };
    for (const auto& [name, actions] : sequences) {
        const RunResult r = Replay(actions);
        EXPECT_FALSE(r.violation) << name << ": " << qPrintable(r.violation->invariant) << ": "
                                  << qPrintable(r.violation->detail);
        EXPECT_EQ(r.actionsRun, int(actions.size())) << name;
    }
}

// A handler that stores into the library list's current row instead of the
// open macro is found within the suite's seeds.
TEST(Interact, FindsAPlantedStoreIntoTheCurrentRow)
{
    Options planted;
    planted.plantStoreIntoCurrentRow = true;
    planted.only = QStringLiteral("LibraryChangesOnlyThroughAimedActions");
    QStringList seen;
    bool found = false;
    for (int i = 0; i < kSuiteSeeds && !found; ++i) {
        const auto v = RunSeed(kFirstSeed + std::uint64_t(i), kSuiteActions, planted).violation;
        if (v)
            seen << v->invariant + QStringLiteral(": ") + v->detail;
        found = v && v->invariant == QLatin1String("LibraryChangesOnlyThroughAimedActions");
    }
    EXPECT_TRUE(found) << qPrintable(seen.join(QLatin1Char('\n')));
}

// The long run, started by scripts/interact.sh and never by the test
// command: it is registered only when the script's environment asks for it,
// so a listed test is always one that runs.
// ORB_INTERACT_REPLAY replays the actions in a file; ORB_INTERACT_SEED
// replays one seed (printing its actions); ORB_INTERACT_MINUTES runs new
// seeds for that long: seeds ORB_INTERACT_FIRST_SEED + worker,
// + worker + workers, ... (ORB_INTERACT_WORKER of ORB_INTERACT_WORKERS, for
// one process per core), printing a running count. ORB_INTERACT_ACTIONS:
// actions per seed.
void Explore()
{
    const auto seed = env("ORB_INTERACT_SEED");
    // Minutes may have a fraction (a short measurement).
    const bool minutes = !qEnvironmentVariableIsEmpty("ORB_INTERACT_MINUTES");
    const double runMs = qEnvironmentVariable("ORB_INTERACT_MINUTES").toDouble() * 60'000;
    if (const QByteArray file = qgetenv("ORB_INTERACT_REPLAY"); !file.isEmpty()) {
        QFile in(QString::fromLocal8Bit(file));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly | QIODevice::Text)) << file.constData();
        Sequence actions;
        for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n')))
            if (const auto act = Action::parse(line))
                actions.push_back(*act);
        Options verbose;
        verbose.verbose = true;
        const RunResult r = Replay(actions, verbose);
        EXPECT_FALSE(r.violation) << qPrintable(r.violation->invariant) << ": "
                                  << qPrintable(r.violation->detail) << " at action " << r.actionsRun;
        return;
    }
    ASSERT_TRUE(seed || minutes) << "set ORB_INTERACT_SEED, ORB_INTERACT_MINUTES or ORB_INTERACT_REPLAY";
    const int actions = int(env("ORB_INTERACT_ACTIONS").value_or(kSuiteActions));
    Options options;
    options.plantStoreIntoCurrentRow = env("ORB_INTERACT_PLANT").value_or(0) != 0;
    options.only = QString::fromLocal8Bit(qgetenv("ORB_INTERACT_ONLY"));
    options.ignored =
        QString::fromLocal8Bit(qgetenv("ORB_INTERACT_IGNORE")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (seed) {
        options.verbose = true;
        RunAndReport(std::uint64_t(*seed), actions, options);
        return;
    }
    const auto workers = std::uint64_t(std::max<long long>(1, env("ORB_INTERACT_WORKERS").value_or(1)));
    const auto worker = std::uint64_t(std::max<long long>(0, env("ORB_INTERACT_WORKER").value_or(0)));
    QElapsedTimer wall;
    wall.start();
    const std::uint64_t first = std::uint64_t(env("ORB_INTERACT_FIRST_SEED").value_or(1000)) + worker;
    std::uint64_t next = first;
    long long seeds = 0, total = 0;
    int findings = 0;
    qint64 lastCount = 0;
    QStringList shrunk;
    while (double(wall.elapsed()) < runMs) {
        const std::uint64_t s = next;
        next += workers;
        std::fprintf(stderr, "seed %llu\n", static_cast<unsigned long long>(s));
        if (!RunAndReport(s, actions, options, &total, &shrunk))
            ++findings;
        ++seeds;
        // The running count, read by the script (about every ten seconds).
        if (wall.elapsed() - lastCount >= 10'000) {
            lastCount = wall.elapsed();
            std::printf("interact-count %lld %lld %d %.1f\n", seeds, total, findings,
                        double(wall.elapsed()) / 1000.0);
            std::fflush(stdout);
        }
    }
    const double secs = double(wall.elapsed()) / 1000.0;
    std::printf("interact-count %lld %lld %d %.1f\n", seeds, total, findings, secs);
    std::printf(
        "interact: %lld seeds, %lld actions, %.1f actions/s, %d findings, seeds %llu..%llu step %llu\n",
        seeds, total, double(total) / secs, findings, static_cast<unsigned long long>(first),
        static_cast<unsigned long long>(next - workers), static_cast<unsigned long long>(workers));
}

class ExploreTest : public ::testing::Test
{
  public:
    void TestBody() override { Explore(); }
};

[[maybe_unused]] const bool exploreRegistered = [] {
    if (qEnvironmentVariableIsEmpty("ORB_INTERACT_SEED") &&
        qEnvironmentVariableIsEmpty("ORB_INTERACT_MINUTES") &&
        qEnvironmentVariableIsEmpty("ORB_INTERACT_REPLAY"))
        return false;
    ::testing::RegisterTest("Interact", "Explore", nullptr, nullptr, __FILE__, __LINE__,
                            []() -> ::testing::Test* { return new ExploreTest; });
    return true;
}();

} // namespace
