// The read that precedes saving a profile.
#include "app/MainWindow.h"

namespace orb {

bool MainWindow::ReadImageForSave()
{
    ReadDevInfo();
    return LastReadComplete && link().hasDevice();
}

} // namespace orb
