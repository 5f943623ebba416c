#include "app/PermissionHint.h"

#include "skin/PermissionHintText.h"

#include <QLabel>
#include <QWidget>

namespace orb
{

PermissionHint::PermissionHint(QWidget* window, std::function<int()> language)
    : window_(window), language_(std::move(language)), label_(new QLabel(window))
{
    label_->setObjectName(QStringLiteral("lbl_PermissionHint"));
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignCenter);
    label_->setStyleSheet(QStringLiteral("QLabel { color: white; background-color: rgba(20, 24, 28, 230);"
                                         " border: 1px solid rgb(0, 200, 230); border-radius: 6px;"
                                         " padding: 8px; }"));
    label_->hide();
}

void PermissionHint::setShown(bool shown)
{
    if (shown) {
        Retranslate();
        label_->raise();
    }
    label_->setVisible(shown);
}

bool PermissionHint::shown() const
{
    return !label_->isHidden();
}

void PermissionHint::Retranslate()
{
    label_->setText(PermissionHintText(language_ ? language_() : 3));
    place();
}

void PermissionHint::place()
{
    // Centred just under the page buttons, where the pages leave room.
    const int width = qMin(520, window_->width() - 40);
    label_->setFixedWidth(qMax(200, width));
    label_->adjustSize();
    label_->move((window_->width() - label_->width()) / 2, window_->height() / 6);
}

} // namespace orb
