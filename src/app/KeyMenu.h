#pragma once
// The widgets of the key page, the assignment menu and the AIM bar, kept by
// the main window for the button-assignment handlers.
#include "app/ClickLabel.h"
#include "keys/KeyAssignment.h"

#include <QColor>
#include <QFrame>
#include <QHash>
#include <QList>
#include <QListWidget>
#include <QObject>

#include <array>
#include <functional>

namespace orb
{

class MainWindow;

// Names of the menu panels, top level first.
inline constexpr const char* kMenuPanelNames[] = {"Pnl_Main",  "Pnl_MseKey", "Pnl_Special", "Pnl_CPIKey",
                                                  "Pnl_Media", "Pnl_WWW",    "Pnl_MyPC"};

class KeyWidgets : public QObject
{
  public:
    explicit KeyWidgets(MainWindow* window);

    std::array<ClickLabel*, KeyCount> labels{}; // Key1..Key9
    QHash<QString, QFrame*> panels;             // Pnl_Main ...
    QListWidget* macroList = nullptr;           // LB_Name
    QList<ClickLabel*> items;                   // every Key_ item of the menus
    QList<QLabel*> arrows;                      // the ST_ marks of the group items

    // Colours of the menu (group G of the layout).
    QColor itemColour{255, 255, 255};
    QColor hoverFontColour{255, 255, 255};
    QColor hoverBackColour{49, 106, 198};
    QColor panelColour{0, 0, 0};
    QColor borderColour{0, 0, 0};

    // The key mode Key1..Key9 show, for when the page options are missing.
    KeyMode shownMode = KeyMode::A;

    QFrame* panel(const char* name) const { return panels.value(QLatin1String(name)); }

    // Any press in the window outside the menu closes the menu.
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    MainWindow* window_;
};

// Runs `action` when the widget is clicked: buttons and caption labels by
// their signal, any other widget on a left-button release inside it.
void OnClick(QWidget* widget, QObject* context, std::function<void()> action);

} // namespace orb
