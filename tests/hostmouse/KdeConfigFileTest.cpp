// KDE's configuration files as KDE's own tools read and write them.
#include "hostmouse/KdeConfigFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orb
{
namespace
{

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// KDE's own command-line reader and writer (Debian's libkf5config-bin).
struct KdeTools : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kcminputrc"));

    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("kreadconfig5")).isEmpty())
            GTEST_SKIP() << "kreadconfig5 is not installed (libkf5config-bin)";
    }
    static QStringList groupArgs(const QStringList& group)
    {
        QStringList args;
        for (const QString& g : group)
            args << QStringLiteral("--group") << g;
        return args;
    }
    static QString run(const QString& tool, const QStringList& args,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(tool, args);
        EXPECT_TRUE(p.waitForFinished(30000)) << qPrintable(tool);
        QString out = QString::fromUtf8(p.readAllStandardOutput());
        if (out.endsWith(QLatin1Char('\n')))
            out.chop(1);
        return out;
    }
    QString kread(const QStringList& group, const QString& key) const
    {
        return run(QStringLiteral("kreadconfig5"), QStringList{QStringLiteral("--file"), path} +
                                                       groupArgs(group) +
                                                       QStringList{QStringLiteral("--key"), key});
    }
    void kwrite(const QStringList& group, const QString& key, const QString& value) const
    {
        run(QStringLiteral("kwriteconfig5"),
            QStringList{QStringLiteral("--file"), path} + groupArgs(group) +
                QStringList{QStringLiteral("--key"), key, QStringLiteral("--"), value});
    }
};

// Names and values that need KConfig's escaping, each way round: what we
// write KDE reads, and what KDE writes we read.
struct Entry {
    QStringList group;
    QString key;
    QString value;
};
const Entry kEntries[] = {
    {{"Libinput", "1133", "16495", "Logitech G Pro"}, "PointerAcceleration", "-0.4"},
    {{"Libinput", "1133", "16495", "Logitech G Pro"}, "PointerAccelerationProfile", "1"},
    {{"Libinput", "4660", "22136", "Odd ]name[ \\ with = signs"}, "PointerAcceleration", "0.2"},
    {{"Libinput", "1", "2", "鼠标 Mouse"}, "PointerAcceleration", "1"},
    {{"KDE"}, "DoubleClickInterval", "480"},
    {{"KDE"}, "WheelScrollLines", "11"},
    {{"Mouse"}, "X11LibInputXAccelProfileFlat", "true"},
    {{"Mouse"}, "Odd key=x", " spaced \\ value [x] "},
    {{"Mouse"}, "Lines", "one\ntwo\tthree"},
};

// Both writers: KDE's tool, and ours where it is not installed.
struct KdeToolsWriters : KdeTools, ::testing::WithParamInterface<KdeConfigFile::Writer> {
    // What KDE reads with the system's files under it (the folder `system`).
    QString kreadWithSystem(const QString& system, const QStringList& group, const QString& key) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), system);
        return run(QStringLiteral("kreadconfig5"),
                   QStringList{QStringLiteral("--file"), QStringLiteral("kcminputrc")} + groupArgs(group) +
                       QStringList{QStringLiteral("--key"), key},
                   env);
    }
};

TEST_P(KdeToolsWriters, WhatWeWriteKdeReads)
{
    KdeConfigFile file(path, GetParam());
    for (const Entry& e : kEntries)
        ASSERT_TRUE(file.write(e.group, {{e.key, e.value}})) << qPrintable(e.key);
    for (const Entry& e : kEntries) {
        SCOPED_TRACE(qPrintable(e.group.join('/') + '/' + e.key));
        EXPECT_EQ(kread(e.group, e.key), e.value);
        EXPECT_EQ(file.read(e.group, e.key), e.value);
    }
    // A second write of a key replaces its line instead of adding one.
    ASSERT_TRUE(file.write({"KDE"}, {{"WheelScrollLines", "4"}}));
    EXPECT_EQ(kread({"KDE"}, "WheelScrollLines"), "4");
    EXPECT_EQ(ReadAll(path).count("WheelScrollLines"), 1);
}

