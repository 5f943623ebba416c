#pragma once
#include "app/pages/macros/MacroPageState.h"
#include "macros/MacroCodec.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <functional>

class QListWidget;
class QWidget;

namespace orb
{

class ButtonHover;
class ClickLabel;
class InsertPanel;
class MacroPage;
class Skin;

// The macro page's line editor: right-click selection in LB_macro, its
// context menu Pnl_DevContent (edit, delete, insert) and the results of the
// edit dialogs. Every change is stored into the open library macro.
class MacroEditor : public QObject
{
  public:
    // `say` shows a message of the window (the duplicate-name text).
    MacroEditor(MacroPage& page, QListWidget* lines, QListWidget* library, QWidget* window, Skin& skin,
                ButtonHover& hover, std::function<void(const QString&)> say);

    InsertPanel& insertPanel() const { return *insert_; }
    // Group F look: the menus' text and fill, Btn_New's caption.
    void applyLook(int pointSize, const QColor& caption, const QColor& text, const QColor& back);
    // Btn_New, Btn_NewMacro and the insert panel's controls from the page's
    // state: no new macro while the list is full, the panel is open or a
    // recording runs.
    void ShowState();

    void Btn_EditClick();
    void Btn_DelClick();
    void Btn_InsertClick();
    // The line an edit dialog was opened for: the macro open then, the
    // line's index, edit kind and text. Each dialog carries its own, so two
    // dialogs never mix them up, and a result never lands on another macro.
    struct EditTarget {
        MacroPageState::OpenMacro macro;
        int index = -1;
        int kind = -1;
        QString line;
    };
    // Results of the edit dialogs; an empty text changes nothing.
    void ApplyKeyEdit(const EditTarget& target, const QString& text, const QString& line);
    void ApplyDelayEdit(const EditTarget& target, const QString& text);
    void ApplyValueEdit(const EditTarget& target, const QString& text);

    // Library entries through the name dialog and the library menu.
    void Btn_NewClick();
    void Btn_NewNameClick();
    void Btn_DelPCMacroClick();
    // What one opening of the name dialog is for; a rename names the
    // library macro selected then.
    struct NameRequest {
        bool rename = false;
        int entry = -1;
        MacroName oldName{};
    };
    void ApplyMacroName(const NameRequest& request, const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void replaceEdited(const EditTarget& target, const QString& line);
    void buildLibraryMenu();
    bool libraryMouse(QEvent* event);
    void selectLibrary(int k);

    MacroPage& page_;
    QWidget* window_;
    Skin& skin_;
    ButtonHover& hover_;
    QListWidget* lines_;
    QWidget* viewport_;
    ClickLabel* newButton_ = nullptr; // Btn_New
    QWidget* menu_;                   // Pnl_DevContent
    InsertPanel* insert_;
    QListWidget* library_;
    QWidget* libraryViewport_;
    QWidget* libraryMenu_ = nullptr; // Pnl_PCMacro
    std::function<void(const QString&)> say_;
};

} // namespace orb
