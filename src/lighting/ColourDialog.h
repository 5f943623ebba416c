#pragma once
// The LED colour dialog's state and cell layout: which CPI level it colours,
// which of the seven named colours is chosen, and where its cells and marks
// stand. The main window keeps the state; the dialog shows it.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace orb
{

inline constexpr int NoColourChoice = 255;
inline constexpr int ColourCellGap = 20; // between a cell's right edge and the next cell
inline constexpr int ColourMarkGap = 8;  // between a cell's frame and its mark

class ColourDialogState
{
  public:
    // A colour cell of level 1..7 opens (or retargets) the dialog; the choice is cleared.
    void Open(int level);
    // Cell k (1..7) clicked: ColourChoice := k - 1.
    void ClickCell(int cell);
    // IB_Cancel: no choice; the dialog stays open.
    void Cancel() { choice_ = NoColourChoice; }
    // IB_Confirm: the level and the chosen colour index to apply
    // (CpiLevels::ApplyNamedChoice); nothing without a choice.
    std::optional<std::pair<int, int>> Confirm() const;

    int ColourTarget() const { return target_; }
    int ColourChoice() const { return choice_; }
    // Img_DPI1ColSel..Img_DPI7ColSel: "CbS_E" on the chosen cell's mark.
    QString MarkPicture(int cell) const;

  private:
    int target_ = 0;
    int choice_ = NoColourChoice;
};

// Frame of cell k (1..7): cell 1 at `first` (NorLED_Col_X, NorLED_Col_Y), each
// following one 20 pixels right of the previous one's right edge.
QRect ColourCellRect(int cell, const QPoint& first, const QSize& frame);
// Mark of a cell: centred under it, its top 8 pixels below the frame.
QPoint ColourMarkPos(const QRect& cell, const QSize& mark);

} // namespace orb
