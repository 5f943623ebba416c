// One program at a time on one mouse: the lock file shared by the window
// and the command-line tool, tried from two real processes.
#include "core/VirtualClock.h"
#include "device/MouseLock.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include <gtest/gtest.h>

using namespace orb;

namespace
{
constexpr std::uint16_t kVendor = 0x1209;
const std::string kMousePath = "sim/mouse-config";

// The other program: holds the mouse's lock until told to let go.
class OtherProgram
{
  public:
    OtherProgram(const QString& folder, const std::string& path, const std::string& node = {})
    {
        QStringList args{folder, QString::fromStdString(path)};
        if (!node.empty())
            args << QString::fromStdString(node);
        p_.start(QStringLiteral(ORB_LOCK_PROBE), args);
    }
    ~OtherProgram()
    {
        p_.closeWriteChannel();
        if (!p_.waitForFinished(5000))
            p_.kill();
        p_.waitForFinished(5000);
    }
    QString line()
    {
        while (!p_.canReadLine())
            if (!p_.waitForReadyRead(10000))
                return {};
        return QString::fromUtf8(p_.readLine()).trimmed();
    }
    void release() { p_.write("go\n"); }
    qint64 pid() const { return p_.processId(); }

  private:
    QProcess p_;
};

struct MouseLockFixture : ::testing::Test {
    QTemporaryDir folder;
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    Transport link{host, clock};

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        host.addStandardSet(&mouse, kVendor);
        link.setLockFolder(folder.path(), 3000);
        int release = kReleaseNumber;
        ASSERT_TRUE(link.OpenHidDevice(kVendor, kProductId, release));
    }
};
} // namespace

// While another program holds the mouse, the configuration exchange does
// not begin: nothing reaches the mouse, and the holder is named. Once it
// has let go, the exchange goes ahead.
TEST_F(MouseLockFixture, ExchangeWaitsForTheOtherProgramAndNamesIt)
{
    OtherProgram other(folder.path(), kMousePath);
    ASSERT_EQ(other.line(), QStringLiteral("locked"));

    EXPECT_FALSE(link.ExchangeCommand(BeginCmd));
    EXPECT_TRUE(mouse.requests().empty());
    EXPECT_EQ(link.heldBy(), QStringLiteral("mouse_lock_probe (pid %1)").arg(other.pid()));

    other.release();
    ASSERT_EQ(other.line(), QStringLiteral("released"));
    EXPECT_TRUE(link.ExchangeCommand(BeginCmd));
    EXPECT_TRUE(link.heldBy().isEmpty());
    EXPECT_EQ(mouse.requests().size(), 1u);
}

// This process holds the mouse from BeginCmd to EndCmd, or for a whole
// transfer held with holdLock; another program is kept out for exactly
// that long. Another mouse's lock is another file.
TEST_F(MouseLockFixture, OtherProgramIsKeptOutForTheExchangeOrTheHeldTransfer)
{
    const QString self = QStringLiteral("held by %1 (pid %2)")
                             .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                             .arg(QCoreApplication::applicationPid());
    const auto otherSees = [&](const std::string& path) {
        OtherProgram other(folder.path(), path);
        return other.line();
    };
    EXPECT_EQ(otherSees(kMousePath), QStringLiteral("locked"));

    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    EXPECT_EQ(otherSees(kMousePath), self);
    EXPECT_EQ(otherSees("sim/another-mouse"), QStringLiteral("locked"));
    link.ExchangeCommand(EndCmd);
    EXPECT_EQ(otherSees(kMousePath), QStringLiteral("locked"));

    link.holdLock();
    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    link.ExchangeCommand(EndCmd);
    EXPECT_EQ(otherSees(kMousePath), self); // between the transfer's exchanges
    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    link.releaseHold();
    EXPECT_EQ(otherSees(kMousePath), QStringLiteral("locked"));

    ASSERT_TRUE(link.ExchangeCommand(BeginCmd));
    link.closeDevice(); // an unplug gives it back too
    EXPECT_EQ(otherSees(kMousePath), QStringLiteral("locked"));
}

// A program that died holding the mouse does not keep it.
TEST_F(MouseLockFixture, LockOfAProgramThatDiedIsTakenOver)
{
    {
        QProcess other;
        other.start(QStringLiteral(ORB_LOCK_PROBE), {folder.path(), QString::fromStdString(kMousePath)});
        ASSERT_TRUE(other.waitForReadyRead(10000));
        ASSERT_EQ(QString::fromUtf8(other.readLine()).trimmed(), QStringLiteral("locked"));
        other.kill();
        other.waitForFinished(5000);
    }
    EXPECT_TRUE(link.ExchangeCommand(BeginCmd));
    EXPECT_TRUE(link.heldBy().isEmpty());
}

