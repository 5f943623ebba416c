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
    if (file_.isLocked())
        return true;
    if (!file_.tryLock(0))
        return false;
    // The turn file is only touched while the lock is held. One that cannot
    // be read or written counts as another program's turn: unknown is stale.
    QFile turns(fileName_ + QStringLiteral(".turn"));
    bool ok = turns.open(QIODevice::ReadWrite);
    const qint64 turn = ok ? turns.readAll().trimmed().toLongLong() : 0;
    othersHadIt_ = lastTurn_ != -1 && (!ok || turn != lastTurn_);
    const QByteArray next = QByteArray::number(turn + 1);
    ok = ok && turns.resize(0) && turns.seek(0) && turns.write(next) == next.size();
    lastTurn_ = ok ? turn + 1 : -2; // -2: the next take cannot tell either
    if (!ok)
        othersHadIt_ = true;
    return true;
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
