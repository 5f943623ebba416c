#pragma once
#include "lighting/ColourDialog.h"

#include <QWidget>
#include <functional>

class QLabel;

namespace orb
{

class ClickLabel;
class Skin;

// The LED colour dialog (TForm4): seven named colours for one CPI level of
// the normal light. Borderless, always on top, not blocking the window; it
// shows the state the advanced page keeps (target level and choice) and
// hands the confirm back to it. Parentless, so that its cells, named like
// the advanced page's, never shadow them in a search of the main window.
class LedColourDialog : public QWidget
{
  public:
    LedColourDialog(Skin& skin, ColourDialogState& state, std::function<void()> confirmed);

    // Layout, texts and marks afresh; centred over `over`.
    void ShowOver(const QRect& over);
    // The marks from the state (after a retarget).
    void RefreshMarks();

    // Handlers.
    void lbl_DPIColClick(int cell); // lbl_DPI1ColClick..lbl_DPI7ColClick
    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

  private:
    void FormCreate();
    void ApplyLayout();
    ClickLabel* button(const QString& label, const QString& image, const QString& family);

    Skin& skin_;
    ColourDialogState& state_;
    std::function<void()> confirmed_;
};

} // namespace orb
