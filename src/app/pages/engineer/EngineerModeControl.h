#pragma once
#include "skin/EngineerMode.h"

#include <QObject>

class QLabel;
class QWidget;

namespace orb
{

// Engineering mode on the engineering page: double-clicks on the logo strip
// Img_Logo4 count towards the pass phrase dialog dlgPass; while unlocked the
// engineer sheet's tab and the factory reset Btn_Default (with its result
// mark Img_Result) are shown and the hardware-bound controls enabled.
class EngineerModeControl : public QObject
{
  public:
    // `page` is gbPage6; the dialog is centred over `window`.
    EngineerModeControl(QWidget* page, QWidget* window, QObject* parent = nullptr);

    // Img_Logo4DblClick.
    void Img_Logo4DblClick();
    bool EngineerUnlocked() const { return mode_.EngineerUnlocked(); }
    int LogoClickCount() const { return mode_.LogoClickCount(); }
    // The pass phrase dialog; tests answer it themselves.
    void setPassPhraseDialog(EngineerMode::AskPassPhrase ask) { ask_ = std::move(ask); }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // The state onto the page's controls.
    void ApplyState();

    QWidget* page_;
    EngineerMode mode_;
    EngineerMode::AskPassPhrase ask_;
};

} // namespace orb
