#include "lighting/CpiLevels.h"
#include "lighting/ValueBar.h"

#include "DefaultSplitImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orb;

namespace
{

CpiLevels ShownFrom(const ConfigImage& s, const QString& ledType)
{
    SettingsControls c;
    ShowSettings(s.ParameterA, s.ParameterB, s.FireKey, c);
    CpiLevels levels;
    levels.Show(c, ledType);
    return levels;
}

CpiLevels WithCount(int count)
{
    CpiLevels levels;
    levels.SetLevelCount(count);
    return levels;
}

std::vector<bool> Lit(const std::vector<QString>& pictures)
{
    std::vector<bool> out;
    for (const auto& p : pictures)
        out.push_back(p == CpiBarLit);
    return out;
}

} // namespace

TEST(CpiLevels, TablesHoldTheElevenValuesAndSevenColours)
{
    EXPECT_EQ(CpiValueTable.front(), 500);
    EXPECT_EQ(CpiValueTable[4], 1600);
    EXPECT_EQ(CpiValueTable.back(), 6400);
    EXPECT_EQ(CpiValueItems().size(), 11);
    EXPECT_EQ(CpiValueTextKey(0), "Str300");
    EXPECT_EQ(CpiValueTextKey(10), "Str310");
    EXPECT_EQ(NamedColourTable[2], QColor(255, 255, 0));   // yellow
    EXPECT_EQ(NamedColourTable[4], QColor(255, 0, 255));   // purple
    EXPECT_EQ(NamedColourTable[6], QColor(255, 255, 255)); // white
    EXPECT_EQ(CpiLevels::StepItems(), (QStringList{"2", "3", "4", "5", "6", "7"}));
}

// The level-label rules from one starting count, as a sequence of clicks.
TEST(CpiLevels, LevelToggleSequenceFromFourLevels)
{
    struct Step {
        int click;
        LevelToggle result;
        int count;
        int current;
    };
    const Step steps[] = {
        {5, LevelToggle::Added, 5, 5},   // the first inactive level is added and current
        {5, LevelToggle::Removed, 4, 4}, // the last active level goes, its predecessor current
        {3, LevelToggle::None, 4, 4},    // level 4 is still active
        {1, LevelToggle::None, 4, 4},    // levels 1 and 2 never change the count
        {2, LevelToggle::None, 4, 4},    {6, LevelToggle::None, 4, 4}, // not the first inactive level
    };
    CpiLevels levels = WithCount(4);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.click);
        EXPECT_EQ(levels.ToggleLevel(s.click), s.result);
        EXPECT_EQ(levels.LevelCount(), s.count);
        EXPECT_EQ(levels.CurrentLevel(), s.current);
    }
}

TEST(CpiLevels, RemovingAnotherThanTheCurrentLevelKeepsTheCurrent)
{
    CpiLevels levels = WithCount(6);
    ASSERT_TRUE(levels.SelectCurrent(2));
    EXPECT_EQ(levels.ToggleLevel(6), LevelToggle::Removed);
    EXPECT_EQ(levels.CurrentLevel(), 2);
    EXPECT_EQ(levels.CurrentItems(), (QStringList{"1", "2", "3", "4", "5"}));
}

TEST(CpiLevels, LabelsOneAndTwoNeverChangeTheCountAtAnyCount)
{
    for (int count = 2; count <= 7; ++count) {
        for (int label : {1, 2}) {
            CpiLevels levels = WithCount(count);
            EXPECT_EQ(levels.ToggleLevel(label), LevelToggle::None);
            EXPECT_EQ(levels.LevelCount(), count);
        }
    }
    // With two levels, DPI3 is the one that adds.
    CpiLevels two = WithCount(2);
    EXPECT_EQ(two.ToggleLevel(3), LevelToggle::Added);
    EXPECT_EQ(two.LevelCount(), 3);
    // With seven there is nothing left to add; DPI7 removes.
    CpiLevels seven = WithCount(7);
    EXPECT_EQ(seven.ToggleLevel(7), LevelToggle::Removed);
    EXPECT_EQ(seven.LevelCount(), 6);
}

