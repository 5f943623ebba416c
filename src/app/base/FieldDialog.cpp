#include "app/base/FieldDialog.h"

#include "app/base/ClickLabel.h"
#include "app/base/DialogLook.h"
#include "app/base/Skin.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace orb
{

FieldDialog::FieldDialog(QWidget* mainWindow, Skin& skin, const Names& names, Confirm confirm)
    : confirm_(std::move(confirm))
{
    setObjectName(names.dialog);
    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("Img_Msg"));
    DialogLook::Setup(this, mainWindow, skin, background);

    auto* title = new QLabel(skin.LookupText(names.titleKey), this);
    title->setObjectName(names.title);
    title->setProperty("layoutRole", QStringLiteral("title"));

    field_ = new QLineEdit(this);
    field_->setObjectName(names.field);
    field_->setProperty("layoutRole", QStringLiteral("input"));
    field_->setAlignment(Qt::AlignCenter);

    const QString normal = QStringLiteral("BtnS_01");
    auto* ok = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Confirm"),
                                         QStringLiteral("IB_Confirm"), normal);
    ok->setText(skin.LookupText(QStringLiteral("Str511")));
    connect(ok, &ClickLabel::clicked, this, &FieldDialog::IB_ConfirmClick);
    auto* clear = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Cancel"),
                                            QStringLiteral("IB_Cancel"), normal);
    clear->setText(skin.LookupText(QStringLiteral("Str512")));
    connect(clear, &ClickLabel::clicked, this, &FieldDialog::IB_CancelClick);
    auto* close = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Close"),
                                            QStringLiteral("IB_Close"), QStringLiteral("ExitS_01"));
    connect(close, &ClickLabel::clicked, this, &FieldDialog::IB_CloseClick);

    skin.ApplyDialogLayout(this, QStringLiteral("L"), DialogLook::FieldDialogRows(names.title, names.field));

    // As in any small dialog: Enter confirms, Escape closes without a result.
    connect(field_, &QLineEdit::returnPressed, this, &FieldDialog::IB_ConfirmClick);
}

void FieldDialog::showOver(QWidget* mainWindow)
{
    DialogLook::Centre(this, mainWindow, 0);
    show();
    activateWindow();
    field_->setFocus();
}

void FieldDialog::IB_ConfirmClick()
{
    const QString text = field_->text();
    close();
    if (confirm_)
        confirm_(text);
}

void FieldDialog::IB_CancelClick()
{
    field_->clear();
}

void FieldDialog::keyPressEvent(QKeyEvent* e)
{
    // The field passes Escape on to its window.
    if (e->key() == Qt::Key_Escape) {
        IB_CloseClick();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FieldDialog::IB_CloseClick()
{
    close();
}

} // namespace orb
