#include "skin/IniText.h"

namespace orb
{

QString FoldIniName(const QString& name)
{
    return name.toLower();
}

QString TrimIniBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && s.at(end - 1).unicode() <= 0x20)
        --end;
    return s.mid(begin, end - begin);
}

QStringList SplitIniLines(const QString& text)
{
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        lines << text.mid(begin, i - begin);
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        begin = i + 1;
    }
    lines << text.mid(begin);
    return lines;
}

IniSections ReadIniLines(const QStringList& lines)
{
    IniSections sections;
    // The open section is held by name: a pointer into the hash would not
    // survive the hash growing when a later section is added.
    QString open;
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = TrimIniBlanks(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            open = FoldIniName(TrimIniBlanks(line.mid(1, line.size() - 2)));
            inSection = true;
            sections[open];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || !inSection)
            continue;
        const QString name = TrimIniBlanks(line.left(eq));
        if (name.isEmpty())
            continue;
        IniSection& section = sections[open];
        const QString folded = FoldIniName(name);
        if (section.values.contains(folded))
            continue;
        section.values.insert(folded, TrimIniBlanks(line.mid(eq + 1)));
        section.names.append(name);
    }
    return sections;
}

} // namespace orb
