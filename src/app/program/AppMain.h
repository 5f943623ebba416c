#pragma once
#include "device/HidPlatform.h"

#include <functional>
#include <memory>

namespace orb
{

class MainWindow;

// Runs the program on the given HID platform: single-instance test, the
// main window, the message loop. `started` runs once the window exists (the
// demo uses it to plug its simulated mouse in).
int runProgram(int argc, char** argv, std::unique_ptr<HidPlatform> hid,
               const std::function<void(MainWindow&)>& started = {});

} // namespace orb
