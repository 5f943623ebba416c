#pragma once
#include <QByteArray>
#include <QString>

namespace orb
{

struct ReplaceResult {
    bool ok = false;
    QString error; // the system's text on failure
};

// Puts `bytes` in the file at `path` (made when missing), keeping what the
// user set on an existing file and never leaving it half written:
// - a link is followed, and the file it names gets the bytes;
// - a file the user may not write is refused (read-only stays read-only,
//   even for an administrator);
// - normally the bytes go to a new file beside it, flushed to the disk, that
//   then takes its place (QSaveFile: the mode is kept);
// - where a new file could not take over the old one's identity (more than
//   one name, another owner or group, an access-control list, or a folder we
//   may not write), the bytes are written into the file itself, flushed,
//   with the old contents held to put back on any failure.
ReplaceResult ReplaceFile(const QString& path, const QByteArray& bytes);

} // namespace orb
