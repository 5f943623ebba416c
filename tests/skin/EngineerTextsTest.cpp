#include "skin/EngineerTexts.h"
#include "skin/EngineerMode.h"

#include <gtest/gtest.h>

using namespace orb;

namespace
{

QString U(const char* s)
{
    return QString::fromUtf8(s);
}

const QString kMcuColourHint =
    U("MCU LED各档CPI对应颜色参数设定，用户通过颜色R/G/B值参数设定，控制MCU LED各档CPI颜色。");

} // namespace

TEST(EngineerTexts, ColumnByLocaleOnly)
{
    struct Case {
        const char* locale;
        int column;
    };
    for (const Case c : {Case{"zh_CN", 2}, Case{"zh_TW", 0}, Case{"zh_SG", 0}, Case{"en_US", 0},
                         Case{"de_DE", 0}, Case{"C", 0}}) {
        EXPECT_EQ(EngineerColumnFor(QLocale(QString::fromLatin1(c.locale))), c.column) << c.locale;
    }
    // The page does not follow the user pages' language: the column is the
    // only input, so zh_CN reads Chinese with language 3 (English) chosen,
    // and any other locale English with language 1 (Chinese) chosen.
    EXPECT_EQ(EngineerText(8, EngineerColumnFor(QLocale(QStringLiteral("zh_CN")))), U("测试按键位置"));
    EXPECT_EQ(EngineerText(8, EngineerColumnFor(QLocale(QStringLiteral("en_GB")))), U("Test Keys Position"));
}

