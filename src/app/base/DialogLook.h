#pragma once
#include "skin/LayoutPlan.h"

#include <QList>
#include <QString>

class QEvent;
class QLabel;
class QWidget;

namespace orb
{

class ClickLabel;
class Skin;

// What the small borderless dialogs share: the "Msg" background whose maroon
// pixels are see-through, placement over the main window, and picture
// buttons (an image with a transparent label on it) that follow the pointer.
namespace DialogLook
{

// Borderless, above the main window, not modal, freed on close; sized and
// shaped by "Msg" shown in `background`.
void Setup(QWidget* dialog, QWidget* mainWindow, Skin& skin, QLabel* background);
// Horizontally centred on the main window; vertically centred plus `dy`.
void Centre(QWidget* dialog, QWidget* mainWindow, int dy);
// The image `image` with the label `label` on it; `normal` is "BtnS_01" or
// "ExitS_01": the pointer over it shows *_02, a press *_03.
ClickLabel* PictureButton(QWidget* dialog, Skin& skin, const QString& image, const QString& label,
                          const QString& normal);
void SetPicture(QLabel* image, Skin& skin, const QString& picture);
// `image` follows the pointer over `button`: stem + "01" normal, "02" under
// the pointer, "03" pressed (also the macro page's picture buttons).
void FollowPointer(ClickLabel* button, QLabel* image, Skin& skin, const QString& stem);
// A key press or shortcut override a key-capture field takes for itself:
// any but Tab and Shift+Tab, which leave the field.
bool IsCapturedKey(const QEvent* event);
// A control at prefix + "X", "Y"; a companion label goes to the same point
// with the size of the control's picture.
LayoutRow At(const QString& group, const QString& prefix, const QString& control,
             const QString& companion = {});
// The rows of the one-field dialogs (key, name, delay, value): title at MNT,
// the field at MNC with width MNC_W, the three picture buttons.
QList<LayoutRow> FieldDialogRows(const QString& title, const QString& field);

} // namespace DialogLook
} // namespace orb
