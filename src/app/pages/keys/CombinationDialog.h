#pragma once
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace orb
{

class ClickLabel;
class Skin;

// The keyboard-combination dialog: one captured key and the ticked
// Ctrl/Shift/Alt/Win become a type 02 key code and a caption. Borderless,
// above the main window and not modal; created anew at every opening.
class TForm2 : public QWidget
{
    Q_OBJECT
  public:
    struct Handlers {
        std::function<void(const QString& text, const QString& code)> confirm; // then closed
        std::function<void()> clear;                                           // hand-over emptied
    };

    TForm2(QWidget* mainWindow, Skin& skin, Handlers handlers);

    // A fresh dialog over `mainWindow`; an open one is closed first.
    static TForm2* Open(QWidget* mainWindow, Skin& skin, Handlers handlers);

    // What confirm would hand over now.
    QString combinationText() const;
    QString combinationCode() const;

    void Edt_AssemblyKeyDown(int vk, bool modifierHeld);
    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void TickClicked(QCheckBox* box, const QString& word);
    void RebuildModifierText();
    ClickLabel* pictureButton(const QString& image, const QString& label, const QString& normal);

    Skin& skin_;
    Handlers handlers_;
    QLabel* Img_Assembly = nullptr;
    QLabel* lbl_Assembly = nullptr;
    QLineEdit* Edt_Assembly = nullptr;
    QCheckBox* CB_Ctrl = nullptr;
    QCheckBox* CB_Shift = nullptr;
    QCheckBox* CB_Alt = nullptr;
    QCheckBox* CB_Win = nullptr;

    QString CapturedKeyName;
    std::uint8_t CapturedUsage = 0;
    QString ModifierText;
    int CaptureCount = 0;
};

} // namespace orb
