#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace orb
{

// KDE's configuration files (kdeglobals, kcminputrc) in KConfig's own format,
// without linking KConfig: groups are paths of names written as
// "[Libinput][1133][16495][Logitech G Pro]", one "Key=Value" a line, names
// and values escaped as KConfig escapes them ("\x5d" for "]" in a group name,
// "\s" for a space at either end of a value, "\\" for a backslash).
// A group or key may appear more than once; as in KConfig, the last wins.

// The value of `key` in the group `group` of the text; nothing when absent.
// Localised entries ("Key[de]=") are not the key.
std::optional<QString> KConfigValue(const QByteArray& text, const QStringList& group, const QString& key);

// The text with the values set in `group`, every other byte as it was: the
// last line of a key is replaced, a missing key goes at the end of the
// group's last section, a missing group at the end of the text.
QByteArray KConfigWithValues(QByteArray text, const QStringList& group,
                             const std::vector<std::pair<QString, QString>>& values);

// One such file. Writes take KConfig's lock ("<file>.lock") and replace the
// file at once, so neither KDE's own writers nor a crash can leave half of it.
class KdeConfigFile
{
  public:
    explicit KdeConfigFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    std::optional<QString> read(const QStringList& group, const QString& key) const;
    // False when the file could not be read, locked or written; then it is unchanged.
    bool write(const QStringList& group, const std::vector<std::pair<QString, QString>>& values);

  private:
    QString path_;
};

} // namespace orb
