// What page selection asks of the key page and the macro editor. Their
// owners fill these in.
#include "app/MainWindow.h"

namespace orb
{

void MainWindow::RefreshProfile1Keys()
{
    ShowKeyCaptions(KeyMode::A);
}
void MainWindow::RefreshProfile2Keys()
{
    ShowKeyCaptions(KeyMode::B);
}
bool MainWindow::MacroInsertMode() const
{
    return false;
}

} // namespace orb
