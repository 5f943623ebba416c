#include "macros/MacroCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orb
{
namespace
{

MacroScript Script(QStringList events, const char* header = "10")
{
    MacroScript s;
    s.Lines = QStringList{QString::fromLatin1(header)} + events;
    return s;
}

std::vector<std::uint8_t> Events(const MacroRecord& r)
{
    return {r.begin() + 2, r.begin() + 2 + (r[1] ? r[1] - 1 : 0)};
}

MacroRecord Record(std::vector<std::uint8_t> events, std::uint8_t mode = 0)
{
    MacroRecord r{};
    r[0] = mode;
    r[1] = static_cast<std::uint8_t>(events.size() + 1);
    std::copy(events.begin(), events.end(), r.begin() + 2);
    r[events.size() + 2] = SectionSum(&r[1], events.size() + 1);
    return r;
}

TEST(EncodeScript, ExampleRecordWithCheckByteThenZeros)
{
    const EncodeResult e =
        EncodeScript(Script({"1 LeftKey CODE:00A1", "0 80", "2 LeftKey CODE:0021"}), false);
    const std::vector<std::uint8_t> head{0x00, 0x05, 0xA1, 0xFE, 0x0A, 0x21, 0x95};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), e.record.begin()));
    EXPECT_TRUE(std::all_of(e.record.begin() + 7, e.record.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(e.linesLeftOut, 0);
    EXPECT_EQ(EncodeScript(Script({"1 A CODE:8204"}), true).record[0], 1);
}

TEST(EncodeScript, PausesAndOtherLines)
{
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"0 4100", {0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0x02}},
        {"0 2040", {0xFE, 0xFF}},
        {"0 0", {0xFE, 0x00}},
        {"0 7", {0xFE, 0x00}},
        {"0 10200", {0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF}},
        {"4 FBF4", {0xFB, 0xF4}},
        {"3 FB0C", {0xFB, 0x0C}},
        {"6 FA80", {0xFA, 0x80}},
        {"7 FD09", {0xFD, 0x09}},
        {"8 00FC", {0xFC}},
        {"1 Ctrl CODE:8101", {0x81, 0x01}},
        {"2 Right Windows CODE:0180", {0x01, 0x80}},
        {"1 A CODE:8204", {0x82, 0x04}},
        {"2 Backward CODE:0030", {0x30}},
    };
    for (const auto& [line, bytes] : cases) {
        SCOPED_TRACE(line);
        MacroRecord r = EncodeScript(Script({QString::fromLatin1(line)}), false).record;
        EXPECT_EQ(Events(r), bytes);
        EXPECT_EQ(StoredSize(QString::fromLatin1(line)), static_cast<int>(bytes.size()));
        EXPECT_FALSE(CheckMacroContentBuf(r));
    }
}

TEST(EncodeScript, EmptyScriptGivesAnAllZeroRecord)
{
    EXPECT_EQ(EncodeScript(Script({}), true).record, MacroRecord{});
    EXPECT_EQ(EncodeScript(MacroScript{}, true).record, MacroRecord{});
}

TEST(EncodeScript, LinesBeyondTheRecordAreLeftOutWhole)
{
    QStringList lines;
    for (int i = 0; i < 110; ++i)
        lines << "1 A CODE:8204"; // 220 bytes
    lines << "0 4100"
          << "8 00FC"; // 6 do not fit; the 1 after them is left out too
    const EncodeResult e = EncodeScript(Script(lines), false);
    EXPECT_EQ(e.record[1], 221);
    EXPECT_EQ(e.linesLeftOut, 2);
    MacroRecord r = e.record;
    EXPECT_FALSE(CheckMacroContentBuf(r));
}

TEST(DecodeRecord, PausesMergeUpToFivePairs)
{
    const auto d1 = DecodeRecord(Record({0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0x02}));
    EXPECT_EQ(d1.script.Lines.mid(1), QStringList{"0 4096"});
    const auto d2 = DecodeRecord(Record({0xFE, 1, 0xFE, 1, 0xFE, 1, 0xFE, 1, 0xFE, 1, 0xFE, 1}));
    EXPECT_EQ(d2.script.Lines.mid(1), (QStringList{"0 40", "0 8"}));
}

