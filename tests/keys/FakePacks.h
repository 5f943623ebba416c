#pragma once
#include "core/Text.h"

#include <QHash>
#include <QString>

#include <array>

namespace orb::test
{

// The key-name texts of the three language packs (Simplified Chinese,
// Traditional Chinese, English). Keys the packs do not hold read as empty.
inline const QHash<QString, std::array<QString, 3>>& KeyTexts()
{
    static const QHash<QString, std::array<QString, 3>> texts = {
        {"Str210", {"左键", "左鍵", "Left Key"}},
        {"Str211", {"右键", "右鍵", "Right Key"}},
        {"Str212", {"中键", "中鍵", "Middle Key"}},
        {"Str213", {"后退", "後退", "Back"}},
        {"Str214", {"前进", "前進", "Forward"}},
        {"Str220", {"火力键", "火力鍵", "Fire Key"}},
        {"Str221", {"LED开关键", "LED開關鍵", "LED Switch"}},
        {"Str222", {"瞄准键", "瞄準鍵", "AIM Key"}},
        {"Str224", {"按键关闭", "按鍵關閉", "Key Off"}},
        {"Str225", {"按键模式切换键", "按鍵模式切換鍵", "KB Switch Key"}},
        {"Str226", {"LED模式切换键", "LED模式切換鍵", "LED Switch Key"}},
        {"Str231", {"CPI循环", "CPI迴圈", "CPI Loop"}},
        {"Str232", {"CPI +", "CPI +", "CPI +"}},
        {"Str233", {"CPI -", "CPI -", "CPI -"}},
        {"Str240", {"我的电脑", "我的電腦", "My Computer"}},
        {"Str241", {"计算器", "計算器", "Calculator"}},
        {"Str242", {"E-Mail", "郵件", "E-Mail"}},
        {"Str243", {"显示桌面", "顯示桌面", "Desktop"}},
        {"Str250", {"播放/暂停", "播放/暫停", "Play/Pause"}},
        {"Str251", {"停止", "停止", "Stop"}},
        {"Str252", {"上一曲", "上一曲", "Previous Track"}},
        {"Str253", {"下一曲", "下一曲", "Next Track"}},
        {"Str254", {"音量+", "音量+", "Volume +"}},
        {"Str255", {"音量-", "音量-", "Volume -"}},
        {"Str256", {"静音", "靜音", "Mute"}},
        {"Str260", {"主页", "主頁", "Home"}},
        {"Str261", {"搜索", "搜索", "Search"}},
        {"Str262", {"后退", "後退", "WWW Back"}},
        {"Str263", {"前进", "前進", "WWW Forward"}},
        {"Str264", {"停止", "停止", "Stop"}},
        {"Str265", {"刷新", "刷新", "Refresh"}},
        {"Str266", {"收藏夹", "我的最愛", "Favorites"}},
    };
    return texts;
}

// Text lookup of pack 1..3.
inline TextLookup PackLookup(int language)
{
    return [language](const QString& key) {
        const auto it = KeyTexts().find(key);
        return it == KeyTexts().end() ? QString() : it->at(static_cast<std::size_t>(language - 1));
    };
}

// A pack that holds every key, with the key itself as text, to see which key
// a code is named by even where the real packs leave it empty.
inline QString EchoLookup(const QString& key)
{
    return "<" + key + ">";
}

} // namespace orb::test
