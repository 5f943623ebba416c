#pragma once
#include "macros/MacroLibrary.h"

#include <QString>

#include <functional>
#include <memory>

namespace orb
{

class InputCapture;
using InputCaptureFactory = std::function<std::unique_ptr<InputCapture>()>;

// What the macro page is built on beside the window: where recording takes
// its input from and where the macro library file may live. The program
// passes the real capture; tests pass a fake one and temporary folders.
struct MacroPageDeps {
    InputCaptureFactory inputCapture; // empty: the best capture of the session
    QString programFolder;            // empty: the running program's, unless installed
    QString dataFolder;               // empty: the user's data folder
    LibraryFileReader readFile = {};  // the library file at start-up; empty: from the disk
};

} // namespace orb
