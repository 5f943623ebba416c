#include "app/pages/keys/CombinationDialog.h"

#include "app/base/ClickLabel.h"
#include "app/base/DialogLook.h"
#include "app/base/Skin.h"
#include "capture/KeyEventVk.h"
#include "keys/KeyTable.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace orb
{

namespace
{

LayoutRow at(const QString& prefix, const QString& control, const QString& companion = {})
{
    return DialogLook::At(QStringLiteral("K"), prefix, control, companion);
}

const QList<LayoutRow>& combinationRows()
{
    static const QList<LayoutRow> rows = [] {
        QList<LayoutRow> r{
            at(QStringLiteral("AKT_"), QStringLiteral("lbl_Assembly")),
            at(QStringLiteral("AKC_"), QStringLiteral("Edt_Assembly")),
            at(QStringLiteral("MK_C_"), QStringLiteral("CB_Ctrl")),
            at(QStringLiteral("MK_S_"), QStringLiteral("CB_Shift")),
            at(QStringLiteral("MK_A_"), QStringLiteral("CB_Alt")),
            at(QStringLiteral("MK_W_"), QStringLiteral("CB_Win")),
            at(QStringLiteral("AK_Cfm_"), QStringLiteral("Img_Confirm"), QStringLiteral("IB_Confirm")),
            at(QStringLiteral("AK_Clear_"), QStringLiteral("Img_Cancel"), QStringLiteral("IB_Cancel")),
            at(QStringLiteral("AK_Close_"), QStringLiteral("Img_Close"), QStringLiteral("IB_Close"))};
        LayoutRow width;
        width.group = QStringLiteral("K");
        width.keyPrefix = QStringLiteral("AKC_W");
        width.kind = RowKind::Width;
        width.control = QStringLiteral("Edt_Assembly");
        r.append(width);
        return r;
    }();
    return rows;
}

QString hex2(int v)
{
    return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TForm2::TForm2(QWidget* mainWindow, Skin& skin, Handlers handlers)
    : skin_(skin), handlers_(std::move(handlers))
{
    setObjectName(QStringLiteral("TForm2"));
    Img_Assembly = new QLabel(this);
    Img_Assembly->setObjectName(QStringLiteral("Img_Assembly"));
    DialogLook::Setup(this, mainWindow, skin, Img_Assembly);

    lbl_Assembly = new QLabel(this);
    lbl_Assembly->setObjectName(QStringLiteral("lbl_Assembly"));
    lbl_Assembly->setProperty("layoutRole", QStringLiteral("title"));
    lbl_Assembly->setText(skin.LookupText(QStringLiteral("Str500")));

    Edt_Assembly = new QLineEdit(this);
    Edt_Assembly->setObjectName(QStringLiteral("Edt_Assembly"));
    Edt_Assembly->setProperty("layoutRole", QStringLiteral("input"));
    Edt_Assembly->setReadOnly(true);
    Edt_Assembly->setAlignment(Qt::AlignCenter);
    Edt_Assembly->installEventFilter(this);

    const auto tick = [this](const char* name, const QString& word) {
        auto* box = new QCheckBox(word, this);
        box->setObjectName(QLatin1String(name));
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::clicked, this, [this, box, word] { TickClicked(box, word); });
        return box;
    };
    CB_Ctrl = tick("CB_Ctrl", QStringLiteral("Ctrl"));
    CB_Shift = tick("CB_Shift", QStringLiteral("Shift"));
    CB_Alt = tick("CB_Alt", QStringLiteral("Alt"));
    CB_Win = tick("CB_Win", QStringLiteral("Win"));

    const QString normal = QStringLiteral("BtnS_01");
    auto* confirm = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Confirm"),
                                              QStringLiteral("IB_Confirm"), normal);
    confirm->setText(skin.LookupText(QStringLiteral("Str501")));
    connect(confirm, &ClickLabel::clicked, this, &TForm2::IB_ConfirmClick);
    auto* clear = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Cancel"),
                                            QStringLiteral("IB_Cancel"), normal);
    clear->setText(skin.LookupText(QStringLiteral("Str502")));
    connect(clear, &ClickLabel::clicked, this, &TForm2::IB_CancelClick);
    auto* close = DialogLook::PictureButton(this, skin, QStringLiteral("Img_Close"),
                                            QStringLiteral("IB_Close"), QStringLiteral("ExitS_01"));
    connect(close, &ClickLabel::clicked, this, &TForm2::IB_CloseClick);

    FormCreate();
}

TForm2* TForm2::Open(QWidget* mainWindow, Skin& skin, Handlers handlers)
{
    for (auto* old : mainWindow->findChildren<TForm2*>(QString(), Qt::FindDirectChildrenOnly))
        delete old; // created anew: the old one's state goes with it
    auto* dialog = new TForm2(mainWindow, skin, std::move(handlers));
    DialogLook::Centre(dialog, mainWindow, 40);
    dialog->show();
    dialog->activateWindow();
    dialog->Edt_Assembly->setFocus();
    return dialog;
}

