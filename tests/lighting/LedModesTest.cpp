#include "lighting/LedModes.h"
#include "lighting/KeyModeOptions.h"
#include "lighting/ValueBar.h"

#include "DefaultSplitImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orb;

namespace
{

const QStringList kModeNames{"Mode 1", "Mode 2", "Mode 3", "Mode 4", "Mode 5", "Mode 6", "Mode 7"};

SettingsControls Controls(const ConfigImage& s)
{
    SettingsControls c;
    ShowSettings(s.ParameterA, s.ParameterB, s.FireKey, c);
    return c;
}

LedModes Shown(const ConfigImage& s)
{
    LedModes m;
    m.SetModeNames(kModeNames);
    m.Show(Controls(s));
    return m;
}

std::vector<bool> Lit(const std::vector<QString>& pictures)
{
    std::vector<bool> out;
    for (const auto& p : pictures)
        out.push_back(p == LightBarLit);
    return out;
}

std::vector<bool> Only(int count, std::initializer_list<int> segments)
{
    std::vector<bool> out(static_cast<std::size_t>(count), false);
    for (int s : segments)
        out[static_cast<std::size_t>(s - 1)] = true;
    return out;
}

} // namespace

TEST(LedModes, LightTypeShowsItsOwnItems)
{
    const LightTypeView normal = LightTypeViewFor(LightType::Normal);
    const LightTypeView mcu = LightTypeViewFor(LightType::Mcu);
    EXPECT_TRUE(normal.norLedSetting && normal.norLedCpiColour && normal.keyMode1ColourEdits);
    EXPECT_FALSE(normal.mcuControlMode || normal.mcuCurrent || normal.mcuCpiColour || normal.lcpiPair ||
                 normal.modeOptions || normal.bars);
    EXPECT_FALSE(mcu.norLedSetting || mcu.norLedCpiColour || mcu.keyMode1ColourEdits);
    EXPECT_TRUE(mcu.mcuControlMode && mcu.mcuCurrent && mcu.mcuCpiColour && mcu.lcpiPair && mcu.modeOptions &&
                mcu.bars);
    EXPECT_EQ(LightTypeViewFor(LightType::None), LightTypeView{});
}

TEST(LedModes, DefaultImageShowsTheMcuLight)
{
    const LedModes m = Shown(orb::test::DefaultSplitImage());
    EXPECT_EQ(m.Type(), LightType::Mcu);
    EXPECT_EQ(m.LedNumber(), 10);
    EXPECT_EQ(m.CurrentModeIndex(), 1); // mode 2
    EXPECT_EQ(m.Step(), 2);
    EXPECT_EQ(m.ModeOptionPicture(2), "RdS_E");
    EXPECT_EQ(m.ModeOptionPicture(1), "RdS_D");
    for (int k = 1; k <= 7; ++k)
        EXPECT_TRUE(m.ModeOptionVisible(k)) << k; // byte 0x04 = 0xFF
}

TEST(LedModes, DisabledModeReadsDashesAndHidesItsOption)
{
    LedModes m = Shown(orb::test::DefaultSplitImage());
    m.SetModeEnabled(1, false);
    const QStringList items = m.CurrentModeItems();
    EXPECT_EQ(items.first(), "------");
    EXPECT_EQ(items.at(1), "Mode 2");
    EXPECT_FALSE(m.ModeOptionVisible(1));
    EXPECT_TRUE(m.ModeOptionVisible(2));
    EXPECT_EQ(m.CurrentModeIndex(), 0); // the rebuilt list selects item 0
    m.ClickModeOption(1);               // hidden: no click arrives, and none counts
    m.ClickModeOption(4);
    EXPECT_EQ(m.CurrentModeIndex(), 3);
    EXPECT_EQ(m.ModeOptionPicture(4), "RdS_E");
}

TEST(LedModes, NormalLightHidesTheModeOptions)
{
    ConfigImage s = orb::test::DefaultSplitImage();
    s.ParameterA[0x00] |= 0x80; // normal light
    const LedModes m = Shown(s);
    EXPECT_EQ(m.Type(), LightType::Normal);
    for (int k = 1; k <= 7; ++k)
        EXPECT_FALSE(m.ModeOptionVisible(k));
}

