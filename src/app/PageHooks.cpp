// What the other pages show of the settings. The settings mapping and the
// profile actions call these; each is filled in with the page it serves.
#include "app/MainWindow.h"

namespace orb
{

void MainWindow::RefreshMacrosFromArea() {} // the macro slots of the image
void MainWindow::RefreshCpiLevelsView() {}  // level rows, bars, colours, current level
void MainWindow::RefreshLightTypeView() {}  // lighting-page items of the light type
void MainWindow::RefreshMcuModeView() {}    // lighting-page mode options
void MainWindow::RefreshFireFields() {}     // Edt_Repeat1, Edt_DelayTime1
void MainWindow::RefreshOptionPictures() {} // paired options and tick boxes
void MainWindow::RefreshLedPictures() {}    // LED mode pictures and bars
// Names of the seven base-macro slots.
QStringList MainWindow::BaseMacroNames() const
{
    return {};
}

// The macro editor's insert box is open (page selection keeps it on the macro page).
bool MainWindow::MacroInsertMode() const
{
    return false;
}

} // namespace orb
