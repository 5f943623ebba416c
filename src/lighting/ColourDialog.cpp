#include "lighting/ColourDialog.h"

#include "lighting/CpiLevels.h"
#include "lighting/ValueBar.h"

namespace orb
{

void ColourDialogState::Open(int level)
{
    target_ = level;
    choice_ = NoColourChoice;
}

void ColourDialogState::ClickCell(int cell)
{
    if (cell >= 1 && cell <= NamedColourCount)
        choice_ = cell - 1;
}

std::optional<std::pair<int, int>> ColourDialogState::Confirm() const
{
    if (choice_ < 0 || choice_ >= NamedColourCount || target_ < 1 || target_ > CpiLevelMax)
        return std::nullopt;
    return std::pair{target_, choice_};
}

QString ColourDialogState::MarkPicture(int cell) const
{
    return TickPicture(cell - 1 == choice_);
}

QRect ColourCellRect(int cell, const QPoint& first, const QSize& frame)
{
    const int left = first.x() + (cell - 1) * (frame.width() + ColourCellGap);
    return QRect(QPoint(left, first.y()), frame);
}

QPoint ColourMarkPos(const QRect& cell, const QSize& mark)
{
    return QPoint(cell.left() + (cell.width() - mark.width()) / 2,
                  cell.top() + cell.height() + ColourMarkGap);
}

} // namespace orb
