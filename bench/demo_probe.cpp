// The demo program (simulated mouse, plugged in a second after start) with
// start-up figures: the same runProgram as orb5610-demo, plus a probe on the
// main window. Usage: orb_demo_probe [--hold-ms N] [--census] (hold default
// 3000 ms, 0 quits at the first paint; --census lists widgets and pictures
// by page half a second after start).
#include "StartupProbe.h"
#include "app/AppInfo.h"
#include "app/AppMain.h"
#include "app/MainWindow.h"
#include "census.h"
#include "device/SimMouse.h"
#include "image/DefaultImages.h"

#include <memory>

int main(int argc, char** argv)
{
    const int holdMs = orbbench::holdMsArgument(argc, argv);
    auto host = std::make_unique<orb::SimHost>();
    static orb::SimMouse mouse;
    if (const auto image = orb::LoadDefaultImage(1))
        mouse.memory = *image;
    host->addStandardSet(&mouse, std::uint16_t(orb::defaultVendorId()));
    host->plugMouse(&mouse, false);
    orb::SimHost* hostPtr = host.get();
    std::unique_ptr<orbbench::Probe> probe;
    return orb::runProgram(argc, argv, std::move(host), [&](orb::MainWindow& window) {
        probe = std::make_unique<orbbench::Probe>(window, holdMs, "orb5610-demo");
        for (int i = 1; i < argc; ++i)
            if (QByteArray(argv[i]) == "--census")
                QTimer::singleShot(500, &window, [&window] { orbbench::printCensus(window); });
        QTimer::singleShot(1000, [hostPtr] { hostPtr->plugMouse(&mouse, true); });
    });
}
