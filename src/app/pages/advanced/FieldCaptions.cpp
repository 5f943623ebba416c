#include "app/pages/advanced/FieldCaptions.h"

#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace orb
{

namespace
{
constexpr int kGap = 8;
constexpr int kHeight = 18;
} // namespace

FieldCaptions::FieldCaptions(QWidget* page, QList<Caption> captions,
                             std::function<void(const QString&)> click)
    : QObject(page), page_(page), captions_(std::move(captions))
{
    for (const Caption& s : captions_) {
        const QString name = QLatin1String(s.name);
        auto* label = new ClickLabel(page_);
        label->setObjectName(name);
        label->resize(s.width, kHeight);
        label->setAlignment((s.side == Side::Left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (click)
            connect(label, &ClickLabel::clicked, this, [click, name] { click(name); });
    }
}

void FieldCaptions::place(int pointSize, const QColor& colour)
{
    for (const Caption& s : captions_) {
        auto* label = page_->findChild<QLabel*>(QLatin1String(s.name));
        const QWidget* anchor = page_->findChild<QWidget*>(QLatin1String(s.anchor));
        if (!label || !anchor)
            continue;
        QFont f = label->font();
        f.setPointSize(std::max(1, pointSize + s.sizeStep));
        label->setFont(f);
        setTextColour(label, colour);
        const QRect a = anchor->geometry();
        const int h = std::max(kHeight, label->fontMetrics().height() + 2);
        switch (s.side) {
        case Side::Above:
            label->setGeometry(a.left(), a.top() - h - 2, s.width, h);
            break;
        case Side::Left:
            label->setGeometry(a.left() - kGap - s.width, a.center().y() - h / 2, s.width, h);
            break;
        case Side::Right:
            label->setGeometry(a.right() + 1 + kGap / 2, a.center().y() - h / 2, s.width, h);
            break;
        }
        label->move(label->pos() + s.shift);
    }
}

void FieldCaptions::retranslate(int language)
{
    const auto l = static_cast<std::size_t>(std::clamp(language, 1, 3) - 1);
    for (const Caption& s : captions_)
        if (auto* label = page_->findChild<QLabel*>(QLatin1String(s.name))) {
            label->setText(QString::fromUtf8(s.text[l]));
            // An edit beside its caption is named by it.
            if (s.side != Side::Above)
                if (auto* edit = page_->findChild<QLineEdit*>(QLatin1String(s.anchor)))
                    edit->setAccessibleName(label->text());
        }
}

} // namespace orb
