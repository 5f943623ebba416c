// The macro page's library: its file, its name lists and import / export.
#include "app/pages/macros/MacroLibraryFiles.h"

#include "app/base/AppInfo.h"
#include "app/base/Skin.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "device/MemoryAccess.h"
#include "macros/LibrarySharing.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace orb
{

namespace
{
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)|*.bin");
const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)|*.bin");
} // namespace

MacroLibraryFiles::MacroLibraryFiles(MacroPage& page, const PageContext& context, QString programFolder,
                                     QString dataFolder, QListWidget* pcList, QListWidget* lineList,
                                     LibraryFileReader readFile)
    : page_(page), context_(context), programFolder_(std::move(programFolder)),
      dataFolder_(std::move(dataFolder)), readFile_(std::move(readFile)), pcList_(pcList), lineList_(lineList)
{
}

ConfigImage& MacroLibraryFiles::image() const
{
    return session().image();
}

void MacroLibraryFiles::CheckPCMacro()
{
    // An installed program has no folder of its own: the user's data folder.
    const QString programFolder = programFolder_.isEmpty() ? ProgramFilesFolder() : programFolder_;
    LibraryPath = MacroLibraryFilePath(skin().org().Path, programFolder, dataFolder_);
    // Held so that a library the tool is writing is not read half way; a
    // lock that cannot be had does not keep the program from starting.
    const LibraryFileLock lock(LibraryPath);
    const CheckResult r = orb::CheckPCMacro(Library, LibraryPath, readFile_);
    Base = Library;
    // A file that is there but cannot be read stays as the user left it: the
    // library runs in memory and is never written over it.
    KeepUnreadableFile = !r.read.ok;
    if (!r.read.ok)
        sayCannotSave(r.read.error);
    else if (!r.fromFile && !r.save.ok)
        sayCannotSave(r.save.error);
}

bool MacroLibraryFiles::RefreshPCMacro()
{
    if (KeepUnreadableFile)
        return false; // said at start-up
    // Every change tries again: a folder made writable meanwhile gets the
    // library; a run of failures is said once. The file is held from the
    // moment it is looked at until the new one is in place, so the tool's
    // changes and the window's never overwrite each other.
    const LibraryFileLock lock(LibraryPath);
    if (!lock.held()) {
        sayCannotSave(lock.error());
        return false;
    }
    if (!TakeInFileChanges())
        return false;
    const FileResult r = SaveLibrary(Library, LibraryPath);
    if (!r.ok) {
        sayCannotSave(r.error);
        return false;
    }
    CannotSaveSaid = false;
    Base = Library;
    return true;
}

bool MacroLibraryFiles::TakeInFileChanges()
{
    if (!QFileInfo::exists(LibraryPath))
        return true; // removed meanwhile: the window's library makes it again
    MacroLibrary onDisk;
    const CheckResult r = orb::CheckPCMacro(onDisk, LibraryPath);
    if (!r.read.ok) {
        sayCannotSave(r.read.error); // unreadable now: not written over
        return false;
    }
    if (onDisk.Names == Base.Names && onDisk.Records == Base.Records)
        return true;
    // Another program (the command-line tool, another window) changed the
    // file: the window's changes since its last save go on top of it.
    const int shown = page_.SelectedLibraryMacro();
    const std::optional<MacroName> shownName =
        shown >= 0 ? std::optional<MacroName>(Library.Names[std::size_t(shown)]) : std::nullopt;
    int leftOut = 0;
    Library = MergeLibraryChanges(Base, Library, onDisk, &leftOut);
    Base = onDisk;
    RefreshPCMacroName();
    int again = -1;
    for (int k = 0; shownName && k < Library.Count(); ++k)
        if (Library.Names[std::size_t(k)] == *shownName)
            again = k;
    if (again >= 0)
        pcList_->setCurrentRow(again);
    else if (shownName)
        page_.CloseMacro(); // the open macro is gone from the library
    if (leftOut > 0)
        session().services().showMessage(
            QStringLiteral("The macro library %1 was changed by another program and is full: %2 new "
                           "macros could not be kept.")
                .arg(QDir::toNativeSeparators(LibraryPath))
                .arg(leftOut),
            MessageStyle::PlainBox);
    return true;
}