// What KDE refuses to change is refused and said; what it changes is
// changed as it would. `system`: the system's file of the same name.
TEST_P(KdeToolsWriters, WhatKdeRefusesIsRefusedAndReported)
{
    QTemporaryDir system;
    const QByteArray systemBefore = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_DIRS", system.path().toUtf8());
    struct Case {
        const char* what;
        QByteArray before;
        QByteArray systemFile;
        bool kept;
        const char* kdeReads;
    };
    const Case cases[] = {
        {"an immutable key", "[KDE]\nWheelScrollLines[$i]=3\n", "", false, "3"},
        {"an immutable group", "[KDE][$i]\nWheelScrollLines=3\n", "", false, "3"},
        {"an immutable file", "[$i]\n[KDE]\nWheelScrollLines=3\n", "", false, "3"},
        {"a later deletion", "[KDE]\nWheelScrollLines=3\nWheelScrollLines[$d]\n", "", true, "7"},
        {"a key locked by the system", "[KDE]\nWheelScrollLines=3\n", "[KDE]\nWheelScrollLines[$i]=9\n",
         false, "9"},
        {"a group locked by the system", "[KDE]\nWheelScrollLines=3\n", "[KDE][$i]\nWheelScrollLines=9\n",
         false, "9"},
        {"a system default only", "[KDE]\nWheelScrollLines=3\n", "[KDE]\nWheelScrollLines=9\n", true, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(path, c.before);
        QFile::remove(system.filePath(QStringLiteral("kcminputrc")));
        if (!c.systemFile.isEmpty())
            WriteAll(system.filePath(QStringLiteral("kcminputrc")), c.systemFile);
        KdeConfigFile file(path, GetParam());
        EXPECT_EQ(file.write({"KDE"}, {{"WheelScrollLines", "7"}}), c.kept);
        EXPECT_EQ(kreadWithSystem(system.path(), {"KDE"}, "WheelScrollLines"), QLatin1String(c.kdeReads));
        if (!c.kept) {
            EXPECT_EQ(ReadAll(path), c.before);
        }
    }
    qputenv("XDG_CONFIG_DIRS", systemBefore);
}

// A user's file that is a symbolic link: KDE locks the file it leads to, and
// so must we; while KDE holds that lock nothing is written.
TEST_P(KdeToolsWriters, ASymlinkedFileWaitsForTheLockKdeHolds)
{
    QTemporaryDir real;
    const QString target = real.filePath(QStringLiteral("kcminputrc"));
    WriteAll(target, "[KDE]\nWheelScrollLines=3\n");
    ASSERT_TRUE(QFile::link(target, path));
    {
        QLockFile kdeWriting(target + QStringLiteral(".lock"));
        ASSERT_TRUE(kdeWriting.tryLock(0));
        KdeConfigFile file(path, GetParam());
        EXPECT_FALSE(file.write({"KDE"}, {{"WheelScrollLines", "7"}}));
        EXPECT_EQ(ReadAll(target), "[KDE]\nWheelScrollLines=3\n");
    }
    KdeConfigFile file(path, GetParam());
    EXPECT_TRUE(file.write({"KDE"}, {{"WheelScrollLines", "7"}}));
    EXPECT_EQ(kread({"KDE"}, "WheelScrollLines"), "7");
    EXPECT_TRUE(QFileInfo(path).isSymLink()); // the link stays, its file changes
    EXPECT_EQ(KdeConfigFile(target).read({"KDE"}, "WheelScrollLines"), "7");
}

INSTANTIATE_TEST_SUITE_P(Writers, KdeToolsWriters,
                         ::testing::Values(KdeConfigFile::Writer::KdeTools, KdeConfigFile::Writer::Own),
                         [](const auto& info) {
                             return std::string(info.param == KdeConfigFile::Writer::Own ? "Own"
                                                                                         : "KdeTools");
                         });

TEST_F(KdeTools, WhatKdeWritesWeRead)
{
    for (const Entry& e : kEntries)
        kwrite(e.group, e.key, e.value);
    const KdeConfigFile file(path);
    for (const Entry& e : kEntries)
        EXPECT_EQ(file.read(e.group, e.key), e.value) << qPrintable(e.group.join('/') + '/' + e.key);
    EXPECT_FALSE(file.read({"KDE"}, "Missing"));
    EXPECT_FALSE(file.read({"Libinput", "1133"}, "PointerAcceleration")); // a parent group is another group
}

// A user's file: comments, options, other languages, spacing, the same
// group twice and no line break at the end. Only the lines written change.
TEST_F(KdeTools, OtherGroupsAndKeysKeepTheirBytes)
{
    const QByteArray before = "# written by hand\n"
                              "[General]\n"
                              "ColorScheme = BreezeDark \n"
                              "Name[de]=Maus\n"
                              "\n"
                              "[KDE]\n"
                              "WheelScrollLines=3\n"
                              "SingleClick=false\n"
                              "\n"
                              "[Icons]\n"
                              "Theme=breeze\n"
                              "\n"
                              "[KDE]\n"
                              "  WheelScrollLines = 5\n"
                              "AnimationDurationFactor=0.5";
    WriteAll(path, before);
    KdeConfigFile file(path, KdeConfigFile::Writer::Own); // KDE's tool rewrites the whole file
    EXPECT_EQ(kread({"KDE"}, "WheelScrollLines"), "5");   // the last one counts, for KDE and for us
    EXPECT_EQ(file.read({"KDE"}, "WheelScrollLines"), "5");

    ASSERT_TRUE(file.write({"KDE"}, {{"WheelScrollLines", "7"}, {"DoubleClickInterval", "480"}}));
    ASSERT_TRUE(
        file.write({"Libinput", "1133", "16495", "Logitech G Pro"}, {{"PointerAcceleration", "0.2"}}));
    QByteArray expected = before;
    expected.replace("  WheelScrollLines = 5\n", "WheelScrollLines=7\n");
    expected +=
        "\nDoubleClickInterval=480\n\n[Libinput][1133][16495][Logitech G Pro]\nPointerAcceleration=0.2\n";
    EXPECT_EQ(ReadAll(path), expected);

    EXPECT_EQ(kread({"KDE"}, "WheelScrollLines"), "7");
    EXPECT_EQ(kread({"KDE"}, "DoubleClickInterval"), "480");
    EXPECT_EQ(kread({"KDE"}, "SingleClick"), "false");
    EXPECT_EQ(kread({"General"}, "ColorScheme"), "BreezeDark");
    EXPECT_EQ(kread({"Libinput", "1133", "16495", "Logitech G Pro"}, "PointerAcceleration"), "0.2");
    // A value written again leaves the file as it is.
    ASSERT_TRUE(file.write({"KDE"}, {{"WheelScrollLines", "7"}}));
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(KdeConfigFile, AFileThatCannotBeWrittenIsLeftAndReported)
{
    QTemporaryDir dir;
    // The configuration folder's place is taken by a file.
    WriteAll(dir.filePath(QStringLiteral("config")), "not a folder");
    KdeConfigFile underFile(dir.filePath(QStringLiteral("config/kdeglobals")), KdeConfigFile::Writer::Own);
    EXPECT_FALSE(underFile.write({"KDE"}, {{"WheelScrollLines", "3"}}));
    EXPECT_FALSE(underFile.read({"KDE"}, "WheelScrollLines"));
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("config"))), "not a folder");

    // A missing folder is made, as KDE makes it.
    KdeConfigFile fresh(dir.filePath(QStringLiteral("new/kdeglobals")), KdeConfigFile::Writer::Own);
    EXPECT_TRUE(fresh.write({"KDE"}, {{"WheelScrollLines", "3"}}));
    EXPECT_EQ(ReadAll(fresh.path()), "[KDE]\nWheelScrollLines=3\n");
}

} // namespace
} // namespace orb
