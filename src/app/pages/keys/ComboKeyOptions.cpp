#include "app/pages/keys/ComboKeyOptions.h"
#include "app/base/Colours.h"

#include "app/base/ClickLabel.h"
#include "app/base/Skin.h"
#include "lighting/KeyModeOptions.h"
#include "lighting/ValueBar.h"
#include "skin/LayoutText.h"

#include <QCheckBox>

namespace orb
{

namespace
{
const char* const kBoxes[] = {"cb_MidPress", "cb_CPIPress"};
const char* const kTexts[] = {"Str700", "Str701"};
} // namespace

ComboKeyOptions::ComboKeyOptions(QWidget* keyPage, Skin& skin) : QObject(keyPage), skin_(skin)
{
    for (int i = 0; i < 2; ++i) {
        auto* picture = new QLabel(keyPage);
        picture->setObjectName(QStringLiteral("Img_ComboKey%1").arg(i + 1));
        picture->setGeometry(700, 470 + 30 * i, 16, 16);
        auto* label = new ClickLabel(keyPage);
        label->setObjectName(QStringLiteral("IB_ComboKey%1").arg(i + 1));
        label->setGeometry(700, 468 + 30 * i, 330, 20);
        pictures_[std::size_t(i)] = picture;
        labels_[std::size_t(i)] = label;
        connect(label, &ClickLabel::clicked, this, [this, i] { toggle(i + 1); });
        DescribeControl(label, {ControlRole::CheckBox, {}, PictureShows(picture, {TickOn}), {}});
    }
}

void ComboKeyOptions::ConnectEngineerControls(QWidget* engineerPage)
{
    for (int i = 0; i < 2; ++i) {
        QCheckBox* box = engineerPage->findChild<QCheckBox*>(QLatin1String(kBoxes[i]));
        boxes_[std::size_t(i)] = box;
        if (box)
            connect(box, &QCheckBox::toggled, this, [this, i] { showPicture(i + 1); });
        showPicture(i + 1);
    }
}

void ComboKeyOptions::ApplyLayout(const LayoutText& section)
{
    const Rgb c = section.colour(QStringLiteral("Color_C_"));
    const int size = section.intValue(QStringLiteral("Size_C")) - 1;
    for (int i = 0; i < 2; ++i) {
        const ButtonPlacement at = section.button(QStringLiteral("ComboKey%1_").arg(i + 1));
        QLabel* picture = pictures_[std::size_t(i)];
        ClickLabel* label = labels_[std::size_t(i)];
        picture->setVisible(at.shown);
        label->setVisible(at.shown);
        if (!at.shown)
            continue;
        picture->move(at.pos.x, at.pos.y);
        label->move(at.pos.x, at.pos.y - 2);
        QFont f = label->font();
        f.setPointSize(std::max(1, size));
        label->setFont(f);
        setTextColour(label, toColour(c));
        label->raise(); // the caption over its picture takes the click
    }
}

void ComboKeyOptions::Retranslate()
{
    for (int i = 0; i < 2; ++i)
        labels_[std::size_t(i)]->setText(ComboKeyCaption(skin_.LookupText(QLatin1String(kTexts[i]))));
}

void ComboKeyOptions::toggle(int option)
{
    QCheckBox* box = boxes_[std::size_t(option - 1)];
    if (!box)
        return;
    KeyModeOptions o;
    if (option == 1) {
        o.SetMidPress(box->isChecked());
        box->setChecked(o.ToggleMidPress());
    } else {
        o.SetCpiPress(box->isChecked());
        box->setChecked(o.ToggleCpiPress());
    }
    showPicture(option);
}

void ComboKeyOptions::showPicture(int option)
{
    QCheckBox* box = boxes_[std::size_t(option - 1)];
    KeyModeOptions o;
    o.SetMidPress(option == 1 && box && box->isChecked());
    o.SetCpiPress(option == 2 && box && box->isChecked());
    const QString name = QStringLiteral("Img_ComboKey%1").arg(option);
    skin_.SetPicture(name, o.ComboKeyPicture(option));
}

} // namespace orb
