#include "app/pages/macros/ValueDialog.h"

#include "app/base/DigitsValidator.h"
#include "macros/MacroScript.h"

#include <QLineEdit>

namespace orb
{

TForm7::TForm7(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm)
    : FieldDialog(mainWindow, skin,
                  {QStringLiteral("TForm7"), QStringLiteral("lbl_EditTime"), QStringLiteral("Str523"),
                   QStringLiteral("Edt_EditTime")},
                  std::move(confirm))
{
    field()->setValidator(new DigitsValidator(DigitsValidator::Sign::MinusAllowed, field()));
    connect(field(), &QLineEdit::textEdited, this, [this, editKind](const QString& text) {
        const std::optional<int> v =
            editKind == LineKind::LoopStart ? ClampRepeatText(text) : ClampMoveText(text);
        if (!v)
            return; // a lone "-"
        const QString clamped = QString::number(*v);
        if (clamped != text)
            field()->setText(clamped);
    });
}

TForm7* TForm7::Open(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm)
{
    for (auto* old : mainWindow->findChildren<TForm7*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    auto* dialog = new TForm7(mainWindow, skin, editKind, std::move(confirm));
    dialog->showOver(mainWindow);
    return dialog;
}

} // namespace orb
