#pragma once
// The cascading assignment menu of the key page and the engineering page.
#include "app/base/ClickLabel.h"
#include "keys/KeyAssignment.h"

#include <QColor>
#include <QFrame>
#include <QHash>
#include <QList>
#include <QListWidget>
#include <QObject>
#include <QPointer>

#include <functional>

namespace orb
{

class LayoutText;

// Names of the menu panels, top level first.
inline constexpr const char* kMenuPanelNames[] = {"Pnl_Main",  "Pnl_MseKey", "Pnl_Special", "Pnl_CPIKey",
                                                  "Pnl_Media", "Pnl_WWW",    "Pnl_MyPC"};

// The panels Pnl_Main ... and the macro list LB_Name, parented to the
// window: a cascade opened from a key label or an engineering button, whose
// leaf items report a pick.
class KeyMenu : public QObject
{
  public:
    // `hideAllMenu` closes every menu of the window (a press outside this one).
    KeyMenu(QWidget* window, int languageIndex, std::function<void()> hideAllMenu);

    // A leaf item was clicked.
    void setPickHandler(std::function<void(QLabel* item)> onPick) { onPick_ = std::move(onPick); }
    // The combination item was clicked.
    void setCombinationHandler(std::function<void()> onCombination)
    {
        onCombination_ = std::move(onCombination);
    }

    QListWidget* macroList() const { return macroList_; }
    QFrame* panel(const char* name) const { return panels_.value(QLatin1String(name)); }

    // Widths, fonts and colours of the panels (group G).
    void ApplyKeyMenuLayout(const LayoutText& section);
    // Pnl_Main opened beside a key label, or at an engineering button of
    // target 101..209; the caller has closed the menus.
    void openAtLabel(const QWidget* label);
    void openAtEngineerButton(const QWidget* button, int target);
    void HideAllMenu();

    void KeyByTagMouseEnter(QLabel* item);
    void KeyStatusMouseEnter(QLabel* item);
    void KeyStatus_AMouseEnter(QLabel* item);
    void KeyStatus_BMouseEnter(QLabel* item);
    void KeyStatusMouseLeave(QLabel* item);

    // Any press in the window outside the menu closes the menus.
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void build(int languageIndex);

    QWidget* window_;
    std::function<void()> hideAllMenu_;
    std::function<void(QLabel*)> onPick_;
    std::function<void()> onCombination_;
    QHash<QString, QFrame*> panels_;   // Pnl_Main ...
    QListWidget* macroList_ = nullptr; // LB_Name
    QList<ClickLabel*> items_;         // every Key_ item of the menus
    QPointer<QLabel> highlighted_;     // the item shown under the pointer
    QList<QLabel*> arrows_;            // the ST_ marks of the group items
    // Colours of the menu (group G of the layout).
    QColor itemColour_{255, 255, 255};
    QColor hoverFontColour_{255, 255, 255};
    QColor hoverBackColour_{49, 106, 198};
    QColor panelColour_{0, 0, 0};
    QColor borderColour_{0, 0, 0};
};

// Runs `action` when the widget is clicked: buttons and caption labels by
// their signal, any other widget on a left-button release inside it.
void OnClick(QWidget* widget, QObject* context, std::function<void()> action);

} // namespace orb
