#include "macros/MacroScript.h"

#include "keys/KeyTable.h"

#include <algorithm>

namespace orb
{

namespace
{

QString Hex2(int byte)
{
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// Modifier bit of the five keys a recording writes as modifiers; 0 for others.
std::uint8_t ModifierBitOfVk(int vk)
{
    switch (vk) {
    case 17:
        return 0x01; // Ctrl
    case 16:
        return 0x02; // Shift
    case 18:
        return 0x04; // Alt
    case 91:
        return 0x08; // left Windows
    case 92:
        return 0x80; // right Windows
    default:
        return 0;
    }
}

const char* ButtonName(MacroButton button)
{
    switch (button) {
    case MacroButton::Left:
        return "LeftKey";
    case MacroButton::Right:
        return "RightKey";
    case MacroButton::Middle:
        return "MiddleKey";
    case MacroButton::Forward:
        return "Forward";
    case MacroButton::Backward:
        return "Backward";
    }
    return "";
}

constexpr int CodeSuffixLength = 10; // " CODE:" + 4 hex digits

bool IsKeyLine(const QString& line)
{
    return line.size() >= 2 + CodeSuffixLength && line.at(1) == QLatin1Char(' ') &&
           line.mid(line.size() - CodeSuffixLength, 6) == QLatin1String(" CODE:");
}

// The two hex bytes at the end of a non-pause line; nothing when malformed.
std::optional<std::pair<int, int>> TrailingBytes(const QString& line)
{
    if (line.size() < 4)
        return std::nullopt;
    bool ok1 = false;
    bool ok2 = false;
    const int first = line.mid(line.size() - 4, 2).toInt(&ok1, 16);
    const int second = line.right(2).toInt(&ok2, 16);
    if (!ok1 || !ok2)
        return std::nullopt;
    return std::make_pair(first, second);
}

} // namespace

QString PauseLine(int ms)
{
    return QStringLiteral("0 ") + QString::number(std::max(ms, 0));
}

QString KeyLine(bool press, int vk)
{
    const QString name = KeyName(vk);
    if (const std::uint8_t bit = ModifierBitOfVk(vk))
        return QString::fromLatin1(press ? "1 " : "2 ") + name + QStringLiteral(" CODE:") +
               (press ? QStringLiteral("81") : QStringLiteral("01")) + Hex2(bit);
    return UsageKeyLine(press, name, KeyUsage(vk));
}

QString UsageKeyLine(bool press, const QString& name, std::uint8_t usage)
{
    return QString::fromLatin1(press ? "1 " : "2 ") + name + QStringLiteral(" CODE:") +
           (press ? QStringLiteral("82") : QStringLiteral("02")) + Hex2(usage);
}

QString ButtonLine(bool press, MacroButton button)
{
    const int bit = static_cast<int>(button);
    return QString::fromLatin1(press ? "1 " : "2 ") + QLatin1String(ButtonName(button)) +
           QStringLiteral(" CODE:00") + Hex2(press ? (0xA0 | bit) : (0x20 | bit));
}

QString MoveLine(MoveAxis axis, int v)
{
    v = std::clamp(v, -128, 127);
    const bool x = axis == MoveAxis::X;
    const char* kind = v >= 0 ? (x ? "3 FB" : "5 FA") : (x ? "4 FB" : "6 FA");
    return QLatin1String(kind) + Hex2(v & 0xFF);
}

QString LoopStartLine(int repeatCount)
{
    // A count of 0 has no stored form; it plays once, like a count of 1.
    repeatCount = std::clamp(repeatCount, 1, 256);
    return QStringLiteral("7 FD") + Hex2(repeatCount - 1);
}

QString LoopEndLine()
{
    return QStringLiteral("8 00FC");
}

std::optional<int> KindOf(const QString& line)
{
    if (line.size() < 2 || line.at(1) != QLatin1Char(' '))
        return std::nullopt;
    const QChar c = line.at(0);
    if (c < QLatin1Char('0') || c > QLatin1Char('8'))
        return std::nullopt;
    return c.unicode() - '0';
}

QString NamePart(const QString& line)
{
    if (!IsKeyLine(line))
        return {};
    return line.mid(2, line.size() - 2 - CodeSuffixLength);
}

std::optional<int> PauseValue(const QString& line)
{
    if (KindOf(line) != LineKind::Pause)
        return std::nullopt;
    bool ok = false;
    const qlonglong v = line.mid(2).toLongLong(&ok);
    if (!ok || v < 0)
        return 0;
    // Far beyond any slot; keeps the arithmetic on it in range.
    return static_cast<int>(std::min<qlonglong>(v, 1'000'000));
}

QString DisplayText(const QString& line)
{
    const auto kind = KindOf(line);
    if (!kind)
        return {};
    switch (*kind) {
    case LineKind::Pause:
        return line.mid(2) + QStringLiteral(" ms");
    case LineKind::Press:
    case LineKind::Release:
        return NamePart(line);
    default:
        break;
    }
    const auto bytes = TrailingBytes(line);
    if (!bytes)
        return {};
    const int value = bytes->second;
    const int signedValue = value > 0x7F ? value - 256 : value;
    switch (*kind) {
    case LineKind::XPositive:
    case LineKind::XNegative:
        return QStringLiteral("X-Axis  ") + QString::number(signedValue);
    case LineKind::YPositive:
    case LineKind::YNegative:
        return QStringLiteral("Y-Axis  ") + QString::number(signedValue);
    case LineKind::LoopStart:
        return QStringLiteral("Rep-Start  ") + QString::number(value + 1);
    case LineKind::LoopEnd:
        return QStringLiteral("Rep-Stop");
    }
    return {};
}

int StoredSize(const QString& line)
{
    if (const auto pause = PauseValue(line)) {
        const int pairs = *pause / MaxFixedDelayMs + (*pause % MaxFixedDelayMs > 0 || *pause == 0 ? 1 : 0);
        return 2 * pairs;
    }
    const auto bytes = TrailingBytes(line);
    if (!bytes)
        return 0;
    return bytes->first == 0 ? 1 : 2;
}

QString MacroScript::item(int i) const
{
    if (i < 0 || i >= itemCount())
        return {};
    return Lines.at(i + 1);
}

QString MacroScript::Header(const DelayChoice& choice)
{
    switch (choice.mode) {
    case DelayMode::Recorded:
        return QStringLiteral("10");
    case DelayMode::Fixed:
        return QStringLiteral("01") + QString::number(choice.fixedMs);
    case DelayMode::None:
        break;
    }
    return QStringLiteral("00");
}

int MacroScript::storedSize() const
{
    int total = 0;
    for (qsizetype i = 1; i < Lines.size(); ++i)
        total += StoredSize(Lines.at(i));
    return total;
}

std::optional<int> MacroScript::insertBefore(int i, const QString& line)
{
    if (i < 0 || i >= itemCount() || storedSize() + StoredSize(line) > MaxEventBytes)
        return std::nullopt;
    Lines.insert(i + 1, line);
    return i;
}

std::optional<int> MacroScript::insertAfter(int i, const QString& line)
{
    if (i < 0 || i >= itemCount() || storedSize() + StoredSize(line) > MaxEventBytes)
        return std::nullopt;
    Lines.insert(i + 2, line);
    return i + 1;
}

std::optional<int> MacroScript::insertFirst(const QString& line)
{
    if (itemCount() != 0 || StoredSize(line) > MaxEventBytes)
        return std::nullopt;
    // The header line is not stored in the record; a decoded macro carries "00".
    if (Lines.isEmpty())
        Lines << QStringLiteral("00");
    Lines << line;
    return 0;
}

bool MacroScript::replaceItem(int i, const QString& line)
{
    if (i < 0 || i >= itemCount())
        return false;
    if (storedSize() - StoredSize(Lines.at(i + 1)) + StoredSize(line) > MaxEventBytes)
        return false;
    Lines[i + 1] = line;
    return true;
}

MacroScript::Deletion MacroScript::deleteItem(int i)
{
    Deletion result;
    if (i < 0 || i >= itemCount())
        return result;
    const int line = i + 1;
    const QString text = Lines.at(line);
    const auto kind = KindOf(text);
    const QString name = NamePart(text);
    bool backwardPair = false;
    int partner = -1;
    if (kind == LineKind::Press) {
        for (int k = line + 1; k < Lines.size(); ++k)
            if (NamePart(Lines.at(k)) == name && !NamePart(Lines.at(k)).isNull()) {
                partner = k;
                break;
            }
    } else if (kind == LineKind::Release) {
        for (int k = line - 1; k >= 1; --k)
            if (NamePart(Lines.at(k)) == name && !NamePart(Lines.at(k)).isNull()) {
                partner = k;
                backwardPair = true;
                break;
            }
    }
    if (partner > line)
        Lines.removeAt(partner);
    Lines.removeAt(line);
    if (partner >= 1 && partner < line)
        Lines.removeAt(partner);
    result.removed = partner >= 1 ? 2 : 1;

    const int remaining = itemCount();
    const int back = backwardPair ? 2 : 1;
    if (remaining == 0)
        result.selection = -1;
    else
        result.selection = std::clamp(i - back, 0, remaining - 1);
    return result;
}

namespace
{
// A typed number held to [lo, hi]; empty counts as 0, a lone "-" or other
// text is not (yet) a number.
std::optional<int> ClampIntText(const QString& text, qlonglong lo, qlonglong hi)
{
    if (text.isEmpty())
        return 0;
    if (text == QLatin1String("-"))
        return std::nullopt;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<int>(std::clamp<qlonglong>(v, lo, hi));
}
} // namespace

std::optional<int> ClampMoveText(const QString& text)
{
    return ClampIntText(text, -128, 127);
}

std::optional<int> ClampRepeatText(const QString& text)
{
    return ClampIntText(text, 0, 255);
}

int ClampDelayText(const QString& text)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<int>(std::clamp<qlonglong>(v, 0, MaxFixedDelayMs));
}

std::optional<int> InsertFromPanel(MacroScript& script, int item, InsertKind kind, const InsertValues& values)
{
    const bool current = item >= 0 && item < script.itemCount();
    // An empty macro has no line to stand before or after: the line becomes its first.
    const bool first = script.itemCount() == 0;
    if (kind == InsertKind::KeyBefore || kind == InsertKind::KeyAfter)
        return current ? item : -1;
    if (!current && !first)
        return std::nullopt;
    std::optional<QString> line;
    bool after = false;
    switch (kind) {
    case InsertKind::PauseBefore:
    case InsertKind::PauseAfter:
        line = PauseLine(ClampDelayText(values.delay));
        after = kind == InsertKind::PauseAfter;
        break;
    case InsertKind::KeyBefore:
    case InsertKind::KeyAfter:
        break; // answered above
    case InsertKind::LoopStartBefore:
        if (const auto count = ClampRepeatText(values.repeat))
            line = LoopStartLine(*count);
        break;
    case InsertKind::LoopEndAfter:
        line = LoopEndLine();
        after = true;
        break;
    case InsertKind::XBefore:
    case InsertKind::XAfter:
        if (const auto v = ClampMoveText(values.x))
            line = MoveLine(MoveAxis::X, *v);
        after = kind == InsertKind::XAfter;
        break;
    case InsertKind::YBefore:
    case InsertKind::YAfter:
        if (const auto v = ClampMoveText(values.y))
            line = MoveLine(MoveAxis::Y, *v);
        after = kind == InsertKind::YAfter;
        break;
    }
    if (!line)
        return std::nullopt;
    if (first)
        return script.insertFirst(*line);
    return after ? script.insertAfter(item, *line) : script.insertBefore(item, *line);
}

std::optional<int> EditKindOf(const QString& line)
{
    const auto kind = KindOf(line);
    if (!kind)
        return std::nullopt;
    switch (*kind) {
    case LineKind::Pause:
    case LineKind::Press:
    case LineKind::Release:
        return *kind;
    case LineKind::XPositive:
    case LineKind::XNegative:
        return LineKind::XPositive;
    case LineKind::YPositive:
    case LineKind::YNegative:
        return LineKind::YPositive;
    case LineKind::LoopStart:
        return LineKind::LoopStart;
    default:
        return std::nullopt;
    }
}

QString KeyEditLine(int editKind, int vk)
{
    return UsageKeyLine(editKind == LineKind::Press, KeyName(vk), KeyUsage(vk));
}

QString DelayEditLine(const QString& text)
{
    return PauseLine(ClampDelayText(text));
}

std::optional<QString> ValueEditLine(int editKind, const QString& text)
{
    switch (editKind) {
    case LineKind::XPositive:
    case LineKind::YPositive:
        if (const auto v = ClampMoveText(text))
            return MoveLine(editKind == LineKind::XPositive ? MoveAxis::X : MoveAxis::Y, *v);
        return std::nullopt;
    case LineKind::LoopStart:
        if (const auto count = ClampRepeatText(text))
            return LoopStartLine(*count);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace orb
