#include "keys/KeyAssignment.h"

#include "keys/KeyCodes.h"

#include <algorithm>

namespace orb
{

std::size_t KeyOffset(KeyMode mode, int key)
{
    const std::size_t base = mode == KeyMode::A ? ModeAKeysOffset : ModeBKeysOffset;
    return base + KeyCodeSize * static_cast<std::size_t>(key - 1);
}

bool LeftKeyRuleAccepts(const KeyTexts& shown, int key, const QString& newName, const QString& leftName)
{
    for (int i = 0; i < KeyCount; ++i) {
        const QString& name = i == key - 1 ? newName : shown[static_cast<std::size_t>(i)];
        if (name == leftName)
            return true;
    }
    return false;
}

bool IsAimCode(const QString& code)
{
    const auto bytes = ParseCode(code);
    return bytes && (*bytes)[0] == KeyType::Aim;
}

void KeyAssignments::LoadCodes()
{
    for (const KeyMode mode : {KeyMode::A, KeyMode::B}) {
        KeyTexts& table = codes(mode);
        table.fill(QString());
        for (int key = 1; key <= KeyCount; ++key) {
            const std::size_t at = KeyOffset(mode, key);
            table[static_cast<std::size_t>(key - 1)] =
                BytesToCode(ProfileKeys[at], ProfileKeys[at + 1], ProfileKeys[at + 2]);
        }
    }
}

void KeyAssignments::SetKey(KeyMode mode, int key, const QString& code)
{
    if (!IsKeyNumber(key))
        return;
    codes(mode)[static_cast<std::size_t>(key - 1)] = code;
    const KeyFunctionCode bytes = CodeToBytes(code);
    std::copy(bytes.begin(), bytes.end(),
              ProfileKeys.begin() + static_cast<std::ptrdiff_t>(KeyOffset(mode, key)));
}

void KeyAssignments::RebuildKeyNames(const TextLookup& text, const QStringList& baseMacroNames)
{
    for (std::size_t i = 0; i < KeyCount; ++i) {
        ModeANames[i] = KeyFunctionName(ModeACodes[i], text, baseMacroNames);
        ModeBNames[i] = KeyFunctionName(ModeBCodes[i], text, baseMacroNames);
    }
}

bool KeyAssignments::PickFunction(KeyMode mode, int key, const QString& code, const QString& name,
                                  KeyTexts& shown, const QString& leftName)
{
    if (!IsKeyNumber(key) || !LeftKeyRuleAccepts(shown, key, name, leftName))
        return false;
    shown[static_cast<std::size_t>(key - 1)] = name;
    SetKey(mode, key, code);
    return true;
}

std::optional<int> KeyAssignments::AimValueFromProfile() const
{
    std::optional<int> value;
    for (const KeyMode mode : {KeyMode::A, KeyMode::B})
        for (int key = 1; key <= KeyCount; ++key)
            if (IsAimCode(codes(mode)[static_cast<std::size_t>(key - 1)]))
                value = std::min<int>(ProfileKeys[KeyOffset(mode, key) + 1], MaxAimValue);
    return value;
}

int KeyAssignments::WriteAimValue(int value)
{
    const auto aim = CodeToBytes(AimCode(value));
    int found = 0;
    for (const KeyMode mode : {KeyMode::A, KeyMode::B})
        for (int key = 1; key <= KeyCount; ++key)
            if (IsAimCode(codes(mode)[static_cast<std::size_t>(key - 1)])) {
                std::copy(aim.begin(), aim.end(),
                          ProfileKeys.begin() + static_cast<std::ptrdiff_t>(KeyOffset(mode, key)));
                ++found;
            }
    return found;
}

bool KeyAssignments::ChooseAimValue(int index)
{
    const int value = std::clamp(index, 0, MaxAimValue);
    if (WriteAimValue(value) == 0) {
        AimValue = 0;
        return false;
    }
    AimValue = value;
    return true;
}

int KeyNumberFromName(const QString& name)
{
    if (name.isEmpty() || name.back() < u'0' || name.back() > u'9')
        return -1;
    return name.back().unicode() - u'0';
}

int ButtonNumberFromName(const QString& name)
{
    if (name.size() < 3)
        return -1;
    const QString tail = name.right(3);
    for (const QChar c : tail)
        if (c < u'0' || c > u'9')
            return -1;
    return tail.toInt();
}

std::optional<KeyTarget> EngineerButtonTarget(int buttonNumber)
{
    if (buttonNumber >= 101 && buttonNumber <= 109)
        return KeyTarget{KeyMode::A, buttonNumber - 100};
    if (buttonNumber >= 201 && buttonNumber <= 209)
        return KeyTarget{KeyMode::B, buttonNumber - 200};
    return std::nullopt;
}

} // namespace orb
