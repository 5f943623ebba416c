#pragma once
#include <QString>
#include <functional>

namespace orb
{
// Text of a language-pack key ("Str020") in the current language; an empty
// text when the pack has no such key.
using TextLookup = std::function<QString(const QString& key)>;
} // namespace orb
