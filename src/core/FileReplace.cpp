#include "core/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <system_error>

#if defined(__unix__)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace orb
{

namespace
{

QString SystemText(int error)
{
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

#if defined(__unix__)
// Whether the user may change the file. An administrator passes every
// permission check, so for them a file with no write bit at all counts as
// read-only too: someone made it so on purpose.
int WriteRefusal(const QString& path, const struct stat& st)
{
    const QByteArray native = QFile::encodeName(path);
    if (faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    if (geteuid() == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    return 0;
}

// Whether a new file renamed over this one would lose something the user
// set: its other names (hard links), its owner or group (only the owner's
// own group comes with a new file), its access-control list; or could not
// be made at all because the folder is not ours to write.
bool MustWriteInPlace(const QString& path, const struct stat& st)
{
    if (st.st_nlink > 1 || st.st_uid != geteuid())
        return true;
    const QByteArray native = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat dir {
    };
    if (stat(folder.constData(), &dir) != 0 || access(folder.constData(), W_OK | X_OK) != 0)
        return true;
    const gid_t newGroup = (dir.st_mode & S_ISGID) ? dir.st_gid : getegid();
    if (st.st_gid != newGroup)
        return true;
    return getxattr(native.constData(), "system.posix_acl_access", nullptr, 0) > 0;
}

bool WriteAllAndSync(QFile& file, const QByteArray& bytes)
{
    return file.seek(0) && file.write(bytes) == bytes.size() && file.flush() && file.resize(bytes.size()) &&
           fsync(file.handle()) == 0;
}

ReplaceResult WriteInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // Unbuffered: a write the disk refuses fails at once, and nothing of it
    // is left in a buffer to reach the file after the old bytes went back.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {false, file.errorString()};
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, file.errorString()};
    errno = 0;
    if (WriteAllAndSync(file, bytes))
        return {true, {}};
    const int error = errno;
    const QString text = file.error() != QFileDevice::NoError ? file.errorString() : SystemText(error);
    file.unsetError();
    WriteAllAndSync(file, old); // the old contents back, as far as the disk lets us
    return {false, text};
}
#endif

} // namespace

ReplaceResult ReplaceFile(const QString& path, const QByteArray& bytes)
{
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && !info.symLinkTarget().isEmpty())
        target = info.symLinkTarget();
#if defined(__unix__)
    struct stat st {
    };
    if (stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        if (const int refusal = WriteRefusal(target, st))
            return {false, SystemText(refusal)};
        if (MustWriteInPlace(target, st))
            return WriteInPlace(target, bytes);
    }
#endif
    // QSaveFile keeps an existing file's mode, refuses one we may not write
    // and flushes the new file to the disk before it takes the old one's place.
    QSaveFile file(target);
    // Unbuffered: a write the disk refuses fails here. Through the buffer a
    // write cut short at commit was taken for a whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A write cut short leaves no error in the file, only in errno.
        const int cause = errno;
        const QString error = cause != 0 ? SystemText(cause) : file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace orb
