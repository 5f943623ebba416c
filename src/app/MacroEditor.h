#pragma once
#include <QObject>
#include <QString>

class QListWidget;
class QWidget;

namespace orb
{

class MacroPage;
class Skin;

// The macro page's line editor: right-click selection in LB_macro, its
// context menu Pnl_DevContent (edit, delete, insert) and the results of the
// edit dialogs. Every change is stored into the open library macro.
class MacroEditor : public QObject
{
  public:
    MacroEditor(MacroPage& page, QListWidget* lines, QWidget* window, Skin& skin);

    void Btn_EditClick();
    void Btn_DelClick();
    // Results of the edit dialogs; an empty text changes nothing.
    void ApplyKeyEdit(const QString& text, const QString& line);

    int EditIndex = -1;
    int EditKind = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void replaceEdited(const QString& line);

    MacroPage& page_;
    QWidget* window_;
    Skin& skin_;
    QListWidget* lines_;
    QWidget* viewport_;
    QWidget* menu_; // Pnl_DevContent
};

} // namespace orb
