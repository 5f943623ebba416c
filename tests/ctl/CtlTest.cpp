// The command-line tool against simulated mice on virtual time: every
// command, its output and its exit code, and what reaches the mice.
#include "ctl/Ctl.h"
#include "core/VirtualClock.h"
#include "ctl/MouseLink.h"
#include "device/MouseLock.h"
#include "device/SimMouse.h"
#include "device/Transport.h"
#include "image/DefaultImages.h"
#include "macros/MacroLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace orb;
using namespace orb::ctl;

namespace
{

constexpr std::uint16_t kVendor = 0x1209;

class Forward final : public HidPlatform
{
  public:
    explicit Forward(HidPlatform& p) : p_(p) {}
    std::optional<std::vector<HidInterfaceInfo>> listInterfaces() override { return p_.listInterfaces(); }
    std::unique_ptr<HidDevice> open(const std::string& path, HidOpenError* why) override
    {
        return p_.open(path, why);
    }

  private:
    HidPlatform& p_;
};

struct CtlTest : ::testing::Test {
    SimHost host;
    std::vector<std::unique_ptr<SimMouse>> mice;
    QTemporaryDir dir;
    QString out, err;
    QString lockFolder; // the mice's locks, as the installed tool has them

    SimMouse& addMouse()
    {
        auto mouse = std::make_unique<SimMouse>();
        mouse->memory = *LoadDefaultImage(1);
        const std::string base = "sim/mouse" + std::to_string(mice.size() + 1);
        host.add(
            {base + "-input", {kVendor, kProductId, kReleaseNumber}, 5, true, true, 0, nullptr, mouse.get()});
        host.add({base + "-config",
                  {kVendor, kProductId, kReleaseNumber},
                  8,
                  true,
                  true,
                  0,
                  mouse.get(),
                  mouse.get()});
        mice.push_back(std::move(mouse));
        return *mice.back();
    }

    int run(const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        Environment env;
        env.makeHid = [this] { return std::make_unique<Forward>(host); };
        env.makeClock = [] { return std::make_unique<VirtualClock>(); };
        env.vendorId = kVendor;
        env.out = &o;
        env.err = &e;
        env.programFolder = dir.path() + QLatin1Char('/');
        env.mouseLockFolder = lockFolder;
        return RunCtl(args, env);
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString& name)
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray bytesOf(const ImageBytes& image)
    {
        return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    }
    // The default image with another CPI value on level 1, sections valid.
    QByteArray changedProfile()
    {
        ConfigImage image;
        image.ImageBuf = *LoadDefaultImage(1);
        image.SplitImage();
        image.ParameterA[0x006] = 0x03;
        image.JoinImage();
        return bytesOf(image.ImageBuf);
    }
};

TEST_F(CtlTest, HelpAndUsageErrors)
{
    EXPECT_EQ(run({"--help"}), ExitOk);
    EXPECT_TRUE(out.startsWith("Usage: orb5610ctl"));
    EXPECT_TRUE(out.contains("6  verification failed"));
    EXPECT_EQ(run({}), ExitUsage);
    EXPECT_TRUE(err.contains("--help"));
    EXPECT_EQ(run({"--bogus", "list"}), ExitUsage);
    EXPECT_EQ(run({"frobnicate"}), ExitUsage);
    EXPECT_EQ(run({"read"}), ExitUsage);
    EXPECT_EQ(run({"--lang", "4", "list"}), ExitUsage);
}

TEST_F(CtlTest, ListShowsEveryMouseWithIdentityAndWhetherItOpens)
{
    EXPECT_EQ(run({"list"}), ExitNoMouse);
    addMouse();
    SimMouse& locked = addMouse();
    host.refuseOpening(&locked, true);
    EXPECT_EQ(run({"list"}), ExitOk);
    EXPECT_TRUE(out.contains("sim/mouse1-config  0x1209:0x08A0 release 0x0104  identity FF FF  opens"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("sim/mouse2-config") && out.contains("refused: cannot be opened"))
        << out.toStdString();
    // An input collection is not the configuration interface; one that
    // refuses opening cannot be told apart from it, so it is listed too.
    EXPECT_FALSE(out.contains("sim/mouse1-input"));
    EXPECT_TRUE(out.contains("sim/mouse2-input"));

    EXPECT_EQ(run({"--json", "list"}), ExitOk);
    const QJsonArray found = QJsonDocument::fromJson(out.toUtf8()).object()["mice"].toArray();
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0].toObject()["identity"].toString(), "FF FF");
    EXPECT_TRUE(found[0].toObject()["openable"].toBool());
    EXPECT_FALSE(found[1].toObject()["openable"].toBool());
    EXPECT_EQ(found[2].toObject()["result"].toString(), "refused");

