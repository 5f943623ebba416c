#include "keys/KeyAssignment.h"
#include "keys/KeyCodes.h"
#include "keys/MenuPlacement.h"

#include "FakePacks.h"

#include <gtest/gtest.h>

namespace orb
{
namespace
{

const QStringList kMacroNames = {"Combo", "Left Key", "AIM Key", "Slot4", "Slot5", "Slot6", "Slot7"};

// Profile section with the factory keys in both modes: key 1 is the only left button.
ProfileKeysBytes FactoryProfile()
{
    ProfileKeysBytes p;
    p.fill(0xFF);
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), p.begin() + ModeAKeysOffset);
    std::copy(FactoryKeys.begin(), FactoryKeys.end(), p.begin() + ModeBKeysOffset);
    p[54] = SectionSum(p.data(), 54);
    return p;
}

// The model as an image shows it, names in the given language.
struct Model {
    ProfileKeysBytes profile = FactoryProfile();
    KeyTexts codesA, codesB;
    KeyAssignments keys{codesA, codesB, profile};
    explicit Model(int language = 3)
    {
        keys.LoadCodes();
        keys.RebuildKeyNames(test::PackLookup(language), kMacroNames);
    }
    KeyTexts shown(KeyMode mode) const { return keys.names(mode); }
    std::array<std::uint8_t, 3> bytes(KeyMode mode, int key) const
    {
        const std::size_t at = KeyOffset(mode, key);
        return {profile[at], profile[at + 1], profile[at + 2]};
    }
};

const QString kLeft = "Left Key";

TEST(KeyModel, CodesFollowTheProfileSectionAndEveryChangeWritesBoth)
{
    Model m;
    EXPECT_EQ(m.keys.ModeACodes[0], "010100");
    EXPECT_EQ(m.keys.ModeBCodes[8], "090000");
    EXPECT_EQ(m.keys.ModeANames[1], "Middle Key");

    struct Case {
        KeyMode mode;
        int key;
        std::size_t offset;
    };
    const Case cases[] = {{KeyMode::A, 1, 0}, {KeyMode::A, 9, 24}, {KeyMode::B, 1, 27}, {KeyMode::B, 9, 51}};
    for (const Case& c : cases) {
        Model model;
        const std::uint8_t checksum = model.profile[54];
        model.keys.SetKey(c.mode, c.key, "03022A");
        EXPECT_EQ(model.keys.codes(c.mode)[std::size_t(c.key - 1)], "03022A");
        EXPECT_EQ(model.profile[c.offset], 0x03);
        EXPECT_EQ(model.profile[c.offset + 1], 0x02);
        EXPECT_EQ(model.profile[c.offset + 2], 0x2A);
        EXPECT_EQ(model.profile[54], checksum); // taken only when the image is joined
        // The other mode is untouched.
        const KeyMode other = c.mode == KeyMode::A ? KeyMode::B : KeyMode::A;
        EXPECT_EQ(model.keys.codes(other)[std::size_t(c.key - 1)],
                  Model().keys.codes(other)[std::size_t(c.key - 1)]);
    }

    // Out-of-range keys change nothing.
    Model model;
    const auto before = model.profile;
    model.keys.SetKey(KeyMode::A, 0, "010200");
    model.keys.SetKey(KeyMode::B, 10, "010200");
    EXPECT_EQ(model.profile, before);
}

