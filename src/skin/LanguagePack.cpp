#include "skin/LanguagePack.h"

#include "rcdata.h"
#include "skin/IniText.h"

#include <array>

namespace orb
{

namespace
{

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

constexpr int FirstSearchedKey = 100;
constexpr int LastSearchedKey = 700;

// "Str100".."Str700" in search order.
const QStringList& searchedKeys()
{
    static const QStringList keys = [] {
        QStringList k;
        for (int number = FirstSearchedKey; number <= LastSearchedKey; ++number)
            k.append(QStringLiteral("Str%1").arg(number, 3, 10, QLatin1Char('0')));
        return k;
    }();
    return keys;
}

const std::array<LanguagePack, LanguageCount>& sharedPacks()
{
    // The packs never change while the program runs, so they are read once.
    static const std::array<LanguagePack, LanguageCount> packs = [] {
        std::array<LanguagePack, LanguageCount> all;
        for (int i = 0; i < LanguageCount; ++i) {
            const QString name = QStringLiteral("lang%1").arg(i + 1);
            if (const auto bytes = rcData(name))
                all[i] = LanguagePack::fromBytes(*bytes, name);
        }
        return all;
    }();
    return packs;
}

} // namespace

QString DecodePackText(const QByteArray& bytes)
{
    qsizetype start = 0;
    if (bytes.size() >= 2 && static_cast<uchar>(bytes[0]) == 0xFF && static_cast<uchar>(bytes[1]) == 0xFE)
        start = 2;
    const qsizetype units = (bytes.size() - start) / 2;
    QString text(units, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < units; ++i) {
        const auto lo = static_cast<uchar>(bytes[start + 2 * i]);
        const auto hi = static_cast<uchar>(bytes[start + 2 * i + 1]);
        out[i] = QChar(static_cast<char16_t>(lo | (hi << 8)));
    }
    return text;
}

QStringList SplitPackItems(const QString& text)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (isSeparator(text.at(i))) {
            ++i;
            continue;
        }
        QString item;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                const QChar c = text.at(i);
                if (c == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        item.append(c);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item.append(c);
                ++i;
            }
        } else {
            const qsizetype begin = i;
            while (i < n && !isSeparator(text.at(i)))
                ++i;
            item = text.mid(begin, i - begin);
        }
        items.append(item);
    }
    return items;
}

LanguagePack LanguagePack::fromBytes(const QByteArray& bytes, const QString& section)
{
    const IniSections sections = ReadIniLines(SplitPackItems(DecodePackText(bytes)));
    LanguagePack pack;
    const auto it = sections.constFind(FoldIniName(section));
    if (it != sections.cend()) {
        pack.values_ = it->values;
        pack.names_ = it->names;
    }
    return pack;
}

QString LanguagePack::text(const QString& key) const
{
    return values_.value(FoldIniName(key));
}

bool LanguagePack::contains(const QString& key) const
{
    return values_.contains(FoldIniName(key));
}

LanguagePack LoadLanguagePack(int index)
{
    if (index < 1 || index > LanguageCount)
        return {};
    return sharedPacks()[index - 1];
}

QString LookupText(const LanguagePack& pack, const QString& key)
{
    return pack.text(key);
}

QString FindTextKey(const QString& text, const QList<LanguagePack>& packs)
{
    if (text.isEmpty())
        return {};
    QString found;
    // No early exit: the last match wins.
    for (const LanguagePack& pack : packs) {
        for (const QString& key : searchedKeys()) {
            if (pack.text(key) == text)
                found = key;
        }
    }
    return found;
}

QString FindTextKey(const QString& text)
{
    if (text.isEmpty())
        return {};
    // Built once with the same last-wins rule, so later keys overwrite earlier.
    static const QHash<QString, QString> index = [] {
        QHash<QString, QString> byText;
        for (const LanguagePack& pack : sharedPacks()) {
            for (const QString& key : searchedKeys()) {
                const QString t = pack.text(key);
                if (!t.isEmpty())
                    byText.insert(t, key);
            }
        }
        return byText;
    }();
    return index.value(text);
}

TextLookup MakeTextLookup(int languageIndex)
{
    return [pack = LoadLanguagePack(languageIndex)](const QString& key) { return pack.text(key); };
}

} // namespace orb
