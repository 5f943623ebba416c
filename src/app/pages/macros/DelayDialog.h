#pragma once
#include "app/base/FieldDialog.h"

namespace orb
{

// The delay-time dialog: a pause of 0..2040 ms, digits only.
class TForm6 : public FieldDialog
{
    Q_OBJECT
  public:
    TForm6(QWidget* mainWindow, Skin& skin, Confirm confirm);
    static TForm6* Open(QWidget* mainWindow, Skin& skin, Confirm confirm);
};

} // namespace orb