TEST(LeftKeyRule, MenuPicks)
{
    struct Case {
        const char* what;
        KeyTexts shown;
        int key;
        QString name;
        bool accepted;
    };
    const KeyTexts factory = Model().shown(KeyMode::A);
    KeyTexts twoLeft = factory;
    twoLeft[2] = kLeft;
    KeyTexts none = factory;
    none[0] = "Ctrl+A";
    KeyTexts lastLeft = factory;
    lastLeft[0] = "Right Key";
    lastLeft[8] = kLeft;
    const Case cases[] = {
        {"only left button replaced", factory, 1, "Right Key", false},
        {"only left button made left again", factory, 1, kLeft, true},
        {"other key changed", factory, 2, "Right Key", true},
        {"left picked for any key", factory, 9, kLeft, true},
        {"one of two left buttons moved", twoLeft, 1, "Fire Key", true},
        {"left picked with none left", none, 5, kLeft, true},
        {"other pick with none left", none, 5, "Mute", false},
        {"left on key 9 only", lastLeft, 9, "Stop", false},
        {"left on key 9 only, key 1 changed", lastLeft, 1, "Stop", true},
        {"macro named like the left button", none, 4, "Left Key", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeftKeyRuleAccepts(c.shown, c.key, c.name, kLeft), c.accepted) << c.what;
}

TEST(LeftKeyRule, RefusedPickKeepsCodeBytesAndShownName)
{
    Model m;
    KeyTexts shown = m.shown(KeyMode::A);
    const auto before = m.profile;
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::A, 1, "010200", "Right Key", shown, kLeft));
    EXPECT_EQ(m.keys.ModeACodes[0], "010100");
    EXPECT_EQ(shown[0], kLeft);
    EXPECT_EQ(m.profile, before);

    // With a second left button the first can go, then the second cannot.
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 4, "010100", kLeft, shown, kLeft));
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 1, "010200", "Right Key", shown, kLeft));
    EXPECT_EQ(shown[0], "Right Key");
    EXPECT_EQ(m.bytes(KeyMode::A, 1), (std::array<std::uint8_t, 3>{1, 2, 0}));
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::A, 4, "0300E2", "Mute", shown, kLeft));
    EXPECT_EQ(shown[3], kLeft);
    EXPECT_EQ(m.keys.ModeACodes[3], "010100");
}

TEST(LeftKeyRule, ModesAreCountedApart)
{
    Model m;
    // Mode B's only left button moves to key 3; mode A keeps key 1.
    KeyTexts shownB = m.shown(KeyMode::B);
    ASSERT_TRUE(m.keys.PickFunction(KeyMode::B, 3, "010100", kLeft, shownB, kLeft));
    ASSERT_TRUE(m.keys.PickFunction(KeyMode::B, 1, "0600F0", "Fire Key", shownB, kLeft));
    // Mode A's left button does not let mode B lose its last one, nor the reverse.
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::B, 3, "010400", "Middle Key", shownB, kLeft));
    KeyTexts shownA = m.shown(KeyMode::A);
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::A, 1, "010400", "Middle Key", shownA, kLeft));
    EXPECT_EQ(m.keys.ModeACodes[0], "010100");
    EXPECT_EQ(m.keys.ModeBCodes[2], "010100");
}

TEST(LeftKeyRule, CombinationMayRemoveTheLastLeftButtonThenPicksAreRefused)
{
    Model m;
    KeyTexts shown = m.shown(KeyMode::A);
    // Combinations bypass the rule.
    m.keys.SetKey(KeyMode::A, 1, "020104");
    shown[0] = "Ctrl+A";
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::A, 2, "0300E2", "Mute", shown, kLeft));
    EXPECT_EQ(shown[1], "Middle Key"); // still shows its unchanged function
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 2, "010100", kLeft, shown, kLeft));
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 3, "0300E2", "Mute", shown, kLeft));
}

TEST(LeftKeyRule, ComparesWithTheCurrentLanguagesName)
{
    // Names shown in language 1, then the language switched to 3.
    Model m(1);
    KeyTexts shown = m.shown(KeyMode::A);
    const QString english = test::PackLookup(3)("Str210");
    const QString chinese = test::PackLookup(1)("Str210");
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 2, "010200", "右键", shown, chinese));
    // Captions still in the old language: no key reads the new left-button name.
    EXPECT_FALSE(LeftKeyRuleAccepts(shown, 2, "Right Key", english));
    // Re-texted in the new language, key 1 counts again.
    m.keys.RebuildKeyNames(test::PackLookup(3), kMacroNames);
    shown = m.shown(KeyMode::A);
    EXPECT_TRUE(m.keys.PickFunction(KeyMode::A, 3, "010800", "Back", shown, english));
    EXPECT_FALSE(m.keys.PickFunction(KeyMode::A, 1, "010800", "Back", shown, english));
}