TEST(CpiLevels, StepChangeMakesLevelNCurrent)
{
    for (int n = 2; n <= 7; ++n) {
        CpiLevels levels = WithCount(7);
        ASSERT_TRUE(levels.SelectCurrent(1));
        levels.SetLevelCount(n);
        EXPECT_EQ(levels.LevelCount(), n);
        EXPECT_EQ(levels.CurrentLevel(), n);
        for (int k = 1; k <= 7; ++k)
            EXPECT_EQ(levels.SelectorPicture(k), k == n ? "CbS_E" : "CbS_D") << n << ' ' << k;
    }
    CpiLevels levels = WithCount(4);
    levels.SetLevelCount(8); // not an item of cb_CPIStep
    EXPECT_EQ(levels.LevelCount(), 4);
}

TEST(CpiLevels, SelectorOfAnInactiveLevelChangesNothing)
{
    CpiLevels levels = WithCount(3);
    EXPECT_FALSE(levels.SelectCurrent(4));
    EXPECT_EQ(levels.CurrentLevel(), 3);
    EXPECT_TRUE(levels.SelectCurrent(1));
    EXPECT_EQ(levels.CurrentLevel(), 1);
}

TEST(ValueBar, StylesForValue1600)
{
    struct Case {
        int style;
        std::vector<bool> lit;
    };
    const Case cases[] = {
        {1, {false, false, false, false, true, false, false, false, false, false, false}},
        {0, {true, true, true, true, true, false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        CpiLevels levels;
        levels.SetValue(1, 4); // 1600
        EXPECT_EQ(Lit(levels.BarPictures(1, c.style)), c.lit) << c.style;
    }
}

TEST(ValueBar, NoValueOrOutOfRangeLightsNothing)
{
    EXPECT_EQ(BarSegmentsLit(11, 0, 0), std::vector<bool>(11, false));
    EXPECT_EQ(BarSegmentsLit(11, 12, 1), std::vector<bool>(11, false));
    EXPECT_EQ(BarSegmentsLit(11, 11, 0), std::vector<bool>(11, true));
}

TEST(CpiLevels, RgbEditsClampAndFillTheSwatch)
{
    struct Case {
        QString typed;
        QString left;
        int green;
    };
    const Case cases[] = {
        {"300", "255", 255}, {"", "0", 0}, {"255", "255", 255}, {"7", "7", 7}, {"256", "255", 255}};
    for (const auto& c : cases) {
        CpiLevels levels;
        levels.SetNamedColour(1, 0); // red, replaced by the RGB edit
        EXPECT_EQ(levels.EditRgb(1, 1, c.typed), c.left) << c.typed.toStdString();
        EXPECT_EQ(levels.Swatch(1), QColor(0, c.green, 0)) << c.typed.toStdString();
    }
}

TEST(CpiLevels, WhicheverColourChangedLastDecidesTheSwatch)
{
    CpiLevels levels;
    EXPECT_FALSE(levels.Swatch(3).isValid()); // nothing shown yet
    levels.EditRgb(3, 2, "200");
    EXPECT_EQ(levels.Swatch(3), QColor(0, 0, 200));
    levels.SetNamedColour(3, 5);
    EXPECT_EQ(levels.Swatch(3), QColor(0, 255, 255));
    levels.SetRgb(3, QColor(1, 2, 3));
    EXPECT_EQ(levels.Swatch(3), QColor(1, 2, 3));
    EXPECT_EQ(levels.NamedColour(3), 5);
}

TEST(CpiLevels, NamedChoiceFromTheColourDialog)
{
    CpiLevels levels;
    levels.SetNamedColour(2, 0);
    levels.ApplyNamedChoice(2, 255); // confirmed without a choice
    EXPECT_EQ(levels.NamedColour(2), 0);
    levels.ApplyNamedChoice(2, 2); // cell 3
    EXPECT_EQ(levels.NamedColour(2), 2);
    EXPECT_EQ(levels.Swatch(2), QColor(255, 255, 0));
}

TEST(CpiLevels, ColourCellOpensByLightType)
{
    EXPECT_EQ(ColourCellActionFor(""), ColourCellAction::None);
    EXPECT_EQ(ColourCellActionFor("ZKLED"), ColourCellAction::NamedDialog);
    EXPECT_EQ(ColourCellActionFor("MCULED"), ColourCellAction::SystemPicker);
    EXPECT_EQ(LedTypeShownFor(PairChoice::First), "ZKLED");
    EXPECT_EQ(LedTypeShownFor(PairChoice::Second), "MCULED");
}

TEST(CpiLevels, ShowsTheDefaultImage)
{
    const ConfigImage s = orb::test::DefaultSplitImage();
    const CpiLevels mcu = ShownFrom(s, LedTypeMcu);
    EXPECT_EQ(mcu.LevelCount(), 6);
    EXPECT_EQ(mcu.CurrentLevel(), 2);
    EXPECT_EQ(mcu.Value(1), 1);
    EXPECT_EQ(mcu.Value(7), 7);
    EXPECT_EQ(mcu.NamedColour(1), 1);
    EXPECT_EQ(mcu.Swatch(1), QColor(0, 255, 0)); // RGB bytes 0x1A..0x1C
    EXPECT_EQ(mcu.Swatch(2), QColor(255, 0, 255));
    const CpiLevels normal = ShownFrom(s, LedTypeNormal);
    EXPECT_EQ(normal.Swatch(2), NamedColourTable[4]); // colour byte 0x0E
}

// A level's value and colours reach the bytes of the image map and come back.
TEST(CpiLevels, StoreWritesTheImageBytesAndShowReadsThemBack)
{
    ConfigImage s = orb::test::DefaultSplitImage();
    CpiLevels levels = ShownFrom(s, LedTypeMcu);
    ASSERT_EQ(levels.ToggleLevel(7), LevelToggle::Added);
    levels.SetValue(3, 10);
    levels.SetNamedColour(3, 6);
    levels.EditRgb(3, 0, "17");
    levels.EditRgb(3, 1, "300");
    levels.EditRgb(3, 2, "");
    ASSERT_TRUE(levels.SelectCurrent(5));

    SettingsControls c;
    ShowSettings(s.ParameterA, s.ParameterB, s.FireKey, c);
    levels.Store(c);
    StoreSettings(c, s.ParameterA, s.ParameterB, s.FireKey);
    EXPECT_EQ(s.ParameterA[0x02], 7);
    EXPECT_EQ(s.ParameterA[0x08], 10);
    EXPECT_EQ(s.ParameterA[0x0F], 6);
    EXPECT_EQ(s.ParameterA[0x20], 17);
    EXPECT_EQ(s.ParameterA[0x21], 255);
    EXPECT_EQ(s.ParameterA[0x22], 0);
    EXPECT_EQ(s.ParameterB[0], 4);
    EXPECT_EQ(s.ParameterB[1], 0xFB);

    const CpiLevels back = ShownFrom(s, LedTypeMcu);
    EXPECT_EQ(back.LevelCount(), 7);
    EXPECT_EQ(back.CurrentLevel(), 5);
    EXPECT_EQ(back.Value(3), 10);
    EXPECT_EQ(back.NamedColour(3), 6);
    EXPECT_EQ(back.Swatch(3), QColor(17, 255, 0));
}

// Damaged level bytes show as something the controls can hold.
TEST(CpiLevels, DamagedBytesShowWithinTheirRanges)
{
    struct Case {
        std::uint8_t count, current, value, colour;
        int shownCount, shownCurrent, shownValue, shownColour;
    };
    const Case cases[] = {
        {0x00, 0x00, 0xFF, 0x07, 2, 1, -1, -1},
        {0x09, 0x05, 0x0B, 0xFF, 7, 6, -1, -1},
        {0x03, 0x05, 0x0A, 0x06, 3, 1, 10, 6}, // current beyond the count
    };
    for (const auto& k : cases) {
        ConfigImage s = orb::test::DefaultSplitImage();
        s.ParameterA[0x02] = k.count;
        s.ParameterB[0] = k.current;
        s.ParameterA[0x06] = k.value;
        s.ParameterA[0x0D] = k.colour;
        const CpiLevels levels = ShownFrom(s, LedTypeNormal);
        EXPECT_EQ(levels.LevelCount(), k.shownCount);
        EXPECT_EQ(levels.CurrentLevel(), k.shownCurrent);
        EXPECT_EQ(levels.Value(1), k.shownValue);
        EXPECT_EQ(levels.NamedColour(1), k.shownColour);
        EXPECT_EQ(Lit(levels.BarPictures(1, 0)), std::vector<bool>(11, k.shownValue == 10));
    }
}