void TForm2::FormCreate()
{
    CapturedKeyName.clear();
    CapturedUsage = 0;
    ModifierText.clear();
    CaptureCount = 0;
    Edt_Assembly->clear();
    skin_.ApplyDialogLayout(this, QStringLiteral("K"), combinationRows());
    // The tick boxes keep the group's size but take the title's colour.
    const QColor colour = lbl_Assembly->palette().color(QPalette::WindowText);
    for (QCheckBox* box : {CB_Ctrl, CB_Shift, CB_Alt, CB_Win}) {
        QPalette pal = box->palette();
        pal.setColor(QPalette::WindowText, colour);
        pal.setColor(QPalette::ButtonText, colour);
        box->setPalette(pal);
    }
    Edt_Assembly->setFocus();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // Every key is captured, Escape too (no shortcut takes it first); Tab
    // and Shift+Tab move on to the buttons.
    if (watched == Edt_Assembly && DialogLook::IsCapturedKey(event)) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        const int vk = VkFromKeyEvent(*e);
        const bool held = (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
        Edt_AssemblyKeyDown(vk, held);
        return true; // the edit shows only what the capture puts there
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::RebuildModifierText()
{
    QStringList words;
    for (QCheckBox* box : {CB_Ctrl, CB_Shift, CB_Alt, CB_Win})
        if (box->isChecked())
            words.append(box->text());
    ModifierText = words.join(QLatin1Char('+'));
}

void TForm2::Edt_AssemblyKeyDown(int vk, bool modifierHeld)
{
    if (CaptureCount == 1) {
        CapturedKeyName.clear();
        RebuildModifierText();
        Edt_Assembly->setText(ModifierText);
        CaptureCount = 0;
        CapturedUsage = 0;
    }
    // The modifiers come from the tick boxes only: a held modifier or a
    // modifier key itself is refused, and so are the Windows keys.
    if (vk == 91 || vk == 92 || vk == 16 || vk == 17 || vk == 18 || modifierHeld)
        return;
    if (CaptureCount == 0) {
        CapturedKeyName = KeyName(vk);
        const QString shown = Edt_Assembly->text();
        Edt_Assembly->setText(shown.isEmpty() ? CapturedKeyName : shown + QLatin1Char('+') + CapturedKeyName);
        CapturedUsage = KeyUsage(vk);
    }
    ++CaptureCount;
}

void TForm2::TickClicked(QCheckBox* box, const QString& word)
{
    RebuildModifierText();
    if (box->isChecked()) {
        Edt_Assembly->setText(CapturedKeyName.isEmpty() ? ModifierText
                              : ModifierText.isEmpty()  ? CapturedKeyName
                                                        : ModifierText + QLatin1Char('+') + CapturedKeyName);
    } else if (!Edt_Assembly->text().isEmpty()) {
        QString text = Edt_Assembly->text();
        if (text.startsWith(word)) {
            if (text == word)
                text.clear();
            else if (const int at = text.indexOf(word + QLatin1Char('+')); at >= 0)
                text.remove(at, word.size() + 1);
        } else if (const int at = text.indexOf(QLatin1Char('+') + word); at >= 0) {
            text.remove(at, word.size() + 1);
        }
        Edt_Assembly->setText(text);
    }
    Edt_Assembly->setFocus(); // CBSetFocus
}

QString TForm2::combinationText() const
{
    return Edt_Assembly->text();
}

QString TForm2::combinationCode() const
{
    int bits = 0;
    if (CB_Ctrl->isChecked())
        bits |= 1;
    if (CB_Shift->isChecked())
        bits |= 2;
    if (CB_Alt->isChecked())
        bits |= 4;
    if (CB_Win->isChecked())
        bits |= 8;
    return QStringLiteral("02") + hex2(bits) + hex2(CapturedUsage);
}

void TForm2::IB_ConfirmClick()
{
    const QString text = combinationText();
    const QString code = combinationCode();
    close();
    if (handlers_.confirm)
        handlers_.confirm(text, code);
}

void TForm2::IB_CancelClick()
{
    Edt_Assembly->clear();
    CaptureCount = 0;
    CapturedKeyName.clear();
    CapturedUsage = 0;
    ModifierText.clear();
    for (QCheckBox* box : {CB_Ctrl, CB_Shift, CB_Alt, CB_Win})
        box->setChecked(false);
    if (handlers_.clear)
        handlers_.clear();
    Edt_Assembly->setFocus();
}

void TForm2::IB_CloseClick()
{
    close();
}

} // namespace orb
