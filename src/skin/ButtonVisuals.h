#pragma once
#include <QString>
#include <QStringList>

namespace orb
{

// The picture families of the skinned labels: which pictures a label's
// picture group gets when the pointer enters and leaves it.
enum class ButtonFamily {
    None,
    Action,   // A: confirm, apply, read, restore 1..3
    Page,     // B: pages, engineer, save, load
    KeyLabel, // C: Key1..Key9
    Language, // D: Lang1..Lang3
    TextOnly, // H: macro text buttons, no pictures
    Exit,     // I
    Minimise, // J
    Web,
};

ButtonFamily FamilyOfLabel(const QString& labelName);
// Key1..Key9: the key page's caption labels.
bool IsKeyCaptionName(QStringView name);

struct FamilyLook {
    QString enter;   // picture while the pointer is over the label
    QString leave;   // picture after the pointer left
    bool allCopies;  // the pictures go on all four copies, not only the pointed one
    bool scrolls;    // the caption scrolls while the pointer is over it
    bool needsMouse; // the pictures change only while a mouse is open
};
FamilyLook LookOfFamily(ButtonFamily family);

// The picture a caption label lies on: "Btn_Apply_3" -> "Img_Apply_3",
// "Key4" -> "Img_Key4".
QString PictureOfLabel(const QString& labelName);
// The copies of a picture's group: "Img_Apply_3" -> "Img_Apply_1".."Img_Apply_4";
// a picture without a copy digit is its own group.
QStringList CopiesOfPicture(const QString& pictureName);

// Page state: the hidden options and what they select.
struct PageOption {
    QString option;      // "rb_1"
    int page;            // 1..4 or 6
    QString group;       // page button group, "Main" (Btn_Main_ over Img_Main_)
    QString overlay;     // "Img_P1"; empty for the engineering page
    QString backPicture; // "_Back1": with "L" + language index in front
};
const QList<PageOption>& PageOptions();
const PageOption* FindPageOption(const QString& option);

// The page and profile groups whose pictures a page selection resets.
const QStringList& PageButtonGroups();

} // namespace orb
