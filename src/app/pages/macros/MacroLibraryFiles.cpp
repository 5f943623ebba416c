// The macro page's library: its file, its name lists and import / export.
#include "app/pages/macros/MacroLibraryFiles.h"

#include "app/base/AppInfo.h"
#include "app/base/Skin.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "device/MemoryAccess.h"

#include <QDir>
#include <QListWidget>

namespace orb
{

namespace
{
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)|*.bin");
const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)|*.bin");
} // namespace

MacroLibraryFiles::MacroLibraryFiles(MacroPage& page, const PageContext& context, QString programFolder,
                                     QString dataFolder, QListWidget* pcList, QListWidget* lineList)
    : page_(page), context_(context), programFolder_(std::move(programFolder)),
      dataFolder_(std::move(dataFolder)), pcList_(pcList), lineList_(lineList)
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
    const CheckResult r = orb::CheckPCMacro(Library, LibraryPath);
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
    // library; a run of failures is said once.
    const FileResult r = SaveLibrary(Library, LibraryPath);
    if (!r.ok)
        sayCannotSave(r.error);
    else
        CannotSaveSaid = false;
    return r.ok;
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
