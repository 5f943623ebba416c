#include "keys/KeyCodes.h"

#include "FakePacks.h"

#include <gtest/gtest.h>

#include <set>

namespace orb
{
namespace
{

const QStringList kMacroNames = {"Combo", "Reload", "Slot3", "Slot4", "Slot5", "Slot6", "Seventh"};

QString Name(const QString& code, int language = 3)
{
    return KeyFunctionName(code, test::PackLookup(language), kMacroNames);
}

TEST(KeyFunctionName, NamedAndComputedCodes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"010100", "Left Key"},
        {"011000", "Forward"},
        {"010300", ""}, // two buttons together have no name
        {"0600F0", "Fire Key"},
        {"000000", "Key Off"},
        {"03018A", "E-Mail"}, // no menu item, still named
        {"0A0500", "AIM Key"},
        {"0AFF00", "AIM Key"},
        {"0A0A7F", "AIM Key"},
        {"020807", "Desktop"}, // not Win+D
        {"020800", "Win+"},
        {"020100", "Ctrl+"},
        {"020200", "Shift+"},
        {"020104", "Ctrl+A"},
        {"020504", "Ctrl+Alt+A"},
        {"020004", "A"},
        {"020F3E", "Ctrl+Shift+Alt+Win+F5"},
        {"0208E3", "Win+Win"},
        {"02F004", "A"}, // bits 4..7 are not shown
        {"02F000", ""},
        {"020064", ""}, // usage without a name
        {"0C0101", ""},
        {"0C080A", ""},
        {"0C0909", ""},
        {"0D0000", ""},
        {"0D0101", ""},
        {"030195", ""}, // unknown consumer usage
        {"040000", ""}, // unused type
        {"FF0000", ""},
    };
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Name(code), QString::fromUtf8(name));
    }
}

TEST(KeyFunctionName, NamedCodesFollowTheLanguage)
{
    EXPECT_EQ(Name("010100", 1), QString::fromUtf8("左键"));
    EXPECT_EQ(Name("010100", 2), QString::fromUtf8("左鍵"));
    EXPECT_EQ(Name("020807", 1), QString::fromUtf8("显示桌面"));
    EXPECT_EQ(Name("0A0300", 2), QString::fromUtf8("瞄準鍵"));
    EXPECT_EQ(Name("03022A", 2), QString::fromUtf8("我的最愛"));
    // Keyboard names are not translated.
    EXPECT_EQ(Name("020504", 1), "Ctrl+Alt+A");
    for (int language = 1; language <= 3; ++language) {
        for (const char* code : {"0C0101", "0C0607", "0D0000"})
            EXPECT_EQ(Name(code, language), QString()) << code << " pack " << language;
    }
}

TEST(KeyFunctionName, UnnamedFunctionsAskForTheirOwnKeys)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0D0000", "Str223"}, {"0C0101", "Str600"}, {"0C0505", "Str604"}, {"0C0606", "Str605"},
        {"0C0607", "Str605"}, {"0C0808", "Str606"}, {"0C0809", "Str606"}, {"0C080A", "Str606"},
    };
    for (const auto& [code, key] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(KeyFunctionName(code, test::EchoLookup, {}), QString("<%1>").arg(key));
    }
}

TEST(KeyFunctionName, MacroCodesNameTheirSlot)
{
    const std::pair<const char*, const char*> cases[] =
        {
            {"060121", "Combo"},   {"0E0121", "Combo"}, {"060221", "Reload"},
            {"0E0721", "Seventh"}, {"060150", ""},      {"0E0150", ""},
            {"060021", ""},        {"060821", ""},      {"0E00F0", ""}, // only type 06 is the fire key
            {"060120", ""},
        };
    for (const auto& [code, name] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Name(code), QString::fromLatin1(name));
    }
    // Fewer names than slots: the missing ones read as empty.
    EXPECT_EQ(KeyFunctionName("060221", test::PackLookup(3), {"Only"}), QString());
    EXPECT_EQ(KeyFunctionName("060121", test::PackLookup(3), {"Only"}), "Only");
}

TEST(KeyFunctionName, MalformedCodeOrNoLookupGivesEmpty)
{
    for (const char* code : {"", "0101", "0101000", "01010G", " 10100", "01 100", "0x0101"})
        EXPECT_EQ(Name(code), QString()) << '"' << code << '"';
    EXPECT_EQ(KeyFunctionName("010100", TextLookup(), kMacroNames), QString());
    EXPECT_EQ(KeyFunctionName("020104", TextLookup(), kMacroNames), "Ctrl+A");
}

TEST(MenuItems, EveryItemIsNamedInEveryLanguage)
{
    // English captions of the menu items, by tag.
    const std::pair<int, const char*> english[] = {
        {900, "Left Key"},        {901, "Right Key"},      {902, "Middle Key"},      {903, "Back"},
        {904, "Forward"},         {1000, "Fire Key"},      {1001, "LED Switch"},     {1002, "AIM Key"},
        {1004, "Key Off"},        {1005, "KB Switch Key"}, {1006, "LED Switch Key"}, {1100, "My Computer"},
        {1101, "Calculator"},     {1103, "Desktop"},       {1300, "Play/Pause"},     {1301, "Stop"},
        {1302, "Previous Track"}, {1303, "Next Track"},    {1304, "Volume +"},       {1305, "Volume -"},
        {1306, "Mute"},           {1400, "Home"},          {1401, "Search"},         {1402, "WWW Back"},
        {1403, "WWW Forward"},    {1404, "Stop"},          {1405, "Refresh"},        {1406, "Favorites"},
        {2000, "CPI Loop"},       {2001, "CPI +"},         {2002, "CPI -"},
    };
    ASSERT_EQ(MenuItems().size(), std::size(english));
    for (const auto& [tag, caption] : english) {
        SCOPED_TRACE(tag);
        const MenuItem* item = FindMenuItem(tag);
        ASSERT_NE(item, nullptr);
        const QString code = CodeForMenuItem(tag, 4);
        EXPECT_EQ(Name(code, 3), QString::fromLatin1(caption));
        for (int language = 1; language <= 3; ++language) {
            const QString name = Name(code, language);
            EXPECT_FALSE(name.isEmpty()) << "pack " << language;
            EXPECT_EQ(name, test::PackLookup(language)(item->textKey)) << "pack " << language;
        }
    }
}

