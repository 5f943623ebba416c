#include "app/MacroEditor.h"

#include "app/ClickLabel.h"
#include "app/EditKeyDialog.h"
#include "app/MacroPage.h"
#include "app/Skin.h"
#include "macros/MacroScript.h"

#include <QListWidget>
#include <QMouseEvent>

namespace orb
{

MacroEditor::MacroEditor(MacroPage& page, QListWidget* lines, QWidget* window, Skin& skin)
    : QObject(&page), page_(page), window_(window), skin_(skin), lines_(lines)
{
    viewport_ = lines_->viewport();
    viewport_->installEventFilter(this);

    menu_ = new QWidget(window);
    menu_->setObjectName(QStringLiteral("Pnl_DevContent"));
    menu_->setAutoFillBackground(true);
    menu_->resize(90, 66);
    menu_->hide();
    const std::pair<const char*, void (MacroEditor::*)()> items[] = {
        {"Btn_Edit", &MacroEditor::Btn_EditClick},
        {"Btn_Del", &MacroEditor::Btn_DelClick},
        {"Btn_Insert", nullptr},
    };
    int y = 0;
    for (const auto& [name, handler] : items) {
        auto* item = new ClickLabel(menu_);
        item->setObjectName(QLatin1String(name));
        item->setGeometry(0, y, 90, 22);
        y += 22;
        connect(item, &ClickLabel::clicked, this, [this, handler] {
            menu_->hide();
            if (handler)
                (this->*handler)();
        });
    }
}

bool MacroEditor::eventFilter(QObject* watched, QEvent* event)
{
    // Only mouse buttons: the list sends other events while it is torn down.
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
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
        if (page_.SelectedLibraryMacro() >= 0 && page_.CurrentLine() >= 0) {
            menu_->move(viewport_->mapTo(window_, e->position().toPoint()));
            menu_->raise();
            menu_->show();
        }
        return true;
    }
    return false;
}

void MacroEditor::Btn_EditClick()
{
    const int i = page_.CurrentLine();
    if (i < 0)
        return;
    const std::optional<int> kind = EditKindOf(page_.script().item(i));
    if (!kind)
        return;
    EditIndex = i;
    EditKind = *kind;
    switch (EditKind) {
    case LineKind::Press:
    case LineKind::Release:
        TForm5::Open(window_, skin_, EditKind,
                     [this](const QString& text, const QString& line) { ApplyKeyEdit(text, line); });
        break;
    default:
        break;
    }
}

void MacroEditor::replaceEdited(const QString& line)
{
    if (!page_.script().replaceItem(EditIndex, line))
        return;
    page_.RefreshMacroList(EditIndex);
    page_.StoreScript();
}

void MacroEditor::ApplyKeyEdit(const QString& text, const QString& line)
{
    if (text.isEmpty() || line.isEmpty())
        return;
    replaceEdited(QString::number(EditKind) + QLatin1Char(' ') + line);
}

void MacroEditor::Btn_DelClick()
{
    const int i = page_.CurrentLine();
    if (i < 0)
        return;
    const MacroScript::Deletion d = page_.script().deleteItem(i);
    if (d.removed == 0)
        return;
    page_.RefreshMacroList(d.selection);
    page_.StoreScript();
}

} // namespace orb
