#include "hostmouse/KdeConfigFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QStandardPaths>

namespace orb
{
namespace
{
// How long a write waits for another KDE writer's lock; they hold it only
// while writing a few lines.
constexpr int kLockWaitMs = 500;

enum class Escape { Group, Key, Value };

// KConfig's escaping: backslash, control characters; "[", "]" outside values;
// "=" in keys; a space at either end of keys and values.
QByteArray Printable(const QString& text, Escape kind)
{
    static const char kHex[] = "0123456789abcdef";
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 8);
    for (qsizetype i = 0; i < in.size(); ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (i == 0 && c == ' ' && kind != Escape::Group) {
            out += "\\s";
            continue;
        }
        switch (c) {
        case '\n':
            out += "\\n";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        default:
            break;
        }
        const bool escape =
            c < 32 || (c == '=' && kind == Escape::Key) || ((c == '[' || c == ']') && kind != Escape::Value);
        if (escape) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (kind != Escape::Group && out.endsWith(' '))
        out.replace(out.size() - 1, 1, "\\s");
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Back from KConfig's escaping; an escape it does not know is kept as written.
QString Unprintable(QByteArrayView in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '\\' || i + 1 == in.size()) {
            out += c;
            continue;
        }
        const char e = in[++i];
        switch (e) {
        case 's':
            out += ' ';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x':
            if (i + 2 < in.size() && HexDigit(in[i + 1]) >= 0 && HexDigit(in[i + 2]) >= 0) {
                out += static_cast<char>(HexDigit(in[i + 1]) * 16 + HexDigit(in[i + 2]));
                i += 2;
                break;
            }
            [[fallthrough]];
        default:
            out += '\\';
            out += e;
            break;
        }
    }
    return QString::fromUtf8(out);
}

// One line of the text: where it starts, where its content ends and where
// the next line starts.
struct Line {
    qsizetype begin = 0, end = 0, next = 0;
};

std::vector<Line> SplitLines(const QByteArray& text)
{
    std::vector<Line> lines;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype nl = text.indexOf('\n', at);
        const qsizetype end = nl < 0 ? text.size() : nl;
        lines.push_back({at, end, nl < 0 ? text.size() : nl + 1});
        at = lines.back().next;
    }
    return lines;
}

// A group header's path, as KConfig reads "[a][b][c]" (a "[$i]" mark is not
// part of it); nothing when the line is no valid header. `immutable` tells
// whether it had the mark.
std::optional<QStringList> GroupOfLine(QByteArrayView line, bool* immutable = nullptr)
{
    QStringList path;
    qsizetype start = 1;
    for (;;) {
        const qsizetype end = line.indexOf(']', start);
        if (end < 0)
            return path.isEmpty() ? std::nullopt : std::optional(path);
        const QByteArrayView part = line.sliced(start, end - start);
        if (part != "$i")
            path << Unprintable(part);
        else if (immutable)
            *immutable = true;
        if (end + 1 >= line.size() || line[end + 1] != '[')
            return path;
        start = end + 2;
    }
}

// A key's options ("[$e]", "[$i]", "[$d]", "[$ie]") as one string of letters.
QByteArray KeyOptions(QByteArrayView key)
{
    QByteArray options;
    while (key.endsWith(']')) {
        const qsizetype open = key.lastIndexOf('[');
        if (open < 0 || open + 1 >= key.size() || key[open + 1] != '$')
            break;
        options += key.sliced(open + 2, key.size() - open - 3).toByteArray();
        key = key.first(open);
    }
    return options;
}

// "Key[$d]": the key deleted here (no value, no "=").
std::optional<QString> DeletedKeyOfLine(QByteArrayView line)
{
    if (line.contains('=') || !line.endsWith(']'))
        return std::nullopt;
    if (!KeyOptions(line).contains('d'))
        return std::nullopt;
    QByteArrayView key = line;
    while (key.endsWith(']')) {
        const qsizetype open = key.lastIndexOf('[');
        if (open < 0)
            break;
        key = key.first(open);
    }
    return Unprintable(key.trimmed());
}

// A key line's key, when it is the key itself: not a localised entry; the
// "[$e]"-style options are not part of the name.
struct KeyLine {
    QString key;
    QByteArrayView value;
};
std::optional<KeyLine> KeyOfLine(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    QByteArrayView key = line.first(eq).trimmed();
    while (key.endsWith(']')) {
        const qsizetype open = key.lastIndexOf('[');
        if (open < 0)
            break;
        if (open + 1 >= key.size() || key[open + 1] != '$')
            return std::nullopt; // "Key[de]": another language's value
        key = key.first(open);
    }
    return KeyLine{Unprintable(key), line.sliced(eq + 1).trimmed()};
}

