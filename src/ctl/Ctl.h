#pragma once
#include "core/Clock.h"
#include "device/HidPlatform.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

namespace orb::ctl
{

// What the tool runs on: the host's HID interfaces, a clock for each mouse
// (each transfer runs on its own thread), the streams, and where the
// program lives (the macro library's default folder).
struct Environment {
    std::function<std::unique_ptr<HidPlatform>()> makeHid;
    std::function<std::unique_ptr<Clock>()> makeClock;
    int vendorId = 0;
    QTextStream* out = nullptr;
    QTextStream* err = nullptr;
    bool progress = false; // progress lines on err (a terminal)
    QString programFolder; // with trailing separator
    // Standard input of `set --from -`; the process's own when none.
    QIODevice* in = nullptr;
    // Where the mice's locks live (MouseLock), shared with the window; empty:
    // no lock. Never used for --demo mice.
    QString mouseLockFolder;
};

// The usage text of --help.
QString UsageText();

// Runs one command line (without the program name); returns the exit code.
int RunCtl(const QStringList& args, const Environment& env);

} // namespace orb::ctl
