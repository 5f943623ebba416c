#include "app/pages/macros/MacroEditor.h"

#include "app/base/ButtonHover.h"
#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"
#include "app/base/DialogLook.h"
#include "app/base/Skin.h"
#include "app/pages/macros/DelayDialog.h"
#include "app/pages/macros/EditKeyDialog.h"
#include "app/pages/macros/InsertPanel.h"
#include "app/pages/macros/MacroPage.h"
#include "app/pages/macros/NameDialog.h"
#include "app/pages/macros/ValueDialog.h"
#include "macros/MacroLibrary.h"
#include "macros/MacroScript.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>

namespace orb
{

namespace
{
constexpr int kMenuRow = 22;
constexpr int kMenuIndent = 8;

// Items of a context menu: text on the macro-button colours, the pointer
// colours of the text buttons while over them.
ClickLabel* menuItem(QWidget* menu, const char* name, ButtonHover& hover)
{
    auto* item = new ClickLabel(menu);
    item->setObjectName(QLatin1String(name));
    // Unlike the captions over pictures, a menu item paints its own fill.
    item->setAttribute(Qt::WA_TranslucentBackground, false);
    item->setAttribute(Qt::WA_NoSystemBackground, false);
    item->setAutoFillBackground(true);
    item->setIndent(kMenuIndent);
    hover.wireButtonVisuals(item);
    return item;
}

// Sizes a menu to its widest text and places it at `at` (window
// coordinates), inside the window.
void showMenu(QWidget* menu, QPoint at, const QWidget* window)
{
    const QList<ClickLabel*> items = menu->findChildren<ClickLabel*>(Qt::FindDirectChildrenOnly);
    int width = 0;
    for (ClickLabel* item : items)
        width = std::max(width, item->fontMetrics().horizontalAdvance(item->text()) + 3 * kMenuIndent);
    int y = 0;
    for (ClickLabel* item : items) {
        item->setGeometry(0, y, width, kMenuRow);
        y += kMenuRow;
    }
    menu->resize(width, y);
    at.setX(std::clamp(at.x(), 0, std::max(0, window->width() - width)));
    at.setY(std::clamp(at.y(), 0, std::max(0, window->height() - y)));
    menu->move(at);
    menu->raise();
    menu->show();
}
} // namespace

MacroEditor::MacroEditor(MacroPage& page, QListWidget* lines, QListWidget* library, QWidget* window,
                         Skin& skin, ButtonHover& hover, std::function<void(const QString&)> say)
    : QObject(&page), page_(page), window_(window), skin_(skin), hover_(hover), lines_(lines),
      library_(library), libraryViewport_(library->viewport()), say_(std::move(say))
{
    libraryViewport_->installEventFilter(this);
    buildLibraryMenu();
    insert_ = new InsertPanel(page, lines->parentWidget(), lines, skin);

    // New macro: a caption over its picture, above the record button.
    auto* newPicture = new QLabel(lines->parentWidget());
    newPicture->setObjectName(QStringLiteral("Img_New"));
    newPicture->setGeometry(666, 176, 110, 27);
    auto* newButton = new ClickLabel(lines->parentWidget());
    newButton->setObjectName(QStringLiteral("Btn_New"));
    newButton->setGeometry(newPicture->geometry());
    newButton->setAlignment(Qt::AlignCenter);
    connect(newButton, &ClickLabel::clicked, this, [this] { Btn_NewClick(); });
    connect(newButton, &ClickLabel::entered, this, [this] { page_.SetPointerOnRecordButton(true); });
    connect(newButton, &ClickLabel::left, this, [this] { page_.SetPointerOnRecordButton(false); });
    DialogLook::FollowPointer(newButton, newPicture, skin_, QStringLiteral("MacroS_"));
    newButton_ = newButton;
    viewport_ = lines_->viewport();
    viewport_->installEventFilter(this);

    menu_ = new QWidget(window);
    menu_->setObjectName(QStringLiteral("Pnl_DevContent"));
    menu_->setAutoFillBackground(true);
    menu_->hide();
    const std::pair<const char*, void (MacroEditor::*)()> items[] = {
        {"Btn_Edit", &MacroEditor::Btn_EditClick},
        {"Btn_Del", &MacroEditor::Btn_DelClick},
        {"Btn_Insert", &MacroEditor::Btn_InsertClick},
    };
    for (const auto& [name, handler] : items) {
        ClickLabel* item = menuItem(menu_, name, hover_);
        connect(item, &ClickLabel::clicked, this, [this, handler] {
            menu_->hide();
            (this->*handler)();
        });
    }
}

bool MacroEditor::eventFilter(QObject* watched, QEvent* event)
{
    // Only mouse buttons: the list sends other events while it is torn down.
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    // While a recording runs the lists take no clicks: this filter sees them
    // even though the lists are disabled.
    if ((watched == libraryViewport_ || watched == viewport_) && !page_.state().mayEdit())
        return true;
    if (watched == libraryViewport_)
        return libraryMouse(event);
    if (watched != viewport_)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::RightButton)
            return false;
        page_.HideAllMenu();
        // The item under the pointer becomes current; below the last item
        // nothing is.
        const QModelIndex at = lines_->indexAt(e->position().toPoint());
        if (at.isValid()) {
            lines_->setCurrentRow(at.row());
        } else {
            lines_->setCurrentRow(-1);
            lines_->clearSelection();
            lines_->setFocus();
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::RightButton)
            return false;
        // A macro without lines has the menu too, so its first line can be inserted.
        if (page_.SelectedLibraryMacro() >= 0 &&
            (page_.CurrentLine() >= 0 || page_.script().itemCount() == 0))
            showMenu(menu_, viewport_->mapTo(window_, e->position().toPoint()), window_);
        return true;
    }
    return false;
}

