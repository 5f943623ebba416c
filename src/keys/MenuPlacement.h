#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

namespace orb
{

// Where the panels of the assignment menu open. Every rectangle is in window
// coordinates unless said otherwise; near the right or bottom edge of the
// window a panel opens to the left of or above the point it belongs to.

// The top-level panel at the centre of a key label (halves rounded down).
QPoint MainMenuAtLabel(const QRect& label, const QSize& menu, const QSize& window);

// The top-level panel at an engineering button. The button's rectangle is in
// its group's coordinates; pageWidth and pageTop are the width and top of the
// page control holding the group, groupTop the group's top on its sheet.
QPoint MainMenuAtEngineerButton(const QRect& button, const QSize& menu, int pageWidth, int pageTop,
                                int groupTop);

// A submenu beside an item of the top-level panel (item in the panel's
// coordinates). Whether it fits to the right is judged with the width of the
// special-functions panel, the widest submenu.
QPoint SubmenuBesideMain(const QRect& item, const QRect& mainPanel, int specialWidth, const QSize& submenu,
                         const QSize& window);

// The CPI-key panel beside the CPI item of the special-functions panel (item
// in that panel's coordinates).
QPoint CpiMenuBesideSpecial(const QRect& item, const QRect& mainPanel, const QRect& specialPanel,
                            const QSize& cpiMenu, const QSize& window);

} // namespace orb