    // With only refusing mice a command says so, and so does the list's
    // status: a script can tell that the udev rule is missing.
    host.refuseOpening(mice[0].get(), true);
    EXPECT_EQ(run({"list"}), ExitRefused);
    EXPECT_EQ(run({"--json", "list"}), ExitRefused);
    EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()).object()["exit"].toInt(), ExitRefused);
    EXPECT_EQ(run({"read", file("a.bin")}), ExitRefused);
    EXPECT_TRUE(err.contains("udev rule"));
    EXPECT_EQ(host.openHandles, 0);
}

// The window holds the mouse (a transfer of its own): the tool waits, then
// names it and ends with its own status, having sent the mouse nothing.
TEST_F(CtlTest, MouseHeldByTheWindowGivesItsOwnStatus)
{
    SimMouse& mouse = addMouse();
    lockFolder = file("locks");
    ASSERT_TRUE(QDir().mkpath(lockFolder));
    MouseLock window(lockFolder, "sim/mouse1-config");
    ASSERT_TRUE(window.tryLock());
    const QString holder = QStringLiteral("in use by %1 (pid %2)")
                               .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                               .arg(QCoreApplication::applicationPid());
    writeFile("p.bin", changedProfile());
    const ImageBytes before = mouse.memory;

    const struct {
        QStringList args;
    } commands[] = {{{"write", file("p.bin")}},
                    {{"read", file("a.bin")}},
                    {{"set", "--mouse", "cpi.levels.1.cpi=3200"}},
                    {{"show", "--mouse"}},
                    {{"list"}}};
    for (const auto& c : commands) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        mouse.clearTraffic();
        EXPECT_EQ(run(c.args), ExitBusy) << out.toStdString() << err.toStdString();
        EXPECT_TRUE((out + err).contains(holder)) << out.toStdString() << err.toStdString();
        EXPECT_TRUE(mouse.requests().empty());
    }
    EXPECT_EQ(mouse.memory, before);
    EXPECT_FALSE(QFile::exists(file("a.bin")));

    window.unlock();
    EXPECT_EQ(run({"write", file("p.bin")}), ExitOk) << out.toStdString();
    EXPECT_EQ(bytesOf(mouse.memory), changedProfile());
    EXPECT_TRUE(window.tryLock()); // given back when the tool is done
}

TEST_F(CtlTest, ReadSavesTheWholeImageOnlyWhenTheReadIsComplete)
{
    SimMouse& mouse = addMouse();
    mouse.memory[0x100] = 0x42; // something of its own in the macro area
    EXPECT_EQ(run({"read", file("a.bin")}), ExitOk) << err.toStdString();
    EXPECT_EQ(readFile("a.bin"), bytesOf(mouse.memory));
    EXPECT_TRUE(out.contains("sim/mouse1-config: ok")) << out.toStdString();

    host.unplugAtCommand(&mouse, ReadDataCmd, 100);
    EXPECT_EQ(run({"read", file("b.bin")}), ExitFailed);
    EXPECT_FALSE(QFile::exists(file("b.bin")));
}

