// Profile files and the mapping between the setting controls and the
// section buffers of the configuration image.
#include "app/MainWindow.h"

namespace orb {

void MainWindow::UIToDataBuf() {}
void MainWindow::DataBufToUI() {}
void MainWindow::RefreshUI() {}
void MainWindow::Btn_Save_0Click() {}
void MainWindow::Btn_Load_0Click() {}
void MainWindow::MemoToDataBuf_OnClick() {}

} // namespace orb
