#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace orb
{

// A fault of the embedded layout texts: a key that is missing, a value that
// is not a decimal number, or a colour component outside 0..255. Thrown by
// the LayoutText readers; it stops the layout step that asked. The texts ship
// with the program, so this is a build fault, not a run-time case to recover.
class LayoutError : public std::runtime_error
{
  public:
    LayoutError(const QString& section, const QString& key, const QString& problem);
    const QString& section() const { return section_; }
    const QString& key() const { return key_; }

  private:
    QString section_;
    QString key_;
};

struct LayoutPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

// A group's "_Enable", "_X", "_Y": shown only when Enable is exactly 1; the
// position of a hidden group is not read and stays (0, 0).
struct ButtonPlacement {
    bool shown = false;
    LayoutPoint pos;
    bool operator==(const ButtonPlacement&) const = default;
};

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
    // The platform colour value: red in the low byte, then green, then blue.
    std::uint32_t platformColour() const
    {
        return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
               (static_cast<std::uint32_t>(b) << 16);
    }
};

// Strict decimal conversion of a layout value: an optional sign and one or
// more ASCII digits, nothing else, within int range.
std::optional<int> ParseLayoutInt(const QString& value);

// One section of a layout text ([org], [org1]..[org3]). The text is INI: each
// line trimmed, empty and ";" lines skipped, "[name]" opens a section,
// name=value with blanks around both removed, any other line (the "//"
// banners) ignored; names match without regard to letter case.
class LayoutText
{
  public:
    LayoutText() = default;

    static LayoutText fromText(const QString& text, const QString& section);
    // The texts are ANSI; the shipped ones are plain ASCII, read here as UTF-8.
    static LayoutText fromBytes(const QByteArray& bytes, const QString& section);
    // The embedded text `name` ("org", "org1"..) and its section of the same
    // name. A missing text gives an empty section, whose reads then fail.
    static LayoutText load(const QString& name);

    const QString& section() const { return section_; }
    bool isEmpty() const { return names_.isEmpty(); }
    bool contains(const QString& key) const;
    // Keys as written, in text order.
    const QStringList& keys() const { return names_; }

    // The raw value; the empty text when absent.
    QString text(const QString& key) const;

    // The readers below throw LayoutError naming the key at fault.
    int intValue(const QString& key) const;
    // prefix + "X", prefix + "Y" ("P1_" reads P1_X, P1_Y).
    LayoutPoint point(const QString& prefix) const;
    // prefix + "Enable", then, only when shown, prefix + "X", prefix + "Y".
    ButtonPlacement button(const QString& prefix) const;
    // prefix + "R", "G", "B" ("Color_A_" reads Color_A_R ..), each 0..255.
    Rgb colour(const QString& prefix) const;

  private:
    QString section_;
    QHash<QString, QString> values_; // folded key -> value
    QStringList names_;
};

// The layout section of a language index: text "org" + index, section of the
// same name.
LayoutText LoadLayoutSection(int languageIndex);

} // namespace orb
