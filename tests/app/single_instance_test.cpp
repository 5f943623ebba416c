#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

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
    const QString path = QDir::tempPath() + QLatin1Char('/') + probe.serverName();
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
