#include "ctl/SettingsJson.h"

#include "ctl/MouseLink.h"
#include "ctl/SettingsTable.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace orb::ctl
{

using namespace settings;

namespace
{

QJsonValue WithPath(const QJsonValue& node, QStringList parts, const QJsonValue& value)
{
    if (parts.isEmpty())
        return value;
    const QString head = parts.takeFirst();
    bool isIndex = false;
    const int n = head.toInt(&isIndex);
    if (isIndex) {
        QJsonArray a = node.toArray();
        while (a.size() < n)
            a.append(QJsonValue::Null);
        a[n - 1] = WithPath(a.at(n - 1), parts, value);
        return a;
    }
    QJsonObject o = node.toObject();
    o[head] = WithPath(o.value(head), parts, value);
    return o;
}

QString Shown(const QJsonValue& v)
{
    if (v.isString())
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    QJsonArray a{v};
    QString s = QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
    return s.mid(1, s.size() - 2);
}

SetRefusal UnknownPath(const QString& path)
{
    QStringList paths;
    for (const Field& f : Fields())
        if (f.doc.settable)
            paths << QString::fromLatin1(f.doc.path)
                         .replace(QStringLiteral(".N"),
                                  f.count ? QStringLiteral(".1..%1").arg(f.count) : QString());
    return {ExitUsage,
            QStringLiteral("unknown setting %1; settings: %2").arg(path, paths.join(QStringLiteral(", ")))};
}

std::optional<SetRefusal> Flatten(const QJsonValue& v, const QString& path, Assignments& into)
{
    if (!path.isEmpty()) {
        const auto [pattern, index] = Pattern(path);
        if (const Field* f = FieldOf(pattern)) {
            if (f->doc.settable && !v.isNull())
                into.append({path, v});
            return std::nullopt;
        }
    }
    const QString prefix = path.isEmpty() ? QString() : path + QLatin1Char('.');
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            // What show adds around the settings.
            if (path.isEmpty() && (it.key() == QLatin1String("command") || it.key() == QLatin1String("exit")))
                continue;
            if (auto r = Flatten(it.value(), prefix + it.key(), into))
                return r;
        }
        return std::nullopt;
    }
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        for (int i = 0; i < a.size(); ++i)
            if (auto r = Flatten(a.at(i), prefix + QString::number(i + 1), into))
                return r;
        return std::nullopt;
    }
    return UnknownPath(path);
}

} // namespace

std::span<const SettingField> SettingFields()
{
    static const std::vector<SettingField> docs = [] {
        std::vector<SettingField> out;
        for (const Field& f : Fields())
            out.push_back(f.doc);
        return out;
    }();
    return docs;
}

QStringList SettablePaths()
{
    QStringList out;
    for (const Field& f : Fields()) {
        if (!f.doc.settable)
            continue;
        const QString path = QString::fromLatin1(f.doc.path);
        if (!f.count)
            out << path;
        for (int n = 1; n <= f.count; ++n)
            out << QString(path).replace(QStringLiteral(".N"), QStringLiteral(".%1").arg(n));
    }
    return out;
}

QJsonObject SettingsJson(const ConfigImage& image)
{
    const State s = StateOf(image);
    QJsonValue root = QJsonObject();
    for (const Field& f : Fields()) {
        const QString path = QString::fromLatin1(f.doc.path);
        if (!f.count)
            root = WithPath(root, path.split(QLatin1Char('.')), f.get(s, 0));
        for (int n = 1; n <= f.count; ++n)
            root = WithPath(
                root, QString(path).replace(QStringLiteral(".N"), QStringLiteral(".%1").arg(n)).split('.'),
                f.get(s, n));
    }
    return root.toObject();
}

std::optional<SetRefusal> ParseAssignment(const QString& text, Assignments& into)
{
    const int eq = int(text.indexOf(QLatin1Char('=')));
    if (eq <= 0)
        return SetRefusal{ExitUsage, QStringLiteral("%1: PATH=VALUE expected").arg(text)};
    const QString value = text.mid(eq + 1);
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson((QLatin1Char('[') + value + QLatin1Char(']')).toUtf8(), &error);
    const QJsonArray a = doc.array();
    into.append({text.left(eq).trimmed(),
                 error.error == QJsonParseError::NoError && a.size() == 1 ? a.at(0) : QJsonValue(value)});
    return std::nullopt;
}

std::optional<SetRefusal> DocumentAssignments(const QJsonObject& doc, Assignments& into)
{
    return Flatten(doc, {}, into);
}

