#include "app/program/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
QString uniqueTitle(const char* what)
{
    return QStringLiteral("orb5610 test %1 %2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}

// Starts a probe and waits for its first line.
QString startProbe(QProcess& p, const QString& title, const QStringList& more = {})
{
    p.start(QStringLiteral(ORB_PROBE), QStringList{title} + more);
    if (!p.waitForStarted(5000) || !p.waitForReadyRead(10000))
        return {};
    return QString::fromUtf8(p.readLine()).trimmed();
}

// Environment variables changed for one test and put back after it.
class ScopedEnvironment
{
  public:
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved_)
            value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
    }
    void set(const char* name, const QString& value)
    {
        remember(name);
        qputenv(name, value.toLocal8Bit());
    }
    void unset(const char* name)
    {
        remember(name);
        qunsetenv(name);
    }

  private:
    void remember(const char* name)
    {
        if (!saved_.count(name))
            saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    std::map<std::string, std::optional<QByteArray>> saved_;
};

// A raw connection to a socket path; -1 when it cannot be made.
int connectTo(const QString& path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= qsizetype(sizeof addr.sun_path))
        return -1;
    std::memcpy(addr.sun_path, bytes.constData(), std::size_t(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The warnings logged while it lives.
class WarningLog
{
  public:
    WarningLog() { previous_ = qInstallMessageHandler(&WarningLog::record); }
    ~WarningLog()
    {
        qInstallMessageHandler(previous_);
        lines().clear();
    }
    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }

  private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& msg)
    {
        if (type == QtWarningMsg)
            lines() << msg;
    }
    QtMessageHandler previous_;
};

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                QFileDevice::WriteUser | QFileDevice::ExeUser;
} // namespace

TEST(SingleInstance, SecondStartRaisesTheFirstAndEnds)
{
    const QString title = uniqueTitle("two");
    QProcess first, second;
    ASSERT_EQ(startProbe(first, title), QStringLiteral("primary"));
    EXPECT_EQ(startProbe(second, title), QStringLiteral("secondary"));
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(first.waitForReadyRead(10000));
    EXPECT_EQ(QString::fromUtf8(first.readLine()).trimmed(), QStringLiteral("raised"));
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST(SingleInstance, StaleSocketOfACrashedCopyIsTakenOver)
{
    const QString title = uniqueTitle("stale");
    orb::SingleInstance probe(title);
    // What a crash leaves behind: the socket file with nobody listening.
    const QString path = probe.serverName();
    {
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    QProcess first;
    EXPECT_EQ(startProbe(first, title), QStringLiteral("primary"));
    first.kill();
    first.waitForFinished(5000);
    QFile::remove(path);
}

// The socket is made in a folder only the user can write to, never in the
// shared temporary folder where another user could take its name first.
TEST(SingleInstance, SocketLivesInTheUsersRuntimeFolder)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), kOwnerOnly);
    ScopedEnvironment env;
    env.set("XDG_RUNTIME_DIR", runtime.path());

    orb::SingleInstance instance(uniqueTitle("runtime"));
    EXPECT_EQ(QFileInfo(instance.serverName()).absolutePath(), runtime.path());
    ASSERT_TRUE(instance.claim());
    EXPECT_TRUE(QFileInfo::exists(instance.serverName()));
}

TEST(SingleInstance, WithoutARuntimeFolderTheSocketLivesInAPrivateFolder)
{
    QTemporaryDir temp, home;
    ASSERT_TRUE(temp.isValid() && home.isValid());
    ScopedEnvironment env;
    env.unset("XDG_RUNTIME_DIR");
    env.set("TMPDIR", temp.path());
    env.set("XDG_CACHE_HOME", home.path() + QStringLiteral("/cache"));
    // Qt's own stand-in for the runtime folder cannot be had either.
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_TRUE(user);
    {
        QFile blocker(temp.path() + QStringLiteral("/runtime-") + QString::fromLocal8Bit(user->pw_name));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }

    orb::SingleInstance instance(uniqueTitle("private"));
    const QString folder = home.path() + QStringLiteral("/cache/orb5610");
    EXPECT_EQ(QFileInfo(instance.serverName()).absolutePath(), folder);
    EXPECT_EQ(QFile::permissions(folder), kOwnerOnly);
    ASSERT_TRUE(instance.claim());
    EXPECT_TRUE(QFileInfo::exists(instance.serverName()));
}

namespace
{
// Whether process `pid` waits for a lock (a "->" line of /proc/locks).
bool waitsForALock(qint64 pid)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = " " + QByteArray::number(pid) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("->") && line.contains(needle))
            return true;
    return false;
}
} // namespace

// Two starts over a stale socket take turns: while one is between its
// questions and its listening, the other waits, then asks the socket the
// first made instead of removing it and listening itself.
TEST(SingleInstance, StartsOverAStaleSocketTakeTurns)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), kOwnerOnly);
    ScopedEnvironment env;
    env.set("XDG_RUNTIME_DIR", runtime.path());
    const QString title = uniqueTitle("turns");
    const QString path = orb::SingleInstance(title).serverName();
    {
        QFile stale(path); // what a crash leaves behind
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    // The first start, in the middle of its claim.
    const int lock = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    QProcess second;
    second.start(QStringLiteral(ORB_PROBE), {title});
    ASSERT_TRUE(second.waitForStarted(5000));
    // The second start must wait, not go ahead and take the name.
    bool waiting = false;
    for (int i = 0; i < 1000 && !waiting && second.state() == QProcess::Running && !second.canReadLine();
         ++i) {
        QThread::msleep(10);
        second.waitForReadyRead(0);
        waiting = waitsForALock(second.processId());
    }
    ASSERT_TRUE(waiting) << second.readAll().toStdString();

    // The first start takes the name over and listens, then lets go.
    ASSERT_TRUE(QFile::remove(path));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ::close(lock);

    ASSERT_TRUE(second.waitForReadyRead(10000));
    EXPECT_EQ(QString::fromUtf8(second.readLine()).trimmed(), QStringLiteral("secondary"));
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_TRUE(QFileInfo::exists(path)); // the first start's socket stays
    ::close(listener);
}

