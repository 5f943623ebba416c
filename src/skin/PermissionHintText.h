#pragma once
#include <QString>

namespace orb
{

// What the program tells a user whose mouse is plugged in but may not be
// opened (on Linux: the udev rule is not installed), in the language of
// pack 1, 2 or 3. The language packs have no such text, so it lives here.
QString PermissionHintText(int languageIndex);

} // namespace orb
