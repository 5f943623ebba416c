#include "app/program/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include <pwd.h>
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
QString startProbe(QProcess& p, const QString& title)
{
    p.start(QStringLiteral(ORB_PROBE), {title});
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
