#pragma once
#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;

namespace orb
{

class Skin;

// What the name, delay and value dialogs share: the "Msg" background, a
// title, one centred field and confirm / clear / close picture buttons, laid
// out from the "L" keys of the current language. Confirm hands the field's
// text over and closes; clear empties the field; close hands nothing over.
class FieldDialog : public QWidget
{
    Q_OBJECT
  public:
    using Confirm = std::function<void(const QString& text)>;
    struct Names {
        QString dialog;   // "TForm6"
        QString title;    // "lbl_EditTime"
        QString titleKey; // "Str521"
        QString field;    // "Edt_EditTime"
    };

    FieldDialog(QWidget* mainWindow, Skin& skin, const Names& names, Confirm confirm);

    QLineEdit* field() const { return field_; }
    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

  protected:
    // Shows the dialog centred over the main window with the field focused.
    void showOver(QWidget* mainWindow);
    void keyPressEvent(QKeyEvent* e) override;

  private:
    Confirm confirm_;
    QLineEdit* field_ = nullptr;
};

} // namespace orb
