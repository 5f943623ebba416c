#include "core/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orb
{

QString PrivateRuntimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QString own = cache + QStringLiteral("/orb5610");
    if (!QDir().mkpath(own))
        return {};
#ifndef _WIN32
    // Its owner is this user (Windows keeps the user's folders private by
    // their access lists instead).
    if (QFileInfo(own).ownerId() != ::getuid())
        return {};
#endif
    if (!QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return {};
    return own;
}

} // namespace orb
