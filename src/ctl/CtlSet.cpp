// set: the command, and its plain parts: the assignments of the command
// line or a settings document, and the change of a profile file in place.
#include "ctl/CtlSet.h"

#include "ctl/CtlTool.h"
#include "image/DefaultImages.h"
#include "image/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace orb::ctl
{

std::optional<SetRefusal> ReadSetAssignments(const QStringList& words, const QString& from, QIODevice* input,
                                             const ConfigImage& base, Assignments& out)
{
    if (!from.isEmpty()) {
        QByteArray bytes;
        if (from == QLatin1String("-")) {
            QFile standardInput;
            if (!input && standardInput.open(stdin, QIODevice::ReadOnly))
                input = &standardInput;
            if (input)
                bytes = input->readAll();
        } else {
            QFile file(from);
            if (!file.open(QIODevice::ReadOnly))
                return SetRefusal{ExitBadFile, QStringLiteral("%1: %2").arg(from, file.errorString())};
            bytes = file.readAll();
        }
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject())
            return SetRefusal{
                ExitBadFile,
                QStringLiteral("%1: not a settings document (%2)")
                    .arg(from, doc.isNull() ? error.errorString() : QStringLiteral("an object expected"))};
        Assignments fromDoc;
        auto refusal = DocumentAssignments(doc.object(), fromDoc);
        if (!refusal)
            refusal = CheckAssignmentValues(base, fromDoc);
        if (refusal) {
            refusal->code = ExitBadFile;
            refusal->text = from + QStringLiteral(": ") + refusal->text;
            return refusal;
        }
        out += fromDoc;
    }
    for (const QString& word : words)
        if (auto refusal = ParseAssignment(word, out))
            return refusal;
    return std::nullopt;
}

Outcome SetProfileFile(const QString& file, const Assignments& assignments)
{
    // Only a whole profile is changed in place: a short one would grow.
    const qint64 size = QFileInfo(file).size();
    ConfigImage image;
    const ProfileLoadResult load = LoadProfileFile(file.toStdString(), image.ImageBuf);
    if (load.status == ProfileLoadStatus::WrongType)
        return {ExitBadFile, QStringLiteral("%1: not a profile file (no 0x99 at 0x07F)").arg(file)};
    if (load.status != ProfileLoadStatus::Ok)
        return {ExitBadFile, QStringLiteral("%1: %2").arg(file, QString::fromStdString(load.reason))};
    if (size != qint64(ImageSize))
        return {ExitBadFile,
                QStringLiteral("%1: %2 bytes, a whole profile has %3").arg(file).arg(size).arg(ImageSize)};
    image.SplitImage();
    if (const auto refusal = ApplyAssignments(image, assignments))
        return {refusal->code, refusal->text};
    const ProfileSaveResult saved = SaveProfileFile(file.toStdString(), image.ImageBuf);
    if (!saved.ok)
        return {ExitBadFile, QStringLiteral("%1: %2").arg(file, QString::fromStdString(saved.reason))};
    return {ExitOk, QStringLiteral("%1 changed").arg(file)};
}

int Tool::cmdSet(const QStringList& args, const QString& from, bool mouse, bool all)
{
    const QStringList words = mouse ? args : args.mid(1);
    if ((!mouse && args.isEmpty()) || (words.isEmpty() && from.isEmpty()))
        return usage(QStringLiteral("set: a file or --mouse, then PATH=VALUE... or --from FILE.json"));
    // Paths and values are judged before a file or mouse is touched; what
    // depends on the image (the light type, the level count) once it is read.
    ConfigImage base;
    if (const auto def = LoadDefaultImage(1))
        base.ImageBuf = *def;
    base.SplitImage();
    Assignments assignments;
    auto refusal = ReadSetAssignments(words, from, env_.in, base, assignments);
    if (!refusal)
        refusal = CheckAssignmentValues(base, assignments);
    if (refusal)
        return reportError(refusal->code, refusal->text);
    const QString changed = assignments.size() == 1
                                ? QStringLiteral("1 setting set")
                                : QStringLiteral("%1 settings set").arg(assignments.size());
    if (!mouse) {
        const Outcome o = SetProfileFile(args.front(), assignments);
        if (o.code != ExitOk)
            return reportError(o.code, o.text);
        if (json_)
            emitJson({{QStringLiteral("command"), QStringLiteral("set")},
                      {QStringLiteral("file"), args.front()},
                      {QStringLiteral("result"), codeWord(ExitOk)},
                      {QStringLiteral("text"), changed},
                      {QStringLiteral("exit"), ExitOk}});
        else
            out_ << args.front() << ": " << changed << '\n';
        out_.flush();
        return ExitOk;
    }
    std::vector<std::unique_ptr<MouseLink>> links;
    if (const int code = linkMice(all, links); code != ExitOk)
        return code;
    const auto outcomes = runAll(links, ReadWriteSteps, [&](MouseLink& link) {
        Outcome o = link.Open();
        if (o.code == ExitOk)
            o = link.WriteChanged([&](ConfigImage& image) -> std::optional<Outcome> {
                if (auto r = ApplyAssignments(image, assignments))
                    return Outcome{r->code, r->text + QStringLiteral(": nothing written")};
                return std::nullopt;
            });
        if (o.code == ExitOk)
            o.text = changed + QStringLiteral(", ") + o.text;
        return o;
    });
    return reportMice(QStringLiteral("set"), links, outcomes);
}

} // namespace orb::ctl