TEST_F(CtlTest, RefusalsHaveTheirOwnExitCode)
{
    SimMouse& mouse = addMouse();
    mouse.config.memoryAccess = false;
    EXPECT_EQ(run({"read", file("a.bin")}), ExitRefused);
    EXPECT_TRUE(out.contains("Finding the device")) << out.toStdString(); // "Str020" in English
    EXPECT_FALSE(QFile::exists(file("a.bin")));

    mouse.config.memoryAccess = true;
    mouse.memory[0x036] = 0x12;
    mouse.memory[0x037] = 0x34;
    writeFile("p.bin", changedProfile());
    EXPECT_EQ(run({"write", file("p.bin")}), ExitRefused);
    EXPECT_TRUE(out.contains("The mouse manufacturer or product id error")) << out.toStdString();
    EXPECT_NE(mouse.memory[0x006], 0x03); // nothing written
}

TEST_F(CtlTest, WriteSendsTheFileAndVerifiesIt)
{
    SimMouse& mouse = addMouse();
    const QByteArray profile = changedProfile();
    writeFile("p.bin", profile);
    EXPECT_EQ(run({"write", file("p.bin")}), ExitOk) << err.toStdString();
    EXPECT_EQ(bytesOf(mouse.memory), profile);
    EXPECT_TRUE(out.contains("written and verified"));
    EXPECT_FALSE(mouse.inExchange());

    mouse.config.writeProtected = true;
    writeFile("q.bin", bytesOf(*LoadDefaultImage(1)));
    EXPECT_EQ(run({"write", file("q.bin")}), ExitVerifyFailed);
    EXPECT_TRUE(out.contains("verification failed: Fail")) << out.toStdString();
}

// "written and verified" only when the mouse took every chunk and holds
// every byte written, the macro area included (the window's verification
// reads back only 0x000-0x0FF).
TEST_F(CtlTest, AWriteTheMouseDidNotTakeWholeFailsAndNamesTheAddress)
{
    struct Case {
        const char* name;
        bool set; // set --mouse instead of write
        // The mouse's fault, armed at each request it receives.
        std::function<void(SimMouse&, const std::array<std::uint8_t, 8>&, int& chunks)> fault;
        int code;
        const char* text;
    };
    const auto refuseChunk = [](int nth) {
        return [nth](SimMouse& m, const std::array<std::uint8_t, 8>& r, int& chunks) {
            if (r[1] == WriteDataCmd && ++chunks == nth - 1) {
                m.config.refuseWith = 0x55;
                m.config.refusals = 5;
            }
        };
    };
    const auto refuseWindow = [](SimMouse& m, const std::array<std::uint8_t, 8>& r, int& queries) {
        // The read's and the write's status queries pass; the write window is refused.
        if (r[1] == StatusCmd && ++queries == 2) {
            m.config.refuseWith = 0x55;
            m.config.refusals = 5;
        }
    };
    const auto loseMacroByte = [](SimMouse& m, const std::array<std::uint8_t, 8>& r, int&) {
        // The macro area does not keep one byte; the first 256 bytes do.
        if (r[1] == ReadAddrCmd && r[4] == 0x00 && r[5] == 0x01)
            m.memory[0x400] ^= 0x5A;
    };
    const Case cases[] = {
        {"macro chunk refused", false, refuseChunk(200), ExitFailed, "refused the write at 0x4AA"},
        {"window refused", false, refuseWindow, ExitFailed, "refused the write at 0x000"},
        {"set, first chunk refused", true, refuseChunk(2), ExitFailed, "refused the write at 0x006"},
        {"macro byte not kept", false, loseMacroByte, ExitVerifyFailed, "another value at 0x400"},
        {"set, macro byte not kept", true, loseMacroByte, ExitVerifyFailed, "another value at 0x400"},
    };
    writeFile("p.bin", changedProfile());
    SimMouse& mouse = addMouse();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse.memory = *LoadDefaultImage(1);
        mouse.config = SimMouse::Config{};
        int chunks = 0;
        mouse.onCommand = [&](int) { c.fault(mouse, mouse.requests().back(), chunks); };
        // A refusal is placed in the whole image's write: --full sends every chunk.
        const QStringList full = c.code == ExitFailed ? QStringList{"--full"} : QStringList{};
        const int code = c.set ? run(QStringList{"set", "--mouse", "fire.count=5"} + full)
                               : run(QStringList{"write", file("p.bin")} + full);
        EXPECT_EQ(code, c.code) << out.toStdString();
        EXPECT_TRUE(out.contains(QLatin1String(c.text))) << out.toStdString();
        EXPECT_FALSE(out.contains(QLatin1String("verified"))) << out.toStdString();
        mouse.onCommand = {};
    }
}

