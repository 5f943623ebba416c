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
// group's last section, a missing group at the end of the text; the key's
// deletion marks ("Key[$d]") go, as KDE drops them when it writes the key.
QByteArray KConfigWithValues(QByteArray text, const QStringList& group,
                             const std::vector<std::pair<QString, QString>>& values);

// Whether KDE refuses to write `key` of `group` in the text: the file, the
// group (or a group it is in) or the key is marked immutable ("[$i]").
bool KConfigImmutable(const QByteArray& text, const QStringList& group, const QString& key);

// One such file in the user's configuration folder, written as KDE writes
// it: through KDE's own tool where it is installed (kwriteconfig6, else
// kwriteconfig5, read back with kreadconfig6/5), otherwise by our writer,
// which refuses what they refuse: a key, group or file marked immutable
// here or in the system's files of the same name ($XDG_CONFIG_DIRS,
// /etc/xdg), or a file whose lock another KDE writer holds. The lock is
// KConfig's, "<file>.lock" beside the file a symbolic link leads to, so the
// writers exclude each other; the file is replaced at once, so a crash
// cannot leave half of it.
class KdeConfigFile
{
  public:
    enum class Writer { KdeTools, Own };
    explicit KdeConfigFile(QString path, Writer writer = Writer::KdeTools)
        : path_(std::move(path)), writer_(writer)
    {
    }
    const QString& path() const { return path_; }

    std::optional<QString> read(const QStringList& group, const QString& key) const;
    // False when a value could not be kept: refused, locked or not written
    // (then our writer leaves the file unchanged), or not read back as written.
    bool write(const QStringList& group, const std::vector<std::pair<QString, QString>>& values);

  private:
    bool writeOwn(const QStringList& group, const std::vector<std::pair<QString, QString>>& values);
    bool writeWithTools(const QString& writer, const QString& reader, const QStringList& group,
                        const std::vector<std::pair<QString, QString>>& values);
    QString path_;
    Writer writer_;
};

} // namespace orb
