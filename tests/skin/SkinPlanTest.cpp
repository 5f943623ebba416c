#include "skin/ButtonVisuals.h"
#include "skin/CaptionScroll.h"
#include "skin/CaptionTexts.h"
#include "skin/LayoutPlan.h"

#include <gtest/gtest.h>

using namespace orb;

namespace
{

LayoutText section(const char* body)
{
    return LayoutText::fromText(QStringLiteral("[t]\n") + QString::fromUtf8(body), QStringLiteral("t"));
}

const Placement* find(const QList<Placement>& plan, const QString& name)
{
    for (const Placement& p : plan)
        if (p.name == name)
            return &p;
    return nullptr;
}

QSize noPictures(const QString&)
{
    return {};
}

} // namespace

// ---- caption scrolling ----

TEST(CaptionScroll, StepsAddTheGapOnceThenRotate)
{
    struct Case {
        const char* caption;
        std::vector<const char*> steps;
    };
    const Case cases[] = {
        {"AB", {"B    A", "    AB", "   AB ", "  AB  "}},
        {"X", {"    X", "   X ", "  X  ", " X   ", "X    ", "    X"}},
        {"", {"    ", "    ", "    "}},
        // A character outside the basic plane moves as one piece.
        {"\xF0\x9F\x8E\xAE"
         "A",
         {"A    \xF0\x9F\x8E\xAE", "    \xF0\x9F\x8E\xAE"
                                   "A"}},
    };
    for (const Case& c : cases) {
        CaptionScroll s;
        s.enter(QStringLiteral("Btn_Apply_1"), QString::fromUtf8(c.caption));
        for (const char* expected : c.steps)
            EXPECT_EQ(s.step(), QString::fromUtf8(expected)) << c.caption;
        EXPECT_EQ(s.saved, QString::fromUtf8(c.caption));
    }
}

TEST(CaptionScroll, CountWrapsToTwoSoTheGapIsNotAddedAgain)
{
    CaptionScroll s;
    s.enter(QStringLiteral("Key1"), QStringLiteral("abc"));
    for (int i = 0; i < 20; ++i)
        s.step();
    EXPECT_EQ(s.ticks, 20);
    const QString before = s.working;
    s.step();
    EXPECT_EQ(s.ticks, 2);
    EXPECT_EQ(s.working.size(), before.size()); // rotated, no second gap
    EXPECT_EQ(s.working, before.mid(1) + before.left(1));
}

TEST(CaptionScroll, RestartTakesTheNewCaption)
{
    CaptionScroll s;
    s.enter(QStringLiteral("Btn_Lang3_1"), QStringLiteral("英文"));
    s.step();
    s.restart(QStringLiteral("English"));
    EXPECT_EQ(s.ticks, 0);
    EXPECT_EQ(s.saved, QStringLiteral("English"));
    EXPECT_EQ(s.step(), QStringLiteral("nglish    E"));
}

// ---- button families ----