TEST_F(CtlTest, AShortProfileKeepsTheMousesBytesPastItsEnd)
{
    SimMouse& mouse = addMouse();
    mouse.memory[0x200] = 0x5A;
    QByteArray head = changedProfile().left(128);
    writeFile("short.bin", head);
    EXPECT_EQ(run({"write", file("short.bin")}), ExitOk);
    EXPECT_EQ(mouse.memory[0x006], 0x03);
    EXPECT_EQ(mouse.memory[0x200], 0x5A);
}

TEST_F(CtlTest, ABadFileTouchesNoMouse)
{
    SimMouse& mouse = addMouse();
    QByteArray unmarked = changedProfile();
    unmarked[0x07F] = char(0x98);
    writeFile("bad.bin", unmarked);
    EXPECT_EQ(run({"write", file("bad.bin")}), ExitBadFile);
    EXPECT_EQ(run({"write", file("missing.bin")}), ExitBadFile);
    EXPECT_TRUE(mouse.requests().empty());
}

TEST_F(CtlTest, WriteAllWritesEveryMouseWithALineEach)
{
    for (int i = 0; i < 3; ++i)
        addMouse();
    mice[1]->config.writeProtected = true;
    const QByteArray profile = changedProfile();
    writeFile("p.bin", profile);

    EXPECT_EQ(run({"write", file("p.bin")}), ExitUsage); // which one?
    EXPECT_TRUE(err.contains("3 mice connected"));

    EXPECT_EQ(run({"--json", "write", "--all", file("p.bin")}), ExitVerifyFailed);
    const QJsonArray results = QJsonDocument::fromJson(out.toUtf8()).object()["mice"].toArray();
    ASSERT_EQ(results.size(), 3);
    EXPECT_EQ(results[0].toObject()["result"].toString(), "ok");
    EXPECT_EQ(results[1].toObject()["exit"].toInt(), ExitVerifyFailed);
    EXPECT_EQ(results[2].toObject()["path"].toString(), "sim/mouse3-config");
    EXPECT_EQ(bytesOf(mice[0]->memory), profile);
    EXPECT_EQ(bytesOf(mice[2]->memory), profile);

    EXPECT_EQ(run({"--path", "sim/mouse3-config", "read", file("r.bin")}), ExitOk);
    EXPECT_EQ(run({"--path", "sim/none", "read", file("r.bin")}), ExitNoMouse);
}