TEST(LedModes, NumberBarForNineLedsByStyle)
{
    LedModes m;
    ASSERT_EQ(m.EditLedNumber("9"), "9");
    EXPECT_EQ(Lit(m.LedNumberBar(0)), Only(10, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Lit(m.LedNumberBar(1)), Only(10, {6}));
}

TEST(LedModes, BarCaptionsByNumOrder)
{
    // Num_Order 1: the first number segment (4 LEDs) sits above "13".
    struct Case {
        int numOrder, label, segments, segment;
    };
    const Case cases[] = {{0, 1, 10, 1}, {1, 10, 10, 1}, {1, 1, 10, 10},
                          {1, 1, 8, 8},  {1, 8, 8, 1},   {5, 3, 8, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(CaptionSegment(c.label, c.segments, c.numOrder), c.segment);
    EXPECT_EQ(LedNumberCaption(10), "13");
    EXPECT_EQ(LedNumberCaption(1), "4");
    EXPECT_EQ(LedStepCaption(1), "0");
    EXPECT_EQ(LedStepCaption(8), "7");
}

TEST(LedModes, LedNumberCorrections)
{
    struct Case {
        QString typed;
        QString whileTyping;
        QString onLeaving;
    };
    const Case cases[] = {
        {"1", "1", "4"},    {"0", "4", "4"},    {"2", "4", "4"},    {"3", "4", "4"}, {"", "13", "13"},
        {"14", "13", "13"}, {"99", "13", "13"}, {"10", "10", "10"}, {"4", "4", "4"}, {"01", "4", "4"},
    };
    for (const auto& c : cases) {
        LedModes m;
        const QString shown = m.EditLedNumber(c.typed);
        EXPECT_EQ(shown, c.whileTyping) << c.typed.toStdString();
        EXPECT_EQ(m.LeaveLedNumber(shown), c.onLeaving) << c.typed.toStdString();
        EXPECT_EQ(m.LedNumber(), c.onLeaving.toInt());
    }
    LedModes m;
    m.EditLedNumber("1");
    EXPECT_EQ(Lit(m.LedNumberBar(0)), std::vector<bool>(10, false)); // below 4: nothing lit
}

TEST(LedModes, StepCorrectionsAndBarClicks)
{
    LedModes m;
    EXPECT_EQ(m.EditStep("9"), "7");
    EXPECT_EQ(m.EditStep(""), "0");
    EXPECT_EQ(m.ClickStepSegment(8), "7");
    EXPECT_EQ(Lit(m.StepBar(1)), Only(8, {8}));
    EXPECT_EQ(m.ClickStepSegment(1), "0");
    EXPECT_EQ(Lit(m.StepBar(0)), Only(8, {1}));
    EXPECT_EQ(m.ClickLedNumberSegment(10), "13");
    EXPECT_EQ(m.ClickLedNumberSegment(1), "4");
    EXPECT_EQ(m.LedNumber(), 4);
}

TEST(LedModes, ByteEditsClamp)
{
    LedModes m;
    EXPECT_EQ(m.EditNorLedStep("300"), "255");
    EXPECT_EQ(m.EditNorLedStep(""), "0");
    EXPECT_EQ(m.EditKeyModeRgb(2, 0, "256"), "255");
    EXPECT_EQ(m.EditKeyModeRgb(2, 2, "9"), "9");
    EXPECT_EQ(m.KeyModeColour(2), QColor(255, 0, 9));
    m.SetKeyModeColour(1, QColor(10, 20, 30));
    EXPECT_EQ(m.KeyModeColour(1), QColor(10, 20, 30));
}

TEST(LedModes, OptionPairPictures)
{
    LedModes m;
    EXPECT_EQ(m.LedOnOffPictures(), (PairPictures{"RdS_D", "RdS_D"}));
    m.SetLedOn(true);
    EXPECT_EQ(m.LedOnOffPictures(), (PairPictures{"RdS_E", "RdS_D"}));
    EXPECT_EQ(m.LedOff(), PairChoice::Second);
    m.SetMcpiOn(false);
    EXPECT_EQ(m.McpiPictures(), (PairPictures{"RdS_D", "RdS_E"}));
    m.SetLcpiOn(true);
    EXPECT_EQ(m.LcpiPictures(), (PairPictures{"RdS_E", "RdS_D"}));
}

// Store then show with nothing changed gives the same light bytes back.
TEST(LedModes, StoreAndShowRoundTripTheLightBytes)
{
    for (const std::uint8_t type : {0x00, 0x80}) {
        ConfigImage s = orb::test::DefaultSplitImage();
        s.ParameterA[0x00] = static_cast<std::uint8_t>((s.ParameterA[0x00] & 0x7F) | type);
        if (type)
            s.ParameterA[0x04] = 0xFF;
        LedModes m = Shown(s);
        KeyModeOptions o;
        o.Show(Controls(s));
        SettingsControls c = Controls(s);
        m.Store(c);
        o.Store(c);
        ConfigImage out = s;
        StoreSettings(c, out.ParameterA, out.ParameterB, out.FireKey);
        EXPECT_EQ(out.ParameterA, s.ParameterA) << int(type);
        if (!type) { // the normal light's state byte is rebuilt from its rules
            EXPECT_EQ(out.ParameterB, s.ParameterB);
        }
    }
}

TEST(LedModes, EditsReachTheImageBytes)
{
    ConfigImage s = orb::test::DefaultSplitImage();
    LedModes m = Shown(s);
    m.SetModeEnabled(3, false);
    m.ClickModeOption(5);
    m.ClickStepSegment(8);
    m.LeaveLedNumber(m.EditLedNumber("1"));
    m.SetLedOn(false);
    m.EditKeyModeRgb(1, 1, "300");
    SettingsControls c = Controls(s);
    m.Store(c);
    StoreSettings(c, s.ParameterA, s.ParameterB, s.FireKey);
    EXPECT_EQ(s.ParameterA[0x04], 0xF7);             // bit 3 (mode 3) cleared
    EXPECT_EQ(s.ParameterA[0x03] >> 4, 9);           // 13 - 4 LEDs
    EXPECT_EQ(s.ParameterB[2], (7 << 5) | 0x08 | 5); // step 7, off, mode 5
    EXPECT_EQ(s.ParameterA[0x15], 255);
}

TEST(KeyModeOptions, NoSaveLocksKeyModeAAndSaveUnlocksWithoutChange)
{
    SettingsControls c;
    c.keyMode = 1;
    KeyModeOptions o;
    o.Show(c);
    ASSERT_EQ(o.KeyMode(), 1);
    o.ChooseNoSave();
    EXPECT_EQ(o.KeyMode(), 0);
    EXPECT_FALSE(o.KeyModeEnabled());
    EXPECT_EQ(o.NoSaveKeyModePicture(), "RdS_E");
    EXPECT_EQ(o.SaveKeyModePicture(), "RdS_D");
    o.ChooseSave();
    EXPECT_TRUE(o.KeyModeEnabled());
    EXPECT_EQ(o.KeyMode(), 0);
    EXPECT_EQ(o.SaveKeyModePicture(), "RdS_E");
    o.Show(c);
    o.ChooseSave();
    EXPECT_EQ(o.KeyMode(), 1);
}

TEST(KeyModeOptions, ImageWithNoSaveLocksButShowsItsKeyMode)
{
    ConfigImage s = orb::test::DefaultSplitImage();
    s.ParameterA[0x00] |= 0x08; // no save
    s.ParameterB[4] = 0x80;     // key mode B
    KeyModeOptions o;
    o.Show(Controls(s));
    EXPECT_FALSE(o.KeyModeEnabled());
    EXPECT_EQ(o.KeyMode(), 1);
    s.ParameterA[0x00] &= 0xF7;
    o.Show(Controls(s));
    EXPECT_TRUE(o.KeyModeEnabled());
}

TEST(KeyModeOptions, ComboKeysToggleTheirBitsAndPictures)
{
    ConfigImage s = orb::test::DefaultSplitImage();
    KeyModeOptions o;
    o.Show(Controls(s));
    const bool mid = o.MidPress();
    EXPECT_EQ(o.ToggleMidPress(), !mid);
    EXPECT_EQ(o.ComboKeyPicture(1), mid ? "CbS_D" : "CbS_E");
    EXPECT_EQ(o.ToggleCpiPress(), (s.ParameterA[0x01] & 0x02) == 0);
    SettingsControls c = Controls(s);
    o.Store(c);
    StoreSettings(c, s.ParameterA, s.ParameterB, s.FireKey);
    EXPECT_EQ((s.ParameterA[0x01] & 0x01) != 0, !mid);
    EXPECT_EQ(ComboKeyCaption("Press 'CPI' 3s Switch Mode A/Mode B"),
              "     Press 'CPI' 3s Switch Mode A/Mode B");
}