// The text read line by line: for the group wanted, the last line of each
// key and where the group's last section ends.
struct Scan {
    bool groupFound = false;
    std::vector<Line> deletions; // "Key[$d]" lines of the key asked for
    qsizetype sectionEnd = 0;    // after the last key line (or header) of the group's last section
    std::optional<Line> lastLineOf(const QString& key) const
    {
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            if (it->first == key)
                return it->second;
        return std::nullopt;
    }
    std::vector<std::pair<QString, Line>> keys;
    std::vector<std::pair<QString, QByteArrayView>> values;
};

Scan ScanText(const QByteArray& text, const QStringList& group, const QString& deletedKey = {})
{
    Scan scan;
    bool inGroup = false;
    for (const Line& l : SplitLines(text)) {
        const QByteArrayView line = QByteArrayView(text).sliced(l.begin, l.end - l.begin).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            const auto path = GroupOfLine(line);
            if (!path || path->isEmpty())
                continue; // a broken header, or the file's "[$i]" mark: still the group before it
            inGroup = *path == group;
            if (inGroup) {
                scan.groupFound = true;
                scan.sectionEnd = l.next;
            }
            continue;
        }
        if (!inGroup)
            continue;
        if (const auto deleted = DeletedKeyOfLine(line)) {
            if (*deleted == deletedKey && !deletedKey.isEmpty())
                scan.deletions.push_back(l);
            continue;
        }
        if (const auto key = KeyOfLine(line)) {
            scan.keys.emplace_back(key->key, l);
            scan.values.emplace_back(key->key, key->value);
            scan.sectionEnd = l.next;
        }
    }
    return scan;
}

QByteArray Header(const QStringList& group)
{
    QByteArray header;
    for (const QString& part : group)
        header += '[' + Printable(part, Escape::Group) + ']';
    return header;
}
} // namespace

bool KConfigImmutable(const QByteArray& text, const QStringList& group, const QString& key)
{
    bool inGroup = false;
    bool beforeGroups = true;
    for (const Line& l : SplitLines(text)) {
        const QByteArrayView line = QByteArrayView(text).sliced(l.begin, l.end - l.begin).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (line == "[$i]") {
                if (beforeGroups)
                    return true; // the whole file
                continue;
            }
            bool immutable = false;
            const auto path = GroupOfLine(line, &immutable);
            if (!path || path->isEmpty())
                continue;
            beforeGroups = false;
            inGroup = *path == group;
            // A group's mark holds for the groups inside it.
            if (immutable && path->size() <= group.size() && group.mid(0, path->size()) == *path)
                return true;
            continue;
        }
        beforeGroups = false;
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf('=');
        const QByteArrayView name = (eq < 0 ? line : line.first(eq)).trimmed();
        const QByteArray options = KeyOptions(name);
        if (!options.contains('i'))
            continue;
        QByteArrayView bare = name;
        while (bare.endsWith(']') && bare.lastIndexOf('[') > 0)
            bare = bare.first(bare.lastIndexOf('['));
        if (Unprintable(bare.trimmed()) == key)
            return true;
    }
    return false;
}

std::optional<QString> KConfigValue(const QByteArray& text, const QStringList& group, const QString& key)
{
    const Scan scan = ScanText(text, group);
    for (auto it = scan.values.rbegin(); it != scan.values.rend(); ++it)
        if (it->first == key)
            return Unprintable(it->second);
    return std::nullopt;
}

QByteArray KConfigWithValues(QByteArray text, const QStringList& group,
                             const std::vector<std::pair<QString, QString>>& values)
{
    for (const auto& [key, value] : values) {
        const QByteArray entry = Printable(key, Escape::Key) + '=' + Printable(value, Escape::Value);
        // A deletion mark after the new line would hide it.
        const Scan marks = ScanText(text, group, key);
        for (auto it = marks.deletions.rbegin(); it != marks.deletions.rend(); ++it)
            text.remove(it->begin, it->next - it->begin);
        const Scan scan = ScanText(text, group);
        if (const auto line = scan.lastLineOf(key)) {
            text.replace(line->begin, line->end - line->begin, entry);
        } else if (scan.groupFound) {
            // A last line without its line break gets one before the new key.
            const bool needsBreak = scan.sectionEnd > 0 && text[scan.sectionEnd - 1] != '\n';
            text.insert(scan.sectionEnd, (needsBreak ? "\n" : "") + entry + '\n');
        } else {
            if (!text.isEmpty() && !text.endsWith('\n'))
                text += '\n';
            // KConfig leaves an empty line between groups.
            if (!text.isEmpty() && !text.endsWith("\n\n"))
                text += '\n';
            text += Header(group) + '\n' + entry + '\n';
        }
    }
    return text;
}

