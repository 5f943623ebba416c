// orb5610ctl: the command-line companion of the window, for line stations
// and scripts. A plain QCoreApplication: no display is needed.
#include "app/base/AppInfo.h"
#include "ctl/Ctl.h"
#include "ctl/CtlClock.h"
#include "device/HidapiPlatform.h"
#include "device/MouseLock.h"

#include <QCoreApplication>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{
// Progress is drawn only where a person watches the error stream.
bool errorStreamIsTerminal()
{
#ifdef _WIN32
    return ::_isatty(::_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    orb::ctl::Environment env;
    env.makeHid = [] { return std::make_unique<orb::HidapiPlatform>(); };
    env.makeClock = [] { return std::make_unique<orb::ctl::CtlClock>(); };
    env.vendorId = orb::defaultVendorId();
    env.out = &out;
    env.err = &err;
    env.progress = errorStreamIsTerminal();
    // Empty for an installed tool: the library is then the user's, as the window's.
    env.programFolder = orb::ProgramFilesFolder();
    env.mouseLockFolder = orb::MouseLock::defaultFolder();
    return orb::ctl::RunCtl(app.arguments().mid(1), env);
}