TEST(EngineerTexts, BothColumnsByteExact)
{
    struct Case {
        int id;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {0, "Mode A", "模式A"},
        {12, nullptr, nullptr}, // no record
        {21, "LED Switch(M+CPI)", "LED灯开关切换(M+CPI)"},
        {30, "3-Line Scan", "流光增亮版"},
        {36, "Nor LED CPI Color Setting", "智控灯各档CPI对应颜色设定"},
        {61, "Mode1 B::", "模式1 B:"},
        {64, "Mode2 B:", "模式2 B:"},
        {73, "0°", "0°"},
        {80, "XY Swap XY NoReverse", "XY互换XY不取反"},
        {84, "CPI 1:", "CPI 1值:"},
        {100, "MCU LED Mode Select", "MCU LED工作模式选择"},
        {143, "Notes: ", "注释: "},
        {144, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto en = EngineerText(c.id, EngineerColumnEnglish);
        const auto zh = EngineerText(c.id, EngineerColumnChinese);
        ASSERT_EQ(en.has_value(), c.english != nullptr);
        ASSERT_EQ(zh.has_value(), c.chinese != nullptr);
        if (en) {
            EXPECT_EQ(en->toUtf8(), QByteArray(c.english));
            EXPECT_EQ(zh->toUtf8(), QByteArray(c.chinese));
            EXPECT_EQ(EngineerText(c.id, 1), QString()); // the unused column
        }
    }
    EXPECT_EQ(EngineerText(0, 3), std::nullopt);
    EXPECT_EQ(EngineerTexts().size(), 96u);
}

TEST(EngineerTexts, EveryCaptionAndListHasItsTexts)
{
    for (int column : {EngineerColumnEnglish, EngineerColumnChinese}) {
        for (const auto& c : EngineerCaptions())
            EXPECT_TRUE(EngineerText(c.id, column).has_value()) << c.control;
        for (const auto& l : EngineerLists())
            for (const QString& item : EngineerTextRange(l.firstId, l.count, column))
                EXPECT_FALSE(item.isEmpty()) << l.control;
    }
    EXPECT_EQ(EngineerTextRange(37, 7, EngineerColumnEnglish),
              (QStringList{"Red", "Green", "Yellow", "Blue", "Purple", "Cyan", "White"}));
    EXPECT_EQ(EngineerMcuModeNames(EngineerColumnChinese).at(6), U("模式7"));
    EXPECT_EQ(EngineerMcuModeNames(EngineerColumnEnglish).first(), "Mode 1");
}

TEST(EngineerTexts, HintOfTheControlOrItsNearestGroup)
{
    struct Case {
        QStringList chain; // control under the pointer, then outward
        QString hint;
    };
    const QStringList page{"ts_Operator", "Pg_Parameter", "gbPage6"};
    const Case cases[] = {
        {QStringList{"edt_CPI1R", "gbMCULEDCPIColor"} + page, kMcuColourHint},
        {QStringList{"edt_CPI1R"}, kMcuColourHint}, // listed by name as well
        {page, QString()},                          // the background: no hint
        {QStringList{"cb_Mode3", "gbMCULEDMode", "ts_Engineer", "Pg_Parameter", "gbPage6"},
         U("基本的10种枪键宏定义对应的Fn枪键调整后的Y轴参数。")},
        {QStringList{"lbl_ms2", "gbMCULEDCurrent"} + page, U("MCU LED等工作模式参数的设定。")},
        {QStringList{"Btn_Default", "gbPage6"}, U("\"恢复默认值\"按钮，让工厂在设定软件正确识别鼠标后，重新吧"
                                                  "鼠标内部的参数恢复到新IC的默认参数。请谨慎使用。")},
        {QStringList{"Img_Logo4", "gbPage6"}, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EngineerHintFor(c.chain), c.hint) << c.chain.join(' ').toStdString();
}

TEST(EngineerTexts, GroupMembersCarryTheirGroupsHint)
{
    for (const QString& name :
         {QStringLiteral("rb_NorLED"), QStringLiteral("cb_CPI7"), QStringLiteral("edt_KeyMode2B"),
          QStringLiteral("btn_Key209"), QStringLiteral("lbl_CPI7Color")})
        EXPECT_TRUE(EngineerHintOf(name).has_value()) << name.toStdString();
    EXPECT_FALSE(EngineerHintOf(QStringLiteral("cb_Mode1")).has_value()); // only through its group
}

TEST(EngineerMode, DoubleClicksAndPassPhrase)
{
    struct Step {
        std::optional<QString> answer; // what the dialog would return
        bool asked;
        bool unlocked;
    };
    const std::optional<QString> none;
    const Step steps[] = {
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {QStringLiteral("dravelkinqwt"), true, false}, // 5th asks; wrong letter case
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {none, true, false}, // 10th asks again; Cancel
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {QStringLiteral("DravelkinQWT"), true, true},   // 15th: the phrase
        {QStringLiteral("DravelkinQWT"), false, false}, // one double-click locks, no dialog
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {none, false, false},
        {QStringLiteral("DravelkinQWT"), true, true}, // the count kept growing: 20th asks
    };
    EngineerMode mode;
    EXPECT_EQ(mode.View(), EngineerModeView{});
    int n = 0;
    for (const auto& s : steps) {
        ++n;
        bool called = false;
        const bool asked = mode.LogoDoubleClick([&] {
            called = true;
            return s.answer;
        });
        EXPECT_EQ(asked, s.asked) << n;
        EXPECT_EQ(called, s.asked) << n;
        EXPECT_EQ(mode.EngineerUnlocked(), s.unlocked) << n;
        EXPECT_EQ(mode.View(), (EngineerModeView{s.unlocked, s.unlocked, s.unlocked})) << n;
    }
    EXPECT_EQ(mode.LogoClickCount(), 20); // the locking double-click does not count
}

TEST(EngineerMode, PhraseMustMatchWholly)
{
    for (const char* wrong : {"", "DravelkinQWT ", " DravelkinQWT", "DravelkinQW", "DRAVELKINQWT"}) {
        EngineerMode mode;
        for (int i = 0; i < 5; ++i)
            mode.LogoDoubleClick([&] { return std::optional<QString>(QString::fromLatin1(wrong)); });
        EXPECT_FALSE(mode.EngineerUnlocked()) << wrong;
    }
    EXPECT_EQ(EngineerHardwareControls().size(), 8);
}
