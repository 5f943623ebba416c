#include "skin/LayoutText.h"
#include "skin/IniText.h"
#include "skin/LayoutKeep.h"
#include "skin/LayoutKeys.h"
#include "skin/OrgOptions.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace orb;

namespace
{

// Runs `read` and returns the key the LayoutError names ("" when none is thrown).
template <typename F> QString faultKey(F read)
{
    try {
        read();
    } catch (const LayoutError& e) {
        EXPECT_NE(std::string(e.what()).find(e.key().toStdString()), std::string::npos);
        return e.key();
    }
    return {};
}

} // namespace

// ---- format ----

TEST(LayoutInt, StrictDecimal)
{
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"8544", 8544},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1a", std::nullopt},
        {"0x10", std::nullopt},
        {"$10", std::nullopt},
        {"1.5", std::nullopt},
        {"1 2", std::nullopt},
        {"١", std::nullopt}, // a digit, but not an ASCII one
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseLayoutInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(LayoutTextFormat, LinesCommentsBannersSectionsAndCase)
{
    const QString text = QStringLiteral("Size_A=99\r\n"
                                        "//------------------------------\r\n"
                                        "// Group A: action buttons\r\n"
                                        "  [ORG1]  \r\n"
                                        "; Size_A=1\r\n"
                                        "\r\n"
                                        "Btn_A1_Enable=0 \r\n"
                                        "\t Btn_A1_X  =  2640\t\r\n"
                                        "btn_a1_y=560\n"
                                        "Size_A=11\r"
                                        "Size_A=12\r\n"
                                        "just some words\r\n"
                                        "Web=https://example.com/a?b=c\r\n"
                                        "[org2]\r\n"
                                        "Size_B=11\r\n");
    const LayoutText s = LayoutText::fromText(text, QStringLiteral("org1"));
    EXPECT_EQ(s.intValue(QStringLiteral("Btn_A1_Enable")), 0);
    EXPECT_EQ(s.intValue(QStringLiteral("BTN_A1_X")), 2640);
    EXPECT_EQ(s.intValue(QStringLiteral("Btn_A1_Y")), 560);
    EXPECT_EQ(s.intValue(QStringLiteral("Size_A")), 11); // the first entry stays
    EXPECT_EQ(s.text(QStringLiteral("web")), QStringLiteral("https://example.com/a?b=c"));
    EXPECT_FALSE(s.contains(QStringLiteral("Size_B")));
    EXPECT_EQ(s.keys(), (QStringList{"Btn_A1_Enable", "Btn_A1_X", "btn_a1_y", "Size_A", "Web"}));
    EXPECT_EQ(LayoutText::fromText(text, QStringLiteral("Org2")).intValue(QStringLiteral("size_b")), 11);
    EXPECT_TRUE(LayoutText::fromText(text, QStringLiteral("org3")).isEmpty());
}

