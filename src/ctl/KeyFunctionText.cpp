#include "ctl/KeyFunctionText.h"

#include "keys/KeyTable.h"
#include "lighting/CpiLevels.h"
#include "skin/LanguagePack.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace orb::ctl
{

namespace
{
const TextLookup& English()
{
    static const TextLookup text = MakeTextLookup(3);
    return text;
}

// Codes that have a name of their own (the AIM key aside).
const std::vector<KeyFunctionCode>& NamedCodes()
{
    static const std::vector<KeyFunctionCode> codes = [] {
        std::vector<KeyFunctionCode> out;
        for (const MenuItem& item : MenuItems())
            if (item.tag != AimMenuTag)
                out.push_back(CodeToBytes(QString::fromLatin1(item.code)));
        out.push_back(CodeToBytes(QStringLiteral("03018A"))); // e-mail: named, not in the menus
        return out;
    }();
    return codes;
}

const QString MacroWord = QStringLiteral("Macro ");
const QString UntilRelease = QStringLiteral(" until release");
const QString AimWord = QStringLiteral("AIM Key ");
const QString CodeWord = QStringLiteral("code ");

} // namespace

std::optional<KeyFunctionCode> ParseKeyFunction(const QString& raw)
{
    const QString s = raw.trimmed();
    if (s.startsWith(CodeWord))
        return ParseCode(s.mid(CodeWord.size()));
    if (s.startsWith(AimWord)) {
        bool ok = false;
        const int cpi = s.mid(AimWord.size()).toInt(&ok);
        const auto it = std::find(CpiValueTable.begin(), CpiValueTable.end(), cpi);
        if (!ok || it == CpiValueTable.end())
            return std::nullopt;
        return KeyFunctionCode{KeyType::Aim, std::uint8_t(it - CpiValueTable.begin()), 0};
    }
    if (s.startsWith(MacroWord)) {
        QString rest = s.mid(MacroWord.size());
        const bool stop = rest.endsWith(UntilRelease);
        if (stop)
            rest.chop(UntilRelease.size());
        bool ok = false;
        const int slot = rest.toInt(&ok);
        if (!ok || slot < 1 || slot > BaseMacroSlotCount)
            return std::nullopt;
        return CodeToBytes(MacroCode(slot, stop));
    }
    for (const KeyFunctionCode& code : NamedCodes())
        if (KeyFunctionName(code, English(), {}) == s)
            return code;
    // Keyboard: modifiers in the order they are shown, then the key's name.
    static const std::array<std::pair<const char*, std::uint8_t>, 4> mods{{{"Ctrl+", ModifierBit::Ctrl},
                                                                           {"Shift+", ModifierBit::Shift},
                                                                           {"Alt+", ModifierBit::Alt},
                                                                           {"Win+", ModifierBit::Win}}};
    std::uint8_t bits = 0;
    QString rest = s;
    for (const auto& [word, bit] : mods)
        if (rest.startsWith(QLatin1String(word))) {
            bits |= bit;
            rest = rest.mid(int(qstrlen(word)));
        }
    if (rest.isEmpty())
        return bits ? std::optional(CodeToBytes(KeyboardCode(bits, 0))) : std::nullopt;
    for (int usage = 1; usage < 256; ++usage)
        if (UsageName(usage) == rest)
            return CodeToBytes(KeyboardCode(bits, std::uint8_t(usage)));
    return std::nullopt;
}

// The name of a code that reads back as the same code; "code XXXXXX" for
// codes without one (or whose name another code carries too).
QString KeyFunctionText(const KeyFunctionCode& code)
{
    QString text;
    if (code[0] == KeyType::Aim && code[1] <= MaxAimValue && code[2] == 0)
        text = AimWord + QString::number(CpiValueTable[code[1]]);
    else if (code[0] == KeyType::MacroToEnd || code[0] == KeyType::MacroWhileHeld) {
        const int slot = BaseMacroSlotForAddress(std::uint16_t(code[1] << 8 | code[2]));
        if (slot)
            text = MacroWord + QString::number(slot) +
                   (code[0] == KeyType::MacroWhileHeld ? UntilRelease : QString());
    }
    if (text.isEmpty())
        text = KeyFunctionName(code, English(), {});
    if (text.isEmpty() || ParseKeyFunction(text) != code)
        text = CodeWord + BytesToCode(code);
    return text;
}

QString KeyAllowedText()
{
    QStringList names;
    for (const KeyFunctionCode& code : NamedCodes())
        names << KeyFunctionName(code, English(), {});
    names.removeDuplicates();
    return names.join(QStringLiteral(", ")) +
           QStringLiteral("; a key with modifiers such as Ctrl+Shift+A; AIM Key 500..6400; "
                          "Macro 1..7, Macro 1..7 until release; code XXXXXX");
}

} // namespace orb::ctl
