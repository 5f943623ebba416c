// The macro page's library: its file, its name lists and import / export.
#include "app/MacroLibraryFiles.h"

#include "app/AppInfo.h"
#include "app/DeviceSession.h"
#include "app/MacroPage.h"
#include "app/Skin.h"
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
    if (r.fromFile && !r.read.ok) {
        // Keep the user's file as it is: the library runs in memory.
        sayCannotSave(r.read.error);
    } else if (!r.fromFile && !r.save.ok) {
        sayCannotSave(r.save.error);
    }
}

bool MacroLibraryFiles::RefreshPCMacro()
{
    if (CannotSaveSaid)
        return false; // said once; the library lives in memory
    const FileResult r = SaveLibrary(Library, LibraryPath);
    if (!r.ok)
        sayCannotSave(r.error);
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
    pcList_->scrollToBottom();
    if (auto* keyMacros = window()->findChild<QListWidget*>(QStringLiteral("LB_Name"))) {
        keyMacros->clear();
        keyMacros->addItems(names);
    }
    const bool full = names.size() >= LibraryEntryCount;
    for (const char* name : {"Btn_NewMacro", "Btn_New"})
        if (QWidget* w = window()->findChild<QWidget*>(QLatin1String(name)))
            w->setEnabled(!full);
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
    page_.script().clear();
    lineList_->clear();
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
    pcList_->setCurrentRow(r.index); // selected, not opened
    RefreshPCMacro();
}

void MacroLibraryFiles::Btn_ImportClick()
{
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    page_.HideAllMenu();
    const FileResult r = ImportAllFile(Library, *path);
    page_.script().clear();
    lineList_->clear();
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
    context_.hideAllMenu();
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    const FileResult read = ReadBaseMacroFile(*path, image().MacroArea);
    if (!read.ok) {
        session().services().showMessage(read.error, MessageStyle::PlainBox);
        return;
    }
    page_.RefreshMacrosFromArea();
    // The engineering page has no overlay.
    session().RunBusy(
        [this] {
            if (!session().link().hasDevice())
                return;
            bool writeEnable = false;
            int controllerCode = -1;
            MemoryAccess memory(session().link(), writeEnable, controllerCode);
            if (!memory.QueryStatus())
                return; // no acknowledge or not ready: nothing is written
            if (memory.MemoryAccessAllowed())
                memory.WriteBlock(static_cast<std::uint16_t>(MacroAreaAddr), image().MacroArea);
            memory.CloseExchange();
        },
        false);
}

} // namespace orb
