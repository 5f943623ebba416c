#pragma once
#include <QString>

namespace orb
{
// The main window's caption; the single-instance test looks for it.
inline const QString kWindowTitle = QStringLiteral("ORB5610 Gaming Mouse v1.0");
inline const QString kApplicationTitle = QStringLiteral("ORB5610 Gaming Mouse");
// Vendor identifier of the mouse: a build setting.
int defaultVendorId();
// The release, as `--version` prints it.
QString programVersion();

// The folder the program may keep its files in beside itself (with a trailing
// separator): `programDir` for a build run from its build tree, empty for a
// program in `installBinDir`, whose folder belongs to the system even where
// the user (root) could write it.
QString ProgramFilesFolder(const QString& programDir, const QString& installBinDir);
// The same for the running program and the build's installation folder.
QString ProgramFilesFolder();
} // namespace orb
