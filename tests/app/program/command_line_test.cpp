// What the program answers before any window exists, and where an installed
// program keeps its files.
#include "app/base/AppInfo.h"
#include "app/program/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orb
{
namespace
{

TEST(CommandLine, HelpAndVersionAreAnsweredOthersStartTheWindow)
{
    const QString version = QStringLiteral("orb5610 %1\n").arg(programVersion());
    const struct {
        QStringList args;
        std::optional<int> code;
        QString out;
    } cases[] = {
        {{"--help"}, 0, ProgramUsageText()},
        {{"-h"}, 0, ProgramUsageText()},
        {{"--version"}, 0, version},
        {{"-platform", "offscreen", "--version"}, 0, version},
        {{}, std::nullopt, {}},
        {{"-platform", "xcb"}, std::nullopt, {}},
        {{"--", "--help"}, std::nullopt, {}},
    };
    for (const auto& c : cases) {
        QString text;
        QTextStream out(&text);
        EXPECT_EQ(AnswerInfoOptions(c.args, out), c.code) << c.args.join(' ').toStdString();
        EXPECT_EQ(text, c.out) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(programVersion().isEmpty());
}

TEST(ProgramFilesFolder, AnInstalledProgramKeepsNothingBesideItself)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString build = dir.filePath("build/src/app");
    const QString bin = dir.filePath("usr/bin");
    ASSERT_TRUE(QDir().mkpath(build) && QDir().mkpath(bin));
    ASSERT_TRUE(QFile::link(bin, dir.filePath("bin"))); // a merged /bin
    const struct {
        QString program;
        QString installed;
        QString expected;
    } cases[] = {
        {build, bin, build + "/"},
        {bin, bin, {}},
        {bin + "/", bin, {}},
        {dir.filePath("bin"), bin, {}},
        {bin, dir.filePath("bin"), {}},
        {build, {}, build + "/"},
        {{}, bin, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramFilesFolder(c.program, c.installed), c.expected) << c.program.toStdString();
}

} // namespace
} // namespace orb