TEST(MenuItems, CodesTagsAndNames)
{
    const std::pair<int, const char*> codes[] = {
        {900, "010100"},
        {904, "011000"},
        {1000, "0600F0"},
        {1004, "000000"},
        {1006, "100000"},
        {1100, "030194"},
        {1101, "030192"},
        {1103, "020807"},
        {1300, "0300CD"},
        {1306, "0300E2"},
        {1406, "03022A"},
        {2000, "050000"},
        {2001, "070000"},
        {2002, "080000"},
        // Not leaf items of the menu.
        {0, ""},
        {1, ""},
        {1003, ""},
        {1102, ""},
        {-900, ""},
    };
    for (const auto& [tag, code] : codes)
        EXPECT_EQ(CodeForMenuItem(tag, 0), QString::fromLatin1(code)) << tag;

    std::set<int> tags;
    std::set<QString> names;
    for (const MenuItem& item : MenuItems()) {
        EXPECT_TRUE(tags.insert(item.tag).second) << item.tag;
        EXPECT_TRUE(names.insert(QString::fromLatin1(item.name)).second) << item.name;
        EXPECT_TRUE(ParseCode(QString::fromLatin1(item.code)).has_value()) << item.name;
    }
    EXPECT_STREQ(FindMenuItem(900)->name, "Key_Left");
    EXPECT_STREQ(FindMenuItem(2001)->panel, "Pnl_CPIKey");
    EXPECT_EQ(FindMenuItem(1003), nullptr);
}

TEST(MenuItems, AimItemCarriesTheAimValue)
{
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, 0), "0A0000");
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, 5), "0A0500");
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, 10), "0A0A00");
    // Out of range values stay within the eleven CPI values.
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, 11), "0A0A00");
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, 255), "0A0A00");
    EXPECT_EQ(CodeForMenuItem(AimMenuTag, -1), "0A0000");
}

TEST(CodeText, RoundTrip)
{
    const std::pair<const char*, KeyFunctionCode> cases[] = {
        {"000000", {0x00, 0x00, 0x00}}, {"010100", {0x01, 0x01, 0x00}}, {"03018A", {0x03, 0x01, 0x8A}},
        {"0600F0", {0x06, 0x00, 0xF0}}, {"0E0721", {0x0E, 0x07, 0x21}}, {"FFFFFF", {0xFF, 0xFF, 0xFF}},
        {"ABCDEF", {0xAB, 0xCD, 0xEF}},
    };
    for (const auto& [text, bytes] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CodeToBytes(text), bytes);
        EXPECT_EQ(BytesToCode(bytes), QString::fromLatin1(text));
        EXPECT_EQ(BytesToCode(CodeToBytes(text)), QString::fromLatin1(text));
    }
    EXPECT_EQ(BytesToCode(0x02, 0x03, 0x3E), "02033E");
    // Lower-case digits are read, written back upper-case.
    EXPECT_EQ(BytesToCode(CodeToBytes("03018a")), "03018A");
}

TEST(CodeText, MalformedTextIsKeyOff)
{
    const QString malformed[] = {
        "",
        "0",
        "01010",
        "0101000",
        "01010G",
        "G10100",
        "0101 0",
        " 10100",
        "+10100",
        "-10100",
        "0x0101",
        "01010\n",
        QString::fromUtf8("01010０"),
        QString(QChar(0)).repeated(6),
    };
    for (const QString& text : malformed) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(ParseCode(text).has_value());
        EXPECT_EQ(CodeToBytes(text), (KeyFunctionCode{0, 0, 0}));
    }
}

TEST(CodeText, Builders)
{
    EXPECT_EQ(KeyboardCode(ModifierBit::Ctrl | ModifierBit::Shift, 0x3E), "02033E");
    EXPECT_EQ(KeyboardCode(ModifierBit::Win, 0), "020800");
    EXPECT_EQ(MacroCode(3, false), "060321");
    EXPECT_EQ(MacroCode(1, true), "0E0121");
    EXPECT_EQ(MacroCode(0, false), QString());
    EXPECT_EQ(MacroCode(8, true), QString());
    for (int slot = 1; slot <= BaseMacroSlotCount; ++slot) {
        EXPECT_EQ(BaseMacroAddress(slot), slot * 0x100 + 0x21);
        EXPECT_EQ(BaseMacroSlotForAddress(BaseMacroAddress(slot)), slot);
        EXPECT_EQ(Name(MacroCode(slot, slot % 2 == 0)), kMacroNames[slot - 1]);
    }
    EXPECT_EQ(BaseMacroSlotForAddress(0x00F0), 0);
    EXPECT_EQ(BaseMacroSlotForAddress(0x0821), 0);
}

} // namespace
} // namespace orb