TEST(AimValue, ModeBWinsAndTheWriteGivesEveryAimKeyTheValue)
{
    Model m;
    m.keys.SetKey(KeyMode::A, 6, "0A0200");
    m.keys.SetKey(KeyMode::B, 4, "0A0700");
    m.keys.LoadCodes();
    EXPECT_EQ(m.keys.AimValueFromProfile(), 7);

    m.keys.AimValue = 7;
    m.keys.AIMKeyToDataBuf();
    EXPECT_EQ(m.bytes(KeyMode::A, 6), (std::array<std::uint8_t, 3>{0x0A, 7, 0}));
    EXPECT_EQ(m.bytes(KeyMode::B, 4), (std::array<std::uint8_t, 3>{0x0A, 7, 0}));
    // Only the bytes carry the value; the other keys are untouched.
    EXPECT_EQ(m.keys.ModeACodes[5], "0A0200");
    EXPECT_EQ(m.bytes(KeyMode::A, 1), (std::array<std::uint8_t, 3>{1, 1, 0}));

    // Choosing a value: 10 is the highest, and both keys take it at once.
    EXPECT_TRUE(m.keys.ChooseAimValue(10));
    EXPECT_EQ(m.keys.AimValue, 10);
    EXPECT_EQ(m.bytes(KeyMode::A, 6), (std::array<std::uint8_t, 3>{0x0A, 10, 0}));
    EXPECT_EQ(m.bytes(KeyMode::B, 4), (std::array<std::uint8_t, 3>{0x0A, 10, 0}));
}

TEST(AimValue, NoAimKey)
{
    Model m;
    m.keys.AimValue = 5;
    EXPECT_EQ(m.keys.AimValueFromProfile(), std::nullopt);
    const auto before = m.profile;
    m.keys.AIMKeyToDataBuf();
    EXPECT_EQ(m.profile, before);
    EXPECT_FALSE(m.keys.ChooseAimValue(4));
    EXPECT_EQ(m.keys.AimValue, 0);
    EXPECT_EQ(m.profile, before);
    EXPECT_EQ(NoAimKeyMessage, "Please select a AIM Key in Profile!");
}

TEST(AimValue, OutOfRangeValueAndMacroNamedLikeTheAimKey)
{
    Model m;
    // A value beyond the eleven CPI values reads as the highest.
    m.keys.SetKey(KeyMode::A, 2, "0AFF00");
    EXPECT_EQ(m.keys.AimValueFromProfile(), 10);

    // A macro named like the AIM key keeps its macro code on a write.
    m.keys.SetKey(KeyMode::B, 5, MacroCode(3, false));
    m.keys.RebuildKeyNames(test::PackLookup(3), kMacroNames);
    ASSERT_EQ(m.keys.ModeBNames[4], "AIM Key");
    m.keys.AimValue = 3;
    EXPECT_EQ(m.keys.WriteAimValue(3), 1);
    EXPECT_EQ(m.bytes(KeyMode::B, 5), (std::array<std::uint8_t, 3>{0x06, 0x03, 0x21}));
    EXPECT_EQ(m.bytes(KeyMode::A, 2), (std::array<std::uint8_t, 3>{0x0A, 3, 0}));
}

