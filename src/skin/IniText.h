#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace orb
{

// Entries of one INI section. Names match without regard to letter case, so
// they are kept folded; `names` keeps them as written, in first-seen order.
struct IniSection {
    QHash<QString, QString> values; // folded name -> value
    QStringList names;
};

// Sections by folded name.
using IniSections = QHash<QString, IniSection>;

// Folds an entry or section name for matching.
QString FoldIniName(const QString& name);

// Removes blanks and control characters (code units up to U+0020) from both
// ends. Wider "spaces" such as U+3000 belong to the texts and are kept.
QString TrimIniBlanks(const QString& s);

// The lines of a text ended by "\r\n", "\r" or "\n"; a text that ends with
// a line break ends with an empty line.
QStringList SplitIniLines(const QString& text);

// Reads lines as INI text, the rules shared by the layout texts and the
// language packs: each line is trimmed; empty lines and lines beginning with
// ";" are skipped; "[name]" opens a section; "name=value" (split at the first
// "=", blanks around name and value removed) adds an entry to the open
// section; anything else is ignored. Entries before the first section and
// entries without a name are dropped. When a name repeats, the first entry
// stays; a repeated section continues the earlier one.
IniSections ReadIniLines(const QStringList& lines);

} // namespace orb