TEST(DecodeRecord, HeaderAndDelayChoiceFromTheFirstFourPauses)
{
    const std::vector<std::uint8_t> key{0x82, 0x04};
    auto with = [&](int pauses) {
        std::vector<std::uint8_t> ev;
        for (int i = 0; i < pauses; ++i) {
            ev.insert(ev.end(), key.begin(), key.end());
            ev.insert(ev.end(), {0xFE, 0x06});
        }
        ev.insert(ev.end(), key.begin(), key.end());
        return DecodeRecord(Record(ev));
    };
    EXPECT_EQ(with(4).script.Lines.first(), "0148");
    EXPECT_EQ(with(4).delay.mode, DelayMode::Fixed);
    EXPECT_EQ(with(4).delay.fixedMs, 48);
    EXPECT_EQ(with(2).script.Lines.first(), "10");
    EXPECT_EQ(with(2).delay.mode, DelayMode::Recorded);
    EXPECT_EQ(with(0).script.Lines.first(), "00");
    EXPECT_EQ(with(0).delay.mode, DelayMode::None);
}

TEST(DecodeRecord, EveryEventKindAndReleaseMode)
{
    const MacroRecord r = Record({0x81, 0x01, 0x01, 0x80, 0x82, 0x50, 0x02, 0x50, 0xA1, 0x30, 0xFB,
                                  0xF4, 0xFB, 0x00, 0xFA, 0x7F, 0xFA, 0x80, 0xFD, 0x09, 0xFC},
                                 1);
    const DecodedMacro d = DecodeRecord(r);
    EXPECT_EQ(d.script.Lines.mid(1),
              (QStringList{"1 Ctrl CODE:8101", "2 Right Windows CODE:0180", "1 Left Arrow CODE:8250",
                           "2 Left Arrow CODE:0250", "1 LeftKey CODE:00A1", "2 Backward CODE:0030", "4 FBF4",
                           "3 FB00", "5 FA7F", "6 FA80", "7 FD09", "8 00FC"}));
    EXPECT_EQ(DisplayText(d.script.item(6)), "X-Axis  -12");
    EXPECT_EQ(DisplayText(d.script.item(10)), "Rep-Start  10");
    EXPECT_EQ(d.releaseStop, true);
    EXPECT_TRUE(d.complete);
    // Decoding and encoding again gives the same record.
    EXPECT_EQ(EncodeScript(d.script, true).record, r);
    MacroRecord odd = r;
    odd[0] = 7;
    EXPECT_EQ(DecodeRecord(odd).releaseStop, std::nullopt);
}

TEST(DecodeRecord, HostileRecordsStopInsideTheRecord)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes; // whole record head: mode, L, events
        int lines;
        bool complete;
    };
    const Case cases[] = {
        {"unknown event byte", {0, 5, 0x82, 0x04, 0x77, 0x82}, 1, false},
        {"modifier with two bits", {0, 5, 0x81, 0x03, 0x82, 0x04}, 0, false},
        {"button byte without a button", {0, 2, 0xA0}, 0, false},
        {"pair cut by the length", {0, 4, 0x82, 0x04, 0xFE}, 1, false},
        {"two-byte event cut by the length", {0, 2, 0xFB}, 0, false},
        {"length 0", {0, 0, 0x82, 0x04}, 0, true},
        {"length 1", {0, 1, 0x82, 0x04}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MacroRecord r{};
        std::copy(c.bytes.begin(), c.bytes.end(), r.begin());
        const DecodedMacro d = DecodeRecord(r);
        EXPECT_EQ(d.script.itemCount(), c.lines);
        EXPECT_EQ(d.complete, c.complete);
    }
    // Length 0xFF over a record of key presses: read up to byte 223, no further.
    MacroRecord full{};
    full[1] = 0xFF;
    for (std::size_t i = 2; i + 1 < full.size(); i += 2) {
        full[i] = 0x82;
        full[i + 1] = 0x04;
    }
    const DecodedMacro d = DecodeRecord(full);
    EXPECT_EQ(d.script.itemCount(), 110); // bytes 2..221; byte 222 starts a pair cut at 222
    EXPECT_FALSE(d.complete);
}

