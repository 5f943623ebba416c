#include "app/frame/PermissionHint.h"

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
    // In the upper right of the page, clear of the key captions and the
    // drawn mouse on the left and middle.
    const int width = qBound(200, window_->width() / 3, 380);
    label_->setFixedWidth(width);
    label_->adjustSize();
    label_->move(qMax(0, window_->width() - width - 40), window_->height() / 5);
}

} // namespace orb