// Without a lock folder nothing is locked (simulated mice of tests and demos).
// Each take counts a turn beside the lock: a take after another program's
// turn says so, a take after only its own does not.
TEST(MouseLock, ATakeAfterAnotherProgramsTurnSaysSo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    MouseLock window(folder.path(), kMousePath);
    MouseLock tool(folder.path(), kMousePath);
    const auto take = [](MouseLock& lock) {
        EXPECT_TRUE(lock.tryLock());
        const bool others = lock.takeOthersHadIt();
        lock.unlock();
        return others;
    };
    EXPECT_FALSE(take(window));
    EXPECT_FALSE(take(window));
    take(tool);
    EXPECT_TRUE(take(window));
    EXPECT_FALSE(take(window));
}

TEST(MouseLock, NoFolderNoLock)
{
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    host.addStandardSet(&mouse, kVendor);
    Transport a{host, clock}, b{host, clock};
    int release = kReleaseNumber;
    ASSERT_TRUE(a.OpenHidDevice(kVendor, kProductId, release));
    ASSERT_TRUE(b.OpenHidDevice(kVendor, kProductId, release));
    mouse.config.strictExchange = false;
    EXPECT_TRUE(a.ExchangeCommand(BeginCmd));
    EXPECT_TRUE(b.ExchangeCommand(BeginCmd));
}

// On a mouse whose platform names a node file (its hidraw node), the lock is
// an flock on that file: two programs whose folders differ (another runtime
// folder, another user's) still exclude each other, and the kernel drops
// the lock of a program that died.
TEST(MouseLock, NodeLockIsOneWhateverTheFolder)
{
    QTemporaryDir a, b, nodes;
    ASSERT_TRUE(a.isValid() && b.isValid() && nodes.isValid());
    const std::string node = SimHost::lockNodeIn(nodes.path().toStdString(), kMousePath);
    std::ofstream(node).put('\n');
    MouseLock window(a.path(), kMousePath, node);
    {
        QProcess other;
        other.start(QStringLiteral(ORB_LOCK_PROBE),
                    {b.path(), QString::fromStdString(kMousePath), QString::fromStdString(node)});
        ASSERT_TRUE(other.waitForReadyRead(10000));
        ASSERT_EQ(QString::fromUtf8(other.readLine()).trimmed(), QStringLiteral("locked"));
        EXPECT_FALSE(window.tryLock());
        EXPECT_EQ(window.holder(), QStringLiteral("another program")); // its record is in its own folder
        other.kill();
        other.waitForFinished(5000);
    }
    ASSERT_TRUE(window.tryLock());
    OtherProgram again(b.path(), kMousePath, node);
    EXPECT_TRUE(again.line().startsWith(QStringLiteral("held by ")));
}

// The turn record is either a take's complete record or not the taker's
// own: whatever a crash, a full disk or another user left in it, a take
// that does not find its own last record says another program may have had
// the mouse, and a signal is kept until it is taken.
TEST(MouseLock, TurnRecordOnlyVouchesForTheTakersOwnLastTake)
{
    QTemporaryDir folder, nodes;
    ASSERT_TRUE(folder.isValid() && nodes.isValid());
    const std::string node = SimHost::lockNodeIn(nodes.path().toStdString(), kMousePath);
    std::ofstream(node).put('\n');
    MouseLock window(folder.path(), kMousePath, node);
    MouseLock tool(folder.path(), kMousePath, node);
    const QString turns = window.turnFileName();
    const auto append = [&](const QByteArray& bytes) {
        QFile f(turns);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(bytes);
    };
    const struct {
        const char* what;
        std::function<void()> between;
        bool others;
    } cases[] = {
        {"nothing", [] {}, false},
        {"another program's take",
         [&] {
             ASSERT_TRUE(tool.tryLock());
             tool.unlock();
         },
         true},
        {"a record torn by a crash", [&] { append("1f2e3d 4242 orb5610"); }, true},
        {"emptied (a crash while it was shortened)", [&] { QFile(turns).resize(0); }, true},
        {"emptied, then taken by another as often as before",
         [&] {
             QFile(turns).resize(0);
             for (int i = 0; i < 4; ++i) {
                 ASSERT_TRUE(tool.tryLock());
                 tool.unlock();
             }
         },
         true},
        {"removed", [&] { QFile::remove(turns); }, true},
        {"replaced by a link",
         [&] {
             QFile::remove(turns);
             QFile::link(QString::fromStdString(node), turns);
         },
         true},
        {"after its own take that could not be recorded", [] {}, true},
        {"its own takes only", [] {}, false},
    };
    ASSERT_TRUE(window.tryLock());
    window.unlock();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.between();
        ASSERT_TRUE(window.tryLock());
        window.unlock();
        EXPECT_EQ(window.takeOthersHadIt(), c.others);
        if (QFileInfo(turns).isSymLink())
            QFile::remove(turns);
    }
    // Kept until taken, over takes of its own.
    ASSERT_TRUE(tool.tryLock());
    tool.unlock();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(window.tryLock());
        window.unlock();
    }
    EXPECT_TRUE(window.takeOthersHadIt());
    EXPECT_FALSE(window.takeOthersHadIt());
    // Records of a long life do not grow the file past a few kilobytes.
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(window.tryLock());
        window.unlock();
    }
    EXPECT_LT(QFileInfo(turns).size(), 8192);
    EXPECT_FALSE(window.takeOthersHadIt());
}