TEST_F(CtlTest, ShowTellsTheSettingsInWords)
{
    writeFile("d.bin", bytesOf(*LoadDefaultImage(1)));
    EXPECT_EQ(run({"show", file("d.bin")}), ExitOk);
    // The default image: six levels, the second current, the MCU light.
    EXPECT_TRUE(out.contains("  levels: 6\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("  current level: 2\n"));
    EXPECT_TRUE(out.contains("  level 1: 800 cpi, #"));
    EXPECT_TRUE(out.contains("  type: MCU LED\n"));
    EXPECT_TRUE(out.contains("  mode A key 1: "));
    EXPECT_FALSE(out.contains("mode A key 1: code")); // a function name, not a code
    EXPECT_TRUE(out.contains("  slot 1: (empty)\n"));

    addMouse();
    EXPECT_EQ(run({"--json", "show", "--mouse"}), ExitOk);
    const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(o["cpi"]["count"].toInt(), 6);
    EXPECT_EQ(o["cpi"]["levels"].toArray().size(), 7);
    EXPECT_EQ(o["options"]["key_mode"].toString(), "A");
}

TEST_F(CtlTest, CheckTellsTheKindAndWhatWouldBeRepaired)
{
    writeFile("d.bin", bytesOf(*LoadDefaultImage(1)));
    EXPECT_EQ(run({"check", file("d.bin")}), ExitOk);
    EXPECT_TRUE(out.contains("valid profile") && out.contains("nothing to repair"));

    QByteArray broken = bytesOf(*LoadDefaultImage(1));
    broken[0x005] = char(broken[0x005] ^ 1); // section A checksum
    broken[0x031] = 0;                       // pair 0x030/0x031
    writeFile("b.bin", broken);
    EXPECT_EQ(run({"--json", "check", file("b.bin")}), ExitOk);
    const QJsonArray repairs = QJsonDocument::fromJson(out.toUtf8()).object()["repairs"].toArray();
    ASSERT_EQ(repairs.size(), 2) << out.toStdString();
    EXPECT_TRUE(repairs[0].toString().startsWith("parameter section A"));
    EXPECT_TRUE(repairs[1].toString().contains("current CPI level"));

    writeFile("junk.bin", QByteArray(100, 'x'));
    EXPECT_EQ(run({"check", file("junk.bin")}), ExitBadFile);

    MacroLibrary library;
    ASSERT_TRUE(library.LoadDefaultLibrary());
    library.Records[3][5] ^= 0x01; // entry 3 fails its check byte
    writeFile("lib.bin", library.ToBytes());
    EXPECT_EQ(run({"check", file("lib.bin")}), ExitOk);
    EXPECT_TRUE(out.contains("valid library")) << out.toStdString();
    EXPECT_TRUE(out.contains("entry 3 ")) << out.toStdString();
}

TEST_F(CtlTest, MacrosExportAndImportThroughTheLibraryFile)
{
    const QString lib = file("lib.bin");
    EXPECT_EQ(run({"--library", lib, "macros", "list"}), ExitOk);
    EXPECT_TRUE(out.contains("22 macros")); // made from the built-in library
    EXPECT_EQ(QFile(lib).size(), LibraryFileSize);

    EXPECT_EQ(run({"--library", lib, "macros", "export", file("one"), "--entry", "1"}), ExitOk);
    EXPECT_EQ(QFile(file("one.bin")).size(), LibraryEntrySize);
    EXPECT_EQ(run({"--library", lib, "macros", "export", file("one"), "--entry", "99"}), ExitUsage);

    // Importing a name the library holds is refused; into another library it is added.
    EXPECT_EQ(run({"--library", lib, "macros", "import", file("one.bin")}), ExitRefused);
    EXPECT_TRUE(err.contains("already exists")) << err.toStdString();
    MacroLibrary other;
    writeFile("other.bin", other.ToBytes());
    EXPECT_EQ(run({"--library", file("other.bin"), "macros", "import", file("one.bin")}), ExitOk);
    EXPECT_EQ(run({"--library", file("other.bin"), "macros", "list"}), ExitOk);
    EXPECT_TRUE(out.contains("1 macros"));

    EXPECT_EQ(run({"--library", lib, "macros", "export", file("all.bin")}), ExitOk);
    EXPECT_EQ(run({"--library", file("other.bin"), "macros", "import", "--all", file("all.bin")}), ExitOk);
    EXPECT_TRUE(out.contains("22 macros"));
}

TEST_F(CtlTest, SetOnTheMouseReadsChangesAndWritesWithVerification)
{
    SimMouse& mouse = addMouse();
    EXPECT_EQ(run({"set", "--mouse", "cpi.levels.3.cpi=3200", "fire.count=5"}), ExitOk);
    // The level's chunk (0x006) and its section's checksum (0x02A); the fire
    // count's (0x0F0) and its checksum's next to it (0x0F6): three windows.
    EXPECT_EQ(out, "sim/mouse1-config: ok: 2 settings set, written and verified (4 chunks written in 3 "
                   "windows, 43 read back)\n");
    EXPECT_EQ(mouse.memory[0x008], 7);                             // index of 3200
    EXPECT_EQ(mouse.memory[0x0F2], 4);                             // count - 1
    EXPECT_NE(mouse.memory[0x02F], (*LoadDefaultImage(1))[0x02F]); // the checksum follows

    // Judged against the mouse's own image: with the smart light, an MCU
    // light setting is refused and nothing is written.
    EXPECT_EQ(run({"set", "--mouse", "light.type=smart LED"}), ExitOk);
    const auto smart = mouse.memory;
    EXPECT_EQ(mouse.memory[0x000] & 0x80, 0x80);
    EXPECT_EQ(run({"set", "--mouse", "light.step=3"}), ExitUsage);
    EXPECT_TRUE(out.contains("sim/mouse1-config: usage: light.step applies to the MCU light only"))
        << out.toStdString();
    EXPECT_EQ(mouse.memory, smart);
    EXPECT_EQ(run({"set", "--mouse", "cpi.levels.3.cpi=3300"}), ExitUsage);
    EXPECT_TRUE(err.contains("allowed: 500, 800")) << err.toStdString();
    EXPECT_EQ(mouse.memory, smart);
}

TEST_F(CtlTest, SetAllChangesEveryMouseWithALineEach)
{
    for (int i = 0; i < 3; ++i)
        addMouse();
    EXPECT_EQ(run({"set", "--mouse", "keys.A.1=Right Key"}), ExitUsage); // which one?
    for (const auto& m : mice)
        EXPECT_EQ(m->memory[0x041], 0x01);

    EXPECT_EQ(run({"set", "--mouse", "--all", "keys.A.1=Right Key", "keys.A.3=Left Key"}), ExitOk);
    EXPECT_EQ(out.count(": ok: 2 settings set, written and verified ("), 3) << out.toStdString();
    for (const auto& m : mice) {
        EXPECT_EQ(m->memory[0x041], 0x02);
        EXPECT_EQ(m->memory[0x047], 0x01);
    }

    // One mouse's settings onto the others through a settings document.
    EXPECT_EQ(run({"--path", "sim/mouse2-config", "set", "--mouse", "cpi.count=4", "light.mode=5"}), ExitOk);
    EXPECT_EQ(run({"--json", "--path", "sim/mouse2-config", "show", "--mouse"}), ExitOk);
    writeFile("m2.json", out.toUtf8());
    EXPECT_EQ(run({"set", "--mouse", "--all", "--from", file("m2.json")}), ExitOk);
    for (const auto& m : mice)
        for (std::size_t at = 0; at < 0x100; ++at)
            ASSERT_EQ(m->memory[at], mice[1]->memory[at]) << at;
}

} // namespace

TEST_F(CtlTest, AnUnreadableLibraryIsNeitherReplacedNorTakenForTheBuiltInOne)
{
    // Two ways a library that is there cannot be read: no read permission
    // (which root does not feel) and a folder in the file's place.
    struct Case {
        const char* name;
        bool folder;
    };
    for (const Case c : {Case{"no permission", false}, Case{"a folder", true}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir place;
        const QString lib = place.filePath("ORB5610-Macro.bin");
        const QByteArray mine(LibraryFileSize, '\x5A');
        if (c.folder) {
            ASSERT_TRUE(QDir().mkdir(lib));
        } else {
            QFile f(lib);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(mine);
            f.close();
            ASSERT_TRUE(f.setPermissions({}));
            if (f.open(QIODevice::ReadOnly))
                continue; // this user reads files whatever their permissions
        }
        MacroLibrary one;
        ASSERT_EQ(one.NewEntry(QStringLiteral("single")), LibraryStatus::Ok);
        writeFile("single.bin", one.EntryBytes(0));
        MacroLibrary whole;
        ASSERT_TRUE(whole.LoadDefaultLibrary());
        writeFile("whole.bin", whole.ToBytes());

        const QStringList commands[] = {{"macros", "list"},
                                        {"macros", "export", file("out")},
                                        {"macros", "import", file("single.bin")},
                                        {"macros", "import", "--all", file("whole.bin")}};
        for (const QStringList& command : commands) {
            SCOPED_TRACE(command.join(' ').toStdString());
            EXPECT_EQ(run(QStringList{"--library", lib} + command), ExitBadFile);
            EXPECT_TRUE(err.contains(lib)) << err.toStdString();
            EXPECT_FALSE(QFile::exists(file("out.bin")));
        }
        if (c.folder) {
            EXPECT_TRUE(QFileInfo(lib).isDir());
            EXPECT_TRUE(QDir(lib).isEmpty());
        } else {
            ASSERT_TRUE(QFile(lib).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QFile f(lib);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), mine);
        }
    }
}

TEST_F(CtlTest, ImportAllTakesOnlyALibraryFile)
{
    const QString lib = file("lib.bin");
    ASSERT_EQ(run({"--library", lib, "macros", "list"}), ExitOk);
    const QByteArray before = readFile("lib.bin");
    ASSERT_EQ(before.size(), LibraryFileSize);

    MacroLibrary one;
    ASSERT_EQ(one.NewEntry(QStringLiteral("single")), LibraryStatus::Ok);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"profile", bytesOf(*LoadDefaultImage(1))},
        {"single macro", one.EntryBytes(0)},
        {"one entry short", before.left(LibraryFileSize - LibraryEntrySize)},
        {"one byte long", before + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("other.bin", c.bytes);
        EXPECT_EQ(run({"--library", lib, "macros", "import", "--all", file("other.bin")}), ExitBadFile);
        EXPECT_FALSE(out.contains("imported")) << out.toStdString();
        EXPECT_TRUE(err.contains("not a macro library")) << err.toStdString();
        EXPECT_EQ(readFile("lib.bin"), before);
    }
}

