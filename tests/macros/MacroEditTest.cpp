#include "macros/MacroCodec.h"
#include "macros/MacroRecorder.h"
#include "macros/MacroScript.h"

#include <gtest/gtest.h>

namespace orb
{
namespace
{

MacroScript Script(QStringList events)
{
    MacroScript s;
    s.Lines = QStringList{"10"} + events;
    return s;
}

TEST(DeleteItem, PressesGoWithTheirReleases)
{
    struct Case {
        const char* what;
        QStringList lines;
        int item;
        QStringList left;
        int selection;
    };
    const QStringList pair{"1 A CODE:8204", "0 120", "2 A CODE:0204"};
    const Case cases[] = {
        {"press, release found forward", pair, 0, {"0 120"}, 0},
        {"release, press found backward", pair, 2, {"0 120"}, 0},
        {"lone press", {"0 50", "1 A CODE:8204", "0 120"}, 1, {"0 50", "0 120"}, 0},
        {"lone release", {"2 B CODE:0205", "0 5"}, 0, {"0 5"}, 0},
        {"pause alone", pair, 1, {"1 A CODE:8204", "2 A CODE:0204"}, 0},
        {"loop start keeps its end",
         {"7 FD09", "1 LeftKey CODE:00A1", "8 00FC"},
         0,
         {"1 LeftKey CODE:00A1", "8 00FC"},
         0},
        {"backward pair selects two up",
         {"0 1", "0 2", "0 3", "1 A CODE:8204", "2 A CODE:0204", "0 9"},
         4,
         {"0 1", "0 2", "0 3", "0 9"},
         2},
        {"forward pair selects one up",
         {"0 1", "0 2", "1 A CODE:8204", "2 A CODE:0204"},
         2,
         {"0 1", "0 2"},
         1},
        {"first of several presses pairs with the next line of its name",
         {"1 A CODE:8204", "1 A CODE:8204", "2 A CODE:0204"},
         0,
         {"2 A CODE:0204"},
         0},
        {"last line", {"8 00FC"}, 0, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MacroScript s = Script(c.lines);
        const MacroScript::Deletion d = s.deleteItem(c.item);
        EXPECT_EQ(s.Lines.mid(1), c.left);
        EXPECT_EQ(d.removed, c.lines.size() - c.left.size());
        EXPECT_EQ(d.selection, c.selection);
        EXPECT_EQ(s.Lines.first(), "10");
    }
    MacroScript s = Script(pair);
    EXPECT_EQ(s.deleteItem(3).removed, 0);
    EXPECT_EQ(s.deleteItem(-1).removed, 0);
}

TEST(InsertFromPanel, EveryKindBeforeAndAfter)
{
    const QStringList base{"0 1", "0 2", "0 3", "0 4"};
    struct Case {
        InsertKind kind;
        InsertValues values;
        int at; // script line of the new line
        const char* line;
        int selection;
    };
    InsertValues minus12;
    minus12.x = "-12";
    InsertValues zero;
    zero.x = "0";
    zero.y = "0";
    InsertValues big;
    big.delay = "9000";
    big.x = "500";
    big.y = "-500";
    big.repeat = "300";
    InsertValues noRepeat;
    noRepeat.repeat = "0";
    const Case cases[] = {
        {InsertKind::XAfter, minus12, 4, "4 FBF4", 3},
        {InsertKind::XAfter, zero, 4, "3 FB00", 3},
        {InsertKind::XBefore, big, 3, "3 FB7F", 2},
        {InsertKind::YAfter, big, 4, "6 FA80", 3},
        {InsertKind::YBefore, zero, 3, "5 FA00", 2},
        {InsertKind::PauseBefore, {}, 3, "0 50", 2},
        {InsertKind::PauseAfter, big, 4, "0 2040", 3},
        {InsertKind::LoopStartBefore, {}, 3, "7 FD09", 2},
        {InsertKind::LoopStartBefore, big, 3, "7 FDFE", 2},
        {InsertKind::LoopStartBefore, noRepeat, 3, "7 FD00", 2},
        {InsertKind::LoopEndAfter, {}, 4, "8 00FC", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MacroScript s = Script(base);
        EXPECT_EQ(InsertFromPanel(s, 2, c.kind, c.values), c.selection);
        ASSERT_EQ(s.Lines.size(), base.size() + 2);
        EXPECT_EQ(s.Lines.at(c.at), c.line);
    }
    MacroScript s = Script(base);
    EXPECT_EQ(DisplayText(LoopStartLine(10)), "Rep-Start  10");
    EXPECT_EQ(InsertFromPanel(s, 2, InsertKind::KeyAfter, {}), 2);
    InsertValues lone;
    lone.x = "-";
    EXPECT_EQ(InsertFromPanel(s, 2, InsertKind::XAfter, lone), std::nullopt);
    EXPECT_EQ(InsertFromPanel(s, -1, InsertKind::PauseBefore, {}), std::nullopt);
    EXPECT_EQ(InsertFromPanel(s, 4, InsertKind::PauseBefore, {}), std::nullopt);
    EXPECT_EQ(s.Lines.mid(1), base);
}

// A macro without lines takes its first line from the panel, before or
// after alike; the key kinds have nothing to keep selected.
TEST(InsertFromPanel, AMacroWithoutLinesTakesItsFirstLine)
{
    struct Case {
        QStringList lines; // as opened: none, or only the header
        InsertKind kind;
        const char* line;
    };
    const Case cases[] = {
        {{}, InsertKind::LoopStartBefore, "7 FD02"},
        {{"00"}, InsertKind::XAfter, "3 FB0C"},
        {{"10"}, InsertKind::PauseAfter, "0 50"},
        {{}, InsertKind::LoopEndAfter, "8 00FC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MacroScript s;
        s.Lines = c.lines;
        InsertValues v;
        v.repeat = "3";
        EXPECT_EQ(InsertFromPanel(s, -1, c.kind, v), 0);
        EXPECT_EQ(s.itemCount(), 1);
        EXPECT_EQ(s.item(0), c.line);
    }
    MacroScript empty;
    EXPECT_EQ(InsertFromPanel(empty, -1, InsertKind::KeyBefore, {}), -1);
    InsertValues lone;
    lone.y = "-";
    EXPECT_EQ(InsertFromPanel(empty, -1, InsertKind::YBefore, lone), std::nullopt);
    EXPECT_EQ(empty.itemCount(), 0);
    // With lines and none current, the key kinds still close the panel.
    MacroScript s = Script({"0 120"});
    EXPECT_EQ(InsertFromPanel(s, -1, InsertKind::KeyAfter, {}), -1);
}

TEST(InsertFromPanel, RefusedWhenTheRecordIsFull)
{
    QStringList lines;
    for (int i = 0; i < 110; ++i)
        lines << "1 A CODE:8204";
    MacroScript s = Script(lines); // 220 bytes
    EXPECT_EQ(InsertFromPanel(s, 0, InsertKind::PauseBefore, {}), std::nullopt);
    EXPECT_EQ(InsertFromPanel(s, 0, InsertKind::LoopEndAfter, {}), 1);
    EXPECT_EQ(s.storedSize(), MaxEventBytes);
    EXPECT_FALSE(s.replaceItem(0, "0 4000"));
    EXPECT_TRUE(s.replaceItem(0, "0 100"));
}

TEST(EditLines, DialogResults)
{
    EXPECT_EQ(EditKindOf("0 120"), 0);
    EXPECT_EQ(EditKindOf("1 A CODE:8204"), 1);
    EXPECT_EQ(EditKindOf("2 A CODE:0204"), 2);
    EXPECT_EQ(EditKindOf("4 FBF4"), 3);
    EXPECT_EQ(EditKindOf("6 FAF4"), 5);
    EXPECT_EQ(EditKindOf("7 FD09"), 7);
    EXPECT_EQ(EditKindOf("8 00FC"), std::nullopt);

    EXPECT_EQ(KeyEditLine(1, 37), "1 Left Arrow CODE:8250");
    EXPECT_EQ(KeyEditLine(2, 37), "2 Left Arrow CODE:0250");
    EXPECT_EQ(KeyEditLine(1, 17), "1 Ctrl CODE:82E0"); // a modifier as an ordinary key

    const std::pair<QString, const char*> pauses[] = {
        {"", "0 0"}, {"-5", "0 0"}, {"2041", "0 2040"}, {"75", "0 75"}};
    for (const auto& [text, line] : pauses)
        EXPECT_EQ(DelayEditLine(text), line);

    struct Case {
        int kind;
        const char* text;
        std::optional<QString> line;
    };
    const Case values[] = {
        {3, "-12", "4 FBF4"},   {3, "128", "3 FB7F"}, {3, "-129", "4 FB80"},  {3, "", "3 FB00"},
        {5, "5", "5 FA05"},     {5, "-1", "6 FAFF"},  {3, "-", std::nullopt}, {7, "10", "7 FD09"},
        {7, "256", "7 FDFE"},   {7, "0", "7 FD00"},   {7, "", "7 FD00"},      {7, "-", std::nullopt},
        {1, "5", std::nullopt},
    };
    for (const Case& c : values) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.text);
        EXPECT_EQ(ValueEditLine(c.kind, c.text), c.line);
    }

    MacroScript s = Script({"1 A CODE:8204", "0 120", "2 A CODE:0204"});
    ASSERT_TRUE(s.replaceItem(1, DelayEditLine("300")));
    ASSERT_TRUE(s.replaceItem(0, KeyEditLine(1, 37)));
    EXPECT_EQ(s.Lines.mid(1), (QStringList{"1 Left Arrow CODE:8250", "0 300", "2 A CODE:0204"}));
    EXPECT_FALSE(s.replaceItem(3, "0 1"));
}

// An insert recording writes into the open script only: the stored record
// still decodes to the lines it held, which is what Cancel in the insert
// panel goes back to (the Cancel itself runs in the macro page's tests).
TEST(EditLines, InsertRecordingLeavesTheStoredRecordToDecodeBack)
{
    const MacroScript stored = Script({"1 A CODE:8204", "0 120", "2 A CODE:0204"});
    const MacroRecord record = EncodeScript(stored, false).record;
    MacroScript open = DecodeRecord(record).script;
    MacroRecorder recorder(open);
    RecordSettings settings;
    settings.insert.mode = DelayMode::None;
    ASSERT_TRUE(recorder.StartInsert(settings, 1, record[1]));
    recorder.KeyboardHook1Receive(66, KeyState::FirstPress, 5);
    recorder.KeyboardHook1Receive(66, KeyState::Release, 9);
    recorder.Stop();
    EXPECT_EQ(open.itemCount(), 5);
    open = DecodeRecord(record).script;
    EXPECT_EQ(open.Lines.mid(1), stored.Lines.mid(1));
}

} // namespace
} // namespace orb
