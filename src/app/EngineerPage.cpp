// The engineering page: every setting of the image as a plain control.
#include "app/ClickLabel.h"
#include "app/MainWindow.h"

namespace orb {

void MainWindow::buildEngineerPage()
{
    auto* close = new ClickLabel(page(6));
    close->setObjectName(QStringLiteral("Btn_Close"));
    close->setGeometry(1027, 8, 15, 15);
    close->setText(QStringLiteral("×"));
    close->setAlignment(Qt::AlignCenter);
    connect(close, &ClickLabel::clicked, this, &QWidget::close); // Btn_CloseClick
}

} // namespace orb
