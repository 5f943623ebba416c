// show and check: the settings of a file or mouse in words or as JSON, and
// what the checks make of a file.
#include "ctl/CtlTool.h"
#include "ctl/Describe.h"
#include "ctl/FileCheck.h"
#include "ctl/SettingsJson.h"
#include "image/DefaultImages.h"
#include "image/ProfileFile.h"

#include <QJsonArray>

namespace orb::ctl
{

int Tool::cmdShow(const QString& file, bool mouse)
{
    ConfigImage image;
    if (mouse) {
        std::vector<std::unique_ptr<MouseLink>> links;
        if (const int code = linkMice(false, links); code != ExitOk)
            return code;
        const auto outcomes = runAll(links, ReadSteps, [](MouseLink& link) {
            Outcome o = link.Open();
            return o.code == ExitOk ? link.Read() : o;
        });
        if (outcomes.front().code != ExitOk)
            return reportMice(QStringLiteral("show"), links, outcomes);
        image = links.front()->session().image();
    } else {
        // A short file lies over the built-in default image.
        if (const auto def = LoadDefaultImage(1))
            image.ImageBuf = *def;
        const ProfileLoadResult load = LoadProfileFile(file.toStdString(), image.ImageBuf);
        if (load.status == ProfileLoadStatus::WrongType)
            return reportError(ExitBadFile,
                               QStringLiteral("%1: not a profile file (no 0x99 at 0x07F)").arg(file));
        if (load.status != ProfileLoadStatus::Ok)
            return reportError(ExitBadFile,
                               QStringLiteral("%1: %2").arg(file, QString::fromStdString(load.reason)));
        image.SplitImage();
    }
    if (json_) {
        QJsonObject o = SettingsJson(image);
        o.insert(QStringLiteral("command"), QStringLiteral("show"));
        o.insert(QStringLiteral("exit"), 0);
        emitJson(o);
    } else {
        for (const QString& line : DescribeImage(image, settings_.text).lines())
            out_ << line << '\n';
        out_.flush();
    }
    return ExitOk;
}

int Tool::cmdCheck(const QString& file)
{
    const FileCheckResult r = CheckFile(file);
    if (json_) {
        emitJson({{QStringLiteral("command"), QStringLiteral("check")},
                  {QStringLiteral("file"), file},
                  {QStringLiteral("kind"), r.kind},
                  {QStringLiteral("valid"), r.code == ExitOk},
                  {QStringLiteral("repairs"), QJsonArray::fromStringList(r.repairs)},
                  {QStringLiteral("error"), r.error},
                  {QStringLiteral("exit"), r.code}});
        return r.code;
    }
    if (r.code != ExitOk) {
        out_ << file << ": bad file: " << r.error << '\n';
    } else {
        out_ << file << ": valid " << r.kind << '\n';
        if (r.repairs.isEmpty())
            out_ << "  nothing to repair\n";
        for (const QString& line : r.repairs)
            out_ << "  " << line << '\n';
    }
    out_.flush();
    return r.code;
}

} // namespace orb::ctl
