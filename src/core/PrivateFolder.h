#pragma once
#include <QString>

namespace orb
{

// A folder only this user can write to, for sockets and lock files that no
// other user may take first: the user's runtime folder, else a private
// `orb5610` folder of our own in the user's cache; empty when neither can be
// had.
QString PrivateRuntimeFolder();

} // namespace orb
