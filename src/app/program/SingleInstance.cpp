#include "app/program/SingleInstance.h"

#include "core/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orb
{

namespace
{
// Tells the users of one machine apart in the socket's name: the user id;
// on Windows, where pipe names are shared by the whole machine and there is
// no user id, a digest of the user's name.
QString userTag()
{
#ifdef _WIN32
    return QString::fromLatin1(
        QCryptographicHash::hash(qEnvironmentVariable("USERNAME").toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(8));
#else
    return QString::number(::getuid());
#endif
}
} // namespace

// The socket's folder: one only this user can write to, so that nobody else
// can take the name first. The user's runtime folder, else a private folder
// of our own in the user's cache.
QString SingleInstance::socketFolder()
{
    return PrivateRuntimeFolder();
}

SingleInstance::SingleInstance(const QString& title, QObject* parent) : QObject(parent)
{
    // Socket names are file names on Linux: keep a readable prefix and make
    // the title safe.
    const QByteArray hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    const QString file = QStringLiteral("orb5610-%1-%2").arg(QString::fromLatin1(hash), userTag());
    const QString folder = socketFolder();
    // Without a private folder, the shared temporary folder as the last resort
    // (a bare name is a pipe name on Windows).
#ifdef _WIN32
    name_ = folder.isEmpty() ? file : folder + QLatin1Char('/') + file;
#else
    name_ = (folder.isEmpty() ? QDir::tempPath() : folder) + QLatin1Char('/') + file;
#endif
}

SingleInstance::Claim SingleInstance::claimOrRaise()
{
    if (!nameUsable())
        return Claim::Unavailable;
    // Without the lock two starts over a stale socket could each remove the
    // other's new one; both would then run.
    const int lock = lockClaim();
    Claim result = Claim::First;
    if (askRunningCopy())
        result = Claim::Raised;
    else if (!listen()) {
        // Another copy started listening just now, or a crashed copy left
        // its socket behind: ask once more before taking the name over.
        if (askRunningCopy())
            result = Claim::Raised;
        else {
            removeStale();
            result = listen() ? Claim::First : Claim::Unavailable;
        }
    }
    unlockClaim(lock);
    return result;
}

} // namespace orb
