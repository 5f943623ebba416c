#pragma once
#include <QString>

namespace orb
{
// The main window's caption; the single-instance test looks for it.
inline const QString kWindowTitle = QStringLiteral("ORB5610 Gaming Mouse v1.0");
inline const QString kApplicationTitle = QStringLiteral("ORB5610 Gaming Mouse");
// Vendor identifier of the mouse: a build setting.
int defaultVendorId();
} // namespace orb
