// list, read and write: the mice found, an image to a profile file, a
// profile file to the mice.
#include "ctl/CtlTool.h"
#include "image/ProfileFile.h"

#include <QJsonArray>

#include <array>

namespace orb::ctl
{

namespace
{
QString hex2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}
QString hex4(int v)
{
    return QStringLiteral("0x%1")
        .arg(v, 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}
} // namespace

int Tool::cmdList()
{
    const std::vector<Found> found = findMice();
    QJsonArray mice;
    // A script must tell "none may be opened" (no udev rule) from success:
    // without one mouse that answers, the first mouse's status is the tool's.
    int code = found.empty() ? ExitNoMouse : ExitOk;
    bool oneAnswered = false;
    for (const Found& f : found) {
        const QString path = QString::fromStdString(f.info.path);
        const HidAttributes& a = f.info.attributes;
        QString identity;
        // Says what to install: the node belongs to root until the package's
        // udev rule hands it to the user at the next plug.
        Outcome o{ExitRefused, QStringLiteral("cannot be opened: no permission; install the orb5610 package "
                                              "(udev rule 70-orb5610.rules), then plug the mouse in again")};
        if (f.openable) {
            const auto link = makeLink(f.info);
            o = link->Open();
            std::array<std::uint8_t, 2> id{};
            if (o.code == ExitOk)
                o = link->Identify(id);
            if (o.code == ExitOk)
                identity = hex2(id[0]) + QLatin1Char(' ') + hex2(id[1]);
        }
        if (o.code == ExitOk)
            oneAnswered = true;
        else if (code == ExitOk)
            code = o.code;
        if (json_) {
            mice.append(QJsonObject{{QStringLiteral("path"), path},
                                    {QStringLiteral("vendor"), hex4(a.vendorId)},
                                    {QStringLiteral("product"), hex4(a.productId)},
                                    {QStringLiteral("release"), hex4(a.releaseNumber)},
                                    {QStringLiteral("openable"), f.openable},
                                    {QStringLiteral("identity"), identity},
                                    {QStringLiteral("result"), codeWord(o.code)},
                                    {QStringLiteral("text"), o.text}});
        } else {
            out_ << path << "  " << hex4(a.vendorId) << ':' << hex4(a.productId) << " release "
                 << hex4(a.releaseNumber) << "  ";
            if (o.code == ExitOk)
                out_ << "identity " << identity << "  opens";
            else
                out_ << codeWord(o.code) << ": " << o.text;
            out_ << '\n';
        }
    }
    if (oneAnswered)
        code = ExitOk;
    if (json_)
        emitJson({{QStringLiteral("command"), QStringLiteral("list")},
                  {QStringLiteral("mice"), mice},
                  {QStringLiteral("exit"), code}});
    else if (found.empty())
        out_ << "no mouse found\n";
    out_.flush();
    return code;
}

int Tool::cmdRead(const QString& file)
{
    std::vector<std::unique_ptr<MouseLink>> links;
    if (const int code = linkMice(false, links); code != ExitOk)
        return code;
    const auto outcomes = runAll(links, ReadSteps, [&file](MouseLink& link) {
        Outcome o = link.Open();
        if (o.code == ExitOk)
            o = link.Read();
        if (o.code != ExitOk)
            return o;
        // Only a whole image is saved, and atomically.
        const ProfileSaveResult saved = SaveProfileFile(file.toStdString(), link.session().image().ImageBuf);
        if (!saved.ok)
            return Outcome{ExitBadFile,
                           QStringLiteral("%1: %2").arg(file, QString::fromStdString(saved.reason))};
        return Outcome{ExitOk, QStringLiteral("read into %1").arg(file)};
    });
    return reportMice(QStringLiteral("read"), links, outcomes, {{QStringLiteral("file"), file}});
}

int Tool::cmdWrite(const QString& file, bool all)
{
    // The file is judged before any mouse is touched.
    {
        ImageBytes scratch{};
        const ProfileLoadResult load = LoadProfileFile(file.toStdString(), scratch);
        if (load.status == ProfileLoadStatus::WrongType)
            return reportError(ExitBadFile,
                               QStringLiteral("%1: not a profile file (no 0x99 at 0x07F)").arg(file));
        if (load.status != ProfileLoadStatus::Ok)
            return reportError(ExitBadFile,
                               QStringLiteral("%1: %2").arg(file, QString::fromStdString(load.reason)));
    }
    std::vector<std::unique_ptr<MouseLink>> links;
    if (const int code = linkMice(all, links); code != ExitOk)
        return code;
    const std::filesystem::path path = file.toStdString();
    const auto outcomes = runAll(links, ReadWriteSteps, [&path](MouseLink& link) {
        Outcome o = link.Open();
        if (o.code == ExitOk)
            o = link.WriteProfile(path);
        return o;
    });
    return reportMice(QStringLiteral("write"), links, outcomes, {{QStringLiteral("file"), file}});
}

} // namespace orb::ctl
