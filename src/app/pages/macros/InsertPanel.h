#pragma once
#include <QColor>
#include <QObject>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QWidget;

namespace orb
{

class LayoutText;

class ClickLabel;
class MacroPage;
class Skin;

// The macro page's insert panel Gb_Insert: in place of the delay box while
// it is open, it puts a pause, a move, a loop mark or recorded keys before
// or after the current line (CB_Insert's ten items). OK stores the macro;
// Cancel decodes it again as last stored, dropping lines an insert recording
// put in. Whether it is open is the page's state (MacroPageState).
class InsertPanel : public QObject
{
  public:
    InsertPanel(MacroPage& page, QWidget* container, QListWidget* lines, Skin& skin);

    bool isOpen() const;
    // CB_Insert, Btn_OK, Btn_Cancel and the cover GB_Dis from the page's
    // state: an insert recording leaves only its own button.
    void ShowState();
    // Group F places the panel and its controls (Insert_, InsertList_, ...).
    void ApplyLayout(const LayoutText& section);
    // After the texts: the field captions fit their texts.
    void Retranslate();
    void Btn_InsertClick();
    void CB_InsertChange();
    void Btn_OKClick();
    void Btn_CancelClick();
    void CloseInsertPanel();

  private:
    void chooseInsertDelay(int mode);
    // Edt_InsertDelay and lbl_s_A: editable and in the layout colours only
    // where the delay is typed (pauses, recorded keys with the fixed delay).
    void paintDelayField();
    // Group F fonts and colours of the panel's captions, list and fields.
    void applyLook(const LayoutText& section);

    MacroPage& page_;
    QWidget* container_;
    QListWidget* lines_;
    Skin& skin_;
    QLabel* base_ = nullptr; // Img_InsertBase
    QWidget* box_ = nullptr; // Gb_Insert
    QComboBox* kind_ = nullptr;
    QLineEdit* delay_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* repeat_ = nullptr;
    QRadioButton* radios_[3] = {};
    ClickLabel* ok_ = nullptr;
    QColor caption_{255, 255, 255}; // Color_F_
    QColor font_{255, 255, 255};    // Color_F_Font_
    int SavedTopIndex = 0;
    int SavedSelection = -1;
};

} // namespace orb
