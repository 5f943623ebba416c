// The program on the host's real HID interfaces.
#include "app/program/AppMain.h"
#include "device/HidapiPlatform.h"

int main(int argc, char** argv)
{
    return orb::runProgram(argc, argv, std::make_unique<orb::HidapiPlatform>());
}