namespace
{
std::optional<SetRefusal> Apply(ConfigImage& image, const Assignments& assignments, bool judgeTogether)
{
    State s = StateOf(image);
    bool mcuOnly = false, smartOnly = false, current = false;
    QString mcuPath, smartPath;
    for (const auto& [path, value] : assignments) {
        const auto [pattern, index] = Pattern(path);
        const Field* f = FieldOf(pattern);
        if (!f)
            return UnknownPath(path);
        if (!f->doc.settable)
            return SetRefusal{ExitUsage, QStringLiteral("%1 is read only").arg(path)};
        if (f->count && (index < 1 || index > f->count))
            return SetRefusal{ExitUsage, QStringLiteral("%1: no index %2; allowed: 1..%3")
                                             .arg(QString::fromLatin1(f->doc.path))
                                             .arg(index)
                                             .arg(f->count)};
        if (const Result why = f->set(s, index, value))
            return SetRefusal{ExitUsage, QStringLiteral("%1: %2 is not allowed; allowed: %3")
                                             .arg(path, Shown(value),
                                                  why->isEmpty() ? QString::fromUtf8(f->doc.allowed) : *why)};
        if (f->needs == Field::McuLight)
            mcuOnly = true, mcuPath = path;
        if (f->needs == Field::SmartLight)
            smartOnly = true, smartPath = path;
        if (pattern == QLatin1String("cpi.current") || pattern == QLatin1String("cpi.count"))
            current = true;
    }
    // Settings that only one light type stores, and the current level inside
    // the count, are judged on the result of all assignments together.
    if (!judgeTogether)
        mcuOnly = smartOnly = current = false;
    if (mcuOnly && s.c.ledType != PairChoice::Second)
        return SetRefusal{
            ExitUsage,
            QStringLiteral("%1 applies to the MCU light only; light.type is \"smart LED\"").arg(mcuPath)};
    if (smartOnly && s.c.ledType != PairChoice::First)
        return SetRefusal{
            ExitUsage,
            QStringLiteral("%1 applies to the smart light only; light.type is \"MCU LED\"").arg(smartPath)};
    if (current && (s.c.currentCpi + 1 > s.c.cpiStep + 2))
        return SetRefusal{ExitUsage,
                          QStringLiteral("cpi.current: %1 is not allowed; allowed: 1..%2 (cpi.count)")
                              .arg(s.c.currentCpi + 1)
                              .arg(s.c.cpiStep + 2)};

    ConfigImage next = image;
    bool macros = false;
    DeviceMacros device = ReadAndRefreshMacro(image.MacroArea);
    for (std::size_t i = 0; i < DeviceSlotCount; ++i) {
        if (!s.macroChanged[i])
            continue;
        macros = true;
        const QStringList& lines = s.macroLines[i];
        device.Names[i] = MacroNameStrToUnicode(s.macroNames[i]);
        if (lines.isEmpty()) {
            device.Records[i] = MacroRecord{};
            continue;
        }
        MacroScript script;
        script.Lines = QStringList{MacroScript::Header({})} + lines;
        const EncodeResult encoded = EncodeScript(script, s.macroStop[i].value_or(false));
        const QString slot = QStringLiteral("macros.%1.lines").arg(i + 1);
        if (encoded.linesLeftOut)
            return SetRefusal{
                ExitUsage,
                QStringLiteral("%1: %2 lines do not fit the slot; allowed: up to %3 bytes of events")
                    .arg(slot)
                    .arg(encoded.linesLeftOut)
                    .arg(MaxEventBytes)};
        // Every line must be a script line, and every event but the pauses
        // (kept in steps of the stored unit, runs of them joined) must come
        // back as written.
        auto events = [](const QStringList& from) {
            QStringList out;
            for (const QString& line : from)
                if (KindOf(line) != LineKind::Pause)
                    out << line;
            return out;
        };
        const QStringList back = events(DecodeRecord(encoded.record).script.Lines.mid(1));
        const QStringList wanted = events(lines);
        for (int k = 0; k < lines.size(); ++k) {
            const bool known = KindOf(lines.at(k)).has_value();
            const int event = int(events(lines.mid(0, k + 1)).size()) - 1;
            if (!known ||
                (KindOf(lines.at(k)) != LineKind::Pause && back.value(event) != wanted.value(event)))
                return SetRefusal{ExitUsage,
                                  QStringLiteral("%1.%2: \"%3\" is not a script line; allowed: \"0 ms\", "
                                                 "\"1 NAME CODE:82uu\", \"2 NAME CODE:02uu\", \"3 FBxx\".. "
                                                 "\"8 00FC\" as show writes them")
                                      .arg(slot)
                                      .arg(k + 1)
                                      .arg(lines.at(k))};
        }
        device.Records[i] = encoded.record;
    }
    if (s.controlsChanged)
        StoreSettings(s.c, next.ParameterA, next.ParameterB, next.FireKey);
    next.ProfileKeys = s.keys;
    if (macros)
        RefreshBaseMacroBuf(device, next.MacroArea);
    next.JoinImage();
    image = next;
    return std::nullopt;
}
} // namespace

std::optional<SetRefusal> ApplyAssignments(ConfigImage& image, const Assignments& assignments)
{
    return Apply(image, assignments, true);
}

std::optional<SetRefusal> CheckAssignmentValues(const ConfigImage& base, const Assignments& assignments)
{
    ConfigImage scratch = base;
    return Apply(scratch, assignments, false);
}

} // namespace orb::ctl
