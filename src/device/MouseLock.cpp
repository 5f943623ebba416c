#include "device/MouseLock.h"

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
QString lockFileName(const QString& folder, const std::string& devicePath)
{
    // Interface paths hold slashes and colons: the file is named by a digest.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(devicePath), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return folder + QStringLiteral("/orb5610-mouse-%1.lock").arg(QString::fromLatin1(digest));
}
} // namespace

MouseLock::MouseLock(const QString& folder, const std::string& devicePath)
    : fileName_(lockFileName(folder, devicePath)), file_(fileName_)
{
    // A living holder keeps the lock however long its transfer runs; only a
    // holder that has died leaves a stale one.
    file_.setStaleLockTime(0);
}

MouseLock::~MouseLock() = default;

bool MouseLock::tryLock()
{
    return file_.isLocked() || file_.tryLock(0);
}

void MouseLock::unlock()
{
    if (file_.isLocked())
        file_.unlock();
}

QString MouseLock::holder() const
{
    qint64 pid = 0;
    QString host, program;
    if (!file_.getLockInfo(&pid, &host, &program) || pid <= 0)
        return QStringLiteral("another program");
    if (program.isEmpty())
        program = QStringLiteral("a program");
    return QStringLiteral("%1 (pid %2)").arg(program).arg(pid);
}

QString MouseLock::defaultFolder()
{
    return PrivateRuntimeFolder();
}

} // namespace orb