TEST(ButtonVisuals, FamiliesByLabelName)
{
    struct Case {
        const char* label;
        ButtonFamily family;
    };
    const Case cases[] = {
        {"Btn_Apply_3", ButtonFamily::Action}, {"Btn_Confirm1_1", ButtonFamily::Action},
        {"Btn_Main_2", ButtonFamily::Page},    {"Btn_Engineer_4", ButtonFamily::Page},
        {"Btn_Save_2", ButtonFamily::Page},    {"Btn_Lang2_1", ButtonFamily::Language},
        {"Key9", ButtonFamily::KeyLabel},      {"Btn_Del", ButtonFamily::TextOnly},
        {"Btn_Exit_1", ButtonFamily::Exit},    {"Btn_Mini_4", ButtonFamily::Minimise},
        {"Btn_Web_2", ButtonFamily::Web},      {"Btn_New", ButtonFamily::None},
        {"Key10", ButtonFamily::None},         {"Btn_Apply_", ButtonFamily::None},
        {"Key0", ButtonFamily::None},          {"Key", ButtonFamily::None},
        {"Btn_Apply_12", ButtonFamily::None},  {"Btn_Apply_x", ButtonFamily::None},
        {"Btn_Apply1", ButtonFamily::None},    {"xBtn_Apply_1", ButtonFamily::None},
        {"Btn__1", ButtonFamily::None},        {"Btn_Confirm12_1", ButtonFamily::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FamilyOfLabel(QLatin1String(c.label)), c.family) << c.label;
}

TEST(ButtonVisuals, PictureAndCopiesFromTheLabelName)
{
    EXPECT_EQ(PictureOfLabel(QStringLiteral("Btn_Confirm1_3")), QStringLiteral("Img_Confirm1_3"));
    EXPECT_EQ(PictureOfLabel(QStringLiteral("Key4")), QStringLiteral("Img_Key4"));
    EXPECT_EQ(CopiesOfPicture(QStringLiteral("Img_Confirm1_3")),
              (QStringList{QStringLiteral("Img_Confirm1_1"), QStringLiteral("Img_Confirm1_2"),
                           QStringLiteral("Img_Confirm1_3"), QStringLiteral("Img_Confirm1_4")}));
    EXPECT_EQ(CopiesOfPicture(QStringLiteral("Img_A_6")),
              (QStringList{QStringLiteral("Img_A_1"), QStringLiteral("Img_A_2"), QStringLiteral("Img_A_3"),
                           QStringLiteral("Img_A_4")}));
    // Not a copy: one digit after "_" and something before it are needed.
    for (const char* alone : {"Img_Key4", "Img_Key_12", "Img__1", "Img_Key_x", "Btn_Key_1", "Img_"})
        EXPECT_EQ(CopiesOfPicture(QLatin1String(alone)), QStringList{QLatin1String(alone)}) << alone;
}

// ---- labels that take the language's font by their name ----

TEST(CaptionTexts, LabelsTakingTheLanguageFontByName)
{
    for (const char* yes :
         {"Key1", "Key9", "Key_Left", "ST_Anything", "lbl_Spd1", "lbl_DbSpd10", "lbl_ScrSpd7", "lbl_DPI1",
          "lbl_DPI7Value", "lbl_AIMKey", "lbl_AIMKeyValue", "lbl_MCULEDStep_1", "lbl_MCULEDNum_12"})
        EXPECT_TRUE(TakesLanguageFont(QLatin1String(yes))) << yes;
    for (const char* no : {"Key0", "Key10", "Key", "lbl_Spd", "lbl_Spdx", "lbl_Spd1a", "lbl_DPI8", "lbl_DPI0",
                           "lbl_DPI", "lbl_DPI1Val", "lbl_DPI12", "lbl_AIMKeyValues", "lbl_MCULEDStep_",
                           "lbl_MCULEDStep1", "xKey1", "st_Lower", ""})
        EXPECT_FALSE(TakesLanguageFont(QLatin1String(no))) << no;
}

// ---- layout plan ----

TEST(LayoutPlan, HiddenButtonReadsNoPositionAndHidesBothControls)
{
    LayoutRow row;
    row.keyPrefix = QStringLiteral("Btn_A1_");
    row.control = QStringLiteral("Img_Confirm_");
    row.companions = {{QStringLiteral("Btn_Confirm_"), {}, SizeFrom::Picture}};
    row.enable = true;
    row.copies = true;
    // Enable other than exactly 1 hides; X and Y are absent and must not be read.
    for (const char* body : {"Btn_A1_Enable=0", "Btn_A1_Enable=2 "}) {
        const QList<Placement> plan = PlanLayout(section(body), {row}, noPictures);
        ASSERT_EQ(plan.size(), 8) << body;
        for (const Placement& p : plan) {
            EXPECT_EQ(p.visible, false);
            EXPECT_FALSE(p.pos.has_value());
        }
    }
}

TEST(LayoutPlan, PageButtonLabelLiesOnItsPictureLessTheInsets)
{
    LayoutRow row;
    row.keyPrefix = QStringLiteral("Btn_B1_");
    row.control = QStringLiteral("Img_Main_");
    row.companions = {{QStringLiteral("Btn_Main_"), {}, SizeFrom::PictureLessInsets}};
    row.enable = true;
    row.copies = true;
    const auto sizes = [](const QString& name) {
        return name.startsWith(QLatin1String("Img_Main_")) ? QSize(110, 30) : QSize();
    };
    const QList<Placement> plan = PlanLayout(
        section("Btn_Space_F=4\nBtn_Space_B=6\nBtn_B1_Enable=1\nBtn_B1_X=110\nBtn_B1_Y=50"), {row}, sizes);
    const Placement* img = find(plan, QStringLiteral("Img_Main_3"));
    const Placement* btn = find(plan, QStringLiteral("Btn_Main_3"));
    ASSERT_TRUE(img && btn);
    EXPECT_EQ(img->pos, QPoint(110, 50));
    EXPECT_EQ(img->visible, true);
    EXPECT_EQ(btn->pos, QPoint(114, 50));
    EXPECT_EQ(btn->size, QSize(100, 30));
}

TEST(LayoutPlan, SegmentsColumnsAndWidths)
{
    LayoutRow bar;
    bar.kind = RowKind::Segments;
    bar.keyPrefix = QStringLiteral("Spd_");
    bar.control = QStringLiteral("Img_Spd");
    bar.count = 3;
    bar.companions = {{QStringLiteral("lbl_Spd"), {4, 24}}};
    LayoutRow column;
    column.kind = RowKind::Column;
    column.keyPrefix = QStringLiteral("RecDelay_");
    column.items = {QStringLiteral("LED_RecDelay"), QStringLiteral("LED_DelayTime")};
    column.itemLabels = {QStringLiteral("IB_RecDelay"), QStringLiteral("IB_DelayTime")};
    column.labelOffset = {-2, 0};
    LayoutRow width;
    width.kind = RowKind::Width;
    width.keyPrefix = QStringLiteral("M_L_W");
    width.control = QStringLiteral("Pnl_Main");
    width.companions = {{QStringLiteral("Key_Standard"), {-4, 0}}};

    const auto sizes = [](const QString& name) {
        return name.startsWith(QLatin1String("Img_Spd")) ? QSize(26, 18) : QSize();
    };
    const QList<Placement> plan =
        PlanLayout(section("Spd_X=150\nSpd_Y=300\nSpd_D=2\nRecDelay_X=20\nRecDelay_Y=36\nRecDelay_H=23\n"
                           "M_L_W=190"),
                   {bar, column, width}, sizes);
    EXPECT_EQ(find(plan, QStringLiteral("Img_Spd1"))->pos, QPoint(150, 300));
    EXPECT_EQ(find(plan, QStringLiteral("Img_Spd3"))->pos, QPoint(150 + 2 * 28, 300));
    EXPECT_EQ(find(plan, QStringLiteral("lbl_Spd3"))->pos, QPoint(150 + 2 * 28 + 4, 324));
    EXPECT_EQ(find(plan, QStringLiteral("LED_DelayTime"))->pos, QPoint(20, 59));
    EXPECT_EQ(find(plan, QStringLiteral("IB_DelayTime"))->pos, QPoint(18, 59));
    EXPECT_EQ(find(plan, QStringLiteral("Pnl_Main"))->width, 190);
    EXPECT_EQ(find(plan, QStringLiteral("Key_Standard"))->width, 186);
}

TEST(LayoutPlan, MissingKeyStopsWithItsName)
{
    try {
        PlanLayout(section("Btn_A2_Enable=1\nBtn_A2_X=820"), LanguageLayoutRows(), noPictures);
        FAIL() << "no error";
    } catch (const LayoutError& e) {
        EXPECT_EQ(e.key(), QStringLiteral("Btn_A1_Enable"));
    }
}

TEST(LayoutPlan, ShippedSectionsPlaceTheFrame)
{
    struct Case {
        int language;
        const char* control;
        std::optional<bool> visible;
        std::optional<QPoint> pos;
    };
    const Case cases[] = {
        {1, "Img_Apply_2", true, QPoint(820, 600)},    {2, "Btn_Apply_4", true, QPoint(760, 560)},
        {1, "Img_Lang2_1", false, std::nullopt},       {3, "Btn_Lang2_3", false, std::nullopt},
        {2, "Img_Lang2_1", true, QPoint(150, 600)},    {1, "Img_Engineer_1", true, QPoint(10, 10)},
        {2, "Img_P1", std::nullopt, QPoint(100, 130)}, {1, "Btn_Confirm_1", false, std::nullopt},
    };
    for (const Case& c : cases) {
        const QList<Placement> plan =
            PlanLayout(LoadLayoutSection(c.language), LanguageLayoutRows(), noPictures);
        const Placement* p = find(plan, QLatin1String(c.control));
        ASSERT_TRUE(p) << c.control;
        EXPECT_EQ(p->visible, c.visible) << c.language << c.control;
        EXPECT_EQ(p->pos, c.pos) << c.language << c.control;
    }
    // Every style row reads from every shipped section.
    for (int language = 1; language <= 3; ++language)
        EXPECT_NO_THROW(PlanStyles(LoadLayoutSection(language), LanguageStyleRows()));
}