TEST(MacroNames, Utf16HighByteFirst)
{
    const MacroName n = MacroNameStrToUnicode(QString::fromUtf8("CF_5连发"));
    const std::vector<std::uint8_t> head{0x00, 0x43, 0x00, 0x46, 0x00, 0x5F,
                                         0x00, 0x35, 0x8F, 0xDE, 0x53, 0xD1};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), n.begin()));
    EXPECT_TRUE(std::all_of(n.begin() + 12, n.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(MacroNameText(n), QString::fromUtf8("CF_5连发"));

    // Seventeen characters keep sixteen; no terminator is needed to read it back.
    const MacroName full = MacroNameStrToUnicode(QStringLiteral("ABCDEFGHIJKLMNOPQ"));
    EXPECT_EQ(MacroNameText(full), "ABCDEFGHIJKLMNOP");
    // A pair that would be cut in two is left out.
    const QString pairs = QStringLiteral("ABCDEFGHIJKLMNO") + QString::fromUtf8("😀");
    EXPECT_EQ(MacroNameText(MacroNameStrToUnicode(pairs)), "ABCDEFGHIJKLMNO");

    MacroName ff{};
    ff.fill(0xFF);
    EXPECT_TRUE(DeviceNameEmpty(ff));
    EXPECT_FALSE(LibraryNameEmpty(ff));
    EXPECT_TRUE(LibraryNameEmpty(MacroName{}));
}

TEST(CheckMacroContentBuf, ClearsBadRecords)
{
    MacroRecord good = Record({0x82, 0x04, 0x02, 0x04}, 1);
    EXPECT_FALSE(CheckMacroContentBuf(good));
    MacroRecord bad = good;
    bad[6] ^= 1;
    EXPECT_TRUE(CheckMacroContentBuf(bad));
    EXPECT_EQ(bad, MacroRecord{});
    MacroRecord tooLong{};
    tooLong.fill(0x11);
    tooLong[1] = 0xDF; // 223: no room for its check byte
    EXPECT_TRUE(CheckMacroContentBuf(tooLong));
    EXPECT_EQ(tooLong, MacroRecord{});
    MacroRecord empty{};
    empty[0] = 1;
    EXPECT_TRUE(CheckMacroContentBuf(empty));
    EXPECT_EQ(empty, MacroRecord{});
    EXPECT_TRUE(MacroRecordEmpty(MacroRecord{}));
    EXPECT_TRUE(MacroRecordEmpty(tooLong));
    MacroRecord erased{};
    erased.fill(0xFF);
    EXPECT_TRUE(MacroRecordEmpty(erased));
    EXPECT_FALSE(MacroRecordEmpty(good));
    MacroRecord longest{};
    longest[1] = MaxLengthByte;
    longest[223] = SectionSum(&longest[1], MaxLengthByte);
    EXPECT_FALSE(CheckMacroContentBuf(longest));
}

TEST(DeviceSlots, SplitCheckNamesAndBackAgain)
{
    MacroAreaBytes area{};
    area.fill(0xFF);
    const MacroRecord rec = Record({0xA1, 0x21}, 0);
    const MacroName name = MacroNameStrToUnicode("Shot");
    // Slot 3 holds a good macro; the rest are erased memory (0xFF).
    std::copy(name.begin(), name.end(), area.begin() + 0x200);
    std::copy(rec.begin(), rec.end(), area.begin() + 0x220);
    const DeviceMacros device = ReadAndRefreshMacro(area);
    EXPECT_EQ(device.Records[2], rec);
    for (int i : {0, 1, 3, 4, 5, 6})
        EXPECT_EQ(device.Records[i], MacroRecord{});
    EXPECT_EQ(DeviceMacroNameList(device), (QStringList{"", "", "Shot", "", "", "", ""}));
    MacroAreaBytes back{};
    RefreshBaseMacroBuf(device, back);
    EXPECT_TRUE(std::equal(back.begin() + 0x200, back.begin() + 0x300, area.begin() + 0x200));
    EXPECT_EQ(back[0x100], 0xFF); // slot 2 name kept as it was, record cleared
    EXPECT_EQ(back[0x121], 0x00);
}

std::array<bool, DeviceSlotCount> Used(std::initializer_list<int> device)
{
    std::array<bool, DeviceSlotCount> used{};
    for (int s : device)
        used[s - 1] = true;
    return used;
}

TEST(FindBaseMacroCount, SlotChoice)
{
    DeviceMacros device;
    for (int n = 1; n <= 7; ++n)
        device.Names[n - 1] = MacroNameStrToUnicode(QStringLiteral("M%1").arg(n));
    struct Case {
        std::initializer_list<int> used;
        const char* name;
        int slot;
    };
    const Case cases[] = {
        {{}, "Other", 1},
        {{1, 2}, "Other", 3},
        {{2, 3}, "Other", 1},
        {{1, 3}, "Other", 2},
        {{3, 4, 5}, "Other", 1},
        {{1, 2, 4}, "Other", 3},
        {{1, 2, 3, 4, 5, 6}, "Other", 7},
        {{1, 2, 3, 4, 5, 6, 7}, "Other", NoSlot},
        {{1, 2, 3, 4, 5, 6, 7}, "M5", 5},
        {{1, 2}, "M1", 1}, // already in the mouse: shared
        {{1, 3}, "M1", 2}, // not a prefix: no reuse
        {{6}, "Other", 7},
        {{7}, "Other", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.used.size());
        EXPECT_EQ(FindBaseMacroCount(Used(c.used), MacroNameStrToUnicode(c.name), device), c.slot);
    }
    // The name must match exactly one slot.
    device.Names[1] = device.Names[0];
    EXPECT_EQ(FindBaseMacroCount(Used({1, 2, 3, 4, 5, 6, 7}), device.Names[0], device), NoSlot);
}

TEST(FindBaseMacroCount, SameMacroOnTwoButtonsSharesASlot)
{
    std::array<QString, 9> modeA{"010100", "010200", "010400", "010800", "011000",
                                 "050000", "070000", "080000", "0600F0"};
    std::array<QString, 9> modeB = modeA;
    DeviceMacros device;
    const MacroName name = MacroNameStrToUnicode("Burst");
    const MacroRecord record = Record({0xA1, 0xFE, 0x03, 0x21}, 1);

    int slot = FindBaseMacroCount(modeA, modeB, name, device);
    ASSERT_EQ(slot, 1);
    modeA[3] = PutMacroInSlot(device, slot, name, record);
    EXPECT_EQ(modeA[3], "0E0121");

    slot = FindBaseMacroCount(modeA, modeB, name, device);
    EXPECT_EQ(slot, 1);
    modeB[4] = PutMacroInSlot(device, slot, name, record);
    EXPECT_EQ(modeB[4], "0E0121");
    EXPECT_EQ(UsedSlots(modeA, modeB), Used({1}));
    // A different macro takes the next slot, with the run-to-end type.
    MacroRecord toEnd = record;
    toEnd[0] = 0;
    EXPECT_EQ(PutMacroInSlot(device, FindBaseMacroCount(modeA, modeB, MacroNameStrToUnicode("x"), device),
                             MacroNameStrToUnicode("x"), toEnd),
              "060221");
}

// Random records, many with hostile length bytes: decoding always ends
// inside the record, and what it gives encodes into a record that passes
// the slot check.
TEST(DecodeRecord, GeneratedRecordsNeverReadPastTheRecord)
{
    std::mt19937 random(6200);
    const std::uint8_t common[] = {0xFE, 0xFD, 0xFC, 0xFB, 0xFA, 0x81, 0x01, 0x82, 0x02,
                                   0xA1, 0x21, 0xB0, 0x30, 0xFF, 0x00, 0x08, 0x80};
    constexpr int Count = 5000;
    int decodedLines = 0;
    for (int n = 0; n < Count; ++n) {
        MacroRecord r{};
        for (auto& b : r)
            b = random() % 2 ? common[random() % std::size(common)] : static_cast<std::uint8_t>(random());
        if (random() % 2) {
            // A well-formed macro with a few bytes damaged.
            MacroScript script;
            script.Lines << "10";
            const QString kinds[] = {
                "1 A CODE:8204",       "2 Ctrl CODE:0101",    "0 4100", "0 16", "4 FBF4", "7 FD09", "8 00FC",
                "1 LeftKey CODE:00A1", "2 Backward CODE:0030"};
            for (int k = 0, m = static_cast<int>(random() % 120); k < m; ++k)
                script.Lines << kinds[random() % std::size(kinds)];
            r = EncodeScript(script, false).record;
            for (int k = 0, m = static_cast<int>(random() % 3); k < m; ++k)
                r[random() % r.size()] = static_cast<std::uint8_t>(random());
        }
        switch (random() % 6) {
        case 0:
            r[1] = 0xFF;
            break;
        case 1:
            r[1] = static_cast<std::uint8_t>(MaxLengthByte - random() % 3);
            break;
        default:
            break;
        }
        const DecodedMacro d = DecodeRecord(r);
        ASSERT_LE(d.script.storedSize(), MaxEventBytes);
        decodedLines += d.script.itemCount();
        MacroRecord again = EncodeScript(d.script, d.releaseStop.value_or(false)).record;
        ASSERT_LE(again[1], MaxLengthByte);
        if (again[1] != 0) {
            ASSERT_FALSE(CheckMacroContentBuf(again));
        }
        ASSERT_LE(DecodeRecord(again).script.itemCount(), d.script.itemCount());
        CheckMacroContentBuf(r);
    }
    EXPECT_GT(decodedLines, 5 * Count); // most inputs reach deep into the record
}

} // namespace
} // namespace orb
