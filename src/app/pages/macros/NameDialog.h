#pragma once
#include "app/base/FieldDialog.h"

namespace orb
{

// The macro-name dialog: a name of at most 16 characters.
class TForm3 : public FieldDialog
{
    Q_OBJECT
  public:
    TForm3(QWidget* mainWindow, Skin& skin, Confirm confirm);
    static TForm3* Open(QWidget* mainWindow, Skin& skin, Confirm confirm);
};

} // namespace orb
