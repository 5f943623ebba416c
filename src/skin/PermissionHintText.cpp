#include "skin/PermissionHintText.h"

namespace orb
{

QString PermissionHintText(int languageIndex)
{
    switch (languageIndex) {
    case 1:
        return QStringLiteral(
            "已找到鼠标，但当前用户无权打开它。请安装 orb5610 软件包（它带有 udev 规则 70-orb5610.rules）"
            "，然后拔下鼠标再重新插入。");
    case 2:
        return QStringLiteral(
            "已找到滑鼠，但目前使用者無權開啟它。請安裝 orb5610 套件（它帶有 udev 規則 70-orb5610.rules）"
            "，然後拔下滑鼠再重新插入。");
    default:
        return QStringLiteral("The mouse is plugged in, but this user may not open it. Install the orb5610 "
                              "package (it brings the udev rule 70-orb5610.rules), then unplug the mouse and "
                              "plug it in again.");
    }
}

} // namespace orb
