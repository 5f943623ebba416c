#pragma once
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QAbstractItemView;

namespace orb
{

class ClickLabel;

// What a skinned control is to the keyboard and to assistive technology.
// The skin draws every control as pictures under a caption label; this is
// the kind of control the pictures show.
enum class ControlRole {
    PushButton,   // Apply, RESET, Read, Save, Load, the window buttons
    PageTab,      // a page selector: selected while its page is shown
    CheckBox,     // a tick look
    RadioButton,  // an option look, one of a group
    ToggleButton, // a button that stays down (a CPI level selector, a colour cell)
    MenuButton,   // opens a menu (a button assignment)
    MenuItem,     // an entry of a skinned menu
    Hidden,       // a picture that is part of another control (a bar's cell)
};

struct ControlAccess {
    ControlRole role = ControlRole::PushButton;
    // The name in the chosen language; none: the control's own caption.
    std::function<QString()> name;
    // Checked (selected for a page tab); none: never checked.
    std::function<bool()> checked;
    // A longer text (a hint); none: no description.
    std::function<QString()> description;
};

// Tells what a skinned control is. Called where the control is made; a
// caption label not described is a push button named by its caption.
void DescribeControl(ClickLabel* control, ControlAccess access);
// The description of a control (a push button for an undescribed label).
ControlAccess AccessOf(const ClickLabel* control);

// Checked while the picture label shows one of `on` (pictures by name, as
// the skin keeps them in the "picture" property).
std::function<bool()> PictureShows(const QWidget* picture, QStringList on);
// The caption of another widget (a title beside the control).
std::function<QString()> CaptionFrom(const QWidget* widget);
// A caption as it is spoken: no padding, no menu marker in front.
QString SpokenText(const QString& caption);

// A bar of cells (the value k is cell k) as one slider over them: Tab
// reaches it, arrows, Home/End and Page Up/Down change the value as a click
// on the cell would; the pointer goes through to the cells. The value shown
// is the highest lit cell.
class ValueBar : public QWidget
{
    Q_OBJECT
  public:
    ValueBar(QWidget* parent, const QString& objectName, QList<ClickLabel*> cells,
             std::function<QString()> name);

    int minimum() const { return 1; }
    int maximum() const { return int(cells_.size()); }
    int value() const;
    // As a click on cell `v` (clamped); false when that click could not land.
    bool setValue(int v);
    QString accessibleText() const { return name_ ? SpokenText(name_()) : QString(); }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow();
    QList<QPointer<ClickLabel>> cells_;
    std::function<QString()> name_;
};

// A list keeps a current row while it has rows (a screen reader asks for
// it); setting it selects nothing.
void KeepCurrentItem(QAbstractItemView* view);

// Once per program: the accessible interfaces of the skinned controls. Once
// per window: the focus mark, which follows the focus over the skin.
void InstallControlAccess(QWidget* window);
// Names and states told again to assistive technology (after the language
// changed), for every control under `root`.
void AnnounceControls(QWidget* root);
// The Tab order of the controls under `container` as they are seen: rows
// from the top, each from the left.
void OrderTabsByPosition(QWidget* container);
// The controls under `container` that Tab reaches, in that order.
QList<QWidget*> ControlsByPosition(QWidget* container);

} // namespace orb
