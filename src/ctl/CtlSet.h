#pragma once
// The set command's plain parts: the assignments of its command line or of
// a settings document, and the change of a profile file in place.
#include "ctl/MouseLink.h"
#include "ctl/SettingsJson.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace orb::ctl
{

// The assignments of `set`: the settings of the document named by --from
// (`-`: `input`), then the PATH=VALUE words. Values the document holds are
// judged on their own first, so a bad document is a bad file (exit 5) and a
// bad word a wrong argument (exit 2). `base` is the image the document's
// values are tried on.
std::optional<SetRefusal> ReadSetAssignments(const QStringList& words, const QString& from, QIODevice* input,
                                             const ConfigImage& base, Assignments& out);

// Loads the profile file, applies the assignments and saves it atomically;
// on a refusal the file stays as it was.
Outcome SetProfileFile(const QString& file, const Assignments& assignments);

} // namespace orb::ctl
