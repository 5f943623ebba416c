#pragma once
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;

namespace orb
{

class Skin;

// The edit-key dialog: one key pressed in its field replaces the key of a
// macro press or release line. Any key is taken, modifiers included.
// Borderless, above the main window and not modal.
class TForm5 : public QWidget
{
    Q_OBJECT
  public:
    // Confirm hands over the field's text and the line fragment
    // ("Left Arrow CODE:8250"), then the dialog closes.
    using Confirm = std::function<void(const QString& text, const QString& line)>;

    // `editKind` 1 edits a press line, 2 a release line.
    TForm5(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm);
    static TForm5* Open(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm);

    const QString& capturedLine() const { return CapturedLine; }

    void Edt_EditKeyKeyDown(int vk);
    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int editKind_;
    Confirm confirm_;
    QLineEdit* Edt_EditKey = nullptr;

    QString CapturedKeyName;
    QString CapturedLine;
    std::uint8_t CapturedUsage = 0;
    int CaptureCount = 0;
};

} // namespace orb