TEST(MenuTarget, NamesToKeysAndButtons)
{
    const std::pair<const char*, int> keys[] = {
        {"Key1", 1}, {"Key9", 9}, {"Key", -1}, {"", -1}, {"KeyX", -1}};
    for (const auto& [name, key] : keys)
        EXPECT_EQ(KeyNumberFromName(name), key) << name;
    const std::pair<const char*, int> buttons[] = {
        {"btn_Key101", 101}, {"btn_Key209", 209}, {"Key1", -1}, {"btn_KeyA01", -1}};
    for (const auto& [name, number] : buttons)
        EXPECT_EQ(ButtonNumberFromName(name), number) << name;

    struct Target {
        int button;
        bool valid;
        KeyMode mode;
        int key;
    };
    const Target targets[] = {{101, true, KeyMode::A, 1},  {109, true, KeyMode::A, 9},
                              {201, true, KeyMode::B, 1},  {209, true, KeyMode::B, 9},
                              {100, false, KeyMode::A, 0}, {110, false, KeyMode::A, 0},
                              {200, false, KeyMode::A, 0}, {-1, false, KeyMode::A, 0}};
    for (const Target& t : targets) {
        const auto target = EngineerButtonTarget(t.button);
        ASSERT_EQ(target.has_value(), t.valid) << t.button;
        if (target) {
            EXPECT_EQ(target->mode, t.mode);
            EXPECT_EQ(target->key, t.key);
        }
    }
}

TEST(MenuPlacement, MainMenuOpensAwayFromTheWindowEdges)
{
    const QSize window(1030, 662);
    const QSize menu(190, 170);
    struct Case {
        const char* what;
        QRect label;
        QPoint expected;
    };
    const Case cases[] = {
        {"room right and below: at the centre", {140, 138, 170, 27}, {225, 151}},
        {"odd sizes: halves rounded down", {141, 139, 171, 27}, {226, 152}},
        {"near the right edge: to the left", {900, 138, 170, 27}, {795, 151}},
        {"near the bottom: above", {140, 480, 170, 27}, {225, 323}},
        {"bottom right corner", {900, 500, 170, 27}, {795, 343}},
        {"exactly at the limit counts as no room", {670, 465, 170, 27}, {565, 308}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MainMenuAtLabel(c.label, menu, window), c.expected) << c.what;
}

TEST(MenuPlacement, SubmenusNearTheEdges)
{
    const QSize window(1030, 662);
    const QSize sub(154, 124);
    const QRect item(2, 26, 186, 24);
    // Room: right of the item, level with it.
    EXPECT_EQ(SubmenuBesideMain(item, QRect(225, 151, 190, 170), 166, sub, window),
              QPoint(225 + 2 + 186 + 2, 177));
    // Near the right edge: left of the main panel; near the bottom: ending at the item's bottom.
    EXPECT_EQ(SubmenuBesideMain(item, QRect(700, 520, 190, 170), 166, sub, window),
              QPoint(700 - 154, 26 + 520 + 24 - 124));

    const QSize cpi(154, 76);
    const QRect cpiItem(2, 2, 162, 24);
    const QRect special(417, 151, 166, 170);
    EXPECT_EQ(CpiMenuBesideSpecial(cpiItem, QRect(225, 151, 190, 170), special, cpi, window),
              QPoint(2 + 417 + 162 + 2, 153));
    // 525 + 190 + 166 + 154 = 1035: no room to the right.
    const QRect specialFar(717, 600, 166, 170);
    EXPECT_EQ(CpiMenuBesideSpecial(cpiItem, QRect(525, 600, 190, 170), specialFar, cpi, window),
              QPoint(717 - 154, 2 + 600 + 24 - 76));

    // Engineering buttons: the group's top and the page's top lift the menu above the button.
    const QRect button(60, 20, 100, 25);
    EXPECT_EQ(MainMenuAtEngineerButton(button, QSize(190, 170), 1053, 66, 320),
              QPoint(70, 20 + 66 + 320 - 170 + 38));
    const QRect lastButton(930, 20, 100, 25); // 1053 < 930 + 190
    EXPECT_EQ(MainMenuAtEngineerButton(lastButton, QSize(190, 170), 1053, 66, 382),
              QPoint(930 + 100 - 190 + 10, 20 + 66 + 382 - 170 + 38));
}

} // namespace
} // namespace orb
