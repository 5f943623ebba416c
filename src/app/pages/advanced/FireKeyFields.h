#pragma once
#include "image/ConfigImage.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace orb
{

class FieldCaptions;
class LayoutText;

// Lets only the digits and Backspace into an edit (Edt_Repeat1KeyPress);
// keys without a character (arrows, Tab) pass.
class DigitKeyFilter : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The fire key's count and interval on the advanced page (Edt_Repeat1,
// Edt_DelayTime1) and their mirrors on the engineering page (cb_FireCount,
// edt_FireTime): each pair corrects what is typed and follows the other.
class FireKeyFields : public QObject
{
  public:
    explicit FireKeyFields(QWidget* advancedPage);

    // The engineering page's pair, once it exists.
    void ConnectEngineerControls(QWidget* engineerPage);
    // FKCnt_, FKDelay_ positions; Size_D, Color_D_notSelected_, Color_D_Back_, Color_D_Border_.
    void ApplyLayout(const LayoutText& section);
    // The fields' captions in language 1..3.
    void Retranslate(int language);
    // RefreshUI: the count (loop byte + 1) and the interval of the section.
    void Refresh(const FireKeyBytes& fire);
    // Before every write: the count corrected as on leaving the field (an
    // Apply with the cursor still in it never stores a count below 2), then
    // both bytes from the advanced page's fields.
    void Store(FireKeyBytes& fire);

    void Edt_Repeat1Change();
    void RepeatValue_OnClick(); // leaving Edt_Repeat1
    void cb_FireCountChange();
    void Edt_DelayTime1Change();
    void edt_FireTimeChange();

  private:
    // Sets a text without the change handlers running again.
    void put(QLineEdit* edit, const QString& text);
    void follow(int item); // cb_FireCount item index, when there is one

    FieldCaptions* captions_;
    QLineEdit* repeat_;
    QLineEdit* delay_;
    QComboBox* count_ = nullptr; // cb_FireCount
    QLineEdit* time_ = nullptr;  // edt_FireTime
    bool updating_ = false;
};

} // namespace orb