std::optional<QString> KdeConfigFile::read(const QStringList& group, const QString& key) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return KConfigValue(file.readAll(), group, key);
}

namespace
{
// The file KDE writes for a path: the target of a symbolic link, in the
// folder's real place; its lock is beside it.
QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.dir().canonicalPath();
    return folder.isEmpty() ? path : folder + QLatin1Char('/') + info.fileName();
}

// The system's files of that name, which the user's file cannot override
// where they mark something immutable.
QStringList SystemFiles(const QString& name)
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    QStringList files;
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        files << dir + QLatin1Char('/') + name;
    return files;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How long KDE's tool may take: it waits for the lock another writer holds.
constexpr int kToolWaitMs = 2000;

// KDE's tools of one version, writer and reader.
std::optional<std::pair<QString, QString>> KdeTools()
{
    for (const char* version : {"6", "5"}) {
        const QString writer =
            QStandardPaths::findExecutable(QStringLiteral("kwriteconfig") + QLatin1String(version));
        const QString reader =
            QStandardPaths::findExecutable(QStringLiteral("kreadconfig") + QLatin1String(version));
        if (!writer.isEmpty() && !reader.isEmpty())
            return std::pair{writer, reader};
    }
    return std::nullopt;
}

// The tool run on the file `name` of the configuration folder `folder`;
// its standard output, nothing when it failed or did not end in time.
std::optional<QByteArray> RunTool(const QString& tool, const QString& folder, const QString& name,
                                  const QStringList& group, const QStringList& rest)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder);
    process.setProcessEnvironment(env);
    QStringList args{QStringLiteral("--file"), name};
    for (const QString& g : group)
        args << QStringLiteral("--group") << g;
    process.start(tool, args + rest, QIODevice::ReadOnly);
    if (!process.waitForFinished(kToolWaitMs)) {
        process.kill();
        process.waitForFinished(kToolWaitMs);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}
} // namespace

bool KdeConfigFile::write(const QStringList& group, const std::vector<std::pair<QString, QString>>& values)
{
    if (writer_ == Writer::KdeTools)
        if (const auto tools = KdeTools())
            return writeWithTools(tools->first, tools->second, group, values);
    return writeOwn(group, values);
}

bool KdeConfigFile::writeWithTools(const QString& writer, const QString& reader, const QStringList& group,
                                   const std::vector<std::pair<QString, QString>>& values)
{
    const QFileInfo info(path_);
    // KDE makes its configuration folder when it first writes; so do we.
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    bool kept = true;
    for (const auto& [key, value] : values) {
        // It refuses an immutable value with a failing exit.
        if (!RunTool(writer, info.absolutePath(), info.fileName(), group,
                     {QStringLiteral("--key"), key, QStringLiteral("--"), value})) {
            kept = false;
            continue;
        }
        // What KDE reads now, with the system's files, is what counts.
        const auto back =
            RunTool(reader, info.absolutePath(), info.fileName(), group, {QStringLiteral("--key"), key});
        kept = kept && back && QString::fromUtf8(*back).chopped(back->endsWith('\n') ? 1 : 0) == value;
    }
    return kept;
}

bool KdeConfigFile::writeOwn(const QStringList& group, const std::vector<std::pair<QString, QString>>& values)
{
    // KDE makes its configuration folder when it first writes; so do we.
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    const QString target = CanonicalPath(path_);
    for (const QString& system : SystemFiles(QFileInfo(path_).fileName())) {
        const QByteArray text = ReadFile(system);
        for (const auto& [key, value] : values)
            if (KConfigImmutable(text, group, key))
                return false;
    }
    QLockFile lock(target + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    QByteArray text;
    QFile file(target);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return false;
        text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
        file.close();
    }
    for (const auto& [key, value] : values)
        if (KConfigImmutable(text, group, key))
            return false;
    const QByteArray changed = KConfigWithValues(text, group, values);
    if (changed == text)
        return true;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(changed) != changed.size())
        return false;
    return out.commit();
}

} // namespace orb
