#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace orb
{

namespace
{
constexpr char kRaise[] = "raise\n";

QString socketName(const QString& title)
{
    // Socket names are file names: keep a readable prefix and make the title
    // safe; one name per user.
    const QByteArray hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("orb5610-%1-%2").arg(QString::fromLatin1(hash)).arg(::getuid());
}

bool socketAddress(const QString& path, sockaddr_un& addr)
{
    const QByteArray p = QFile::encodeName(path);
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (std::size_t(p.size()) >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, p.constData(), std::size_t(p.size()));
    return true;
}
} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent)
    : QObject(parent), name_(socketName(title)), path_(QDir::tempPath() + QLatin1Char('/') + name_),
      lock_(path_ + QStringLiteral(".lock"))
{
}

SingleInstance::~SingleInstance()
{
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        QFile::remove(path_);
    }
}

bool SingleInstance::askRunningCopy() const
{
    sockaddr_un addr;
    if (!socketAddress(path_, addr))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool asked = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (asked)
        asked = ::send(fd, kRaise, sizeof kRaise - 1, MSG_NOSIGNAL) == ssize_t(sizeof kRaise - 1);
    ::close(fd);
    return asked;
}

bool SingleInstance::listen()
{
    sockaddr_un addr;
    if (!socketAddress(path_, addr))
        return false;
    // What a crashed copy left behind is taken over: the lock is ours.
    QFile::remove(path_);
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0)
        return false;
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    notifier_ = new QSocketNotifier(qintptr(listenFd_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptPending(); });
    return true;
}

void SingleInstance::acceptPending()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        // The request may come after the connection: read it when it is there.
        auto* reader = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        connect(reader, &QSocketNotifier::activated, this, [this, reader, fd] {
            char buf[16];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            reader->setEnabled(false);
            reader->deleteLater();
            ::close(fd);
            if (n > 0 && QByteArray(buf, int(n)).contains("raise"))
                emit activationRequested();
        });
    }
}

bool SingleInstance::claim()
{
    if (lock_.tryLock(0))
        return listen();
    // Another copy holds the lock; it may be a moment away from listening.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (askRunningCopy())
            return false;
        QThread::msleep(50);
    }
    return false;
}

} // namespace orb
