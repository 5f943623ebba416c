#pragma once
#include "app/base/Page.h"
#include "macros/MacroLibrary.h"

#include <QString>
#include <QStringList>

#include <optional>

class QListWidget;

namespace orb
{

class MacroPage;

// The macro page's library and its file: loaded or written at start-up,
// written after every change (a file that cannot be written is said once),
// its names in LB_PCMacroName and the key menu's LB_Name, and import and
// export with the file dialogs.
class MacroLibraryFiles
{
  public:
    // `programFolder`, `dataFolder`: where the file may live (empty: the
    // running program's folder, Qt's application-data folder); `readFile`
    // reads it at start-up (empty: from the disk).
    MacroLibraryFiles(MacroPage& page, const PageContext& context, QString programFolder, QString dataFolder,
                      QListWidget* pcList, QListWidget* lineList, LibraryFileReader readFile = {});

    MacroLibrary& library() { return Library; }
    const MacroLibrary& library() const { return Library; }
    const QString& libraryPath() const { return LibraryPath; }

    // Start-up: the library from its file, or the built-in one written to
    // it. A file that cannot be written is said once; the program goes on.
    void CheckPCMacro();
    // The whole library to its file, tried at every change; false when it
    // cannot be (said once per run of failures). An existing file that could
    // not be read at start-up is never written. The file is locked for the
    // read-modify-write; changes another program made to it since the last
    // save are taken in first, with the window's own changes on top.
    bool RefreshPCMacro();
    // The library's names into LB_PCMacroName and LB_Name.
    void RefreshPCMacroName();
    // The macro library's names, before a read.
    void RefreshPCMacroNames();
    // Import / export with the file dialogs.
    void Btn_ImportOneClick();
    void Btn_ImportClick();
    void Btn_ExportOneClick();
    void Btn_ExportClick();
    // Engineering mode: a file of seven slots straight into the mouse.
    void Btn_ImportBaseMacroClick();

  private:
    // The file as it is now when another program changed it since Base:
    // Library becomes it with the window's changes on top, and the open
    // macro shows what it holds. False when the file cannot be read (it is
    // then not written over).
    bool TakeInFileChanges();
    void sayCannotSave(const QString& error);
    // The messages gathered while the file was held, once it is let go.
    void showNotes();
    // Says so and returns true when an export would go over the library file.
    bool refuseLibraryAsTarget(const QString& chosen);
    TextLookup text() const;
    Skin& skin() const { return context_.skin; }
    DeviceSession& session() const { return context_.session; }
    QWidget* window() const { return context_.window; }
    ConfigImage& image() const;

    MacroPage& page_;
    PageContext context_;
    QString programFolder_;
    QString dataFolder_;
    LibraryFileReader readFile_;
    QListWidget* pcList_;   // LB_PCMacroName
    QListWidget* lineList_; // LB_macro

    MacroLibrary Library;
    MacroLibrary Base; // the library as last read from or written to the file
    QString LibraryPath;
    bool CannotSaveSaid = false;     // in the current run of failed saves
    bool KeepUnreadableFile = false; // the file existed but could not be read
    QStringList notes_;              // to be shown once the file is let go
};

} // namespace orb
