#include "app/base/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb
{
int defaultVendorId()
{
    return (ORB_DEFAULT_VENDOR_ID)&0xFFFF;
}

QString programVersion()
{
    return QStringLiteral(ORB_VERSION);
}

QString ProgramFilesFolder(const QString& programDir, const QString& installBinDir)
{
    if (programDir.isEmpty())
        return {};
    // Symbolic links and a trailing separator do not hide an installed program.
    const auto canonical = [](const QString& dir) {
        const QString c = QFileInfo(dir).canonicalFilePath();
        return c.isEmpty() ? QDir::cleanPath(dir) : c;
    };
    if (!installBinDir.isEmpty() && canonical(programDir) == canonical(installBinDir))
        return {};
    return QDir::toNativeSeparators(QDir(programDir).absolutePath() + QLatin1Char('/'));
}

QString ProgramFilesFolder()
{
    return ProgramFilesFolder(QCoreApplication::applicationDirPath(), QStringLiteral(ORB_INSTALL_BINDIR));
}
} // namespace orb
