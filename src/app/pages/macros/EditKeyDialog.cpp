#include "app/pages/macros/EditKeyDialog.h"

#include "app/base/ClickLabel.h"
#include "app/base/DialogLook.h"
#include "app/base/Skin.h"
#include "capture/KeyEventVk.h"
#include "keys/KeyTable.h"
#include "macros/MacroScript.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace orb
{

TForm5::TForm5(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm)
    : editKind_(editKind), confirm_(std::move(confirm))
{
    setObjectName(QStringLiteral("TForm5"));
    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("Img_EditKey"));
    DialogLook::Setup(this, mainWindow, skin, background);

    auto* title = new QLabel(skin.LookupText(QStringLiteral("Str520")), this);
    title->setObjectName(QStringLiteral("lbl_EditKey"));
    title->setProperty("layoutRole", QStringLiteral("title"));

    Edt_EditKey = new QLineEdit(this);
    Edt_EditKey->setObjectName(QStringLiteral("Edt_EditKey"));
    Edt_EditKey->setProperty("layoutRole", QStringLiteral("input"));
    Edt_EditKey->setReadOnly(true);
    Edt_EditKey->setAlignment(Qt::AlignCenter);
    Edt_EditKey->installEventFilter(this);

    const QString normal = QStringLiteral("BtnS_01");
    auto* ok = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Confirm"),
                                         QStringLiteral("IB_Confirm"), normal);
    ok->setText(skin.LookupText(QStringLiteral("Str511")));
    connect(ok, &ClickLabel::clicked, this, &TForm5::IB_ConfirmClick);
    auto* clear = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Cancel"),
                                            QStringLiteral("IB_Cancel"), normal);
    clear->setText(skin.LookupText(QStringLiteral("Str512")));
    connect(clear, &ClickLabel::clicked, this, &TForm5::IB_CancelClick);
    auto* close = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Close"),
                                            QStringLiteral("IB_Close"), QStringLiteral("ExitS_01"));
    connect(close, &ClickLabel::clicked, this, &TForm5::IB_CloseClick);

    skin.ApplyDialogLayout(
        this, QStringLiteral("L"),
        DialogLook::FieldDialogRows(QStringLiteral("lbl_EditKey"), QStringLiteral("Edt_EditKey")));
}

TForm5* TForm5::Open(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm)
{
    for (auto* old : mainWindow->findChildren<TForm5*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    auto* dialog = new TForm5(mainWindow, skin, editKind, std::move(confirm));
    DialogLook::Centre(dialog, mainWindow, 0);
    dialog->show();
    dialog->activateWindow();
    dialog->Edt_EditKey->setFocus();
    return dialog;
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    // Every key is captured, Escape too (no shortcut takes it first); Tab
    // and Shift+Tab move on to the buttons.
    if (watched == Edt_EditKey && DialogLook::IsCapturedKey(event)) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        const int vk = VkFromKeyEvent(*e);
        Edt_EditKeyKeyDown(vk);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm5::Edt_EditKeyKeyDown(int vk)
{
    // A new press replaces the key captured before.
    if (CaptureCount == 1) {
        CapturedKeyName.clear();
        CapturedLine.clear();
        Edt_EditKey->clear();
        CaptureCount = 0;
        CapturedUsage = 0;
    }
    if (CaptureCount == 0) {
        CapturedKeyName = KeyName(vk);
        Edt_EditKey->setText(CapturedKeyName);
        CapturedUsage = KeyUsage(vk);
    }
    ++CaptureCount;
    CapturedLine = KeyEditLine(editKind_, vk).mid(2); // without the kind digit
}

void TForm5::IB_ConfirmClick()
{
    const QString text = Edt_EditKey->text();
    const QString line = CapturedLine;
    close();
    if (confirm_)
        confirm_(text, line);
}

void TForm5::IB_CancelClick()
{
    Edt_EditKey->clear(); // the captured line stays
}

void TForm5::IB_CloseClick()
{
    close();
}

} // namespace orb
