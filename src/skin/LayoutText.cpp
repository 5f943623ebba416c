#include "skin/LayoutText.h"

#include "rcdata.h"
#include "skin/IniText.h"

#include <limits>

namespace orb
{

LayoutError::LayoutError(const QString& section, const QString& key, const QString& problem)
    : std::runtime_error(
          QStringLiteral("layout text [%1], key %2: %3").arg(section, key, problem).toStdString()),
      section_(section), key_(key)
{
}

std::optional<int> ParseLayoutInt(const QString& value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < value.size() && (value.at(i) == QLatin1Char('-') || value.at(i) == QLatin1Char('+'))) {
        negative = value.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == value.size())
        return std::nullopt;
    long long n = 0;
    for (; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c - u'0');
        if (n > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

LayoutText LayoutText::fromText(const QString& text, const QString& section)
{
    // Split by hand: a regular expression here would bring the matching
    // engine into memory at start for this alone.
    const IniSections sections = ReadIniLines(SplitIniLines(text));
    LayoutText layout;
    layout.section_ = section;
    const auto it = sections.constFind(FoldIniName(section));
    if (it != sections.cend()) {
        layout.values_ = it->values;
        layout.names_ = it->names;
    }
    return layout;
}

LayoutText LayoutText::fromBytes(const QByteArray& bytes, const QString& section)
{
    return fromText(QString::fromUtf8(bytes), section);
}

LayoutText LayoutText::load(const QString& name)
{
    if (const auto bytes = rcData(name))
        return fromBytes(*bytes, name);
    LayoutText empty;
    empty.section_ = name;
    return empty;
}

bool LayoutText::contains(const QString& key) const
{
    return values_.contains(FoldIniName(key));
}

QString LayoutText::text(const QString& key) const
{
    return values_.value(FoldIniName(key));
}

int LayoutText::intValue(const QString& key) const
{
    const auto it = values_.constFind(FoldIniName(key));
    if (it == values_.cend())
        throw LayoutError(section_, key, QStringLiteral("missing"));
    const auto n = ParseLayoutInt(*it);
    if (!n)
        throw LayoutError(section_, key, QStringLiteral("\"%1\" is not a decimal number").arg(*it));
    return *n;
}

LayoutPoint LayoutText::point(const QString& prefix) const
{
    return {intValue(prefix + QLatin1Char('X')), intValue(prefix + QLatin1Char('Y'))};
}

ButtonPlacement LayoutText::button(const QString& prefix) const
{
    ButtonPlacement placement;
    placement.shown = intValue(prefix + QStringLiteral("Enable")) == 1;
    if (placement.shown)
        placement.pos = point(prefix);
    return placement;
}

Rgb LayoutText::colour(const QString& prefix) const
{
    const auto component = [&](QChar c) {
        const QString key = prefix + c;
        const int v = intValue(key);
        if (v < 0 || v > 255)
            throw LayoutError(section_, key, QStringLiteral("%1 is outside 0..255").arg(v));
        return v;
    };
    return {component(QLatin1Char('R')), component(QLatin1Char('G')), component(QLatin1Char('B'))};
}

LayoutText LoadLayoutSection(int languageIndex)
{
    return LayoutText::load(QStringLiteral("org%1").arg(languageIndex));
}

} // namespace orb