TEST_F(CtlTest, ReadOverAProfileKeepsItsModeAndRefusesAReadOnlyOne)
{
    SimMouse& mouse = addMouse();
    struct Case {
        const char* name;
        QFileDevice::Permissions mode;
        int exit;
    };
    const Case cases[] = {
        {"private", QFileDevice::ReadOwner | QFileDevice::WriteOwner, ExitOk},
        {"read-only", QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther, ExitBadFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray old(2048, '\x11');
        writeFile("p.bin", old);
        ASSERT_TRUE(QFile::setPermissions(file("p.bin"), c.mode));
        EXPECT_EQ(run({"read", file("p.bin")}), c.exit) << err.toStdString();
        EXPECT_EQ(QFile::permissions(file("p.bin")) & 0x7077, c.mode & 0x7077); // owner, group, others
        const ImageBytes& saved = mouse.memory;
        EXPECT_EQ(readFile("p.bin"), c.exit == ExitOk ? bytesOf(saved) : old);
        ASSERT_TRUE(QFile::setPermissions(file("p.bin"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QFile::remove(file("p.bin"));
    }
}

// --- Writing only what changed ---

namespace
{
struct ChangeCase {
    const char* name;
    QStringList args; // after "set --mouse"; empty: the mouse's own image written back
    bool changes;     // false: the mouse already holds it all
};

// The chunks (6 bytes from address 0) in which two images differ.
std::vector<int> DifferingChunks(const ImageBytes& a, const ImageBytes& b)
{
    std::vector<int> chunks;
    for (int c = 0; c * kChunkSize < kMemorySize; ++c) {
        const int start = c * kChunkSize, end = std::min(start + kChunkSize, kMemorySize);
        if (!std::equal(a.begin() + start, a.begin() + end, b.begin() + start))
            chunks.push_back(c);
    }
    return chunks;
}

struct WindowedChunks {
    std::vector<int> written, read; // chunk numbers, in the order sent
    std::vector<std::pair<int, int>> writeWindows;
    int commands = 0;
};

// The chunks each data command of the log reached, following its windows.
WindowedChunks ChunksOf(const std::vector<std::array<std::uint8_t, 8>>& log, std::size_t from)
{
    WindowedChunks w;
    int position = 0;
    for (std::size_t i = from; i < log.size(); ++i) {
        const auto& r = log[i];
        ++w.commands;
        if (r[1] == WriteAddrCmd || r[1] == ReadAddrCmd) {
            position = r[2] | (r[3] << 8);
            if (r[1] == WriteAddrCmd)
                w.writeWindows.push_back({position, r[4] | (r[5] << 8)});
        } else if (r[1] == WriteDataCmd) {
            w.written.push_back(position / kChunkSize);
            position += kChunkSize;
        } else if (r[1] == ReadDataCmd) {
            w.read.push_back(position / kChunkSize);
            position += kChunkSize;
        }
    }
    return w;
}
} // namespace

struct WriteChanged : CtlTest, ::testing::WithParamInterface<ChangeCase> {
};

TEST_P(WriteChanged, SendsExactlyTheDifferingChunksAndReadsThemBack)
{
    const ChangeCase& c = GetParam();
    SimMouse& mouse = addMouse();
    const ImageBytes before = mouse.memory;
    if (c.args.isEmpty()) {
        ASSERT_EQ(run({"read", file("same.bin")}), ExitOk);
        mouse.clearTraffic();
        ASSERT_EQ(run({"write", file("same.bin")}), ExitOk) << err.toStdString();
    } else {
        mouse.clearTraffic();
        ASSERT_EQ(run(QStringList{"set", "--mouse"} + c.args), ExitOk) << err.toStdString();
    }
    const std::vector<int> changed = DifferingChunks(before, mouse.memory);
    EXPECT_EQ(!changed.empty(), c.changes);

    const auto log = mouse.requests();
    // The tool's own read comes first: the write starts at the second BeginCmd.
    std::size_t writeStart = 0;
    for (int begins = 0; writeStart < log.size(); ++writeStart)
        if (log[writeStart][1] == BeginCmd && ++begins == 2)
            break;
    ASSERT_LT(writeStart, log.size());
    const WindowedChunks w = ChunksOf(log, writeStart);
    EXPECT_EQ(w.written, changed);
    // One window a run of neighbouring chunks.
    std::vector<std::pair<int, int>> runs;
    for (int chunk : changed) {
        const int start = chunk * kChunkSize, length = std::min(kChunkSize, kMemorySize - start);
        if (!runs.empty() && runs.back().first + runs.back().second == start)
            runs.back().second += length;
        else
            runs.push_back({start, length});
    }
    EXPECT_EQ(w.writeWindows, runs);
    if (changed.empty()) {
        EXPECT_TRUE(out.contains("nothing changed")) << out.toStdString();
        EXPECT_EQ((std::vector<std::uint8_t>{log[writeStart][1], log[writeStart + 1][1],
                                             log[writeStart + 2][1], log[writeStart + 3][1]}),
                  (std::vector<std::uint8_t>{BeginCmd, StatusCmd, SystemReloadCmd, EndCmd}));
    } else {
        EXPECT_TRUE(out.contains("written and verified")) << out.toStdString();
        for (int chunk : changed)
            EXPECT_NE(std::find(w.read.begin(), w.read.end(), chunk), w.read.end()) << "chunk " << chunk;
    }
    // The tool's whole read-back found the image it meant.
    EXPECT_FALSE(mouse.inExchange());
}

INSTANTIATE_TEST_SUITE_P(Changes, WriteChanged,
                         ::testing::Values(ChangeCase{"CpiLevel", {"cpi.levels.3.cpi=3200"}, true},
                                           ChangeCase{"Key", {"keys.A.2=Left Key"}, true},
                                           ChangeCase{"MacroLine", {"macros.1.lines=[\"0 120\"]"}, true},
                                           ChangeCase{"LightMode", {"light.mode=3"}, true},
                                           ChangeCase{"Nothing", {}, false}),
                         [](const auto& info) { return std::string(info.param.name); });
