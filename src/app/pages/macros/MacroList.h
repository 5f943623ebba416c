#pragma once
#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace orb
{

// Data roles of the macro list LB_macro: its items carry no text; the
// delegate draws the line's icon and what the line shows.
inline constexpr int MacroLineRole = Qt::UserRole;         // the script line
inline constexpr int MacroLineTextRole = Qt::UserRole + 1; // its display text
inline constexpr int MacroLineKindRole = Qt::UserRole + 2; // kind digit 0..8, -1 for none

// The nine line icons of the macro list (pause, press, release, X right,
// X left, Y down, Y up, loop start, loop end), 20 x 20, drawn in the
// skin's blue and white on a transparent ground. A null picture outside 0..8.
QPixmap MacroLineIcon(int kind);

// Rows of the macro page's lists at the layout's row height. With icons
// (LB_macro): the row filled, the line's icon scaled to a square of the row
// height at the left edge, the text 45 pixels to the right, at the top.
class MacroListDelegate final : public QStyledItemDelegate
{
  public:
    MacroListDelegate(bool icons, QObject* parent);

    void setRowHeight(int height) { rowHeight_ = height > 0 ? height : 20; }
    int rowHeight() const { return rowHeight_; }
    void setColours(const QColor& text, const QColor& back, const QColor& selection);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    bool icons_;
    int rowHeight_ = 20;
    QColor text_{255, 255, 255};
    QColor back_{31, 31, 31};
    QColor selection_{45, 114, 189};
};

} // namespace orb