void MacroEditor::Btn_EditClick()
{
    const int i = page_.CurrentLine();
    if (i < 0 || !page_.state().mayEdit() || page_.state().openEntry() < 0)
        return;
    const QString line = page_.script().item(i);
    const std::optional<int> kind = EditKindOf(line);
    if (!kind)
        return;
    const EditTarget target{page_.state().openMacro(), i, *kind, line};
    switch (target.kind) {
    case LineKind::Pause:
        TForm6::Open(window_, skin_, [this, target](const QString& text) { ApplyDelayEdit(target, text); });
        break;
    case LineKind::Press:
    case LineKind::Release:
        TForm5::Open(window_, skin_, target.kind, [this, target](const QString& text, const QString& line) {
            ApplyKeyEdit(target, text, line);
        });
        break;
    default: // moves and loop starts
        TForm7::Open(window_, skin_, target.kind,
                     [this, target](const QString& text) { ApplyValueEdit(target, text); });
        break;
    }
}

void MacroEditor::replaceEdited(const EditTarget& target, const QString& line)
{
    // The line must still be the one the dialog was opened for, in the macro
    // it was opened on: lines deleted, another macro opened or a recording
    // running meanwhile leave the script alone.
    if (!page_.state().mayEdit() || !page_.state().isOpen(target.macro) || target.index < 0 ||
        target.index >= page_.script().itemCount() || page_.script().item(target.index) != target.line)
        return;
    if (!page_.script().replaceItem(target.index, line))
        return;
    page_.RefreshMacroList(target.index);
    page_.StoreScript();
}

void MacroEditor::ApplyKeyEdit(const EditTarget& target, const QString& text, const QString& line)
{
    if (text.isEmpty() || line.isEmpty())
        return;
    replaceEdited(target, QString::number(target.kind) + QLatin1Char(' ') + line);
}

void MacroEditor::ApplyDelayEdit(const EditTarget& target, const QString& text)
{
    if (text.isEmpty())
        return;
    replaceEdited(target, DelayEditLine(text));
}

void MacroEditor::ApplyValueEdit(const EditTarget& target, const QString& text)
{
    if (text.isEmpty())
        return;
    // A lone "-" is no number: the line stays as it was.
    if (const std::optional<QString> line = ValueEditLine(target.kind, text))
        replaceEdited(target, *line);
}

void MacroEditor::Btn_InsertClick()
{
    insert_->Btn_InsertClick();
}

void MacroEditor::Btn_DelClick()
{
    const int i = page_.CurrentLine();
    if (i < 0 || !page_.state().mayEdit() || page_.state().openEntry() < 0)
        return;
    const MacroScript::Deletion d = page_.script().deleteItem(i);
    if (d.removed == 0)
        return;
    page_.RefreshMacroList(d.selection);
    page_.StoreScript();
}

// --- Library entries ---

void MacroEditor::buildLibraryMenu()
{
    libraryMenu_ = new QWidget(window_);
    libraryMenu_->setObjectName(QStringLiteral("Pnl_PCMacro"));
    libraryMenu_->setAutoFillBackground(true);
    libraryMenu_->hide();
    const std::pair<const char*, std::function<void()>> items[] = {
        {"Btn_NewMacro", [this] { Btn_NewClick(); }},
        {"Btn_NewName", [this] { Btn_NewNameClick(); }},
        {"Btn_DelPCMacro", [this] { Btn_DelPCMacroClick(); }},
        {"Btn_ImportOne", [this] { page_.Btn_ImportOneClick(); }},
        {"Btn_Import", [this] { page_.Btn_ImportClick(); }},
        {"Btn_ExportOne", [this] { page_.Btn_ExportOneClick(); }},
        {"Btn_Export", [this] { page_.Btn_ExportClick(); }},
    };
    for (const auto& [name, handler] : items) {
        ClickLabel* item = menuItem(libraryMenu_, name, hover_);
        connect(item, &ClickLabel::clicked, this, [this, handler] {
            libraryMenu_->hide();
            if (page_.state().mayEdit()) // no library change under a recording
                handler();
        });
    }
}

