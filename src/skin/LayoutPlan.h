#pragma once
#include "skin/LayoutText.h"

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace orb
{

// The layout step as data: each row names the keys it reads and the controls
// they place. PlanLayout turns rows and a layout section into placements by
// control name; the window applies them to the controls it has, so a group
// whose controls do not exist yet costs nothing.

// How a companion control takes its size.
enum class SizeFrom {
    Own,               // keeps its own size
    Picture,           // the size of the row's picture
    PictureLessInsets, // the picture's height, its width less Btn_Space_F and Btn_Space_B
};

// A control placed relative to the row's control: at its point plus offset.
// A companion with PictureLessInsets also moves right by Btn_Space_F.
struct Companion {
    QString name;
    QPoint offset;
    SizeFrom size = SizeFrom::Own;
};

enum class RowKind {
    At,       // prefix + X, Y: the control at the point (+ Enable when `enable`, + H when `height`)
    Fixed,    // no keys: always shown at `fixedPos`
    Segments, // prefix + X, Y, D: control + k (k = 1..count) at X + (k - 1)(D + segment width), Y
    Column,   // prefix + X, Y, H: items[i] at X, Y + i * H, itemLabels[i] at that point + labelOffset
    Width,    // key `keyPrefix` itself: width of the control and companions := value + offset.x()
    Left,     // key `keyPrefix` itself: left of the control and companions := value + offset.x()
};

struct LayoutRow {
    QString group;     // "A"
    QString keyPrefix; // "Btn_A2_"
    RowKind kind = RowKind::At;
    QString control; // "Img_Apply_"
    QList<Companion> companions;
    bool enable = false; // prefix + "Enable" shows (exactly 1) or hides the row's controls
    bool copies = false; // one copy per user page: every name takes "1".."4"
    bool height = false; // At: prefix + "H" is the control's height
    QPoint fixedPos;     // Fixed
    int count = 0;       // Segments
    QStringList items;   // Column
    QStringList itemLabels;
    QPoint labelOffset;
};

struct Placement {
    QString name;
    std::optional<bool> visible;
    std::optional<QPoint> pos;
    std::optional<QSize> size;
    std::optional<int> width;
    std::optional<int> height;
    std::optional<int> left;
    bool operator==(const Placement&) const = default;
};

// The current picture size of a control by name; an invalid size when the
// control does not exist or shows no picture.
using PictureSizeOf = std::function<QSize(const QString&)>;

// Throws LayoutError naming the first missing or malformed key.
QList<Placement> PlanLayout(const LayoutText& section, const QList<LayoutRow>& rows,
                            const PictureSizeOf& sizeOf);

// Fonts and colours of the layout step.
enum class StyleRole {
    Text,   // font size and text colour
    Fill,   // background colour
    Border, // border colour
};

struct StyleRow {
    QString group;
    QString sizeKey; // "Size_A"; empty: no size
    int sizeDelta = 0;
    QString colourKey; // "Color_A_"; empty: no colour
    StyleRole role = StyleRole::Text;
    QStringList controls;
    bool copies = false;
};

struct StylePlacement {
    QString name;
    StyleRole role = StyleRole::Text;
    std::optional<int> pointSize;
    std::optional<Rgb> colour;
    bool operator==(const StylePlacement&) const = default;
};

QList<StylePlacement> PlanStyles(const LayoutText& section, const QList<StyleRow>& rows);

// The rows of the language layout sections ([org1]..[org3]) in the order
// the layout step applies them: groups A, B (the engineer buttons after the
// last page button), C, G, D, E, F.
const QList<LayoutRow>& LanguageLayoutRows();
const QList<StyleRow>& LanguageStyleRows();
// The web buttons, placed from [org].
const QList<LayoutRow>& OrgLayoutRows();

} // namespace orb
