// The program on a simulated host: a keyboard is there from the start and
// the simulated mouse is plugged in a second later, so the window finds,
// opens and reads it as it would the real one. With --refuse-open its
// interface refuses opening.
#include "app/AppInfo.h"
#include "app/AppMain.h"
#include "app/MainWindow.h"
#include "device/SimMouse.h"
#include "image/DefaultImages.h"

#include <QTimer>
#include <cstring>

int main(int argc, char** argv)
{
    auto host = std::make_unique<orb::SimHost>();
    static orb::SimMouse mouse;
    // The built-in default image carries the identity the program accepts.
    if (const auto image = orb::LoadDefaultImage(1))
        mouse.memory = *image;
    host->addStandardSet(&mouse, std::uint16_t(orb::defaultVendorId()));
    host->plugMouse(&mouse, false);
    // --refuse-open: the mouse's interface refuses opening, as a hidraw node
    // does for a user without the udev rule.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--refuse-open") == 0)
            host->refuseOpening(&mouse, true);
    orb::SimHost* hostPtr = host.get();
    return orb::runProgram(argc, argv, std::move(host), [hostPtr](orb::MainWindow&) {
        QTimer::singleShot(1000, [hostPtr] { hostPtr->plugMouse(&mouse, true); });
    });
}
