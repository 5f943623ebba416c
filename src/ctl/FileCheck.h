#pragma once
#include <QString>
#include <QStringList>

namespace orb::ctl
{

struct FileCheckResult {
    int code = 0;        // an ExitCode: ExitOk for a valid file (repairs or not), ExitBadFile otherwise
    QString kind;        // "profile", "library", "single macro", "base macros", or empty
    QStringList repairs; // what the checks would repair or clear, one line each
    QString error;       // why the file is not valid
};

// Whether the file is a profile, a macro library, a single-macro or a
// base-macro file (by its length, as the program's files are told apart),
// and what the section and slot checks would repair in it.
FileCheckResult CheckFile(const QString& path);

} // namespace orb::ctl
