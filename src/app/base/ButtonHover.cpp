#include "app/base/ButtonHover.h"

#include "app/base/ClickLabel.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/session/DeviceSession.h"
#include "skin/ButtonVisuals.h"

namespace orb
{

namespace
{
constexpr int kLabelRunMs = 200;
} // namespace

ButtonHover::ButtonHover(QWidget* window, Skin& skin, PageStack& stack, DeviceSession& session)
    : QObject(window), window_(window), skin_(skin), stack_(stack), session_(session)
{
    LabelRun_ = session_.clock().createTimer(kLabelRunMs, [this] { LabelRunTimer(); });
    LabelRun_->setEnabled(false);
}

ButtonHover::~ButtonHover() = default;

void ButtonHover::wireButtonVisuals(ClickLabel* label)
{
    if (FamilyOfLabel(label->objectName()) == ButtonFamily::None)
        return;
    connect(label, &ClickLabel::entered, this, [this, label] { ButtonMouseEnter(label); });
    connect(label, &ClickLabel::left, this, [this, label] { ButtonMouseLeave(label); });
}

void ButtonHover::ButtonMouseEnter(ClickLabel* label)
{
    const ButtonFamily family = FamilyOfLabel(label->objectName());
    const FamilyLook look = LookOfFamily(family);
    if (family == ButtonFamily::None)
        return;
    if (family == ButtonFamily::TextOnly) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
        label->setPalette(pal);
        label->setAutoFillBackground(true);
        return;
    }
    if (look.needsMouse && !session_.link().hasDevice())
        return;
    const QString picture = PictureOfLabel(label->objectName());
    if (look.allCopies)
        for (const QString& copy : CopiesOfPicture(picture))
            skin_.SetPicture(copy, look.enter);
    else
        skin_.SetPicture(picture, look.enter);
    if (!look.scrolls)
        return;
    Scroll.enter(label->objectName(), label->text());
    if (label->isEnabled())
        LabelRun_->setEnabled(true);
}

void ButtonHover::ButtonMouseLeave(ClickLabel* label)
{
    const ButtonFamily family = FamilyOfLabel(label->objectName());
    const FamilyLook look = LookOfFamily(family);
    if (family == ButtonFamily::None)
        return;
    if (family == ButtonFamily::TextOnly) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText,
                     QColor(skin_.keep().macroTextColour.r, skin_.keep().macroTextColour.g,
                            skin_.keep().macroTextColour.b));
        pal.setColor(QPalette::Window,
                     QColor(skin_.keep().macroButtonBackColour.r, skin_.keep().macroButtonBackColour.g,
                            skin_.keep().macroButtonBackColour.b));
        label->setPalette(pal);
        return;
    }
    if (look.needsMouse && !session_.link().hasDevice())
        return;
    if (look.scrolls)
        LabelRun_->setEnabled(false);

    const QString picture = PictureOfLabel(label->objectName());
    if (look.allCopies)
        for (const QString& copy : CopiesOfPicture(picture))
            skin_.SetPicture(copy, look.leave);
    else
        skin_.SetPicture(picture, look.leave);
    if (family == ButtonFamily::Page && !stack_.noDeviceUI()) {
        if (const PageOption* o = FindPageOption(stack_.PageState()))
            skin_.SetGroupPicture(o->group, QStringLiteral("SetS_03"));
    } else if (family == ButtonFamily::Language) {
        if (const int n = stack_.selectedLanguage())
            skin_.SetGroupPicture(QStringLiteral("Lang%1").arg(n), QStringLiteral("SetS_03"));
    }

    if (look.scrolls)
        if (auto* remembered = qobject_cast<QLabel*>(skin_.control(Scroll.name)))
            remembered->setText(Scroll.saved);
}

void ButtonHover::LabelRunTimer()
{
    if (skin_.org().TR_Enable != 1)
        return; // the timer keeps running until the pointer leaves
    const QString& text = Scroll.step();
    if (auto* label = qobject_cast<QLabel*>(skin_.control(Scroll.name)))
        label->setText(text);
}

} // namespace orb
