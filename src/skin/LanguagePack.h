#pragma once
#include "core/Text.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace orb
{

// Number of embedded language packs: 1 Simplified Chinese, 2 Traditional
// Chinese, 3 English. The same index picks the layout section and picture set.
inline constexpr int LanguageCount = 3;

// Decodes a pack resource: UTF-16 little-endian, normally led by the mark
// FF FE, which is not part of the text. Without the mark the text starts at
// the first byte. An odd trailing byte is not a whole code unit and is dropped.
QString DecodePackText(const QByteArray& bytes);

// Splits pack text into items. Items are separated by blanks, tabs and line
// breaks. An item is a bare word, or a double-quoted string that may hold
// blanks, in which "" stands for one double quote; the quotes are not part of
// the item. A closing quote ends the item even when no separator follows
// (`"a"b` gives "a" and "b"); a quote that is never closed runs to the end of
// the text. Quotes inside a bare word are plain characters.
QStringList SplitPackItems(const QString& text);

// The entries of one pack section: key -> text, keys matched without regard
// to letter case ("FontName", "Title", "Str000" ...).
class LanguagePack
{
  public:
    LanguagePack() = default;

    // Reads the section `section` out of pack bytes; the items are read as INI
    // lines. Missing section: an empty pack.
    static LanguagePack fromBytes(const QByteArray& bytes, const QString& section);

    // The entry's text; the empty text when the key is absent.
    QString text(const QString& key) const;
    bool contains(const QString& key) const;
    // Keys as written in the pack, in pack order.
    const QStringList& keys() const { return names_; }
    qsizetype size() const { return names_.size(); }
    bool isEmpty() const { return names_.isEmpty(); }

  private:
    QHash<QString, QString> values_; // folded key -> text
    QStringList names_;
};

// The pack "lang" + index (1..3). Packs are parsed once and shared; an index
// out of range or a pack the program does not carry gives an empty pack, so
// every lookup reads as the empty text.
LanguagePack LoadLanguagePack(int index);

// The entry's text, or the empty text when the key is absent.
QString LookupText(const LanguagePack& pack, const QString& key);

// Reverse lookup used to re-translate captions: the key among "Str100".."Str700"
// whose text equals `text` exactly, searched in pack 1, 2, 3 and within each
// pack by ascending number, the key met last winning (so "后退", the pack-1
// text of both Str213 and Str262, gives "Str262"). The empty text when no key
// matches. An empty `text` matches nothing: absent and empty entries are not
// captions worth re-translating.
QString FindTextKey(const QString& text);
// The same over the given packs, searched in list order.
QString FindTextKey(const QString& text, const QList<LanguagePack>& packs);

// A TextLookup over the pack of a language index.
TextLookup MakeTextLookup(int languageIndex);

} // namespace orb
