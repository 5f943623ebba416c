#pragma once
// Key-function codes as the words of the settings JSON: the English name of
// a named function, a key with its modifiers, "AIM Key 3200", "Macro 3" or
// "Macro 3 until release", and "code XXXXXX" for the rest.
#include "keys/KeyCodes.h"

#include <QString>

#include <optional>

namespace orb::ctl
{

// The words of a code; they always read back as the same code.
QString KeyFunctionText(const KeyFunctionCode& code);
// The code of the words; nothing for words that name no function.
std::optional<KeyFunctionCode> ParseKeyFunction(const QString& text);
// The words the parser takes, for a refusal.
QString KeyAllowedText();

} // namespace orb::ctl
