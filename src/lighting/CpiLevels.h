#pragma once
// The CPI levels as the advanced page and the engineering tab show them:
// count, current level, value and colours of each level, and the rules the
// handlers of both views follow. Plain state; the pages copy it into their
// widgets after every call.
#include "image/SettingsRules.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace orb
{

inline constexpr int CpiLevelMax = 7;
inline constexpr int CpiLevelMin = 2; // levels 1 and 2 are always active
inline constexpr int CpiValueCount = 11;
inline constexpr int NamedColourCount = 7;

// The eleven CPI values, stored in the image as their index 0..10.
inline constexpr std::array<int, CpiValueCount> CpiValueTable{500,  800,  1000, 1200, 1600, 2000,
                                                              2400, 3200, 4000, 4800, 6400};
// Pack keys of the value texts ("Str300".."Str310").
QString CpiValueTextKey(int index);
// Value items of cb_CPI1..cb_CPI7: "500".."6400".
QStringList CpiValueItems();

// The seven colours of the normal light, index 0..6: red, green, yellow,
// blue, purple, cyan, white. Their names are the engineering texts 37..43.
extern const std::array<QColor, NamedColourCount> NamedColourTable;
inline constexpr int NamedColourFirstTextId = 37;

// LedTypeShown: which colour a level's colour cell shows and edits.
inline const QString LedTypeNormal = QStringLiteral("ZKLED"); // named colours
inline const QString LedTypeMcu = QStringLiteral("MCULED");   // free RGB
// The remembered text for the light-type bit of an image (rb_NorLED / rb_MCULED).
QString LedTypeShownFor(PairChoice ledType);

// What a click on a level's colour cell opens.
enum class ColourCellAction {
    None,         // no image shown yet
    NamedDialog,  // the LED colour dialog TForm4 (normal light)
    SystemPicker, // the system colour picker (MCU light)
};
ColourCellAction ColourCellActionFor(const QString& ledTypeShown);

// Result of a level-label click (DPILevel_OnClick).
enum class LevelToggle { None, Added, Removed };

class CpiLevels
{
  public:
    CpiLevels();

    // Show rules: the level items of an image. A count outside 2..7 shows as
    // the nearest of them, a current level outside the active ones as level
    // 1, a value or colour index outside its table as no selection (no
    // segment lit). Swatches take the named colours for "ZKLED" and the RGB
    // colours for "MCULED".
    void Show(const SettingsControls& controls, const QString& ledTypeShown);
    // A change of the level count: the same items from the controls, but
    // each swatch keeps showing whichever of its colours changed last.
    void FollowLevelCount(const SettingsControls& controls);
    // Store rules: count, values, named colours, RGB edits, current level.
    void Store(SettingsControls& controls) const;

    int LevelCount() const { return count_; }
    int CurrentLevel() const { return current_; } // 1..LevelCount
    bool IsActive(int level) const { return level >= 1 && level <= count_; }

    // cb_CPIStepChange: count N (2..7; others are ignored) with level N current.
    void SetLevelCount(int count);
    // DPILevel_OnClick on lbl_DPIn: the first inactive level is added and
    // becomes current; the last active level (3..7) is removed, its
    // predecessor current if it was; any other level changes nothing.
    LevelToggle ToggleLevel(int level);
    // CurrentDPI_OnClick / cb_CurrentCPIChange: false (nothing changes) for
    // an inactive level.
    bool SelectCurrent(int level);

    // Value index 0..10 of a level (-1: none). SetValue is the bar click
    // (segment k gives index k - 1) and the value combo alike.
    int Value(int level) const;
    void SetValue(int level, int index);
    // PaintValueBar: "Bar2_E"/"Bar2_D" for the eleven segments of the row.
    std::vector<QString> BarPictures(int level, int dpiLedStatus) const;

    // Named colour 0..6 (-1: none); setting it fills the swatch with it.
    int NamedColour(int level) const;
    void SetNamedColour(int level, int index);
    // RGB edit (channel 0 red, 1 green, 2 blue) changed while typing:
    // returns the corrected text to leave in the edit ("" -> "0", above 255 ->
    // "255") and fills the swatch with the level's three values.
    QString EditRgb(int level, int channel, const QString& text);
    QColor Rgb(int level) const;
    // A colour confirmed in the system picker: the edits and the swatch.
    void SetRgb(int level, const QColor& colour);
    // RefreshNormalLEDColor: the dialog's choice 0..6 for the level; 255
    // (no choice) or any other value changes nothing.
    void ApplyNamedChoice(int level, int choice);

    // The colour the row's swatch shows: whichever of named colour and RGB
    // changed last. Invalid while neither has a value.
    QColor Swatch(int level) const;

    // Items of cb_CurrentCPI: "1".."count".
    QStringList CurrentItems() const;
    // Items of cb_CPIStep: "2".."7".
    static QStringList StepItems();
    // Picture of selector Img_DPIn: "CbS_E" for the current level.
    QString SelectorPicture(int level) const;

  private:
    struct Level {
        int value = -1;
        int named = -1;
        std::array<int, 3> rgb{0, 0, 0};
        bool swatchFromRgb = false;
    };
    Level* at(int level);
    const Level* at(int level) const;

    int count_ = CpiLevelMin;
    int current_ = 1;
    std::array<Level, CpiLevelMax> levels_{};
};

} // namespace orb
