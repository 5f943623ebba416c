#pragma once
#include "app/base/FieldDialog.h"

namespace orb
{

// The modify-value dialog: a move of -128..127 (edit kinds 3 and 5) or a
// loop count of 0..255 (kind 7). A lone "-" is left for the user to finish.
class TForm7 : public FieldDialog
{
    Q_OBJECT
  public:
    TForm7(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm);
    static TForm7* Open(QWidget* mainWindow, Skin& skin, int editKind, Confirm confirm);
};

} // namespace orb
