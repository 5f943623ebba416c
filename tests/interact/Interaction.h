#pragma once
// Random user-action sequences against the real window (offscreen, virtual
// clock, simulated mouse), with the invariants checked after every action.
// An action is a plain value (what was done, to which control by name), so
// a sequence can be printed, shrunk and replayed in a fresh window.
#include "AppFixture.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace orb::interact
{

enum class Kind {
    Click,      // target#index at (a, b) per mille of its size; c: 0 left, 1 right, 2 double
    Drag,       // a press on target#index at (a, b) dragged to (c, d), per mille
    Key,        // key a with modifiers b to the focused widget (or the open popup)
    Advance,    // a ms pass with an idle event loop
    Unplug,     // the mouse pulled out
    Plug,       // the mouse plugged in
    UnplugAt,   // the mouse pulled out as the b-th request with command a is sent
    PumpClick,  // a left click on target#index at (a, b), done at the c-th event-queue pump from now
    Feed,       // the recording input: key or button (d: 0 key, 1 button) a, down b, c ms later
    QueueFile,  // the next file dialog answers with file kind a (see FileKind)
    PassAnswer, // the pass-phrase dialog, when it opens, gets answer a (0 cancel, 1 wrong, 2 right)
    StopRecord, // the running recording's own button clicked
    // Another program changes the library file under its lock: change a
    // (see OtherChange) on entry b.
    OtherLibrary,
    DesktopSet, // another program sets a pointer setting of the desktop: a which, b value (see World)
    // Another program takes the mouse's lock and, when it gets it, sets the
    // byte 0x100 + a to b: c 0 now, else at the c-th event-queue pump from
    // now; d 0 the same program each time, 1 a program new to the mouse
    // (another user's, or one with another runtime folder).
    OtherWrites,
    KeyTest,   // the engineering page's key test started and ended
    LoseChunk, // the a-th chunk read from now gets no answer (all its attempts)
    KeyWalk,   // keyboard only: a Tabs (Shift+Tab when negative), then walk key b (kWalkKeys)
};

// What the other program does to the library file.
enum OtherChange {
    // A new macro, under a name a user may type too when b is odd.
    OtherImport,
    OtherRename, // entry b renamed
    OtherDelete, // entry b deleted
    OtherRecord, // entry b given other lines
    OtherChangeCount
};
inline constexpr Kind kLastKind = Kind::KeyWalk;

enum FileKind {
    ProfileGood,
    ProfileDamaged,
    LibraryGood,
    LibraryDamaged,
    OneMacroGood,
    OneMacroDamaged,
    SaveTarget, // a save dialog answered with a new path
    Cancelled,  // the dialog cancelled
    // A save dialog answered with the library file's own path.
    LibraryItself,
    FileKindCount
};

struct Action {
    Kind kind = Kind::Advance;
    QString target;
    int index = 0;
    int a = 0, b = 0, c = 0, d = 0;

    QString describe() const;
    // Parses what describe() printed; nothing for a line it does not know.
    static std::optional<Action> parse(const QString& line);
};

using Sequence = std::vector<Action>;

// What an invariant found: its name and what it saw.
struct Violation {
    QString invariant;
    QString detail;
};

// How a run reports.
struct Options {
    // A planted fault, to show the run finds it: a handler added beside the
    // page's own stores the open script into the library list's current row
    // at every change of the lines, instead of into the open macro.
    bool plantStoreIntoCurrentRow = false;
    // Invariants not checked (a known fault being mended elsewhere, for
    // long runs that look for others).
    QStringList ignored;
    // When set, only this invariant is checked.
    QString only;
    // Print every action as it runs.
    bool verbose = false;
};

class World;

// Runs `actions` in a fresh window; the first violation, if any, with the
// number of actions run before it (the failing one included).
struct RunResult {
    std::optional<Violation> violation;
    int actionsRun = 0;
};
RunResult Replay(const Sequence& actions, const Options& options = {});

// Generates and runs `count` actions from `seed` in a fresh window; on a
// violation the sequence so far is returned for shrinking.
struct SeedResult {
    std::optional<Violation> violation;
    Sequence actions; // what ran, up to and including the failing action
};
SeedResult RunSeed(std::uint64_t seed, int count, const Options& options = {});

// Drops actions while the same invariant still fails; at most `maxRuns` replays.
Sequence Shrink(const Sequence& failing, const QString& invariant, const Options& options = {},
                int maxRuns = 80);

// The report of a failing seed: seed, invariant, the shrunk sequence.
QString Report(std::uint64_t seed, const Violation& v, const Sequence& shrunk);

} // namespace orb::interact