void MacroEditor::applyLook(int pointSize, const QColor& caption, const QColor& text, const QColor& back)
{
    for (QWidget* menu : {menu_, libraryMenu_}) {
        QPalette pal = menu->palette();
        pal.setColor(QPalette::Window, back);
        menu->setPalette(pal);
        for (ClickLabel* item : menu->findChildren<ClickLabel*>()) {
            QFont f = item->font();
            f.setPointSize(pointSize);
            item->setFont(f);
            QPalette p = item->palette();
            p.setColor(QPalette::WindowText, text);
            p.setColor(QPalette::Window, back);
            item->setPalette(p);
        }
    }
    QFont f = newButton_->font();
    f.setPointSize(pointSize);
    newButton_->setFont(f);
    setTextColour(newButton_, caption);
}

void MacroEditor::ShowState()
{
    const MacroPageState& state = page_.state();
    const bool full = page_.library().Count() >= LibraryEntryCount;
    newButton_->setEnabled(!full && state.mayEdit() && !state.insertPanelOpen());
    if (QWidget* newMacro = libraryMenu_->findChild<QWidget*>(QStringLiteral("Btn_NewMacro")))
        newMacro->setEnabled(!full);
    insert_->ShowState();
}

bool MacroEditor::libraryMouse(QEvent* event)
{
    auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::RightButton)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        page_.HideAllMenu();
        if (auto* deviceSlots = window_->findChild<QListWidget*>(QStringLiteral("LB_MacroName")))
            deviceSlots->clearSelection();
        // The entry under the pointer is selected and opened at once.
        const QModelIndex at = library_->indexAt(e->position().toPoint());
        if (at.isValid()) {
            library_->setCurrentRow(at.row());
            page_.LB_PCMacroNameClick();
        } else {
            library_->setCurrentRow(-1);
            library_->clearSelection();
            page_.HideAllMenu();
            lines_->setFocus();
        }
        return true;
    }
    showMenu(libraryMenu_, libraryViewport_->mapTo(window_, e->position().toPoint()), window_);
    return true;
}

void MacroEditor::selectLibrary(int k)
{
    if (k >= 0 && k < library_->count())
        library_->setCurrentRow(k);
}

void MacroEditor::Btn_NewClick()
{
    page_.HideAllMenu();
    if (page_.library().Count() >= LibraryEntryCount || !page_.state().mayEdit())
        return;
    // The list is emptied: no macro stays selected behind it.
    page_.CloseMacro();
    TForm3::Open(window_, skin_, [this](const QString& name) { ApplyMacroName(NameRequest{}, name); });
}

void MacroEditor::Btn_NewNameClick()
{
    const int k = page_.SelectedLibraryMacro();
    if (k < 0 || !page_.state().mayEdit())
        return;
    page_.HideAllMenu();
    const NameRequest request{true, k, page_.library().Names[std::size_t(k)]};
    TForm3::Open(window_, skin_, [this, request](const QString& name) { ApplyMacroName(request, name); });
}

void MacroEditor::ApplyMacroName(const NameRequest& request, const QString& name)
{
    if (name.isEmpty() || !page_.state().mayEdit())
        return;
    MacroLibrary& library = page_.library();
    if (library.HasName(name)) {
        say_(skin_.LookupText(DuplicateNameTextKey));
        return;
    }
    if (request.rename) {
        // The entry must still be the one the dialog was opened for.
        const int k = request.entry;
        if (k < 0 || k >= library.Count() || library.Names[std::size_t(k)] != request.oldName)
            return;
        const int shown = page_.SelectedLibraryMacro();
        if (library.Rename(k, name) != LibraryStatus::Ok)
            return;
        page_.RefreshPCMacroName();
        selectLibrary(shown >= 0 ? shown : k);
        page_.RefreshPCMacro();
    } else {
        int k = -1;
        if (library.NewEntry(name, &k) != LibraryStatus::Ok)
            return;
        page_.RefreshPCMacroName();
        selectLibrary(k);
        page_.LB_PCMacroNameClick(); // the new, empty macro is the open one
        page_.RefreshPCMacro();
    }
}

void MacroEditor::Btn_DelPCMacroClick()
{
    const int k = page_.SelectedLibraryMacro();
    if (k < 0 || !page_.state().mayEdit())
        return;
    page_.HideAllMenu();
    page_.CloseMacro();
    if (page_.library().Delete(k) != LibraryStatus::Ok)
        return;
    page_.RefreshPCMacroName(); // the new-macro buttons follow the count
    page_.RefreshPCMacro();
    // The selected entry is the open macro: its lines are shown, so nothing
    // later is stored over it unseen.
    selectLibrary(k > 0 ? k - 1 : 0);
    if (page_.SelectedLibraryMacro() >= 0)
        page_.LB_PCMacroNameClick();
}

} // namespace orb
