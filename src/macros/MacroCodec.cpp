#include "macros/MacroCodec.h"

#include "keys/KeyCodes.h"
#include "keys/KeyTable.h"

#include <algorithm>
#include <numeric>

namespace orb
{

namespace
{

constexpr std::uint8_t PauseByte = 0xFE;
constexpr std::uint8_t LoopStartByte = 0xFD;
constexpr std::uint8_t LoopEndByte = 0xFC;
constexpr std::uint8_t MoveXByte = 0xFB;
constexpr std::uint8_t MoveYByte = 0xFA;
constexpr std::uint8_t ModifierPressByte = 0x81;
constexpr std::uint8_t ModifierReleaseByte = 0x01;
constexpr std::uint8_t KeyPressByte = 0x82;
constexpr std::uint8_t KeyReleaseByte = 0x02;
// A recording splits no pause into more than five pairs (10200 ms).
constexpr int MaxMergedPauses = 5;

// Event bytes of one line; empty for a line that has no stored form.
std::vector<std::uint8_t> LineBytes(const QString& line)
{
    std::vector<std::uint8_t> bytes;
    if (const auto pause = PauseValue(line)) {
        const int pairs = *pause / MaxFixedDelayMs;
        const int rest = *pause % MaxFixedDelayMs;
        for (int i = 0; i < pairs; ++i)
            bytes.insert(bytes.end(), {PauseByte, 0xFF});
        if (rest > 0 || pairs == 0)
            bytes.insert(bytes.end(), {PauseByte, static_cast<std::uint8_t>(rest / 8)});
        return bytes;
    }
    if (line.size() < 4)
        return bytes;
    bool ok1 = false;
    bool ok2 = false;
    const int first = line.mid(line.size() - 4, 2).toInt(&ok1, 16);
    const int second = line.right(2).toInt(&ok2, 16);
    if (!ok1 || !ok2)
        return bytes;
    if (first != 0)
        bytes.push_back(static_cast<std::uint8_t>(first));
    bytes.push_back(static_cast<std::uint8_t>(second));
    return bytes;
}

// Virtual key whose recorded line a modifier bit gives; 0 for another mask.
int ModifierVk(std::uint8_t mask)
{
    switch (mask) {
    case 0x01:
        return 17;
    case 0x02:
        return 16;
    case 0x04:
        return 18;
    case 0x08:
        return 91;
    case 0x80:
        return 92;
    default:
        return 0;
    }
}

std::optional<MacroButton> ButtonOfBit(int bit)
{
    switch (bit) {
    case 0x01:
        return MacroButton::Left;
    case 0x02:
        return MacroButton::Right;
    case 0x04:
        return MacroButton::Middle;
    case 0x08:
        return MacroButton::Forward;
    case 0x10:
        return MacroButton::Backward;
    default:
        return std::nullopt;
    }
}

QString Hex2(int byte)
{
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

constexpr std::size_t SlotOffset(int slot)
{
    return static_cast<std::size_t>(slot - 1) * DeviceSlotSize;
}

} // namespace

EncodeResult EncodeScript(const MacroScript& script, bool releaseStop)
{
    EncodeResult result;
    std::vector<std::uint8_t> events;
    for (int i = 0; i < script.itemCount(); ++i) {
        const std::vector<std::uint8_t> bytes = LineBytes(script.item(i));
        if (events.size() + bytes.size() > static_cast<std::size_t>(MaxEventBytes)) {
            result.linesLeftOut = script.itemCount() - i;
            break;
        }
        events.insert(events.end(), bytes.begin(), bytes.end());
    }
    if (events.empty())
        return result;
    MacroRecord& r = result.record;
    r[0] = releaseStop ? ReleaseStop : ReleaseContinue;
    r[1] = static_cast<std::uint8_t>(events.size() + 1);
    std::copy(events.begin(), events.end(), r.begin() + 2);
    r[events.size() + 2] = SectionSum(&r[1], events.size() + 1);
    return result;
}

DecodedMacro DecodeRecord(const MacroRecord& record)
{
    DecodedMacro out;
    QStringList& lines = out.script.Lines;
    lines << QStringLiteral("00");
    if (record[0] == ReleaseContinue || record[0] == ReleaseStop)
        out.releaseStop = record[0] == ReleaseStop;

    // Event bytes are record[2 .. last]; a length byte beyond 222 is taken
    // as 222 so nothing past the record is read.
    const std::size_t last = std::min<std::size_t>(record[1], MaxLengthByte);
    std::vector<int> pauses;
    std::size_t at = 2;
    auto has = [&](std::size_t count) { return at + count - 1 <= last; };
    while (at <= last) {
        const std::uint8_t b = record[at];
        if (b == PauseByte) {
            if (!has(2))
                break;
            int units = 0;
            int pairs = 0;
            while (pairs < MaxMergedPauses && has(2) && record[at] == PauseByte) {
                units += record[at + 1];
                at += 2;
                ++pairs;
            }
            lines << PauseLine(8 * units);
            pauses.push_back(8 * units);
            continue;
        }
        if (b == LoopEndByte) {
            lines << LoopEndLine();
            at += 1;
            continue;
        }
        const int bit = b & 0x1F;
        if ((b & 0xE0) == 0xA0 || (b & 0xE0) == 0x20) {
            const auto button = ButtonOfBit(bit);
            if (!button)
                break;
            lines << ButtonLine((b & 0x80) != 0, *button);
            at += 1;
            continue;
        }
        // The rest are two-byte events.
        if (!has(2))
            break;
        const std::uint8_t v = record[at + 1];
        QString line;
        switch (b) {
        case ModifierPressByte:
        case ModifierReleaseByte:
            if (const int vk = ModifierVk(v))
                line = KeyLine(b == ModifierPressByte, vk);
            break;
        case KeyPressByte:
        case KeyReleaseByte:
            line = UsageKeyLine(b == KeyPressByte, UsageName(v), v);
            break;
        case MoveXByte:
            line = (v <= 0x7F ? QStringLiteral("3 FB") : QStringLiteral("4 FB")) + Hex2(v);
            break;
        case MoveYByte:
            line = (v <= 0x7F ? QStringLiteral("5 FA") : QStringLiteral("6 FA")) + Hex2(v);
            break;
        case LoopStartByte:
            line = QStringLiteral("7 FD") + Hex2(v);
            break;
        default:
            break;
        }
        if (line.isEmpty())
            break;
        lines << line;
        at += 2;
    }
    out.complete = at > last;

    pauses.resize(4, 0);
    if (std::all_of(pauses.begin(), pauses.end(), [](int p) { return p == 0; })) {
        lines[0] = QStringLiteral("00");
        out.delay = {DelayMode::None, 50};
    } else if (std::all_of(pauses.begin(), pauses.end(), [&](int p) { return p == pauses[0]; })) {
        lines[0] = QStringLiteral("01") + QString::number(pauses[0]);
        out.delay = {DelayMode::Fixed, std::min(pauses[0], MaxFixedDelayMs)};
    } else {
        lines[0] = QStringLiteral("10");
        out.delay = {DelayMode::Recorded, 50};
    }
    return out;
}

MacroName MacroNameStrToUnicode(const QString& text)
{
    MacroName name{};
    qsizetype units = std::min<qsizetype>(text.size(), MacroNameUnits);
    // A surrogate pair cut in two would leave half a character.
    if (units == MacroNameUnits && units < text.size() && text.at(units - 1).isHighSurrogate())
        --units;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t u = text.at(i).unicode();
        name[2 * i] = static_cast<std::uint8_t>(u >> 8);
        name[2 * i + 1] = static_cast<std::uint8_t>(u & 0xFF);
    }
    return name;
}

QString MacroNameText(const MacroName& name)
{
    QString text;
    for (int i = 0; i < MacroNameUnits; ++i) {
        const char16_t u = static_cast<char16_t>(name[2 * i] << 8 | name[2 * i + 1]);
        if (u == 0)
            break;
        text.append(QChar(u));
    }
    return text;
}

bool LibraryNameEmpty(const MacroName& name)
{
    return name[0] == 0 && name[1] == 0;
}

bool DeviceNameEmpty(const MacroName& name)
{
    return (name[0] == 0 && name[1] == 0) || (name[0] == 0xFF && name[1] == 0xFF);
}

bool CheckMacroContentBuf(MacroRecord& record)
{
    const int length = record[1];
    if (length <= MaxLengthByte &&
        SectionSum(&record[1], static_cast<std::size_t>(length)) == record[length + 1])
        return false;
    record.fill(0);
    return true;
}

DeviceMacros ReadAndRefreshMacro(const MacroAreaBytes& area)
{
    DeviceMacros device;
    for (int n = 1; n <= DeviceSlotCount; ++n) {
        const auto from = area.begin() + static_cast<std::ptrdiff_t>(SlotOffset(n));
        std::copy_n(from, MacroNameSize, device.Names[n - 1].begin());
        std::copy_n(from + MacroNameSize, MacroRecordSize, device.Records[n - 1].begin());
        CheckMacroContentBuf(device.Records[n - 1]);
    }
    return device;
}

QStringList DeviceMacroNameList(const DeviceMacros& device)
{
    QStringList names;
    for (const MacroName& name : device.Names)
        names << (DeviceNameEmpty(name) ? QString() : MacroNameText(name));
    return names;
}

void RefreshBaseMacroBuf(const DeviceMacros& device, MacroAreaBytes& area)
{
    for (int n = 1; n <= DeviceSlotCount; ++n) {
        const auto to = area.begin() + static_cast<std::ptrdiff_t>(SlotOffset(n));
        std::copy(device.Names[n - 1].begin(), device.Names[n - 1].end(), to);
        std::copy(device.Records[n - 1].begin(), device.Records[n - 1].end(), to + MacroNameSize);
    }
}

std::array<bool, DeviceSlotCount> UsedSlots(std::span<const QString> modeACodes,
                                            std::span<const QString> modeBCodes)
{
    std::array<bool, DeviceSlotCount> used{};
    for (const auto codes : {modeACodes, modeBCodes})
        for (const QString& text : codes) {
            const auto code = ParseCode(text);
            if (!code || (code->at(0) != KeyType::MacroToEnd && code->at(0) != KeyType::MacroWhileHeld))
                continue;
            const int slot =
                BaseMacroSlotForAddress(static_cast<std::uint16_t>(code->at(1) << 8 | code->at(2)));
            if (slot >= 1 && slot <= DeviceSlotCount)
                used[slot - 1] = true;
        }
    return used;
}

int FindBaseMacroCount(const std::array<bool, DeviceSlotCount>& used, const MacroName& name,
                       const DeviceMacros& device)
{
    auto in = [&](int slot) { return used[slot - 1]; };
    const int u = static_cast<int>(std::count(used.begin(), used.end(), true));
    bool prefix = true;
    for (int n = 1; n <= DeviceSlotCount; ++n)
        prefix = prefix && in(n) == (n <= u);
    if (prefix) {
        int choice = u + 1; // NoSlot when all seven are used
        int matches = 0;
        int match = 0;
        for (int n = 1; n <= DeviceSlotCount; ++n)
            if (device.Names[n - 1] == name) {
                ++matches;
                match = n;
            }
        if (matches == 1)
            choice = match;
        return choice;
    }
    if (!in(1) && in(2))
        return 1;
    for (int n = 2; n <= 6; ++n)
        if (in(n - 1) && !in(n) && in(n + 1))
            return n;
    if (in(6) && !in(7))
        return 7;
    if (u >= 1 && !in(u))
        return u;
    for (int n = 1; n <= DeviceSlotCount; ++n)
        if (!in(n))
            return n;
    return NoSlot;
}

int FindBaseMacroCount(std::span<const QString> modeACodes, std::span<const QString> modeBCodes,
                       const MacroName& name, const DeviceMacros& device)
{
    return FindBaseMacroCount(UsedSlots(modeACodes, modeBCodes), name, device);
}

QString PutMacroInSlot(DeviceMacros& device, int slot, const MacroName& name, const MacroRecord& record)
{
    if (slot < 1 || slot > DeviceSlotCount)
        return {};
    device.Names[slot - 1] = name;
    device.Records[slot - 1] = record;
    return MacroCode(slot, record[0] == ReleaseStop);
}

} // namespace orb
