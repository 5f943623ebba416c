#pragma once
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orb
{

// Kind digit that starts every event line of a script.
namespace LineKind
{
inline constexpr int Pause = 0;     // "0 120"
inline constexpr int Press = 1;     // "1 A CODE:8204"
inline constexpr int Release = 2;   // "2 A CODE:0204"
inline constexpr int XPositive = 3; // "3 FB0C"
inline constexpr int XNegative = 4; // "4 FBF4"
inline constexpr int YPositive = 5; // "5 FA0C"
inline constexpr int YNegative = 6; // "6 FAF4"
inline constexpr int LoopStart = 7; // "7 FD09": repeat count - 1
inline constexpr int LoopEnd = 8;   // "8 00FC"
} // namespace LineKind

// The five mouse buttons a macro can press, with the button bit the mouse
// plays them by (press 0xA0 | bit, release 0x20 | bit).
enum class MacroButton : std::uint8_t {
    Left = 0x01,
    Right = 0x02,
    Middle = 0x04,
    Forward = 0x08,
    Backward = 0x10,
};

enum class MoveAxis { X, Y };

// How pauses between recorded events are written.
enum class DelayMode {
    Recorded, // the measured time, at most 10200 ms
    Fixed,    // the same value before every event
    None,     // no pause lines
};

struct DelayChoice {
    DelayMode mode = DelayMode::Recorded;
    int fixedMs = 50; // 0..2040, used with DelayMode::Fixed
};

inline constexpr int MaxFixedDelayMs = 2040;
// The longest pause one recorded event gets.
inline constexpr int MaxRecordedPauseMs = 10200;

// Line builders; the grammar of the stored lines.
QString PauseLine(int ms);
// Key line of a virtual key as a recording writes it: Ctrl, Shift, Alt and
// the two Windows keys as modifiers (81/01 + bit), every other key as 82/02
// + its HID usage. A key missing from the key table is "None", usage 00.
QString KeyLine(bool press, int vk);
// Key line of a HID usage as the editor writes it ("1 A CODE:8204").
QString UsageKeyLine(bool press, const QString& name, std::uint8_t usage);
QString ButtonLine(bool press, MacroButton button);
// Move by v, clamped to -128..127 (0 takes the non-negative kind).
QString MoveLine(MoveAxis axis, int v);
// Loop start for a repeat count, clamped to 1..256 (the stored byte is count - 1).
QString LoopStartLine(int repeatCount);
QString LoopEndLine();

// Kind digit 0..8 of an event line; nothing for a line that has none.
std::optional<int> KindOf(const QString& line);
// The name of a key line: the text between the two-character prefix and the
// ten-character suffix " CODE:" + 4 hex digits; empty for other lines.
QString NamePart(const QString& line);
// What the macro list shows for an event line: "120 ms", the key name,
// "X-Axis  -12", "Rep-Start  10", "Rep-Stop". Empty for a malformed line.
QString DisplayText(const QString& line);
// Milliseconds of a pause line; nothing for another line.
std::optional<int> PauseValue(const QString& line);

// Number of event bytes a line is stored as: pauses take one FE pair per
// started 2040 ms (a pause of 0 one pair), other lines 1 or 2 bytes.
int StoredSize(const QString& line);

// The largest number of event bytes a macro record holds.
inline constexpr int MaxEventBytes = 221;

// The open macro: line 0 is the delay-mode header ("10", "01" + ms, "00"),
// lines 1..n are event lines. Item i of the macro list is line i + 1.
class MacroScript
{
  public:
    QStringList Lines;

    bool isEmpty() const { return Lines.isEmpty(); }
    void clear() { Lines.clear(); }
    // Event lines (the macro list's item count).
    int itemCount() const { return Lines.isEmpty() ? 0 : static_cast<int>(Lines.size()) - 1; }
    // Event line of item i; empty text when out of range.
    QString item(int i) const;
    // Header for a delay choice: "10", "01" + ms, "00".
    static QString Header(const DelayChoice& choice);
    // Event bytes the whole script is stored as (may exceed MaxEventBytes).
    int storedSize() const;

    // --- Editing. Every operation keeps the header and refuses (false)
    // when the stored form would no longer fit a record. ---

    // New line placed before (script line i + 1) or after (line i + 2)
    // item i. Returns the item index of the new line, or nothing when item
    // i does not exist or the line would not fit.
    std::optional<int> insertBefore(int item, const QString& line);
    std::optional<int> insertAfter(int item, const QString& line);
    // The first line of a macro without lines (item 0); nothing when the
    // macro has lines or the line would not fit.
    std::optional<int> insertFirst(const QString& line);
    // Replaces item i's line; false when i does not exist or it would not fit.
    bool replaceItem(int item, const QString& line);

    struct Deletion {
        int removed = 0;    // 0, 1 or 2 lines
        int selection = -1; // item to select afterwards; -1 when none remain
    };
    // Deletes item i; a press goes with the first later line of the same key
    // name, a release with the first earlier one. Other lines go alone.
    Deletion deleteItem(int item);
};

// The clamps of the value fields. A lone "-" is not a number: nothing.
// X/Y moves: empty -> 0, >= 128 -> 127, < -128 -> -128.
std::optional<int> ClampMoveText(const QString& text);
// Loop repeat count: empty -> 0, > 255 -> 255, < 0 -> 0.
std::optional<int> ClampRepeatText(const QString& text);
// Pause field: empty -> 0, < 0 -> 0, > 2040 -> 2040.
int ClampDelayText(const QString& text);

// Items of the insert panel's kind list, in list order.
enum class InsertKind {
    PauseBefore,
    PauseAfter,
    KeyBefore, // lines come from an insert recording
    KeyAfter,
    LoopStartBefore,
    LoopEndAfter,
    XBefore,
    XAfter,
    YBefore,
    YAfter,
};

// The insert panel's fields as typed.
struct InsertValues {
    QString delay = QStringLiteral("50");
    QString x = QStringLiteral("12");
    QString y = QStringLiteral("12");
    QString repeat = QStringLiteral("10");
};

// The insert panel's OK for the current item: the line of the kind goes
// before or after it; in a macro without lines it becomes the first line.
// Returns the item to select; nothing when lines exist but none is current,
// a value is not a number (a lone "-") or the line would not fit. The key
// kinds insert nothing (their recording did) and keep the selection (-1 for
// none).
std::optional<int> InsertFromPanel(MacroScript& script, int item, InsertKind kind,
                                   const InsertValues& values);

// What the edit dialogs change on a line: 0 pause, 1 press, 2 release,
// 3 X move, 5 Y move, 7 loop start; nothing for a loop end.
std::optional<int> EditKindOf(const QString& line);
// The edit-key dialog's line: the key as an ordinary key with its HID usage
// (also a modifier), press for kind 1, release for kind 2.
QString KeyEditLine(int editKind, int vk);
// The pause dialog's line, clamped to 0..2040.
QString DelayEditLine(const QString& text);
// The value dialog's line for kinds 3, 5 and 7; nothing for a lone "-" or
// another kind.
std::optional<QString> ValueEditLine(int editKind, const QString& text);

} // namespace orb
