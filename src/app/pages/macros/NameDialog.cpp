#include "app/pages/macros/NameDialog.h"

#include <QLineEdit>

namespace orb
{

TForm3::TForm3(QWidget* mainWindow, Skin& skin, Confirm confirm)
    : FieldDialog(mainWindow, skin,
                  {QStringLiteral("TForm3"), QStringLiteral("lbl_MacroName"), QStringLiteral("Str510"),
                   QStringLiteral("Edt_MacroName")},
                  std::move(confirm))
{
    field()->setMaxLength(16);
}

TForm3* TForm3::Open(QWidget* mainWindow, Skin& skin, Confirm confirm)
{
    for (auto* old : mainWindow->findChildren<TForm3*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    auto* dialog = new TForm3(mainWindow, skin, std::move(confirm));
    dialog->showOver(mainWindow);
    return dialog;
}

} // namespace orb
