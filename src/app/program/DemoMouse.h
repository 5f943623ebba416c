#pragma once
#include "device/SimMouse.h"

#include <memory>

namespace orb
{

// The demo's simulated mouse on a host with the standard set of interfaces:
// the mouse holds the built-in default image (it carries the identity the
// program accepts) and is not plugged in yet.
std::unique_ptr<SimHost> MakeDemoHost(SimMouse& mouse);
// Plugs the mouse in a second from now, as a user would after the window
// opened. Both must outlive the event loop.
void PlugInDemoMouseSoon(SimHost& host, SimMouse& mouse);

} // namespace orb
