#include "app/pages/advanced/FireKeyFields.h"

#include "app/pages/advanced/FieldCaptions.h"

#include "lighting/FireKey.h"
#include "skin/LayoutText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace orb
{

namespace
{
// The page picture names neither the panel nor its fields.
using Side = FieldCaptions::Side;
const FieldCaptions::Caption kFireCaptions[] = {
    {"lbl_TitleFireKey", "Edt_Repeat1", Side::Above, 200, 1, {"火力键", "火力鍵", "Fire Key"}, {-134, -11}},
    {"lbl_FireCount", "Edt_Repeat1", Side::Left, 120, 0, {"连发次数", "連發次數", "Fire Count"}},
    {"lbl_FireTime", "Edt_DelayTime1", Side::Left, 120, 0, {"连发间隔", "連發間隔", "Fire Interval"}},
};
} // namespace

namespace
{

constexpr QSize kEditSize(40, 20);

QLineEdit* fireEdit(QWidget* page, const QString& name, QObject* filter)
{
    auto* e = new QLineEdit(page);
    e->setObjectName(name);
    e->resize(kEditSize);
    e->setMaxLength(3);
    e->setAlignment(Qt::AlignRight);
    e->installEventFilter(filter);
    return e;
}

QString rgbText(const Rgb& c)
{
    return QColor(c.r, c.g, c.b).name();
}

} // namespace

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Only typed characters are filtered: Tab, Enter, Escape and the
        // shortcuts must reach the window, or focus could never leave.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool typed = !text.isEmpty() && text.front().isPrint() &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typed && !FireEditAccepts(text.front()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

FireKeyFields::FireKeyFields(QWidget* advancedPage) : QObject(advancedPage)
{
    auto* digits = new DigitKeyFilter(this);
    repeat_ = fireEdit(advancedPage, QStringLiteral("Edt_Repeat1"), digits);
    delay_ = fireEdit(advancedPage, QStringLiteral("Edt_DelayTime1"), digits);
    repeat_->move(264, 170);
    delay_->move(264, 202);
    captions_ = new FieldCaptions(advancedPage, {std::begin(kFireCaptions), std::end(kFireCaptions)});
    connect(repeat_, &QLineEdit::textChanged, this, [this] { Edt_Repeat1Change(); });
    connect(repeat_, &QLineEdit::editingFinished, this, [this] { RepeatValue_OnClick(); });
    connect(delay_, &QLineEdit::textChanged, this, [this] { Edt_DelayTime1Change(); });
}

void FireKeyFields::ConnectEngineerControls(QWidget* engineerPage)
{
    count_ = engineerPage->findChild<QComboBox*>(QStringLiteral("cb_FireCount"));
    time_ = engineerPage->findChild<QLineEdit*>(QStringLiteral("edt_FireTime"));
    if (count_)
        connect(count_, &QComboBox::currentIndexChanged, this, [this] { cb_FireCountChange(); });
    if (time_)
        connect(time_, &QLineEdit::textChanged, this, [this] { edt_FireTimeChange(); });
}

void FireKeyFields::ApplyLayout(const LayoutText& section)
{
    const LayoutPoint count = section.point(QStringLiteral("FKCnt_"));
    const LayoutPoint delay = section.point(QStringLiteral("FKDelay_"));
    repeat_->move(count.x, count.y);
    delay_->move(delay.x, delay.y);
    const QString style = QStringLiteral("QLineEdit { color: %1; background: %2; border: 1px solid %3; }")
                              .arg(rgbText(section.colour(QStringLiteral("Color_D_notSelected_"))),
                                   rgbText(section.colour(QStringLiteral("Color_D_Back_"))),
                                   rgbText(section.colour(QStringLiteral("Color_D_Border_"))));
    for (QLineEdit* e : {repeat_, delay_}) {
        QFont f = e->font();
        f.setPointSize(section.intValue(QStringLiteral("Size_D")));
        e->setFont(f);
        e->setStyleSheet(style);
    }
    const Rgb text = section.colour(QStringLiteral("Color_D_notSelected_"));
    captions_->place(section.intValue(QStringLiteral("Size_D")) + 1, QColor(text.r, text.g, text.b));
}

void FireKeyFields::Retranslate(int language)
{
    captions_->retranslate(language);
}

void FireKeyFields::put(QLineEdit* edit, const QString& text)
{
    if (!edit || edit->text() == text)
        return;
    const bool was = updating_;
    updating_ = true;
    edit->setText(text);
    updating_ = was;
}

void FireKeyFields::follow(int item)
{
    if (!count_ || item < 0 || item >= count_->count() || count_->currentIndex() == item)
        return;
    const bool was = updating_;
    updating_ = true;
    count_->setCurrentIndex(item);
    updating_ = was;
}

void FireKeyFields::Edt_Repeat1Change()
{
    if (updating_)
        return;
    // A count below 2 stays while typing (on the way to 10..19); leaving
    // the field corrects it.
    const FireCountEdit e = EditFireCount(repeat_->text());
    put(repeat_, e.text);
    follow(e.item);
}

void FireKeyFields::RepeatValue_OnClick()
{
    const FireCountEdit e = LeaveFireCount(repeat_->text());
    put(repeat_, e.text);
    follow(e.item);
}

void FireKeyFields::cb_FireCountChange()
{
    if (updating_)
        return;
    const QString text = FireCountTextForItem(count_->currentIndex());
    if (!text.isEmpty())
        put(repeat_, text);
}

void FireKeyFields::Edt_DelayTime1Change()
{
    if (updating_)
        return;
    const QString text = EditDelayTime(delay_->text());
    put(delay_, text);
    put(time_, text);
}

void FireKeyFields::edt_FireTimeChange()
{
    if (updating_)
        return;
    const QString text = EditFireTime(time_->text());
    put(time_, text);
    put(delay_, text);
}

void FireKeyFields::Refresh(const FireKeyBytes& fire)
{
    // The count as the list shows it (loop byte + 1), not the raw loop byte;
    // a byte outside the list's counts shows as the nearest one in both
    // copies, which is what the next Apply stores.
    put(repeat_, QString::number(FireCountFromByte(fire[2])));
    follow(FireCountItemFromByte(fire[2]));
    put(delay_, QString::number(fire[8]));
    put(time_, QString::number(fire[8]));
}

void FireKeyFields::Store(FireKeyBytes& fire)
{
    RepeatValue_OnClick();
    const FireCountEdit count = LeaveFireCount(repeat_->text());
    if (count.item >= 0)
        fire[2] = FireCountByte(count.item + FireCountMin);
    bool ok = false;
    const int interval = EditDelayTime(delay_->text()).toInt(&ok);
    if (ok)
        fire[8] = std::uint8_t(interval);
}

} // namespace orb
