#include "app/KeyModeMemory.h"

#include "app/ClickLabel.h"
#include "app/Skin.h"
#include "lighting/KeyModeOptions.h"
#include "skin/LayoutText.h"

#include <QComboBox>
#include <QRadioButton>

namespace orb
{

KeyModeMemory::KeyModeMemory(QWidget* lightingPage, Skin& skin, std::function<void()> hideAllMenu)
    : QObject(lightingPage), skin_(skin), hideAllMenu_(std::move(hideAllMenu))
{
    for (const bool save : {true, false}) {
        const QString stem = save ? QStringLiteral("SaveKeyMode") : QStringLiteral("NoSaveKeyMode");
        auto* picture = new QLabel(lightingPage);
        picture->setObjectName(QStringLiteral("Img_") + stem);
        picture->setGeometry(-100, -100, 16, 16); // placed by the layout
        auto* label = new ClickLabel(lightingPage);
        label->setObjectName(QStringLiteral("lbl_") + stem);
        label->setGeometry(-100, -100, 100, 18);
        connect(label, &ClickLabel::clicked, this,
                [this, save] { save ? lbl_SaveKeyModeClick() : lbl_NoSaveKeyModeClick(); });
    }
}

void KeyModeMemory::ConnectEngineerControls(QWidget* engineerPage)
{
    save_ = engineerPage->findChild<QRadioButton*>(QStringLiteral("rb_Save"));
    noSave_ = engineerPage->findChild<QRadioButton*>(QStringLiteral("rb_NoSave"));
    keyMode_ = engineerPage->findChild<QComboBox*>(QStringLiteral("cb_KeyMode"));
    if (!save_ || !noSave_ || !keyMode_)
        return;
    connect(save_, &QRadioButton::clicked, this, [this] { rb_SaveClick(); });
    connect(noSave_, &QRadioButton::clicked, this, [this] { rb_NoSaveClick(); });
    connect(noSave_, &QRadioButton::toggled, this, [this] { showChoice(); });
    for (const char* name : {"rb_FireFnOn", "rb_FireFnOff"})
        if (auto* fire = engineerPage->findChild<QRadioButton*>(QLatin1String(name)))
            connect(fire, &QRadioButton::clicked, this, [this] {
                if (hideAllMenu_)
                    hideAllMenu_();
            });
    showChoice();
}

void KeyModeMemory::ApplyLayout(const LayoutText& section)
{
    for (const QString& stem : {QStringLiteral("SaveKeyMode"), QStringLiteral("NoSaveKeyMode")}) {
        const LayoutPoint at = section.point(stem + QLatin1Char('_'));
        for (const QString& name : {QStringLiteral("Img_") + stem, QStringLiteral("lbl_") + stem})
            if (QWidget* w = skin_.control(name))
                w->move(at.x, at.y);
    }
}

void KeyModeMemory::showChoice()
{
    if (!noSave_)
        return;
    SettingsControls shown;
    shown.noSave = noSave_->isChecked() ? PairChoice::First
                   : save_->isChecked() ? PairChoice::Second
                                        : PairChoice::Neither;
    KeyModeOptions o;
    o.Show(shown);
    keyMode_->setEnabled(o.KeyModeEnabled());
    skin_.SetPicture(QStringLiteral("Img_SaveKeyMode"), o.SaveKeyModePicture());
    skin_.SetPicture(QStringLiteral("Img_NoSaveKeyMode"), o.NoSaveKeyModePicture());
}

void KeyModeMemory::rb_SaveClick()
{
    if (hideAllMenu_)
        hideAllMenu_();
    if (!save_)
        return;
    KeyModeOptions o;
    o.ChooseSave();
    keyMode_->setEnabled(o.KeyModeEnabled());
    showChoice();
}

void KeyModeMemory::rb_NoSaveClick()
{
    if (hideAllMenu_)
        hideAllMenu_();
    if (!noSave_)
        return;
    KeyModeOptions o;
    o.ChooseNoSave();
    keyMode_->setCurrentIndex(o.KeyMode());
    keyMode_->setEnabled(o.KeyModeEnabled());
    showChoice();
}

void KeyModeMemory::lbl_SaveKeyModeClick()
{
    if (!save_)
        return;
    save_->setChecked(true);
    rb_SaveClick();
}

void KeyModeMemory::lbl_NoSaveKeyModeClick()
{
    if (!noSave_)
        return;
    noSave_->setChecked(true);
    rb_NoSaveClick();
}

} // namespace orb
