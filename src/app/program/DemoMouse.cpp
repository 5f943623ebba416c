#include "app/program/DemoMouse.h"

#include "app/base/AppInfo.h"
#include "image/DefaultImages.h"

#include <QTimer>

namespace orb
{

std::unique_ptr<SimHost> MakeDemoHost(SimMouse& mouse)
{
    auto host = std::make_unique<SimHost>();
    if (const auto image = LoadDefaultImage(1))
        mouse.memory = *image;
    host->addStandardSet(&mouse, std::uint16_t(defaultVendorId()));
    host->plugMouse(&mouse, false);
    return host;
}

void PlugInDemoMouseSoon(SimHost& host, SimMouse& mouse)
{
    QTimer::singleShot(1000, [&host, &mouse] { host.plugMouse(&mouse, true); });
}

} // namespace orb
