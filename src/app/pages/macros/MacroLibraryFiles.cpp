// The macro page's library: its file, its name lists and import / export.
#include "app/pages/macros/MacroLibraryFiles.h"

#include "app/base/AppInfo.h"
#include "app/base/Skin.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "device/MemoryAccess.h"
#include "macros/LibrarySharing.h"
#include "skin/LanguagePack.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

#include <algorithm>
#include <utility>

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

TextLookup MacroLibraryFiles::text() const
{
    // At start-up the library is read before a language is chosen: the
    // first language's texts then, which is the one chosen next.
    return [this](const QString& key) {
        const QString said = skin().LookupText(key);
        return said.isEmpty() ? MakeTextLookup(1)(key) : said;
    };
}

void MacroLibraryFiles::CheckPCMacro()
{
    // An installed program has no folder of its own: the user's data folder.
    const QString programFolder = programFolder_.isEmpty() ? ProgramFilesFolder() : programFolder_;
    LibraryPath = MacroLibraryFilePath(skin().org().Path, programFolder, dataFolder_);
    {
        // Held so that a library the tool is writing is not read half way; a
        // lock that cannot be had does not keep the program from starting.
        const LibraryFileLock lock(LibraryPath, text());
        const CheckResult r = orb::CheckPCMacro(Library, LibraryPath, readFile_);
        Base = Library;
        // A file that is there but cannot be read stays as the user left it:
        // the library runs in memory and is never written over it.
        KeepUnreadableFile = !r.read.ok;
        if (!r.read.ok)
            sayCannotSave(r.read.error);
        else if (!r.fromFile && !r.save.ok)
            sayCannotSave(r.save.error);
    }
    showNotes();
}

bool MacroLibraryFiles::RefreshPCMacro()
{
    if (KeepUnreadableFile)
        return false; // said at start-up
    // Every change tries again: a folder made writable meanwhile gets the
    // library; a run of failures is said once. The file is held from the
    // moment it is looked at until the new one is in place, so the tool's
    // changes and the window's never overwrite each other; what there is to
    // say waits until it is let go, so the tool never finds the library held
    // by a message box.
    bool saved = false;
    {
        const LibraryFileLock lock(LibraryPath, text());
        if (!lock.held()) {
            sayCannotSave(lock.error());
        } else if (TakeInFileChanges()) {
            const FileResult r = SaveLibrary(Library, LibraryPath);
            if (!r.ok) {
                sayCannotSave(r.error);
            } else {
                CannotSaveSaid = false;
                Base = Library;
                saved = true;
            }
        }
    }
    showNotes();
    return saved;
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
    std::optional<MacroName> shownName;
    MacroRecord shownRecord{};
    if (shown >= 0) {
        shownName = Library.Names[std::size_t(shown)];
        shownRecord = Library.Records[std::size_t(shown)];
    }
    // A macro of ours that did not fit is said with the count below.
    const bool shownWasSaved =
        shownName && std::find(Base.Names.begin(), Base.Names.end(), *shownName) != Base.Names.end();
    MergeReport report;
    Library = MergeLibraryChanges(Base, Library, onDisk, &report);
    Base = onDisk;
    RefreshPCMacroName();
    // The open macro stays open under the name it has now and shows what
    // the library holds for it, so no later line edit stores lines the
    // other program's change never showed.
    int again = -1;
    if (shownName) {
        const MacroName name = report.nameOf(*shownName);
        for (int k = 0; k < Library.Count() && again < 0; ++k)
            if (Library.Names[std::size_t(k)] == name)
                again = k;
    }
    if (shownName &&
        !page_.FollowOpenMacro(again, again >= 0 && Library.Records[std::size_t(again)] != shownRecord) &&
        (again >= 0 || shownWasSaved))
        notes_ << LibraryText(text(), OpenMacroChangedTextKey, {MacroNameText(*shownName)});
    if (!report.keptAs.empty()) {
        QStringList kept;
        for (const auto& [ours, as] : report.keptAs)
            kept << LibraryText(text(), KeptNameTextKey, {MacroNameText(ours), MacroNameText(as)});
        notes_ << LibraryText(text(), LibraryKeptAsTextKey, {kept.join(QStringLiteral(", "))});
    }
    if (report.leftOut > 0)
        notes_ << LibraryText(text(), LibraryFullAfterMergeTextKey,
                              {QDir::toNativeSeparators(LibraryPath), QString::number(report.leftOut)});
    return true;
}

void MacroLibraryFiles::sayCannotSave(const QString& error)
{
    if (CannotSaveSaid)
        return;
    CannotSaveSaid = true;
    notes_ << LibraryText(text(), LibraryCannotSaveTextKey, {QDir::toNativeSeparators(LibraryPath), error});
}

void MacroLibraryFiles::showNotes()
{
    const QStringList notes = std::exchange(notes_, {});
    for (const QString& note : notes)
        session().services().showMessage(note, MessageStyle::PlainBox);
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
    const ImportOneResult r = ImportOneFile(Library, *path, text());
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
    const FileResult r = ImportAllFile(Library, *path, text());
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
    if (!chosen || chosen->isEmpty() || refuseLibraryAsTarget(*chosen))
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
    if (refuseLibraryAsTarget(*chosen))
        return;
    const FileResult r = ExportAllFile(Library, *chosen);
    if (!r.ok)
        session().services().showMessage(r.error, MessageStyle::PlainBox);
}

bool MacroLibraryFiles::refuseLibraryAsTarget(const QString& chosen)
{
    // An export written over the library file would pass, at the next save,
    // for another program having deleted every macro it does not hold. The
    // library is saved at every change anyway.
    const QString target = ExportFilePath(chosen);
    if (!IsLibraryFile(target, LibraryPath))
        return false;
    session().services().showMessage(
        LibraryText(text(), ExportOntoLibraryTextKey, {QDir::toNativeSeparators(target)}),
        MessageStyle::PlainBox);
    return true;
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