TEST(LayoutTextFormat, LinesEndAtEachKindOfBreak)
{
    struct Case {
        const char* text;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\n", {"a", ""}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // "\n\r" is two breaks
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", "", ""}},
        {"a\r", {"a", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitIniLines(QString::fromLatin1(c.text)), c.lines) << c.text;
}

TEST(LayoutTextFormat, FaultsNameTheKey)
{
    const LayoutText s = LayoutText::fromText(QStringLiteral("[org1]\n"
                                                             "Blank=\n"
                                                             "Word=abc\n"
                                                             "Mixed=12px\n"
                                                             "P1_X=90\n"
                                                             "Color_A_R=255\nColor_A_G=256\nColor_A_B=0\n"
                                                             "Color_B_R=-1\nColor_B_G=0\nColor_B_B=0\n"),
                                              QStringLiteral("org1"));
    EXPECT_EQ(faultKey([&] { s.intValue(QStringLiteral("Nope")); }), QStringLiteral("Nope"));
    EXPECT_EQ(faultKey([&] { s.intValue(QStringLiteral("Blank")); }), QStringLiteral("Blank"));
    EXPECT_EQ(faultKey([&] { s.intValue(QStringLiteral("Word")); }), QStringLiteral("Word"));
    EXPECT_EQ(faultKey([&] { s.intValue(QStringLiteral("Mixed")); }), QStringLiteral("Mixed"));
    EXPECT_EQ(faultKey([&] { s.point(QStringLiteral("P1_")); }), QStringLiteral("P1_Y"));
    EXPECT_EQ(faultKey([&] { s.colour(QStringLiteral("Color_A_")); }), QStringLiteral("Color_A_G"));
    EXPECT_EQ(faultKey([&] { s.colour(QStringLiteral("Color_B_")); }), QStringLiteral("Color_B_R"));
    EXPECT_EQ(faultKey([&] { s.colour(QStringLiteral("Color_C_")); }), QStringLiteral("Color_C_R"));
    try {
        s.intValue(QStringLiteral("Word"));
        ADD_FAILURE() << "a non-numeric value must be an error";
    } catch (const LayoutError& e) {
        EXPECT_EQ(e.section(), QStringLiteral("org1"));
    }
    // A text the program does not carry: every read fails, naming its key.
    EXPECT_EQ(faultKey([] { LayoutText::load(QStringLiteral("org9")).intValue(QStringLiteral("Size_A")); }),
              QStringLiteral("Size_A"));
}

TEST(LayoutTextFormat, HiddenButtonReadsNoPosition)
{
    const LayoutText s = LayoutText::fromText(QStringLiteral("[org1]\n"
                                                             "Off_Enable=0\n"
                                                             "Two_Enable=2\n"
                                                             "On_Enable=1\nOn_X=8544\nOn_Y=10\n"
                                                             "Broken_Enable=1\nBroken_X=1\n"),
                                              QStringLiteral("org1"));
    EXPECT_EQ(s.button(QStringLiteral("Off_")), ButtonPlacement{});
    EXPECT_EQ(s.button(QStringLiteral("Two_")), ButtonPlacement{});
    EXPECT_EQ(s.button(QStringLiteral("On_")), (ButtonPlacement{true, {8544, 10}}));
    EXPECT_EQ(faultKey([&] { s.button(QStringLiteral("Broken_")); }), QStringLiteral("Broken_Y"));
    EXPECT_EQ(faultKey([&] { s.button(QStringLiteral("Gone_")); }), QStringLiteral("Gone_Enable"));
}

// ---- the shipped layout sections ----

TEST(ShippedLayout, TextsArePlainAsciiWithTheirSection)
{
    for (const char* name : {"org", "org1", "org2", "org3"}) {
        QFile f(QStringLiteral(":/rc/") + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = f.readAll();
        for (char c : bytes)
            ASSERT_EQ(static_cast<unsigned char>(c) & 0x80, 0) << name;
        EXPECT_TRUE(bytes.contains(QByteArray("\r\n[") + name + "]\r\n")) << name;
    }
}

TEST(ShippedLayout, EverySectionCarriesEveryKeyAsANumber)
{
    const QStringList all = AllLayoutKeys();
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size()) << "a key listed twice";
    QSet<QString> expected;
    for (const QString& k : all)
        expected.insert(k.toLower());
    for (int index = 1; index <= 3; ++index) {
        const LayoutText s = LoadLayoutSection(index);
        QSet<QString> present;
        for (const QString& k : s.keys())
            present.insert(k.toLower());
        EXPECT_EQ(present, expected) << "org" << index;
        for (const QString& key : all)
            EXPECT_NO_THROW(s.intValue(key)) << "org" << index << " " << key.toStdString();
        for (const QString& group : LayoutGroupNames())
            EXPECT_FALSE(LayoutGroupKeys(group).isEmpty()) << group.toStdString();
    }
    EXPECT_TRUE(LayoutGroupKeys(QStringLiteral("Z")).isEmpty());
}

TEST(ShippedLayout, Org3EqualsOrg1)
{
    const LayoutText one = LoadLayoutSection(1);
    const LayoutText three = LoadLayoutSection(3);
    for (const QString& key : AllLayoutKeys())
        EXPECT_EQ(three.intValue(key), one.intValue(key)) << key.toStdString();
}

TEST(ShippedLayout, Org2DiffersExactlyWhereItsOwnLayoutNeeds)
{
    struct Diff {
        const char* key;
        int org1;
        int org2;
    };
    const Diff diffs[] = {
        {"Btn_A1_Enable", 0, 1},     {"Btn_A2_X", 820, 760},        {"Btn_A2_Y", 600, 560},
        {"Btn_A8_Enable", 0, 1},     {"Btn_A8_X", 310, 880},        {"Btn_A3_X", 310, 760},
        {"Btn_A5_Enable", 0, 1},     {"Btn_A5_X", 180, 880},        {"Btn_A6_X", 310, 880},
        {"Size_B", 12, 11},          {"Btn_B1_X", 110, 50},         {"Btn_B2_X", 240, 150},
        {"Btn_B4_X", 370, 250},      {"Btn_B5_X", 500, 350},        {"Btn_B11_X", 630, 450},
        {"Btn_B6_Enable", 0, 1},     {"Btn_B7_Enable", 0, 1},       {"Btn_B7_X", 180, 150},
        {"Btn_B8_X", 780, 50},       {"Btn_B8_Y", 50, 600},         {"Btn_B9_Enable", 0, 1},
        {"Btn_B10_X", 905, 250},     {"Btn_B10_Y", 50, 600},        {"P1_X", 90, 100},
        {"Key1_X", 140, 160},        {"Key2_X", 140, 160},          {"Key3_X", 140, 160},
        {"Key4_X", 140, 160},        {"Key5_X", 140, 160},          {"Key6_X", 140, 160},
        {"Key7_X", 140, 160},        {"Key2_Y", 186, 170},          {"Key3_Y", 233, 202},
        {"Key4_Y", 329, 266},        {"Key5_Y", 282, 234},          {"Key6_Y", 377, 298},
        {"Key7_Y", 427, 330},        {"Key8_Enable", 0, 1},         {"Key8_X", 710, 160},
        {"Key8_Y", 235, 362},        {"Key9_Enable", 0, 1},         {"Key9_X", 710, 160},
        {"Key9_Y", 285, 394},        {"ComboKey1_Y", 470, 430},     {"ComboKey2_Y", 500, 460},
        {"MCPIOff_X", 643, 646},     {"SaveKeyMode_X", 8544, 2544}, {"MCULEDMode2_X", 304, 318},
        {"MCULEDMode3_X", 472, 420}, {"MCULEDMode4_X", 642, 517},   {"MCULEDMode5_X", 220, 617},
        {"MCULEDMode5_Y", 363, 326}, {"MCULEDMode6_X", 377, 713},   {"MCULEDMode6_Y", 363, 326},
        {"MCULEDMode7_X", 533, 814}, {"MCULEDMode7_Y", 363, 326},   {"MCULEDNum_X", 256, 2256},
        {"MCULEDNum_Y", 8450, 420},  {"MCULEDStep_X", 290, 256},    {"MCULEDStep_Y", 423, 388},
        {"KeyMode1_Y", 8840, 240},   {"KeyMode2_X", 730, 560},      {"KeyMode2_Y", 230, 240},
    };
    const LayoutText one = LoadLayoutSection(1);
    const LayoutText two = LoadLayoutSection(2);
    QSet<QString> differing;
    for (const Diff& d : diffs) {
        const QString key = QString::fromLatin1(d.key);
        differing.insert(key.toLower());
        EXPECT_EQ(one.intValue(key), d.org1) << d.key;
        EXPECT_EQ(two.intValue(key), d.org2) << d.key;
    }
    for (const QString& key : AllLayoutKeys()) {
        if (differing.contains(key.toLower()))
            continue;
        EXPECT_EQ(two.intValue(key), one.intValue(key)) << key.toStdString();
    }
}

TEST(ShippedLayout, SampleValuesOfOrg1)
{
    struct Row {
        const char* key;
        int value;
    };
    const Row rows[] = {
        {"Size_A", 11},
        {"Btn_A2_X", 820},
        {"Btn_A4_X", 980},
        {"Btn_A7_Y", 10},
        {"Size_C", 11},
        {"Key4_Y", 329},
        {"ComboKey1_X", 700},
        {"M_L_W", 190},
        {"SP_L_W", 166},
        {"O_L_W", 154},
        {"Color_G_SP_B", 198},
        {"Size_D", 9},
        {"Color_D_Back_R", 113},
        {"FKDelay_Y", 202},
        {"ScrSpd_Y", 448},
        {"IsControl_Y", 278},
        {"DPI1_Color_X", 844},
        {"DPI7_Color_Y", 410},
        {"DPI6_Check_Y", 384},
        {"DPI2_Y", 224},
        {"DPI2_Value_Y", 222},
        {"DPI4_Steps_Y", 302},
        {"DPI7_Steps_D", 0},
        {"AIMKey_Value_Y", 478},
        {"MCULEDNum_D", 5},
        {"KeyMode1_X", 3600},
        {"PCMacroName_H", 304},
        {"MacroNameHeight", 20},
        {"RecDelay_H", 23},
        {"InsertRecDelay_Y", 34},
        {"InsertBtnCancel_X", 96},
        {"AKC_W", 240},
        {"AK_Close_X", 470},
        {"MNC_Y", 76},
        {"NorLED_Cfm_Y", 154},
        {"Size_M", 9},
    };
    const LayoutText one = LoadLayoutSection(1);
    for (const Row& r : rows)
        EXPECT_EQ(one.intValue(QString::fromLatin1(r.key)), r.value) << r.key;
}

TEST(ShippedLayout, ButtonGroupsPlaceOrHide)
{
    const LayoutText one = LoadLayoutSection(1);
    const LayoutText two = LoadLayoutSection(2);
    ASSERT_EQ(ActionButtonKeys().size(), 8);
    ASSERT_EQ(PageButtonKeys().size(), 10);
    EXPECT_EQ(ActionButtonKeys()[1].name, QStringLiteral("Apply"));
    EXPECT_EQ(one.button(ActionButtonKeys()[1].keyPrefix), (ButtonPlacement{true, {820, 600}}));
    EXPECT_EQ(PageButtonKeys()[8].name, QStringLiteral("Lang2"));
    EXPECT_FALSE(one.button(PageButtonKeys()[8].keyPrefix).shown); // language 2 hidden in [org1]
    EXPECT_EQ(two.button(PageButtonKeys()[8].keyPrefix), (ButtonPlacement{true, {150, 600}}));
    for (const auto& list : {ActionButtonKeys(), PageButtonKeys()})
        for (const LayoutButtonKeys& b : list)
            for (int index = 1; index <= 3; ++index)
                EXPECT_NO_THROW(LoadLayoutSection(index).button(b.keyPrefix)) << b.keyPrefix.toStdString();
}

// ---- kept values and general options ----

TEST(LayoutKeep, ReadFromTheShippedSections)
{
    const LayoutKeep keep = ReadLayoutKeep(LoadLayoutSection(1));
    EXPECT_EQ(keep.frontInset, 0);
    EXPECT_EQ(keep.backInset, 0);
    EXPECT_EQ(keep.levelActiveColour, (Rgb{255, 0, 0}));
    EXPECT_EQ(keep.levelInactiveColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(keep.menuLabelColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(keep.menuHoverFontColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(keep.menuHoverBackColour, (Rgb{49, 106, 198}));
    EXPECT_EQ(keep.macroCaptionColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(keep.macroTextColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(keep.macroButtonBackColour, (Rgb{0, 0, 0}));
    EXPECT_EQ(keep.listRowHeight, 20);
    EXPECT_EQ(ReadLayoutKeep(LoadLayoutSection(2)), keep);
    EXPECT_EQ(ReadLayoutKeep(LoadLayoutSection(3)), keep);
    // Red in the low byte, then green, then blue.
    EXPECT_EQ(keep.menuHoverBackColour.platformColour(), 0xC66A31u);
}

TEST(OrgOptions, ShippedValues)
{
    const OrgOptions o = LoadOrgOptions();
    EXPECT_EQ(o.Web_Enable, 1);
    EXPECT_EQ(o.Web, QStringLiteral("https://example.com/orb5610"));
    EXPECT_EQ(o.Web_X, 50);
    EXPECT_EQ(o.Web_Y, 575);
    EXPECT_EQ(o.Rev_Manu_ID, 0);
    EXPECT_EQ(o.Rev_Pro_ID, 0);
    EXPECT_EQ(o.Path, QString());
    EXPECT_EQ(o.TR_Enable, 0);
    EXPECT_EQ(o.DPILED_Status, 1);
    EXPECT_EQ(o.Num_Order, 0);
}

TEST(OrgOptions, NumOrderClampAndFaults)
{
    const QString base =
        QStringLiteral("[org]\nWeb_Enable=0\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=69\nRev_Pro_ID=248\n"
                       "Path = C:\\Macro Files \nTR_Enable=1\nDPILED_Status=0\n");
    for (const auto& [text, expected] : std::initializer_list<std::pair<const char*, int>>{
             {"-5", 0}, {"0", 0}, {"1", 1}, {"2", 1}, {"99", 1}}) {
        const OrgOptions o = LoadOrgOptions(LayoutText::fromText(
            base + QStringLiteral("Num_Order=") + QLatin1String(text), QStringLiteral("org")));
        EXPECT_EQ(o.Num_Order, expected) << text;
        EXPECT_EQ(o.Path, QStringLiteral("C:\\Macro Files"));
        EXPECT_EQ(o.Web, QString()); // absent text: empty, not a fault
        EXPECT_EQ(o.Rev_Pro_ID, 248);
    }
    EXPECT_EQ(faultKey([&] {
                  LoadOrgOptions(
                      LayoutText::fromText(base + QStringLiteral("Num_Order=one"), QStringLiteral("org")));
              }),
              QStringLiteral("Num_Order"));
    EXPECT_EQ(faultKey([&] { LoadOrgOptions(LayoutText::fromText(base, QStringLiteral("org"))); }),
              QStringLiteral("Num_Order"));
}
