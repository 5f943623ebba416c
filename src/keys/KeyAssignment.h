#pragma once
#include "core/Text.h"
#include "image/ConfigImage.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace orb
{

// The two sets of nine button assignments; the mouse switches between them.
enum class KeyMode { A, B };

inline constexpr int KeyCount = 9;
// One text per button, key 1 at index 0.
using KeyTexts = std::array<QString, KeyCount>;

// Shown when an AIM value is chosen while no button is an AIM key; the one
// message of the program that is not taken from the language packs.
inline const QString NoAimKeyMessage = QStringLiteral("Please select a AIM Key in Profile!");

// Offset in the profile section of the first byte of key 1..9 of a mode.
std::size_t KeyOffset(KeyMode mode, int key);

// Whether key is one of the nine buttons.
inline bool IsKeyNumber(int key)
{
    return key >= 1 && key <= KeyCount;
}

// The left-key rule: with newName put on target `key` (1..9) of the nine
// shown names, does at least one of them read exactly leftName? The rule
// compares what the user sees, so a macro named like the left button counts.
bool LeftKeyRuleAccepts(const KeyTexts& shown, int key, const QString& newName, const QString& leftName);

// Whether a code text is an AIM key (type 0A), whatever its value.
bool IsAimCode(const QString& code);

// The eighteen assignments: the code texts of both key modes and the profile
// section they mirror (both owned by the caller), the names shown for them
// and the AIM value. Every change of a key here writes its code text and its
// three bytes together.
class KeyAssignments
{
  public:
    KeyAssignments(KeyTexts& modeACodes, KeyTexts& modeBCodes, ProfileKeysBytes& profileKeys)
        : ModeACodes(modeACodes), ModeBCodes(modeBCodes), ProfileKeys(profileKeys)
    {
    }
    KeyAssignments(const KeyAssignments&) = delete;
    KeyAssignments& operator=(const KeyAssignments&) = delete;

    KeyTexts& ModeACodes;
    KeyTexts& ModeBCodes;
    ProfileKeysBytes& ProfileKeys;
    KeyTexts ModeANames;
    KeyTexts ModeBNames;
    // Index 0..10 of the CPI value every AIM key carries.
    int AimValue = 0;

    KeyTexts& codes(KeyMode mode) { return mode == KeyMode::A ? ModeACodes : ModeBCodes; }
    const KeyTexts& codes(KeyMode mode) const { return mode == KeyMode::A ? ModeACodes : ModeBCodes; }
    const KeyTexts& names(KeyMode mode) const { return mode == KeyMode::A ? ModeANames : ModeBNames; }

    // Both code tables cleared, then every entry built from its three bytes.
    void LoadCodes();
    // Key 1..9 of the mode := code, its text and its bytes together.
    void SetKey(KeyMode mode, int key, const QString& code);
    // The names of all eighteen codes in the current language.
    void RebuildKeyNames(const TextLookup& text, const QStringList& baseMacroNames);

    // A menu pick for key 1..9 of the mode. `shown` holds the names the nine
    // targets of that mode display; the pick is accepted when a left button
    // remains among them with the new name on the target. Accepted: the
    // target shows the name and the key gets the code. Refused: the target
    // keeps what it showed and the code is unchanged.
    bool PickFunction(KeyMode mode, int key, const QString& code, const QString& name, KeyTexts& shown,
                      const QString& leftName);

    // The AIM value the image carries: byte 1 of each AIM key, mode A then
    // mode B, the last one found winning. Nothing when no key is an AIM key.
    // A value beyond the eleven CPI values is taken as the highest.
    std::optional<int> AimValueFromProfile() const;
    // Every AIM key's bytes := 0A, value, 00; returns how many there are.
    int WriteAimValue(int value);
    // Before every write: every AIM key carries the current AIM value.
    void AIMKeyToDataBuf() { WriteAimValue(AimValue); }
    // The user chose value index 0..10 for the AIM keys. With an AIM key
    // present the value becomes index and every AIM key carries it; without
    // one the value goes back to 0 and false is returned.
    bool ChooseAimValue(int index);
};

// Key number 1..9 from a key label's name ("Key3" -> 3); -1 when the name
// does not end in a digit.
int KeyNumberFromName(const QString& name);
// Button number from an engineering button's name ("btn_Key204" -> 204);
// -1 when the last three characters are not a number.
int ButtonNumberFromName(const QString& name);

// The mode and key an engineering button number stands for: 101..109 mode A
// key 1..9, 201..209 mode B key 1..9. Nothing for any other number.
struct KeyTarget {
    KeyMode mode;
    int key;
};
std::optional<KeyTarget> EngineerButtonTarget(int buttonNumber);

} // namespace orb
