// macros list, export and import: the macro library file of the window.
#include "ctl/CtlTool.h"
#include "ctl/FileCheck.h"
#include "macros/LibrarySharing.h"
#include "macros/MacroLibrary.h"
#include "skin/OrgOptions.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace orb::ctl
{

int Tool::cmdMacros(const QStringList& args, const QString& libraryOption, const QString& entry, bool all)
{
    if (args.isEmpty())
        return usage(QStringLiteral("macros: list, export or import?"));
    const QString what = args.front();
    // The window's library file unless another is named; a missing one is
    // made from the built-in library, as at the program's start.
    const QString libraryPath = libraryOption.isEmpty()
                                    ? MacroLibraryFilePath(LoadOrgOptions().Path, env_.programFolder)
                                    : libraryOption;
    // Held for the whole command, so the window's saves and ours come one
    // after the other and neither loses the other's macros.
    const LibraryFileLock lock(libraryPath, settings_.text);
    if (!lock.held())
        return reportError(ExitBadFile, QStringLiteral("%1: %2").arg(libraryPath, lock.error()));
    MacroLibrary library;
    const CheckResult loaded = CheckPCMacro(library, libraryPath);
    // A library that is there but cannot be read is the user's: nothing is
    // listed or exported in its place, and no import writes over it.
    if (!loaded.read.ok)
        return reportError(ExitBadFile, QStringLiteral("%1: %2").arg(libraryPath, loaded.read.error));

    if (what == QLatin1String("list") && args.size() == 1) {
        const QStringList names = library.NameList();
        if (json_) {
            emitJson({{QStringLiteral("command"), QStringLiteral("macros list")},
                      {QStringLiteral("library"), libraryPath},
                      {QStringLiteral("names"), QJsonArray::fromStringList(names)},
                      {QStringLiteral("exit"), 0}});
        } else {
            out_ << libraryPath << ": " << names.size() << " macros\n";
            for (int k = 0; k < names.size(); ++k)
                out_ << QStringLiteral("%1  ").arg(k + 1, 3) << names.at(k) << '\n';
            out_.flush();
        }
        return ExitOk;
    }
    if (args.size() != 2)
        return usage(QStringLiteral("macros %1: one file expected").arg(what));
    const QString file = args.at(1);

    auto done = [this](const QString& command, int code, const QString& text) {
        if (json_)
            emitJson({{QStringLiteral("command"), command},
                      {QStringLiteral("result"), codeWord(code)},
                      {QStringLiteral("text"), text},
                      {QStringLiteral("exit"), code}});
        else
            (code == ExitOk ? out_ : err_) << (code == ExitOk ? "" : "orb5610ctl: ") << text << '\n';
        out_.flush();
        err_.flush();
        return code;
    };

    if (what == QLatin1String("export")) {
        // Written over the library, an export would replace it.
        if (IsLibraryFile(ExportFilePath(file), libraryPath))
            return done(QStringLiteral("macros export"), ExitUsage,
                        LibraryText(settings_.text, ExportOntoLibraryTextKey, {ExportFilePath(file)}));
        FileResult r;
        QString text;
        if (entry.isEmpty()) {
            r = ExportAllFile(library, file);
            text = QStringLiteral("library exported to %1").arg(ExportFilePath(file));
        } else {
            bool ok = false;
            const int k = entry.toInt(&ok) - 1;
            if (!ok || k < 0 || k >= library.Count())
                return done(
                    QStringLiteral("macros export"), ExitUsage,
                    QStringLiteral("no entry %1 (the library holds %2)").arg(entry).arg(library.Count()));
            r = ExportOneFile(library, k, file);
            text =
                QStringLiteral("\"%1\" exported to %2").arg(library.NameList().at(k), ExportFilePath(file));
        }
        if (!r.ok)
            return done(QStringLiteral("macros export"), ExitBadFile, r.error);
        return done(QStringLiteral("macros export"), ExitOk, text);
    }
    if (what == QLatin1String("import")) {
        QString text;
        if (all) {
            // Only a whole library replaces the library: a profile or an
            // empty file would become entries of garbage, or none at all.
            if (QFile probe(file); !probe.open(QIODevice::ReadOnly))
                return done(QStringLiteral("macros import"), ExitBadFile,
                            QStringLiteral("%1: %2").arg(file, probe.errorString()));
            const FileCheckResult checked = CheckFile(file);
            if (checked.kind != QLatin1String("library"))
                return done(
                    QStringLiteral("macros import"), ExitBadFile,
                    QStringLiteral("%1: not a macro library (%2 bytes%3; a library has %4)")
                        .arg(file)
                        .arg(QFileInfo(file).size())
                        .arg(checked.kind.isEmpty() ? QString() : QStringLiteral(", a ") + checked.kind)
                        .arg(LibraryFileSize));
            const FileResult r = ImportAllFile(library, file, settings_.text);
            if (!r.ok)
                return done(QStringLiteral("macros import"), ExitBadFile, r.error);
            text = QStringLiteral("library imported: %1 macros").arg(library.Count());
        } else {
            const ImportOneResult r = ImportOneFile(library, file, settings_.text);
            if (!r.file.ok)
                return done(QStringLiteral("macros import"), ExitBadFile, r.file.error);
            switch (r.status) {
            case LibraryStatus::Ok:
                text = QStringLiteral("\"%1\" imported as entry %2")
                           .arg(library.NameList().value(r.index))
                           .arg(r.index + 1);
                break;
            case LibraryStatus::Duplicate:
                return done(QStringLiteral("macros import"), ExitRefused,
                            settings_.text(DuplicateNameTextKey));
            case LibraryStatus::Full:
                return done(QStringLiteral("macros import"), ExitRefused,
                            QStringLiteral("the library is full (%1 macros)").arg(library.Count()));
            case LibraryStatus::NoEntry:
            case LibraryStatus::EmptyName:
                return done(QStringLiteral("macros import"), ExitBadFile,
                            QStringLiteral("%1 holds no named macro").arg(file));
            }
        }
        const FileResult saved = SaveLibrary(library, libraryPath);
        if (!saved.ok)
            return done(QStringLiteral("macros import"), ExitBadFile,
                        QStringLiteral("%1: %2").arg(libraryPath, saved.error));
        return done(QStringLiteral("macros import"), ExitOk, text);
    }
    return usage(QStringLiteral("macros: unknown command '%1'").arg(what));
}

} // namespace orb::ctl