void MacroLibraryFiles::sayCannotSave(const QString& error)
{
    if (CannotSaveSaid)
        return;
    CannotSaveSaid = true;
    session().services().showMessage(
        QStringLiteral("The macro library %1 cannot be saved (%2). Macro changes are kept only until the "
                       "program closes.")
            .arg(QDir::toNativeSeparators(LibraryPath), error),
        MessageStyle::PlainBox);
}

void MacroLibraryFiles::RefreshPCMacroName()
{
    const QStringList names = Library.NameList();
    pcList_->clear();
    pcList_->addItems(names);
    // The lists open at their first entry; a selection made after this
    // scrolls to it. Scrolling to the end hid the first macros of a long
    // library from a user who does not think to scroll up.
    pcList_->scrollToTop();
    if (auto* keyMacros = window()->findChild<QListWidget*>(QStringLiteral("LB_Name"))) {
        keyMacros->clear();
        keyMacros->addItems(names);
        keyMacros->scrollToTop();
    }
    // The open macro's selection and the new-macro buttons (they follow the
    // count, the insert panel and a recording) come from the page's state.
    page_.ShowState();
}

void MacroLibraryFiles::RefreshPCMacroNames()
{
    RefreshPCMacroName();
}

void MacroLibraryFiles::Btn_ImportOneClick()
{
    if (Library.Count() >= ImportOneLimit)
        return;
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    page_.HideAllMenu();
    const ImportOneResult r = ImportOneFile(Library, *path);
    page_.CloseMacro();
    if (!r.file.ok) {
        session().services().showMessage(r.file.error, MessageStyle::PlainBox);
        return;
    }
    if (r.status == LibraryStatus::Duplicate) {
        session().RefreshFormMessagDialog(skin().LookupText(DuplicateNameTextKey));
        return;
    }
    if (r.status != LibraryStatus::Ok)
        return; // a file without a name adds nothing
    RefreshPCMacroName();
    // Selected and opened: an insert into the empty list must not land on
    // some other macro.
    pcList_->setCurrentRow(r.index);
    page_.LB_PCMacroNameClick();
    RefreshPCMacro();
}

void MacroLibraryFiles::Btn_ImportClick()
{
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    page_.HideAllMenu();
    const FileResult r = ImportAllFile(Library, *path);
    page_.CloseMacro();
    if (!r.ok) {
        session().services().showMessage(r.error, MessageStyle::PlainBox);
        return;
    }
    RefreshPCMacroName();
    RefreshPCMacro();
}

void MacroLibraryFiles::Btn_ExportOneClick()
{
    const int k = page_.SelectedLibraryMacro();
    if (k < 0)
        return;
    page_.HideAllMenu();
    const std::optional<QString> chosen = session().services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    const FileResult r = ExportOneFile(Library, k, *chosen);
    if (!r.ok)
        session().services().showMessage(r.error, MessageStyle::PlainBox);
}

void MacroLibraryFiles::Btn_ExportClick()
{
    const std::optional<QString> chosen = session().services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    page_.HideAllMenu();
    const FileResult r = ExportAllFile(Library, *chosen);
    if (!r.ok)
        session().services().showMessage(r.error, MessageStyle::PlainBox);
}

void MacroLibraryFiles::Btn_ImportBaseMacroClick()
{
    if (session().transferRunning())
        return; // clicked while a transfer pumps the queue: nothing happens
    context_.hideAllMenu();
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    // The device timer is held off from before the file is read until the
    // write is done, so no tick drops the handle in between. The engineering
    // page has no overlay.
    FileResult read;
    const bool ran = session().RunBusy(
        [this, &path, &read] {
            read = ReadBaseMacroFile(*path, image().MacroArea);
            if (!read.ok)
                return;
            page_.RefreshMacrosFromArea();
            if (!session().link().hasDevice())
                return;
            // The session's write permission and controller code, as every
            // other write uses them.
            MemoryAccess memory = session().memoryAccess();
            if (!memory.QueryStatus())
                return; // no acknowledge or not ready: nothing is written
            if (memory.MemoryAccessAllowed())
                memory.WriteBlock(static_cast<std::uint16_t>(MacroAreaAddr), image().MacroArea);
            memory.CloseExchange();
        },
        false);
    if (ran && !read.ok)
        session().services().showMessage(read.error, MessageStyle::PlainBox);
}

} // namespace orb
