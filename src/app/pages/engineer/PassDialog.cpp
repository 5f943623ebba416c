#include "app/pages/engineer/PassDialog.h"

#include "skin/EngineerTexts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>

namespace orb
{

namespace
{

// The pass phrase shows as stars, whatever the style's own mask character.
class StarMaskStyle final : public QProxyStyle
{
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

PassDialog::PassDialog(QWidget* over) : QDialog(over)
{
    setObjectName(QStringLiteral("dlgPass"));
    setWindowTitle(PassDialogCaption);
    setModal(true);

    auto* prompt = new QLabel(PassDialogPrompt, this);
    input_ = new QLineEdit(this);
    input_->setEchoMode(QLineEdit::Password);
    auto* mask = new StarMaskStyle(QStyleFactory::create(QApplication::style()->name()));
    mask->setParent(input_);
    input_->setStyle(mask);
    prompt->setBuddy(input_);

    auto* ok = new QPushButton(PassDialogOk, this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(PassDialogCancel, this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(input_);
    layout->addLayout(buttons);
    setFixedWidth(260);
    adjustSize();
    if (over) {
        const QRect frame = over->window()->geometry();
        move(frame.center() - rect().center());
    }
}

std::optional<QString> PassDialog::ask(QWidget* over)
{
    PassDialog dialog(over);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.input()->text();
}

} // namespace orb
