#include "keys/MenuPlacement.h"

namespace orb
{

QPoint MainMenuAtLabel(const QRect& label, const QSize& menu, const QSize& window)
{
    const int centreX = label.left() + label.width() / 2;
    const int centreY = label.top() + label.height() / 2;
    const int left =
        label.left() + label.width() + menu.width() < window.width() ? centreX : centreX - menu.width();
    const int top =
        label.top() + label.height() + menu.height() < window.height() ? centreY : centreY - menu.height();
    return {left, top};
}

QPoint MainMenuAtEngineerButton(const QRect& button, const QSize& menu, int pageWidth, int pageTop,
                                int groupTop)
{
    const int left = pageWidth < button.left() + menu.width()
                         ? button.left() + button.width() - menu.width() + 10
                         : button.left() + 10;
    const int top = button.top() + pageTop + groupTop - menu.height() + 38;
    return {left, top};
}

QPoint SubmenuBesideMain(const QRect& item, const QRect& mainPanel, int specialWidth, const QSize& submenu,
                         const QSize& window)
{
    const int left = mainPanel.left() + mainPanel.width() + specialWidth < window.width()
                         ? mainPanel.left() + item.left() + item.width() + 2
                         : mainPanel.left() - submenu.width();
    const int itemTop = item.top() + mainPanel.top();
    const int top = itemTop + item.height() + submenu.height() < window.height()
                        ? itemTop
                        : itemTop + item.height() - submenu.height();
    return {left, top};
}

QPoint CpiMenuBesideSpecial(const QRect& item, const QRect& mainPanel, const QRect& specialPanel,
                            const QSize& cpiMenu, const QSize& window)
{
    const int left =
        mainPanel.left() + mainPanel.width() + specialPanel.width() + cpiMenu.width() < window.width()
            ? item.left() + specialPanel.left() + item.width() + 2
            : specialPanel.left() - cpiMenu.width();
    const int itemTop = item.top() + specialPanel.top();
    const int top =
        itemTop + cpiMenu.height() < window.height() ? itemTop : itemTop + item.height() - cpiMenu.height();
    return {left, top};
}

} // namespace orb
