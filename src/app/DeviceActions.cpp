// Memory transfers with the mouse and the user actions that run them.
#include "app/MainWindow.h"

namespace orb {

void MainWindow::ReadDevInfo() {}
void MainWindow::Btn_Read() {}
bool MainWindow::QueryStatus() { return false; }
void MainWindow::WriteImage() {}
void MainWindow::DownloadParameter() {}
void MainWindow::RepeatedWriteEEPROM() {}
void MainWindow::Btn_Confirm_0Click() {}
void MainWindow::Btn_Apply_0Click() {}
void MainWindow::Btn_Read_0Click() {}
void MainWindow::Btn_Confirm1_1Click() {}
void MainWindow::Btn_Confirm2_1Click() {}
void MainWindow::Btn_Confirm3_1Click() {}
void MainWindow::Btn_DefaultClick() {}

} // namespace orb
