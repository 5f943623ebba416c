#include "device/MouseLock.h"

#include "core/PrivateFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orb
{

namespace
{
// Interface paths hold slashes and colons: files are named by a digest.
QString digestOf(const std::string& path)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArray::fromStdString(path), QCryptographicHash::Sha1).toHex().left(16));
}

// Records past this size are dropped at the next take: a crash in between
// leaves an empty file, which matches nobody's token.
constexpr qint64 kTurnFileLimit = 4096;

// The last complete record's token; empty when there is none (an empty
// file, or a torn last record).
QByteArray lastToken(const QByteArray& tail)
{
    if (!tail.endsWith('\n'))
        return {};
    const qsizetype start = tail.lastIndexOf('\n', tail.size() - 2) + 1;
    const QByteArray line = tail.mid(start, tail.size() - 1 - start);
    const qsizetype space = line.indexOf(' ');
    return space > 0 ? line.left(space) : QByteArray();
}

QByteArray ownName()
{
    QByteArray name = QCoreApplication::instance()
                          ? QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8()
                          : QByteArray();
    name.replace('\n', ' ');
    return name.isEmpty() ? QByteArrayLiteral("a program") : name;
}

#ifndef _WIN32
// The turn file, shared by every user: opened without O_CREAT when it
// exists (a world-writable sticky folder refuses O_CREAT on another user's
// file), never through a link, and only a regular file.
int openTurnFile(const QString& name)
{
    const QByteArray path = QFile::encodeName(name);
    constexpr int flags = O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
    int fd = ::open(path.constData(), flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.constData(), flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0)
            ::fchmod(fd, 0666); // whatever the umask: every user records turns
        else if (errno == EEXIST)
            fd = ::open(path.constData(), flags);
    }
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}
#endif
} // namespace

MouseLock::MouseLock(const QString& folder, const std::string& devicePath, const std::string& node)
    : node_(node),
      turnFile_(folder +
                QStringLiteral("/orb5610-mouse-%1.turn").arg(digestOf(node.empty() ? devicePath : node))),
      lockFileName_(folder + QStringLiteral("/orb5610-mouse-%1.lock").arg(digestOf(devicePath)))
{
    if (node_.empty()) {
        file_ = std::make_unique<QLockFile>(lockFileName_);
        // A living holder keeps the lock however long its transfer runs;
        // only a holder that has died leaves a stale one.
        file_->setStaleLockTime(0);
    }
}

MouseLock::~MouseLock()
{
    unlock();
}

bool MouseLock::isLocked() const
{
    return file_ ? file_->isLocked() : nodeFd_ >= 0;
}

bool MouseLock::tryLock()
{
    if (isLocked())
        return true;
    if (file_) {
        if (!file_->tryLock(0))
            return false;
    } else {
#ifndef _WIN32
        const int fd = ::open(node_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        nodeFd_ = fd;
#else
        return false;
#endif
    }
    countTurn();
    return true;
}

void MouseLock::countTurn()
{
    // Only touched while the lock is held.
    const QByteArray previous = lastToken_;
    const QByteArray token = QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    const QByteArray record =
        token + ' ' + QByteArray::number(QCoreApplication::applicationPid()) + ' ' + ownName() + '\n';
    lastToken_ = "-"; // unless recorded below: matches no record
    bool found = false;
#ifndef _WIN32
    const int fd = openTurnFile(turnFile_);
    if (fd >= 0) {
        struct stat st;
        if (::fstat(fd, &st) == 0) {
            const qint64 size = st.st_size;
            const qint64 from = std::max<qint64>(0, size - 512);
            QByteArray tail(int(size - from), '\0');
            found = ::pread(fd, tail.data(), std::size_t(tail.size()), from) == tail.size() &&
                    !previous.isEmpty() && lastToken(tail) == previous;
            if (size > kTurnFileLimit)
                (void)::ftruncate(fd, 0);
            const bool written = ::write(fd, record.constData(), std::size_t(record.size())) == record.size();
            if (written)
                lastToken_ = token;
            else
                (void)::ftruncate(fd, 0); // a turn nobody can see must not pass for another's
        }
        if (::close(fd) != 0)
            lastToken_ = "-";
    }
#else
    QFile turns(turnFile_);
    if (turns.open(QIODevice::ReadWrite)) {
        found = !previous.isEmpty() && lastToken(turns.readAll().right(512)) == previous;
        if (turns.size() > kTurnFileLimit)
            turns.resize(0);
        if (turns.seek(turns.size()) && turns.write(record) == record.size() && turns.flush())
            lastToken_ = token;
        else
            turns.resize(0);
    }
#endif
    // The first take knows of no earlier state of the mouse to doubt.
    if (!previous.isEmpty() && !found)
        othersHadIt_ = true;
}

void MouseLock::unlock()
{
    if (file_) {
        if (file_->isLocked())
            file_->unlock();
        return;
    }
#ifndef _WIN32
    if (nodeFd_ >= 0) {
        ::close(nodeFd_); // closing the last descriptor drops the flock
        nodeFd_ = -1;
    }
#endif
}

QString MouseLock::holder() const
{
    if (file_) {
        qint64 pid = 0;
        QString host, program;
        if (!file_->getLockInfo(&pid, &host, &program) || pid <= 0)
            return QStringLiteral("another program");
        if (program.isEmpty())
            program = QStringLiteral("a program");
        return QStringLiteral("%1 (pid %2)").arg(program).arg(pid);
    }
    // The holder appended its record right after it took the lock.
    QFile turns(turnFile_);
    if (!turns.open(QIODevice::ReadOnly))
        return QStringLiteral("another program");
    if (turns.size() > 512)
        turns.seek(turns.size() - 512);
    const QByteArray tail = turns.readAll();
    if (!tail.endsWith('\n'))
        return QStringLiteral("another program");
    const qsizetype start = tail.lastIndexOf('\n', tail.size() - 2) + 1;
    // "token pid name", the name up to the end of the line.
    const QString line = QString::fromUtf8(tail.mid(start, tail.size() - 1 - start));
    bool ok = false;
    const qint64 pid = line.section(QLatin1Char(' '), 1, 1).toLongLong(&ok);
    const QString name = line.section(QLatin1Char(' '), 2);
    if (!ok || pid <= 0 || name.isEmpty())
        return QStringLiteral("another program");
    return QStringLiteral("%1 (pid %2)").arg(name).arg(pid);
}

QString MouseLock::defaultFolder()
{
#ifdef __linux__
    // The same folder for every user, service and login: each program that
    // writes the mouse leaves its turn where every other one looks. Without
    // it, turns cannot be seen (every take then counts as another's), but
    // the lock itself, on the node, still holds.
    const QString shared = QStringLiteral("/run/lock");
    if (QFileInfo(shared).isDir())
        return shared;
#endif
    return PrivateRuntimeFolder();
}

} // namespace orb
