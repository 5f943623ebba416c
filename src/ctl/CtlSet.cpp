#include "ctl/CtlSet.h"

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

} // namespace orb::ctl
