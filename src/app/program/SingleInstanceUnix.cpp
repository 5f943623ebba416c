// The single instance on Unix: a Unix-domain stream socket of our own, its
// listening side watched by a QSocketNotifier in the event loop, so the
// program does not load Qt Network for it.
#ifndef _WIN32
#include "app/program/SingleInstance.h"

#include <QByteArray>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace orb
{

namespace
{
// A later start waits this long for the running copy to take its connection.
constexpr int kConnectTimeoutMs = 500;
// A connection that stays silent is dropped after this long.
constexpr int kPeerTimeoutMs = 2000;
// More than this without "raise" in it is not a later start.
constexpr qsizetype kMaxMessage = 64;
// Out of descriptors, a queued connection stays readable: accepting pauses
// this long instead of spinning on it.
constexpr int kAcceptPauseMs = 1000;
constexpr int kBacklog = 8;

// The socket's address; nothing when the path and its terminating zero do not fit in sun_path.
std::optional<sockaddr_un> socketAddress(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (bytes.size() >= qsizetype(sizeof addr.sun_path))
        return std::nullopt;
    std::memcpy(addr.sun_path, bytes.constData(), std::size_t(bytes.size()));
    return addr;
}

// Linux releases the descriptor even when close is interrupted, so it is never retried.
void closeDescriptor(int fd)
{
    ::close(fd);
}

// One accepted connection: read until "raise" has come, the peer has closed,
// or it stayed silent too long; then closed. Nothing here blocks.
class Peer : public QObject
{
  public:
    Peer(int fd, QObject* parent, std::function<void()> raise)
        : QObject(parent), fd_(fd), notifier_(fd, QSocketNotifier::Read), raise_(std::move(raise))
    {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { read(); });
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { finish(false); });
        timer_.start(kPeerTimeoutMs);
    }
    ~Peer() override
    {
        // The notifier lets go of the descriptor before it is closed.
        notifier_.setEnabled(false);
        if (fd_ >= 0)
            closeDescriptor(fd_);
    }

  private:
    void read()
    {
        char buf[64];
        for (;;) {
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n > 0) {
                message_.append(buf, qsizetype(n));
                if (message_.contains("raise"))
                    return finish(true);
                if (message_.size() > kMaxMessage)
                    return finish(false);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;           // the rest comes with the next notification
            return finish(false); // closed by the peer, or failed
        }
    }

    void finish(bool raise)
    {
        if (fd_ < 0)
            return;
        notifier_.setEnabled(false);
        timer_.stop();
        closeDescriptor(fd_);
        fd_ = -1;
        deleteLater();
        if (raise)
            raise_();
    }

    int fd_;
    QSocketNotifier notifier_;
    QTimer timer_;
    QByteArray message_;
    std::function<void()> raise_;
};
} // namespace

SingleInstance::~SingleInstance()
{
    if (listenFd_ < 0)
        return;
    delete notifier_;
    closeDescriptor(listenFd_);
    // Only the file this copy made: a copy that took the name over keeps its own.
    const QByteArray path = QFile::encodeName(name_);
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && st.st_dev == socketDev_ && st.st_ino == socketIno_)
        ::unlink(path.constData());
}

bool SingleInstance::nameUsable() const
{
    if (socketAddress(name_))
        return true;
    qWarning("single instance: the socket path %s is %lld bytes long, a Unix socket takes at most %d; "
             "running without the single instance",
             qPrintable(name_), static_cast<long long>(QFile::encodeName(name_).size()),
             static_cast<int>(sizeof(sockaddr_un::sun_path) - 1));
    return false;
}

bool SingleInstance::askRunningCopy() const
{
    const auto addr = socketAddress(name_);
    if (!addr)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A copy whose queue is full (hung) is waited for only briefly; the limit
    // bounds the connect and the send.
    timeval limit{};
    limit.tv_usec = kConnectTimeoutMs * 1000;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    int rc;
    do
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof *addr);
    while (rc != 0 && errno == EINTR);
    const bool connected = rc == 0 || errno == EISCONN;
    if (connected) {
        // A copy that closed meanwhile must not end this one with SIGPIPE.
        ssize_t sent;
        do
            sent = ::send(fd, kRaise, sizeof kRaise - 1, MSG_NOSIGNAL);
        while (sent < 0 && errno == EINTR);
    }
    closeDescriptor(fd);
    return connected;
}

bool SingleInstance::listen()
{
    const auto addr = socketAddress(name_);
    if (!addr || listenFd_ >= 0)
        return false;
    const QByteArray path = QFile::encodeName(name_);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        qWarning("single instance: no socket: %s", std::strerror(errno));
        return false;
    }
    // The file's mode comes from the umask, as the user's other files.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof *addr) != 0) {
        // A name in use is another copy's or a crashed one's: the caller decides.
        if (errno != EADDRINUSE)
            qWarning("single instance: cannot bind %s: %s", path.constData(), std::strerror(errno));
        closeDescriptor(fd);
        return false;
    }
    struct stat st;
    if (::listen(fd, kBacklog) != 0 || ::lstat(path.constData(), &st) != 0) {
        qWarning("single instance: cannot listen on %s: %s", path.constData(), std::strerror(errno));
        closeDescriptor(fd);
        ::unlink(path.constData());
        return false;
    }
    listenFd_ = fd;
    socketDev_ = st.st_dev;
    socketIno_ = st.st_ino;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptPending(); });
    return true;
}

void SingleInstance::acceptPending()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            new Peer(fd, this, [this] { emit activationRequested(); });
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return;
        qWarning("single instance: cannot accept: %s", std::strerror(errno));
        notifier_->setEnabled(false);
        QTimer::singleShot(kAcceptPauseMs, notifier_, [n = notifier_] { n->setEnabled(true); });
        return;
    }
}

int SingleInstance::lockClaim() const
{
    const QByteArray path = QFile::encodeName(name_ + QStringLiteral(".lock"));
    int fd;
    do
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        qWarning("single instance: no lock file %s: %s", path.constData(), std::strerror(errno));
        return -1;
    }
    // Held only while a start asks and listens: a short wait.
    int rc;
    do
        rc = ::flock(fd, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    return fd;
}

void SingleInstance::unlockClaim(int fd) const
{
    if (fd >= 0)
        closeDescriptor(fd); // the lock goes with the descriptor
}

void SingleInstance::removeStale() const
{
    if (socketAddress(name_))
        ::unlink(QFile::encodeName(name_).constData());
}

} // namespace orb
#endif
