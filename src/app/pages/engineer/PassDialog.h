#pragma once
#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace orb
{

// dlgPass: asks for the pass phrase of engineering mode. Modal, centred
// over the main window, caption "Password", prompt "PASSWORD:", the input
// shown as '*', buttons OK and Cancel.
class PassDialog : public QDialog
{
  public:
    explicit PassDialog(QWidget* over);

    QLineEdit* input() const { return input_; }
    // Shows the dialog over `over` and waits: the text on OK, nothing on Cancel.
    static std::optional<QString> ask(QWidget* over);

  private:
    QLineEdit* input_;
};

} // namespace orb