// A socket that cannot be had at all (here its path is too long) does not
// keep the program from starting: it starts on its own and says so.
TEST(SingleInstance, ProgramStartsWithoutTheSocketWhenItCannotBeHad)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString folder = runtime.path() + QLatin1Char('/') + QString(120, QLatin1Char('x'));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, kOwnerOnly);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(ORB_DEMO), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    QByteArray said;
    while (!said.contains("starts on its own") && program.state() == QProcess::Running &&
           program.waitForReadyRead(30000))
        said += program.readAll();
    said += program.readAll();
    EXPECT_TRUE(said.contains("starts on its own")) << said.toStdString();
    EXPECT_EQ(program.state(), QProcess::Running); // with its window, not ended
    program.kill();
    program.waitForFinished(5000);
}

// Whether the running copy still holds the connection (it has not closed its end).
bool stillHeld(int fd)
{
    char c;
    const ssize_t n = ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

// A connection that never says anything must not hold up the running copy:
// a later start still brings it forward, and its socket file goes when it ends.
TEST(SingleInstance, SilentConnectionDoesNotHoldUpTheRunningCopy)
{
    const QString title = uniqueTitle("silent");
    const QString path = orb::SingleInstance(title).serverName();
    QProcess first, second;
    ASSERT_EQ(startProbe(first, title, {QStringLiteral("stay")}), QStringLiteral("primary"));
    const int silent = connectTo(path);
    ASSERT_GE(silent, 0);
    // A later start right behind it, as the program sends it. The running
    // copy drops a silent connection only after its time-out: while it still
    // holds this one, it cannot have waited that out before the request.
    const int later = connectTo(path);
    ASSERT_GE(later, 0);
    ASSERT_EQ(::write(later, "raise\n", 6), 6);
    ASSERT_TRUE(first.waitForReadyRead(10000));
    EXPECT_EQ(QString::fromUtf8(first.readLine()).trimmed(), QStringLiteral("raised"));
    EXPECT_TRUE(stillHeld(silent));
    ::close(later);

    // A later copy of the program, the silent connection still open.
    EXPECT_EQ(startProbe(second, title), QStringLiteral("secondary"));
    ASSERT_TRUE(second.waitForFinished(5000));
    if (!first.canReadLine()) {
        ASSERT_TRUE(first.waitForReadyRead(10000));
    }
    EXPECT_EQ(QString::fromUtf8(first.readLine()).trimmed(), QStringLiteral("raised"));
    first.closeWriteChannel();
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_EQ(first.exitCode(), 0);
    ::close(silent);
    EXPECT_FALSE(QFileInfo::exists(path));
}

// A Unix socket's path holds at most 107 bytes: one that fits is used, a
// longer one is refused with a warning and nothing is made.
TEST(SingleInstance, SocketPathLengthLimit)
{
    const struct {
        int length;
        bool claimed;
    } cases[] = {{107, true}, {108, false}, {200, false}};
    const QString title = uniqueTitle("length");
    const QString file = QFileInfo(orb::SingleInstance(title).serverName()).fileName();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        // In bytes as the socket address counts them: the temporary folder
        // may have a name in any script.
        const int pad =
            c.length - int(QFile::encodeName(runtime.path()).size() + 2 + QFile::encodeName(file).size());
        ASSERT_GT(pad, 0);
        const QString folder = runtime.path() + QLatin1Char('/') + QString(pad, QLatin1Char('x'));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile::setPermissions(folder, kOwnerOnly);
        ScopedEnvironment env;
        env.set("XDG_RUNTIME_DIR", folder);

        WarningLog warnings;
        orb::SingleInstance instance(title);
        ASSERT_EQ(QFile::encodeName(instance.serverName()).size(), c.length);
        EXPECT_EQ(instance.claim(), c.claimed);
        EXPECT_EQ(QFileInfo::exists(instance.serverName()), c.claimed);
        if (!c.claimed) {
            ASSERT_EQ(WarningLog::lines().size(), 1);
            EXPECT_TRUE(WarningLog::lines().front().contains(instance.serverName()));
        }
    }
}

// The listening socket is not handed to programs the window starts (a
// browser from the web button): one that outlived the window would keep
// answering later starts, which would then end without a window.
TEST(SingleInstance, ListeningSocketIsClosedOnExec)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), kOwnerOnly);
    ScopedEnvironment env;
    env.set("XDG_RUNTIME_DIR", runtime.path());
    orb::SingleInstance instance(uniqueTitle("exec"));
    ASSERT_TRUE(instance.claim());

    int found = 0;
    const QByteArray path = QFile::encodeName(instance.serverName());
    for (const QString& entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System)) {
        const int fd = entry.toInt();
        sockaddr_un addr{};
        socklen_t len = sizeof addr;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0 || addr.sun_family != AF_UNIX ||
            path != addr.sun_path)
            continue;
        ++found;
        EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
    }
    EXPECT_EQ(found, 1);
}
