#include "app/pages/macros/DelayDialog.h"

#include "app/base/DigitsValidator.h"
#include "macros/MacroScript.h"

#include <QLineEdit>

namespace orb
{

TForm6::TForm6(QWidget* mainWindow, Skin& skin, Confirm confirm)
    : FieldDialog(mainWindow, skin,
                  {QStringLiteral("TForm6"), QStringLiteral("lbl_EditTime"), QStringLiteral("Str521"),
                   QStringLiteral("Edt_EditTime")},
                  std::move(confirm))
{
    field()->setValidator(new DigitsValidator(DigitsValidator::Sign::None, field()));
    connect(field(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString clamped = QString::number(ClampDelayText(text));
        if (clamped != text)
            field()->setText(clamped);
    });
}

TForm6* TForm6::Open(QWidget* mainWindow, Skin& skin, Confirm confirm)
{
    for (auto* old : mainWindow->findChildren<TForm6*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    auto* dialog = new TForm6(mainWindow, skin, std::move(confirm));
    dialog->showOver(mainWindow);
    return dialog;
}

} // namespace orb
